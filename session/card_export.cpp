#include "session/card_export.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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

QString filter(const QString& description, const QString& extension) {
    return QString("%1 (*.%2 *.%3)").arg(description, extension, extension.toUpper());
}

}  // namespace

ExchangeFormat exchangeFormatOf(const std::string& path) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path)))
                       .suffix()
                       .compare(QLatin1String("kvtml"), Qt::CaseInsensitive) == 0
               ? ExchangeFormat::Kvtml
               : ExchangeFormat::Text;
}

std::vector<CardRecord> cardRecordsOf(const CardStore& store) {
    std::vector<CardRecord> records;
    records.reserve(static_cast<std::size_t>(store.unknownList.count()) +
                    static_cast<std::size_t>(store.knownList.count()));
    for (const CardList* list : {&store.unknownList, &store.knownList}) {
        list->forEach([&](const Card* card) {
            records.push_back({std::string(card->question()), std::string(card->answer()),
                               std::string(card->lesson()), std::string(card->addInfo()),
                               card->level});
        });
    }
    return records;
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
    request.filters = {
        filter(QCoreApplication::translate("CardExport", "Text for other trainers"), "txt"),
        filter(QCoreApplication::translate("CardExport", "KDE vocabulary file"), "kvtml")};
    request.defaultSuffix = "txt";
    const FileChoice choice = prompts().saveFile(session.dialogParent(), request);
    if (choice.path.isEmpty()) {
        if (choice.errorCode != 0)
            showError(Msg::SaveFailed);
        return;
    }
    const std::string path = QFile::encodeName(choice.path).toStdString();
    const CardStore& store = session.store();
    KvtmlExportOptions options;
    options.maxLevel = session.preferences().maxLevel;
    if (store.fileName != CardStore::kUntitled)
        options.title = QFileInfo(QFile::decodeName(QByteArray::fromStdString(store.fileName)))
                            .completeBaseName()
                            .toStdString();
    const std::vector<CardRecord> cards = cardRecordsOf(store);
    switch (writeExchangeFile(path, exchangeFormatOf(path), cards, options)) {
        case FileFailure::None:
            return;
        case FileFailure::ReadOnly:
            showErrorText(QCoreApplication::translate(
                              "CardExport", "%1 is read-only. The cards were not exported.")
                              .arg(choice.path));
            return;
        case FileFailure::NotRegularFile:
            showErrorText(QCoreApplication::translate(
                              "CardExport",
                              "%1 is a folder, a device or a pipe, not a file. The cards were "
                              "not exported.")
                              .arg(choice.path));
            return;
        default:
            showErrorText(QCoreApplication::translate(
                              "CardExport",
                              "The cards could not be written to %1; the folder may be "
                              "read-only or the disk full. Nothing was changed.")
                              .arg(choice.path));
            return;
    }
}
