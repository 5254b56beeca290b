#include "core/list_ops.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "core/card_id_index.h"
#include "core/message_ids.h"
#include "core/unicode_text.h"
#include "core/windows1252.h"

namespace {

// Card numbers and levels are plain 32-bit counters; going past the top wraps instead of
// being undefined.
int32_t wrappingAdd(int32_t value, int32_t delta) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(delta));
}

// The cards of `source`, copied first when the caller walks a list and inserts into the
// same list, so that growing the list cannot pull the walk's slots away.
std::vector<Card*> snapshotIfSame(const CardList& source, const CardList& target) {
    return &source == &target ? source.cards() : std::vector<Card*>{};
}

template <typename Pred>
void insertMatching(const CardList& source, CardList& target, Pred matches) {
    if (&source == &target) {
        for (Card* card : snapshotIfSame(source, target)) {
            if (matches(*card))
                target.insert(card);
        }
        return;
    }
    source.forEach([&](Card* card) {
        if (matches(*card))
            target.insert(card);
    });
}

// Where a character stands in the sort order: a character Windows-1252 holds by its byte
// there, so that such texts keep the byte order they have always sorted in; every other
// character after all of those, by its code point.
int64_t sortRank(std::string_view text, std::size_t pos) {
    const std::optional<char32_t> c = decodeUtf8(text, pos);
    if (!c)
        return int64_t{0x110000} + 256 + static_cast<unsigned char>(text[pos - 1]);
    const int byte = windows1252ByteOf(*c);
    return byte >= 0 ? byte : int64_t{256} + *c;
}

// Character by character in that order; a text that is a prefix of another comes first.
int compareComposed(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
    const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
    std::size_t i = 0;
    while (i < n && pa[i] == pb[i])
        ++i;
    if (i == n) {
        if (a.size() == b.size())
            return 0;
        return a.size() < b.size() ? -1 : 1;
    }
    if (pa[i] < 0x80 && pb[i] < 0x80)
        return pa[i] < pb[i] ? -1 : 1;
    // Back to the first byte of the character the texts differ in; it starts at the same
    // place in both, as everything before it is the same.
    while (i > 0 && ((pa[i] & 0xC0) == 0x80 || (pb[i] & 0xC0) == 0x80))
        --i;
    const int64_t ra = sortRank(a, i);
    const int64_t rb = sortRank(b, i);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    return compareComposed(a.substr(i + 1), b.substr(i + 1));
}

// Texts are compared in composed form: two spellings of one accented letter are the same
// text, and the next key decides between them.
int compareText(std::string_view a, std::string_view b) {
    // Where both texts go on in composed form from the character they first differ in,
    // composing them changes nothing the order depends on: the common start composes alike.
    std::size_t i = 0;
    const std::size_t n = std::min(a.size(), b.size());
    while (i < n && a[i] == b[i])
        ++i;
    if (i == a.size() && i == b.size())
        return 0;
    const auto continues = [](std::string_view text, std::size_t at) {
        return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    while (i > 0 && (continues(a, i) || continues(b, i)))
        --i;
    if (isComposed(a.substr(i)) && isComposed(b.substr(i)))
        return compareComposed(a, b);
    std::string storageA;
    std::string storageB;
    return compareComposed(composedView(a, storageA), composedView(b, storageB));
}

int compareInt(int32_t a, int32_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// The comparison chain of each key down to the card number:
//   0 question, answer, number     1 answer, number     2 level, then as 0
//   3 lesson, then as 0            4 number
int compareChain(const Card& a, const Card& b, SortKey key) {
    int c = 0;
    switch (key) {
        case SortKey::Level:
            c = compareInt(a.level, b.level);
            if (c != 0)
                return c;
            [[fallthrough]];
        case SortKey::Question:
            c = compareText(a.question(), b.question());
            if (c != 0)
                return c;
            [[fallthrough]];
        case SortKey::Answer:
            c = compareText(a.answer(), b.answer());
            if (c != 0)
                return c;
            break;
        case SortKey::Lesson:
            c = compareText(a.lesson(), b.lesson());
            if (c != 0)
                return c;
            c = compareText(a.question(), b.question());
            if (c != 0)
                return c;
            c = compareText(a.answer(), b.answer());
            if (c != 0)
                return c;
            break;
        case SortKey::Id:
            break;
    }
    return compareInt(a.id, b.id);
}

// Up to `bytes` bytes of a text from `offset` on as one big-endian number, so that most
// comparisons are decided without following the card to its texts. Missing bytes count as
// zero bytes; where that makes two prefixes equal the full comparison decides.
uint64_t textBytes(std::string_view text, std::size_t offset, std::size_t bytes) {
    uint64_t value = 0;
    for (std::size_t i = offset; i < offset + bytes; ++i) {
        value <<= 8;
        if (i < text.size())
            value |= static_cast<unsigned char>(text[i]);
    }
    return value;
}

uint64_t biased(int32_t value) {
    return static_cast<uint32_t>(value) ^ 0x80000000u;
}

struct SortItem {
    uint64_t high;
    uint64_t low;
    Card* card;
    std::size_t position;  // index in the list order before sorting
};

// A text (in composed form) as bytes whose order is the sort order of compareText: a character
// Windows-1252 holds is its byte there (0xFF, y diaeresis, as FF 00 00 00), every other character
// FF and three bytes of its place after those. Plain ASCII texts are their own form.
std::string_view sortForm(std::string_view text, std::string& storage) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }))
        return text;
    std::string composed;
    text = composedView(text, composed);
    storage.clear();
    for (std::size_t pos = 0; pos < text.size() && storage.size() < 16;) {
        const int64_t rank = sortRank(text, pos);
        decodeUtf8(text, pos);
        if (rank < 0xFF) {
            storage.push_back(static_cast<char>(rank));
        } else {
            const int64_t above = rank - 0xFF;
            storage.push_back('\xFF');
            storage.push_back(static_cast<char>(above >> 16));
            storage.push_back(static_cast<char>(above >> 8));
            storage.push_back(static_cast<char>(above));
        }
    }
    return storage;
}

// The first sixteen bytes of the comparison chain, in sort form. A lesson of at most ten
// such bytes is followed by its length, so that a shorter lesson that is a prefix of a
// longer one still comes first when the question bytes behind it say otherwise; a longer
// lesson leaves everything behind its first ten bytes to the full comparison.
void setSortPrefix(SortItem& item, SortKey key) {
    const Card& card = *item.card;
    std::string storage;
    switch (key) {
        case SortKey::Question: {
            const std::string_view text = sortForm(card.question(), storage);
            item.high = textBytes(text, 0, 8);
            item.low = textBytes(text, 8, 8);
            return;
        }
        case SortKey::Answer: {
            const std::string_view text = sortForm(card.answer(), storage);
            item.high = textBytes(text, 0, 8);
            item.low = textBytes(text, 8, 8);
            return;
        }
        case SortKey::Level: {
            const std::string_view text = sortForm(card.question(), storage);
            item.high = biased(card.level) << 32 | textBytes(text, 0, 4);
            item.low = textBytes(text, 4, 8);
            return;
        }
        case SortKey::Lesson: {
            const std::string_view lesson = sortForm(card.lesson(), storage);
            item.high = textBytes(lesson, 0, 8);
            if (lesson.size() > 10) {
                item.low = textBytes(lesson, 8, 2) << 48 | uint64_t{11} << 40;
                return;
            }
            std::string questionStorage;
            item.low = textBytes(lesson, 8, 2) << 48 | static_cast<uint64_t>(lesson.size()) << 40 |
                       textBytes(sortForm(card.question(), questionStorage), 0, 5);
            return;
        }
        case SortKey::Id:
            item.high = biased(card.id);
            item.low = 0;
            return;
    }
}

}  // namespace

Card& addCard(CardStore& store, CardList& target, std::string_view question,
              std::string_view answer, std::string_view lesson, std::string_view addInfo) {
    Card& card = store.createCard();
    store.setText(card, CardField::Question, question);
    store.setText(card, CardField::Answer, answer);
    store.setText(card, CardField::Lesson, lesson);
    store.setText(card, CardField::AddInfo, addInfo);
    target.insert(&card);
    return card;
}

bool containsId(const CardList& list, int32_t id) {
    return list.containsId(id);
}

int countCards(const CardList& list) {
    return list.count();
}

void clearList(CardList& list) {
    list.clear();
}

void appendAll(CardList& target, const CardList& source) {
    insertMatching(source, target, [](const Card&) { return true; });
}

void selectByLesson(const CardList& source, CardList& target, std::string_view lesson) {
    insertMatching(source, target,
                   [&](const Card& card) { return sameText(card.lesson(), lesson); });
}

void selectByLevel(const CardList& source, CardList& target, int32_t level) {
    insertMatching(source, target, [&](const Card& card) { return card.level == level; });
}

void exchangeQuestionAndAnswer(CardList& list) {
    list.forEach([](Card* card) { CardStore::swapQuestionAndAnswer(*card); });
}

namespace {

// A card that reached the maximum level: the known-card question decides whether it moves
// to the known cards.
void moveToKnown(CardStore& store, Card& card, const Preferences& preferences, Host& host,
                 AnswerOutcome& outcome) {
    if (!store.examiningUnknown)
        return;  // a known card's level just goes on growing
    if (host.askKnownCard(card) == KnownCardChoice::Keep) {
        card.level = wrappingAdd(preferences.maxLevel, -2);
        return;
    }
    outcome.knownChosen = true;
    if (store.knownList.containsId(card.id)) {
        host.showError(Msg::AlreadyKnown);
    } else {
        // Taken out as this very card for the same reason as in recordWrongAnswer.
        store.unknownList.remove(&card);
        store.knownList.insert(&card);
        outcome.movedToKnown = true;
    }
}

}  // namespace

AnswerOutcome recordRightAnswer(CardStore& store, Card& card, int32_t questionNumber,
                                const Preferences& preferences, Host& host) {
    AnswerOutcome outcome;
    outcome.recorded = true;
    outcome.right = true;
    outcome.questionNumber = questionNumber;
    outcome.levelBefore = card.level;
    card.level = wrappingAdd(card.level, 1);
    store.modified = true;
    if (card.level >= preferences.maxLevel)
        moveToKnown(store, card, preferences, host, outcome);
    card.timesAsked = wrappingAdd(card.timesAsked, 1);
    card.timesRight = wrappingAdd(card.timesRight, 1);
    card.lastAsked = questionNumber;
    outcome.levelAfter = card.level;
    return outcome;
}

AnswerOutcome recordWrongAnswer(CardStore& store, Card& card, int32_t questionNumber) {
    AnswerOutcome outcome;
    outcome.recorded = true;
    outcome.questionNumber = questionNumber;
    outcome.levelBefore = card.level;
    card.level = 0;
    store.modified = true;
    card.lastWrong = questionNumber;
    card.lastAsked = questionNumber;
    card.timesAsked = wrappingAdd(card.timesAsked, 1);
    card.timesWrong = wrappingAdd(card.timesWrong, 1);
    if (!store.wrongList.containsId(card.id)) {
        store.wrongList.insert(&card);
        outcome.joinedWrongList = true;
    }
    if (!store.examiningUnknown) {
        // A known card answered wrong goes back to the cards being learned. It is taken out
        // of the known list as this very card: going by its number alone would take out
        // the first card that shares the number, drop that one from the document and
        // leave this one in both lists.
        if (store.knownList.remove(&card)) {
            store.unknownList.insert(&card);
            outcome.leftKnownList = true;
        }
    }
    outcome.levelAfter = card.level;
    return outcome;
}

void checkList(const CardList& list, Host& host) {
    // A text within its capacity in bytes is within it in characters too; only longer
    // ones need their characters counted.
    const auto tooLong = [](std::string_view text, CardField field) {
        return text.size() > capacityOf(field) &&
               (text.size() > byteCapacityOf(field) || characterCount(text) > capacityOf(field));
    };
    list.forEach([&](Card* card) {
        if (tooLong(card->question(), CardField::Question) ||
            tooLong(card->answer(), CardField::Answer) ||
            tooLong(card->lesson(), CardField::Lesson)) {
            host.fatalError(Msg::CardNotCorrect);
        }
    });
}

// A sort with the list position as the last criterion stands in for the search tree the
// sort once built: the same order for every key, without the tree's depth on presorted
// lists.
//
// Cards whose whole comparison chain is equal, down to the number, form a group. In the
// tree each later card of a group met the group's first card on its way down, took the
// next number from nextId there and went to that card's earlier side, where its new,
// larger number put it after every card already waiting there and after the group's
// earlier renumbered cards. So a group g1, g2, ..., gm (list order) ends up as
// g2, ..., gm, g1, with new numbers handed out in list order across all groups.
void sortList(CardStore& store, CardList& list, SortKey key, Host& host) {
    if (list.empty()) {
        host.showError(Msg::NothingToSort);
        return;
    }
    checkList(list, host);

    std::vector<SortItem> items;
    items.reserve(static_cast<std::size_t>(list.count()));
    list.forEach([&](Card* card) {
        items.push_back({0, 0, card, items.size()});
        setSortPrefix(items.back(), key);
    });

    // The list position as the last criterion makes the order stable.
    std::sort(items.begin(), items.end(), [key](const SortItem& a, const SortItem& b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        const int c = compareChain(*a.card, *b.card, key);
        if (c != 0)
            return c < 0;
        return a.position < b.position;
    });

    // Find the groups of equal cards; every card but the first of a group is renumbered.
    std::vector<std::pair<std::size_t, Card*>> renumbered;  // (list position, card)
    std::vector<Card*> groupCards;
    for (std::size_t begin = 0; begin < items.size();) {
        std::size_t end = begin + 1;
        while (end < items.size() && items[end].high == items[begin].high &&
               items[end].low == items[begin].low &&
               compareChain(*items[begin].card, *items[end].card, key) == 0) {
            ++end;
        }
        if (end - begin > 1) {
            // The same card twice in one list: the tree compared it with itself.
            groupCards.clear();
            for (std::size_t i = begin; i < end; ++i)
                groupCards.push_back(items[i].card);
            std::sort(groupCards.begin(), groupCards.end());
            if (std::adjacent_find(groupCards.begin(), groupCards.end()) != groupCards.end()) {
                host.fatalError(Msg::ComparedWithItself);
            }
            for (std::size_t i = begin + 1; i < end; ++i) {
                renumbered.emplace_back(items[i].position, items[i].card);
            }
            // g1 goes behind the rest of its group.
            std::rotate(items.begin() + static_cast<std::ptrdiff_t>(begin),
                        items.begin() + static_cast<std::ptrdiff_t>(begin) + 1,
                        items.begin() + static_cast<std::ptrdiff_t>(end));
        }
        begin = end;
    }
    std::sort(renumbered.begin(), renumbered.end());
    if (!renumbered.empty()) {
        // nextId can lie below numbers that cards read from a file carry. A number that a
        // card of the document already has is passed over: handing it out would make a new
        // pair of equal numbers while mending one, and a card that shares its number with a
        // known card can never itself be moved to the known cards.
        std::vector<int32_t> inUse;
        for (const CardList* owner : {&store.unknownList, &store.knownList, &list}) {
            owner->forEach([&](const Card* card) { inUse.push_back(card->id); });
        }
        CardIdIndex used;
        used.rebuild(inUse);
        for (const auto& [position, card] : renumbered) {
            while (used.contains(store.nextId))
                store.nextId = wrappingAdd(store.nextId, 1);
            setCardId(*card, store.nextId);
            store.nextId = wrappingAdd(store.nextId, 1);
        }
    }

    std::vector<Card*> sorted;
    sorted.reserve(items.size());
    for (const SortItem& item : items)
        sorted.push_back(item.card);
    list.assign(std::move(sorted));
}

void clearDocument(CardStore& store) {
    // destroyAllCards empties every list, the wrong list included, so no list can go on
    // referring to a discarded card.
    store.destroyAllCards();
    store.nextId = 0;
    store.modified = false;
    store.fileName = CardStore::kUntitled;
}
