#include "session/card_import.h"

#include "core/card_store.h"
#include "core/import_source.h"
#include "core/list_ops.h"
#include "session/list_session.h"

namespace {

struct Remembered {
    int32_t number = 0;
    std::string question;
    std::string answer;
};

std::optional<Remembered> parse(const std::string& value) {
    const std::size_t first = value.find('\n');
    const std::size_t second = first == std::string::npos ? first : value.find('\n', first + 1);
    if (second == std::string::npos)
        return std::nullopt;
    Remembered r;
    try {
        r.number = std::stoi(value.substr(0, first));
    } catch (...) {
        return std::nullopt;
    }
    r.question = value.substr(first + 1, second - first - 1);
    r.answer = value.substr(second + 1);
    return r;
}

// The card the note became, if it is still there as it was imported.
Card* findCard(CardStore& store, const Remembered& r) {
    Card* byNumber = nullptr;
    Card* byTexts = nullptr;
    for (CardList* list : {&store.unknownList, &store.knownList}) {
        list->forEach([&](Card* card) {
            if (card->question() != r.question || card->answer() != r.answer)
                return;
            if (card->id == r.number)
                byNumber = card;
            else if (byTexts == nullptr)
                byTexts = card;
        });
    }
    return byNumber ? byNumber : byTexts;
}

}  // namespace

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

ImportTally importCards(ListSession& session, const ImportSource& source,
                        const ImportedNotes& notes) {
    if (source.kind() != ImportKind::AnkiPackage)
        return {importCards(session, source), 0};
    CardStore& store = session.store();
    const bool listBegun = !session.listOpen();
    const int unknownBefore = store.unknownList.count();
    ImportTally tally;
    for (std::size_t i = 0; i < source.rowCount(); ++i) {
        const ImportRow row = source.row(i);
        if (!row.taken())
            continue;
        const CardRecord& record = row.candidate.card;
        const std::string key = "anki-note:" + source.anki().package.notes[i].guid;
        const std::optional<std::string> value = notes.value ? notes.value(key) : std::nullopt;
        const std::optional<Remembered> remembered = value ? parse(*value) : std::nullopt;
        Card* card = remembered ? findCard(store, *remembered) : nullptr;
        if (card != nullptr) {
            store.setText(*card, CardField::Question, record.question);
            store.setText(*card, CardField::Answer, record.answer);
            store.setText(*card, CardField::Lesson, record.lesson);
            store.setText(*card, CardField::AddInfo, record.addInfo);
            ++tally.updated;
        } else {
            card = &addCard(store, store.unknownList, record.question, record.answer, record.lesson,
                            record.addInfo);
            card->level = record.level;
            ++tally.added;
        }
        if (notes.setValue) {
            notes.setValue(key, std::to_string(card->id) + '\n' + std::string(card->question()) +
                                    '\n' + std::string(card->answer()));
        }
    }
    if (tally.added > 0) {
        session.cardsImported(unknownBefore, listBegun);
    } else if (tally.updated > 0) {
        store.modified = true;
        emit session.cardsChanged();
    }
    return tally;
}
