#include "session/card_export.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "core/card_store.h"
#include "core/exchange_text.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "core/safe_file.h"
#include "platform/messages.h"
#include "platform/prompts.h"
#include "platform/string_table.h"
#include "session/list_session.h"

namespace {

// The texts of the export, under a name the translation tools see.
struct CardExport {
    Q_DECLARE_TR_FUNCTIONS(CardExport)
};

QString filter(const QString& description, const QString& extension) {
    return QString("%1 (*.%2 *.%3)").arg(description, extension, extension.toUpper());
}

}  // namespace

std::vector<CardRecord> cardRecordsOf(const CardStore& store) {
    std::vector<CardRecord> records;
    records.reserve(static_cast<std::size_t>(store.unknownList.count()) +
                    static_cast<std::size_t>(store.knownList.count()));
    for (const CardList* list : {&store.unknownList, &store.knownList}) {
        list->forEach([&](const Card* card) {
            records.push_back({std::string(card->question()), std::string(card->answer()),
                               std::string(card->lesson()), std::string(card->addInfo()),
                               card->level, card->timesAsked, card->timesWrong});
        });
    }
    return records;
}

ExportTarget exportTargetOf(const QString& chosenPath, int chosenFilter) {
    ExportTarget target{chosenPath, chosenFilter == 1   ? ExchangeFormat::Kvtml
                                    : chosenFilter == 2 ? ExchangeFormat::AnkiPackage
                                                        : ExchangeFormat::Text};
    static const char* const kSuffixes[] = {".txt", ".kvtml", ".apkg"};
    if (QFileInfo(chosenPath).suffix().isEmpty())
        target.path += kSuffixes[static_cast<int>(target.format)];
    return target;
}

AnkiExport ankiExportOf(const CardStore& store, int64_t nowSeconds) {
    AnkiExport data;
    data.nowSeconds = nowSeconds;
    const bool untitled = store.fileName == CardStore::kUntitled;
    const QString name =
        untitled ? CardExport::tr("Kartomatrix")
                 : QFileInfo(QFile::decodeName(QByteArray::fromStdString(store.fileName)))
                       .completeBaseName();
    data.deckName = name.toStdString();
    for (const CardList* list : {&store.unknownList, &store.knownList}) {
        list->forEach([&](const Card* card) {
            AnkiExportCard out;
            out.question = card->question();
            out.answer = card->answer();
            out.lesson = card->lesson();
            out.identity = data.deckName + '\n' + std::to_string(card->id);
            if (card->level > 0) {
                AnkiExportState state;
                state.interval = 1 << std::min(card->level - 1, 15);
                state.due = state.interval;
                out.state = state;
            }
            data.cards.push_back(std::move(out));
        });
    }
    return data;
}

KvtmlExportOptions kvtmlOptionsOf(const CardStore& store, int32_t maxLevel) {
    KvtmlExportOptions options;
    options.maxLevel = maxLevel;
    options.practiceDate = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    if (store.fileName == CardStore::kUntitled)
        return options;
    const QString name =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(store.fileName))).completeBaseName();
    options.title = name.toStdString();
    if (const auto languages = languagesInListName(options.title)) {
        options.questionLanguage = languages->first;
        options.answerLanguage = languages->second;
    } else {
        options.questionLanguage = CardExport::tr("%1: questions").arg(name).toStdString();
        options.answerLanguage = CardExport::tr("%1: answers").arg(name).toStdString();
    }
    return options;
}

FileFailure writeExchangeFile(const std::string& path, ExchangeFormat format,
                              std::span<const CardRecord> cards,
                              const KvtmlExportOptions& options) {
    SafeFile file(path);
    if (!file.open())
        return file.failure();
    const bool written = format == ExchangeFormat::Kvtml ? writeKvtml(file, cards, options)
                                                         : writeExchangeText(file, cards);
    if (!written)
        return FileFailure::CannotWrite;
    if (!file.commit())
        return file.failure() == FileFailure::None ? FileFailure::CannotWrite : file.failure();
    return FileFailure::None;
}

void exportForOtherTrainers(ListSession& session) {
    FileRequest request;
    request.title = stringText(Msg::ExportTitle);
    request.filters = {filter(CardExport::tr("Text for other trainers"), "txt"),
                       filter(CardExport::tr("KDE vocabulary file"), "kvtml"),
                       filter(CardExport::tr("Anki package"), "apkg")};
    request.defaultSuffix = "txt";
    const FileChoice choice = prompts().saveFile(session.dialogParent(), request);
    if (choice.path.isEmpty()) {
        if (choice.errorCode != 0)
            showError(Msg::SaveFailed);
        return;
    }
    const ExportTarget target = exportTargetOf(choice.path, choice.filter);
    // The dialog asked about replacing the name it was given, not about the one with the
    // extension added here.
    if (target.path != choice.path && QFileInfo::exists(target.path) &&
        prompts().question(
            session.dialogParent(), PromptIcon::Exclamation, stringText(Msg::ExportTitle),
            CardExport::tr("%1 already exists.\nDo you want to replace it?").arg(target.path),
            false) != PromptAnswer::Yes) {
        return;
    }
    const std::string path = QFile::encodeName(target.path).toStdString();
    const CardStore& store = session.store();
    const KvtmlExportOptions options = kvtmlOptionsOf(store, session.preferences().maxLevel);
    FileFailure failure = FileFailure::None;
    if (target.format == ExchangeFormat::AnkiPackage) {
        const AnkiWriteResult written =
            writeAnkiPackage(path, ankiExportOf(store, QDateTime::currentSecsSinceEpoch()));
        failure = written.ok() ? FileFailure::None : FileFailure::CannotWrite;
    } else {
        failure = writeExchangeFile(path, target.format, cardRecordsOf(store), options);
    }
    switch (failure) {
        case FileFailure::None:
            return;
        case FileFailure::ReadOnly:
            showErrorText(
                CardExport::tr("%1 is read-only. The cards were not exported.").arg(target.path));
            return;
        case FileFailure::NotRegularFile:
            showErrorText(
                CardExport::tr("%1 is a folder, a device or a pipe, not a file. The cards were "
                               "not exported.")
                    .arg(target.path));
            return;
        default:
            showErrorText(CardExport::tr("The cards could not be written to %1; the folder may be "
                                         "read-only or the disk full. Nothing was changed.")
                              .arg(target.path));
            return;
    }
}
