#include "editing/import_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "core/import_pipeline.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "editing/anki_import_panel.h"
#include "editing/import_controls.h"
#include "editing/import_preview_model.h"
#include "editing/import_problem_model.h"
#include "platform/messages.h"
#include "platform/owned_dialog.h"
#include "platform/prompts.h"
#include "platform/text_codec.h"
#include "session/card_import.h"
#include "session/list_session.h"
#include "session/review_schedule.h"
#include "session/window_registry.h"

namespace {

// More columns than anyone maps come from a separator that is not one; the boxes stop here.
constexpr std::size_t kMaxColumns = 64;
// How much of a column's name or first text its item shows.
constexpr std::size_t kShownName = 24;

struct EncodingItem {
    TextEncoding encoding;
    const char* text;
};
const EncodingItem kEncodings[] = {
    {TextEncoding::Utf8, QT_TRANSLATE_NOOP("ImportDialog", "UTF-8")},
    {TextEncoding::Utf16LittleEndian, QT_TRANSLATE_NOOP("ImportDialog", "UTF-16, little-endian")},
    {TextEncoding::Utf16BigEndian, QT_TRANSLATE_NOOP("ImportDialog", "UTF-16, big-endian")},
    {TextEncoding::Windows1252,
     QT_TRANSLATE_NOOP("ImportDialog", "Windows-1252 (Western European)")},
};

// The separators offered by name; any other is typed as "other character".
struct SeparatorItem {
    char32_t separator;
    const char* text;
};
const SeparatorItem kSeparators[] = {
    {U'\t', QT_TRANSLATE_NOOP("ImportDialog", "Tab")},
    {U';', QT_TRANSLATE_NOOP("ImportDialog", "Semicolon ;")},
    {U',', QT_TRANSLATE_NOOP("ImportDialog", "Comma ,")},
    {0, QT_TRANSLATE_NOOP("ImportDialog", "Other character")},
};

QString filter(const QString& description, std::initializer_list<const char*> extensions) {
    QStringList patterns;
    for (const char* extension : extensions) {
        patterns << QStringLiteral("*.") + QLatin1String(extension)
                 << QStringLiteral("*.") + QString::fromLatin1(extension).toUpper();
    }
    return QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
}

void selectData(QComboBox* box, const QVariant& data) {
    const int index = box->findData(data);
    if (index >= 0)
        box->setCurrentIndex(index);
}

// Why the file gives no cards, in a message naming it.
QString refusalText(const ImportRefusal& refusal, const QString& name) {
    switch (refusal.reason) {
        case ImportRefusal::Reason::NotRegularFile:
            return ImportDialog::tr("%1 cannot be imported: it is a folder, a device or a pipe.")
                .arg(name);
        case ImportRefusal::Reason::TooLarge:
            return ImportDialog::tr("%1 is too large to import (over %2 MiB).")
                .arg(name)
                .arg(kMaxImportFileBytes / (1024 * 1024));
        case ImportRefusal::Reason::BrokenKvtml:
            return ImportDialog::tr("%1 cannot be imported: %2")
                .arg(name, fromCardText(refusal.detail));
        case ImportRefusal::Reason::NotText:
            return ImportDialog::tr(
                       "%1 is not a text file: it holds NUL bytes or other control "
                       "characters. Import reads text (such as CSV or tab-separated lists) "
                       "and KVTML files.")
                .arg(name);
        case ImportRefusal::Reason::NoCards:
            return ImportDialog::tr("%1 holds no cards to import.").arg(name);
        case ImportRefusal::Reason::NotPackage:
            return ImportDialog::tr(
                       "%1 is not an Anki package: it is no zip archive, or it holds no "
                       "collection.")
                .arg(name);
        case ImportRefusal::Reason::PackageTooLarge:
            return ImportDialog::tr(
                       "%1 cannot be imported: it would unpack to more than %2 GiB, or it is "
                       "compressed far beyond what a real Anki collection is.")
                .arg(name)
                .arg(AnkiReadLimits{}.maxUnpackedBytes >> 30);
        case ImportRefusal::Reason::PackageTooNew:
            return ImportDialog::tr(
                       "%1 was made by a newer Anki than Kartomatrix knows. In Anki, export the "
                       "deck again with \"Support older Anki versions\" checked.")
                .arg(name);
        case ImportRefusal::Reason::PackageTooOld:
            return ImportDialog::tr(
                       "%1 holds a collection too old to read (from Anki before 2.0). Open it in "
                       "a current Anki and export it again.")
                .arg(name);
        case ImportRefusal::Reason::PackageDamaged:
            return ImportDialog::tr("%1 is a damaged Anki package; nothing was imported.")
                .arg(name);
        case ImportRefusal::Reason::CannotUnpack:
            return ImportDialog::tr(
                       "%1 could not be unpacked: there is no room or no permission for a "
                       "temporary copy of its collection.")
                .arg(name);
        case ImportRefusal::Reason::None:
        case ImportRefusal::Reason::CannotRead:
            break;
    }
    return ImportDialog::tr("%1 could not be read.").arg(name);
}

}  // namespace

void ImportDialog::run(ListSession& session, WindowRegistry& windows, QWidget* parent) {
    // An accessibility client can give the command again behind the modal preview.
    if (!windows.startTask(Command::Import)) {
        prompts().beep(400, 100);
        return;
    }
    const auto done = qScopeGuard([&windows] { windows.finishTask(Command::Import); });

    FileRequest request;
    request.title = tr("Import cards from:");
    request.filters = {filter(tr("Text, CSV and KVTML files"), {"txt", "csv", "tsv", "kvtml"}),
                       filter(tr("KDE vocabulary files"), {"kvtml"}),
                       filter(tr("Anki packages"), {"apkg", "colpkg"}), tr("All files (*)")};
    const FileChoice choice = prompts().openFile(parent, request);
    if (choice.path.isEmpty()) {
        if (choice.errorCode != 0)
            showError(Msg::OpenFailed);
        return;
    }
    const std::string path = QFile::encodeName(choice.path).toStdString();
    const QString name = QFileInfo(choice.path).fileName();

    ImportOptions options;
    options.maxLevel = session.preferences().maxLevel;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ImportReadResult read = readImportSource(path, options);
    QGuiApplication::restoreOverrideCursor();
    if (!read.source) {
        showErrorText(refusalText(read.refusal, name));
        return;
    }

    OwnedDialog<ImportDialog> dialog(std::move(*read.source), name, parent);
    if (prompts().execDialog(dialog.get()) != QDialog::Accepted || !dialog)
        return;
    const ImportSource& source = dialog->source();
    const ImportReport report = importIntoList(session, source);
    if (source.kind() != ImportKind::AnkiPackage)
        return;
    // Taken now: the preview may be gone once a question has run.
    const std::optional<FsrsWeights> weights = fsrsWeightsToOffer(source, session.schedule());
    reportAnkiImport(session, report, weights, parent);
}

void ImportDialog::reportAnkiImport(ListSession& session, const ImportReport& report,
                                    const std::optional<FsrsWeights>& weights, QWidget* parent) {
    ReviewSchedule& schedule = session.schedule();
    QString text =
        tr("Notes added: %1, updated: %2.").arg(report.tally.added).arg(report.tally.updated);
    if (!report.historyKept) {
        const QString why = schedule.available() && schedule.history() != nullptr
                                ? QString::fromStdString(schedule.history()->lastError())
                                : schedule.unavailableReason();
        text += QStringLiteral("\n\n") +
                tr("The cards' answers in Anki were not brought along: %1").arg(why);
        prompts().message(parent, PromptIcon::Exclamation, tr("Import Cards"), text);
        return;
    }
    if (report.reviews > 0) {
        text += QStringLiteral(" ") + tr("Answers given in Anki brought into the review "
                                         "history: %1. The cards fall due where Anki would "
                                         "have asked them.")
                                          .arg(report.reviews);
    }
    if (!weights) {
        prompts().message(parent, PromptIcon::Information, tr("Import Cards"), text);
        return;
    }
    text += QStringLiteral("\n\n") +
            tr("The deck carries FSRS parameters that Anki fitted to your answers. Schedule "
               "this list with them instead of the ones it has now?");
    if (prompts().question(parent, PromptIcon::Question, tr("Import Cards"), text, false) ==
        PromptAnswer::Yes)
        schedule.setParameters(*weights);
}

ImportDialog::ImportDialog(ImportSource source, const QString& fileName, QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
    setObjectName("importDialog");
    setWindowTitle(tr("Import Cards"));

    auto* layout = new QVBoxLayout(this);
    QString about = tr("Cards from %1.").arg(fileName);
    const KvtmlImport& kvtml = source_.kvtml();
    if (!kvtml.questionLanguage.empty() && !kvtml.answerLanguage.empty()) {
        about += QLatin1Char(' ') +
                 tr("Questions in %1, answers in %2.")
                     .arg(fromCardText(kvtml.questionLanguage), fromCardText(kvtml.answerLanguage));
    }
    auto* aboutLabel = new QLabel(about, this);
    aboutLabel->setWordWrap(true);
    layout->addWidget(aboutLabel);
    if (source_.kind() == ImportKind::Text)
        buildTextChoices();
    if (source_.kind() == ImportKind::AnkiPackage) {
        auto* panel = new AnkiImportPanel(source_.anki(), this);
        layout->addWidget(panel, 2);
        connect(panel, &AnkiImportPanel::choicesChanged, this,
                [this](const AnkiImportChoices& choices) {
                    source_.setAnkiChoices(choices);
                    showSource();
                });
    }

    preview_ = new ImportPreviewModel(this);
    auto* table = new QTableView(this);
    table->setObjectName("previewTable");
    table->setModel(preview_);
    setUpImportTable(table);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every column at least as wide as its title, "Additional information" too.
    for (int column = 0; column < ImportPreviewModel::kColumnCount; ++column) {
        table->setColumnWidth(column, std::max(table->columnWidth(column),
                                               table->horizontalHeader()->sectionSizeHint(column)));
    }
    table->setColumnHidden(ImportPreviewModel::LevelColumn, source_.kind() == ImportKind::Text);
    layout->addWidget(
        labelFor(tr("&Preview of the first %1 cards:").arg(kPreviewRows), table, this));
    layout->addWidget(table, 3);

    summary_ = new QLabel(this);
    summary_->setObjectName("summaryLabel");
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary_);

    problems_ = new ImportProblemModel(this);
    auto* problemList = new QListView(this);
    problemList->setObjectName("problemList");
    problemList->setModel(problems_);
    problemList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is one row high, so the view need not measure a million of them.
    problemList->setUniformItemSizes(true);
    layout->addWidget(labelFor(tr("Rows &not taken or changed:"), problemList, this));
    layout->addWidget(problemList, 1);

    importButton_ = new QPushButton(tr("&Import"), this);
    importButton_->setObjectName("importButton");
    importButton_->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    connect(importButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(importButton_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    showSource();
    resize(900, 640);
    if (encoding_)
        encoding_->setFocus();
    else
        importButton_->setFocus();
}

ImportDialog::~ImportDialog() = default;

void ImportDialog::buildTextChoices() {
    auto* reading = new QGroupBox(tr("Reading the file"), this);
    auto* readingLayout = new QHBoxLayout(reading);
    encoding_ = new QComboBox(reading);
    encoding_->setObjectName("encodingBox");
    for (const EncodingItem& item : kEncodings)
        encoding_->addItem(tr(item.text), static_cast<int>(item.encoding));
    separator_ = new QComboBox(reading);
    separator_->setObjectName("separatorBox");
    for (const SeparatorItem& item : kSeparators)
        separator_->addItem(tr(item.text), static_cast<uint>(item.separator));
    otherSeparator_ = new QLineEdit(reading);
    otherSeparator_->setObjectName("otherSeparatorEdit");
    otherSeparator_->setMaxLength(1);
    otherSeparator_->setMaximumWidth(40);
    header_ = new QCheckBox(tr("&First row names the columns"), reading);
    header_->setObjectName("headerCheck");
    html_ = new QCheckBox(tr("Texts are &HTML"), reading);
    html_->setObjectName("htmlCheck");
    html_->setToolTip(
        tr("Tags are removed, entities such as &amp; decoded, and line breaks "
           "become \" / \"."));
    addLabelled(readingLayout, tr("Enc&oding:"), encoding_, reading);
    addLabelled(readingLayout, tr("&Separator:"), separator_, reading);
    addLabelled(readingLayout, tr("O&ther character:"), otherSeparator_, reading);
    readingLayout->addWidget(header_);
    readingLayout->addWidget(html_);
    readingLayout->addStretch();

    auto* columns = new QGroupBox(tr("Columns"), this);
    auto* columnLayout = new QHBoxLayout(columns);
    auto addColumnBox = [&](const QString& label, const char* name) {
        auto* box = new QComboBox(columns);
        box->setObjectName(name);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        addLabelled(columnLayout, label, box, columns);
        connect(box, &QComboBox::currentIndexChanged, this, &ImportDialog::takeMapping);
        return box;
    };
    question_ = addColumnBox(tr("&Question:"), "questionColumnBox");
    answer_ = addColumnBox(tr("&Answer:"), "answerColumnBox");
    lesson_ = addColumnBox(tr("&Lesson:"), "lessonColumnBox");
    addInfo_ = addColumnBox(tr("A&dditional information:"), "addInfoColumnBox");
    columnLayout->addStretch();

    ankiNote_ = new QLabel(this);
    ankiNote_->setObjectName("ankiColumnsLabel");
    ankiNote_->setWordWrap(true);

    auto* outer = qobject_cast<QVBoxLayout*>(layout());
    outer->addWidget(reading);
    outer->addWidget(columns);
    outer->addWidget(ankiNote_);

    connect(encoding_, &QComboBox::currentIndexChanged, this, &ImportDialog::readAgain);
    connect(separator_, &QComboBox::currentIndexChanged, this, [this] {
        // "Other character" waits for the character, typed in the box that follows.
        otherSeparator_->setEnabled(separator_->currentData().toUInt() == 0);
        readAgain();
    });
    connect(otherSeparator_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!text.isEmpty())
            readAgain();
    });
    connect(header_, &QCheckBox::toggled, this, &ImportDialog::takeMapping);
    connect(html_, &QCheckBox::toggled, this, &ImportDialog::readAgain);
}

void ImportDialog::readAgain() {
    TextImportOptions options;
    options.encoding = static_cast<TextEncoding>(encoding_->currentData().toInt());
    char32_t separator = separator_->currentData().toUInt();
    if (separator == 0) {
        const QList<uint> typed = otherSeparator_->text().toUcs4();
        if (typed.isEmpty())
            return;
        separator = typed.first();
    }
    options.separator = separator;
    options.html = html_->isChecked();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    source_.setOptions(options);
    QGuiApplication::restoreOverrideCursor();
    showSource();
}

void ImportDialog::takeMapping() {
    ColumnMapping mapping;
    mapping.question = question_->currentData().toUInt();
    mapping.answer = answer_->currentData().toUInt();
    const auto optional = [](QComboBox* box) -> std::optional<std::size_t> {
        const int column = box->currentData().toInt();
        return column < 0 ? std::nullopt : std::optional<std::size_t>(column);
    };
    mapping.lesson = optional(lesson_);
    mapping.addInfo = optional(addInfo_);
    mapping.firstRowIsHeader = header_->isChecked();
    if (mapping == source_.mapping())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    source_.setMapping(mapping);
    QGuiApplication::restoreOverrideCursor();
    showSource();
}

void ImportDialog::showSource() {
    const ImportCounts& counts = source_.counts();
    if (source_.kind() == ImportKind::Text) {
        const TextImport& text = source_.text();
        const QSignalBlocker blockEncoding(encoding_);
        const QSignalBlocker blockSeparator(separator_);
        const QSignalBlocker blockHeader(header_);
        const QSignalBlocker blockHtml(html_);
        html_->setChecked(text.html);
        selectData(encoding_, static_cast<int>(text.encoding));
        const int named = separator_->findData(static_cast<uint>(text.separator));
        separator_->setCurrentIndex(named >= 0 ? named : separator_->count() - 1);
        otherSeparator_->setEnabled(named < 0);
        if (named < 0)
            otherSeparator_->setText(QString::fromUcs4(&text.separator, 1));
        header_->setChecked(source_.mapping().firstRowIsHeader);
        fillColumnBoxes();
        ankiNote_->setText(ankiColumnsText());
        ankiNote_->setVisible(text.ankiColumns.any());
    }
    preview_->fill(source_, kPreviewRows);
    problems_->fill(source_);

    QStringList summary;
    if (source_.kind() == ImportKind::Text &&
        source_.text().status == TextImport::Status::NotText) {
        summary << tr("Read in this encoding, the file is not text. Choose another encoding.");
    } else if (source_.kind() == ImportKind::Text) {
        summary << tr("%1 of %2 rows become cards.").arg(counts.taken).arg(counts.rows);
    } else if (source_.kind() == ImportKind::AnkiPackage) {
        summary << tr("%1 of %2 notes become cards.").arg(counts.taken).arg(counts.rows);
    } else {
        summary << tr("%1 of %2 entries become cards.").arg(counts.taken).arg(counts.rows);
    }
    if (counts.changed > 0)
        summary << tr("%1 of them are cut or cleaned.").arg(counts.changed);
    if (counts.rows > counts.taken)
        summary << tr("%1 cannot be taken.").arg(counts.rows - counts.taken);
    summary_->setText(summary.join(QLatin1Char(' ')));
    importButton_->setEnabled(counts.taken > 0);
}

void ImportDialog::fillColumnBoxes() {
    const TextImport& text = source_.text();
    const ColumnMapping& mapping = source_.mapping();
    const bool header = mapping.firstRowIsHeader && text.rowCount() > 0;
    std::size_t columns = std::max<std::size_t>(2, text.usualFieldCount);
    for (std::size_t row = 0; row < std::min(text.rowCount(), kPreviewRows + 1); ++row)
        columns = std::max(columns, text.fieldCount(row));
    columns = std::min(columns, kMaxColumns);
    columns = std::max({columns, mapping.question + 1, mapping.answer + 1,
                        mapping.lesson.value_or(0) + 1, mapping.addInfo.value_or(0) + 1});

    // Each column is shown with its name, or else with its text in the first card, so that
    // the user sees which is which.
    QStringList items;
    for (std::size_t column = 0; column < columns; ++column) {
        const int number = static_cast<int>(column) + 1;
        std::string name;
        if (header)
            name = text.field(0, column);
        else if (column < text.columnNames.size())
            name = text.columnNames[column];
        const AnkiColumns& anki = text.ankiColumns;
        if (name.empty() && (anki.isMeta(column) || anki.deck == column)) {
            items << (anki.guid == column       ? tr("Column %1: Anki note id")
                      : anki.notetype == column ? tr("Column %1: Anki note type")
                      : anki.deck == column     ? tr("Column %1: Anki deck")
                                                : tr("Column %1: Anki tags"))
                         .arg(number);
            continue;
        }
        if (!name.empty()) {
            items << tr("Column %1: %2").arg(number).arg(fromCardText(shortened(name, kShownName)));
            continue;
        }
        const std::size_t firstCard = header ? 1 : 0;
        const std::string_view sample =
            firstCard < text.rowCount() ? text.field(firstCard, column) : std::string_view();
        if (sample.empty())
            items << tr("Column %1").arg(number);
        else
            items << tr("Column %1, e.g. %2")
                         .arg(number)
                         .arg(fromCardText(shortened(sample, kShownName)));
    }

    const auto fill = [&](QComboBox* box, std::optional<std::size_t> chosen, bool optional) {
        const QSignalBlocker block(box);
        box->clear();
        if (optional)
            box->addItem(tr("None"), -1);
        for (std::size_t column = 0; column < columns; ++column)
            box->addItem(items[static_cast<qsizetype>(column)], static_cast<int>(column));
        selectData(box, chosen ? static_cast<int>(*chosen) : -1);
    };
    fill(question_, mapping.question, false);
    fill(answer_, mapping.answer, false);
    fill(lesson_, mapping.lesson, true);
    fill(addInfo_, mapping.addInfo, true);
}

QString ImportDialog::ankiColumnsText() const {
    const AnkiColumns& anki = source_.text().ankiColumns;
    const ColumnMapping& mapping = source_.mapping();
    QStringList lines;
    const auto number = [](std::size_t column) { return static_cast<qulonglong>(column + 1); };
    if (anki.guid || anki.notetype) {
        lines << tr("Anki's note ids and note types are no card texts and are not imported.");
    }
    if (anki.deck && mapping.lesson == anki.deck) {
        lines << tr("The deck (column %1) becomes the lesson: the last level of its name, "
                    "after \"::\".")
                     .arg(number(*anki.deck));
    }
    if (anki.tags) {
        const bool used = mapping.lesson == anki.tags || mapping.addInfo == anki.tags ||
                          mapping.question == *anki.tags || mapping.answer == *anki.tags;
        lines << (used ? tr("The tags (column %1) are imported as chosen above.")
                       : tr("Tags are not imported. To keep them, choose column %1 for the "
                            "additional information."))
                     .arg(number(*anki.tags));
    }
    return lines.join(QLatin1Char(' '));
}
