#include "session/card_import.h"

#include "core/card_store.h"
#include "core/file_source.h"
#include "core/list_ops.h"
#include "session/card_text.h"
#include "session/import_source.h"
#include "session/list_session.h"

ImportFile readImportFile(const std::string& path) {
    ImportFile file;
    FileSource source(path, kMaxImportFileBytes);
    if (!source.isOpen()) {
        file.failure = source.failure();
        return file;
    }
    file.bytes.reserve(source.sizeHint());
    char buffer[64 * 1024];
    while (const std::size_t n = source.read(buffer, sizeof buffer))
        file.bytes.append(buffer, n);
    if (source.failed()) {
        file.bytes.clear();
        file.failure = FileFailure::CannotOpen;
    }
    return file;
}

std::size_t importCards(ListSession& session, const ImportSource& source) {
    CardStore& store = session.store();
    const bool listBegun = !session.listOpen();
    const int unknownBefore = store.unknownList.count();
    std::size_t added = 0;
    source.forEachTakenCard([&](const CardRecord& record) {
        Card& card = addCard(store, store.unknownList, *cardTextFromUtf8(record.question),
                             *cardTextFromUtf8(record.answer), *cardTextFromUtf8(record.lesson),
                             *cardTextFromUtf8(record.addInfo));
        card.level = record.level;
        ++added;
    });
    if (added > 0)
        session.cardsImported(unknownBefore, listBegun);
    return added;
}
