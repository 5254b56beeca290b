#include "session/card_import.h"

#include "core/card_store.h"
#include "core/import_source.h"
#include "core/list_ops.h"
#include "session/list_session.h"

std::size_t importCards(ListSession& session, const ImportSource& source) {
    CardStore& store = session.store();
    const bool listBegun = !session.listOpen();
    const int unknownBefore = store.unknownList.count();
    std::size_t added = 0;
    source.forEachTakenCard([&](const CardRecord& record) {
        Card& card = addCard(store, store.unknownList, record.question, record.answer,
                             record.lesson, record.addInfo);
        card.level = record.level;
        ++added;
    });
    if (added > 0)
        session.cardsImported(unknownBefore, listBegun);
    return added;
}
