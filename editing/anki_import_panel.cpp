#include "editing/anki_import_panel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "core/card.h"
#include "core/html_text.h"
#include "core/unicode_text.h"
#include "editing/import_controls.h"
#include "platform/text_codec.h"

namespace {

// How much of a field's text a cell of the field table shows.
constexpr std::size_t kShownText = 40;

QTableWidget* newTable(const char* name, QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    setUpImportTable(table);
    return table;
}

}  // namespace

AnkiImportPanel::AnkiImportPanel(const AnkiImport& anki, QWidget* parent)
    : QWidget(parent), anki_(anki), choices_(anki.choices) {
    setObjectName("ankiImportPanel");
    const AnkiPackage& package = anki_.package;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    // Note types, each with how many notes it has, in the package's order.
    std::map<int64_t, std::size_t> notesOfType;
    std::map<int64_t, std::size_t> notesOfDeck;
    for (std::size_t i = 0; i < package.notes.size(); ++i) {
        ++notesOfType[package.notes[i].noteTypeId];
        ++notesOfDeck[anki_.deckOf(i)];
    }

    auto* types = new QGroupBox(tr("Note types"), this);
    auto* typesLayout = new QVBoxLayout(types);
    auto* typeRow = new QHBoxLayout;
    noteType_ = new QComboBox(types);
    noteType_->setObjectName("noteTypeBox");
    for (const AnkiNoteType& type : package.noteTypes) {
        if (notesOfType.count(type.id) == 0)
            continue;
        QString text = tr("%1 (notes: %2)").arg(fromCardText(type.name)).arg(notesOfType[type.id]);
        if (type.cloze)
            text += QLatin1Char(' ') + tr("- cloze, not taken");
        noteType_->addItem(text, QVariant::fromValue<qlonglong>(type.id));
    }
    question_ = new QComboBox(types);
    question_->setObjectName("questionFieldBox");
    answer_ = new QComboBox(types);
    answer_->setObjectName("answerFieldBox");
    addLabelled(typeRow, tr("Note &type:"), noteType_, types);
    addLabelled(typeRow, tr("&Question field:"), question_, types);
    addLabelled(typeRow, tr("&Answer field:"), answer_, types);
    typeRow->addStretch();
    typesLayout->addLayout(typeRow);
    fields_ = newTable("fieldTable", types);
    fields_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    addLabelled(typesLayout, tr("&Fields of the first notes:"), fields_, types);

    auto* decks = new QGroupBox(tr("Decks and lessons"), this);
    auto* decksLayout = new QVBoxLayout(decks);
    decks_ = newTable("deckTable", decks);
    decks_->setColumnCount(3);
    decks_->setHorizontalHeaderLabels({tr("Deck"), tr("Notes"), tr("Lesson")});
    decks_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    for (const auto& [deckId, count] : notesOfDeck) {
        const AnkiDeck* deck = package.deck(deckId);
        const int row = decks_->rowCount();
        decks_->insertRow(row);
        auto* name = new QTableWidgetItem(deck ? fromCardText(deck->name) : tr("(no deck)"));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        name->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(deckId));
        auto* notes = new QTableWidgetItem(QString::number(count));
        notes->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        // The lesson as it will be: cut to the limit, until the user names it.
        const std::string full = anki_.lessonOf(deckId);
        const std::string lesson(firstCharacters(full, kLessonCapacity));
        auto* lessonItem = new QTableWidgetItem(fromCardText(lesson));
        lessonItem->setToolTip(tr("At most %1 characters").arg(kLessonCapacity));
        decks_->setItem(row, 0, name);
        decks_->setItem(row, 1, notes);
        decks_->setItem(row, 2, lessonItem);
    }
    decks_->resizeColumnsToContents();
    addLabelled(decksLayout, tr("&Decks (a lesson can be renamed):"), decks_, decks);
    auto* tagRow = new QHBoxLayout;
    tags_ = new QComboBox(decks);
    tags_->setObjectName("tagsBox");
    tags_->addItem(tr("Go to the additional information"), int(AnkiTags::AddInfo));
    tags_->addItem(tr("Become the lesson (the first tag)"), int(AnkiTags::Lesson));
    tags_->addItem(tr("Are left out"), int(AnkiTags::LeftOut));
    tags_->setCurrentIndex(tags_->findData(int(choices_.tags)));
    addLabelled(tagRow, tr("Ta&gs:"), tags_, decks);
    tagRow->addStretch();
    decksLayout->addLayout(tagRow);

    auto* sideBySide = new QHBoxLayout;
    sideBySide->addWidget(types, 3);
    sideBySide->addWidget(decks, 2);
    layout->addLayout(sideBySide);

    if (anki_.mediaReferences > 0 || !package.mediaNames.empty()) {
        auto* media = new QLabel(
            tr("Notes that refer to pictures or sounds: %1. Cards cannot hold these yet, so they "
               "are not imported (media files in the package: %2).")
                .arg(anki_.notesWithMedia)
                .arg(package.mediaNames.size()),
            this);
        media->setObjectName("mediaLabel");
        media->setWordWrap(true);
        layout->addWidget(media);
    }

    connect(noteType_, &QComboBox::currentIndexChanged, this, &AnkiImportPanel::showNoteType);
    connect(question_, &QComboBox::currentIndexChanged, this, &AnkiImportPanel::takeFields);
    connect(answer_, &QComboBox::currentIndexChanged, this, &AnkiImportPanel::takeFields);
    connect(decks_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 2)
            takeLesson(item->row());
    });
    connect(tags_, &QComboBox::currentIndexChanged, this, [this] {
        choices_.tags = static_cast<AnkiTags>(tags_->currentData().toInt());
        emit choicesChanged(choices_);
    });
    showNoteType();
}

void AnkiImportPanel::showNoteType() {
    const int64_t typeId = noteType_->currentData().toLongLong();
    const AnkiNoteType* type = anki_.package.noteType(typeId);
    const QSignalBlocker blockQuestion(question_);
    const QSignalBlocker blockAnswer(answer_);
    question_->clear();
    answer_->clear();
    fields_->clear();
    fields_->setRowCount(0);
    if (type == nullptr) {
        fields_->setColumnCount(0);
        return;
    }
    QStringList names;
    for (const std::string& name : type->fieldNames)
        names << fromCardText(name);
    fields_->setColumnCount(static_cast<int>(names.size()));
    fields_->setHorizontalHeaderLabels(names);
    for (int i = 0; i < names.size(); ++i) {
        question_->addItem(names[i], i);
        answer_->addItem(names[i], i);
    }
    const AnkiFieldMapping mapping = anki_.mappingOf(typeId);
    const auto chosen = choices_.fields.find(typeId);
    const AnkiFieldMapping shown = chosen == choices_.fields.end() ? mapping : chosen->second;
    question_->setCurrentIndex(question_->findData(static_cast<int>(shown.question)));
    answer_->setCurrentIndex(answer_->findData(static_cast<int>(shown.answer)));
    question_->setEnabled(!type->cloze);
    answer_->setEnabled(!type->cloze);

    for (const AnkiNote& note : anki_.package.notes) {
        if (note.noteTypeId != typeId)
            continue;
        const int row = fields_->rowCount();
        if (row == kSampleNotes)
            break;
        fields_->insertRow(row);
        for (int column = 0; column < fields_->columnCount(); ++column) {
            const auto c = static_cast<std::size_t>(column);
            const std::string text =
                c < note.fields.size() ? htmlToText(note.fields[c], choices_.lineSeparator) : "";
            fields_->setItem(row, column,
                             new QTableWidgetItem(fromCardText(shortened(text, kShownText))));
        }
    }
    fields_->resizeColumnsToContents();
}

void AnkiImportPanel::takeFields() {
    if (question_->count() == 0)
        return;
    const int64_t typeId = noteType_->currentData().toLongLong();
    AnkiFieldMapping mapping;
    mapping.question = static_cast<std::size_t>(question_->currentData().toInt());
    mapping.answer = static_cast<std::size_t>(answer_->currentData().toInt());
    choices_.fields[typeId] = mapping;
    emit choicesChanged(choices_);
}

void AnkiImportPanel::takeLesson(int row) {
    const int64_t deckId = decks_->item(row, 0)->data(Qt::UserRole).toLongLong();
    const std::string text = decks_->item(row, 2)->text().simplified().toStdString();
    const std::string_view fitting = firstCharacters(text, kLessonCapacity);
    if (fitting.size() < text.size()) {
        // Longer than a lesson can be: shown as it will be taken.
        const QSignalBlocker block(decks_);
        decks_->item(row, 2)->setText(fromCardText(fitting));
    }
    choices_.lessons[deckId] = std::string(fitting);
    emit choicesChanged(choices_);
}
