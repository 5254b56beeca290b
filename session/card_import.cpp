#include "session/card_import.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/anki_import.h"
#include "core/card_store.h"
#include "core/import_source.h"
#include "core/list_ops.h"
#include "session/list_session.h"
#include "session/review_schedule.h"

namespace {

using Remembered = RememberedNote;

// The card a note became, if it is still there as it was imported. The cards are indexed by
// their texts once, on the first note imported before, so that importing a large deck again
// does not walk the whole list for each of its notes.
class CardFinder {
public:
    explicit CardFinder(CardStore& store) : store_(store) {}

    Card* find(const Remembered& r) {
        if (!indexed_) {
            for (CardList* list : {&store_.unknownList, &store_.knownList}) {
                list->forEach([&](Card* card) {
                    byTexts_[hashOf(card->question(), card->answer())].push_back(card);
                });
            }
            indexed_ = true;
        }
        const auto found = byTexts_.find(hashOf(r.question, r.answer));
        if (found == byTexts_.end())
            return nullptr;
        Card* byTexts = nullptr;
        for (Card* card : found->second) {
            // A card updated since it was indexed no longer has the texts it is filed under.
            if (card->question() != r.question || card->answer() != r.answer)
                continue;
            if (card->id == r.number)
                return card;
            if (byTexts == nullptr)
                byTexts = card;
        }
        return byTexts;
    }

private:
    static std::size_t hashOf(std::string_view question, std::string_view answer) {
        const std::size_t h = std::hash<std::string_view>()(question);
        return h ^ (std::hash<std::string_view>()(answer) + 0x9e3779b97f4a7c15ULL + (h << 6) +
                    (h >> 2));
    }

    CardStore& store_;
    bool indexed_ = false;
    // Cards in list order (unknown cards first) by the hash of their two texts.
    std::unordered_map<std::size_t, std::vector<Card*>> byTexts_;
};

}  // namespace

std::string rememberedNoteValue(int32_t number, std::string_view question,
                                std::string_view answer) {
    std::string value = std::to_string(number);
    value.append(1, '\n').append(question).append(1, '\n').append(answer);
    return value;
}

std::optional<RememberedNote> rememberedNoteOf(const std::string& value) {
    const std::size_t first = value.find('\n');
    const std::size_t second = first == std::string::npos ? first : value.find('\n', first + 1);
    if (second == std::string::npos)
        return std::nullopt;
    RememberedNote r;
    try {
        r.number = std::stoi(value.substr(0, first));
    } catch (...) {
        return std::nullopt;
    }
    r.question = value.substr(first + 1, second - first - 1);
    r.answer = value.substr(second + 1);
    return r;
}

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
    CardFinder finder(store);
    for (std::size_t i = 0; i < source.rowCount(); ++i) {
        const ImportRow row = source.row(i);
        if (!row.taken())
            continue;
        const CardRecord& record = row.candidate.card;
        const std::string key = kAnkiNoteKeyPrefix + source.anki().package.notes[i].guid;
        const std::optional<std::string> value = notes.value ? notes.value(key) : std::nullopt;
        const std::optional<Remembered> remembered =
            value ? rememberedNoteOf(*value) : std::nullopt;
        Card* card = remembered ? finder.find(*remembered) : nullptr;
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
        if (notes.imported)
            notes.imported(i, *card);
        if (notes.setValue) {
            notes.setValue(key, rememberedNoteValue(card->id, card->question(), card->answer()));
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

ImportReport importIntoList(ListSession& session, const ImportSource& source) {
    ImportReport report;
    if (source.kind() != ImportKind::AnkiPackage) {
        report.tally.added = importCards(session, source);
        return report;
    }
    ReviewSchedule& schedule = session.schedule();
    // The history must be there before the cards: the notes are looked up in it.
    if (!session.listOpen() && !schedule.available())
        schedule.openUnsaved();
    ReviewHistory* history = schedule.history();
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::pair<std::size_t, const Card*>> imported;
    ImportedNotes notes;
    if (history != nullptr) {
        notes.value = [history](const std::string& key) { return history->value(key); };
        // Kept until the answers are written, all in one transaction.
        notes.setValue = [&values](const std::string& key, const std::string& value) {
            values.emplace_back(key, value);
            return true;
        };
    }
    notes.imported = [&imported](std::size_t note, const Card& card) {
        imported.emplace_back(note, &card);
    };
    report.tally = importCards(session, source, notes);
    if (history == nullptr) {
        report.historyKept = source.anki().package.revlog.empty();
        return report;
    }

    // Each Anki card's answers, in time order.
    const AnkiImport& anki = source.anki();
    std::vector<AnkiReviewRecord> records = ankiReviewRecords(anki.package);
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.cardId < b.cardId; });
    std::unordered_map<int64_t, std::span<const AnkiReviewRecord>> reviewsOf;
    for (std::size_t i = 0; i < records.size();) {
        std::size_t end = i;
        while (end < records.size() && records[end].cardId == records[i].cardId)
            ++end;
        reviewsOf.emplace(records[i].cardId,
                          std::span<const AnkiReviewRecord>(records.data() + i, end - i));
        i = end;
    }
    std::vector<ReviewSchedule::ImportedCard> cards;
    cards.reserve(imported.size());
    for (const auto& [note, card] : imported) {
        ReviewSchedule::ImportedCard& out = cards.emplace_back();
        out.card = card;
        const AnkiCard* ankiCard = anki.cardOf(note);
        if (ankiCard == nullptr)
            continue;
        const auto found = reviewsOf.find(ankiCard->id);
        AnkiCardHistory from = ankiCardHistory(
            anki.package, *ankiCard,
            found == reviewsOf.end() ? std::span<const AnkiReviewRecord>() : found->second,
            schedule.parameters());
        out.reviews = std::move(from.reviews);
        out.state = from.state;
    }
    report.reviews = schedule.importCards(std::move(cards), values);
    report.historyKept = report.reviews >= 0;
    report.reviews = std::max<int64_t>(report.reviews, 0);
    return report;
}

std::optional<FsrsWeights> fsrsWeightsToOffer(const ImportSource& source,
                                              const ReviewSchedule& schedule) {
    if (source.kind() != ImportKind::AnkiPackage || !schedule.available())
        return std::nullopt;
    const AnkiDeckConfig* config = ankiFsrsOffer(source.anki());
    if (config == nullptr)
        return std::nullopt;
    const std::optional<FsrsWeights> weights = ankiFsrsWeights(config->fsrsParameters);
    if (!weights)
        return std::nullopt;
    // Anki keeps them as floats: a difference below that precision is none.
    const FsrsWeights offered = Fsrs::clipped(*weights);
    const FsrsWeights& current = schedule.parameters().w;
    for (std::size_t i = 0; i < offered.size(); ++i) {
        if (std::abs(offered[i] - current[i]) > 1e-6 * std::max(1.0, std::abs(current[i])))
            return weights;
    }
    return std::nullopt;
}
