#include "core/card_identity.h"

#include "core/huge_page_allocator.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

// Little-endian whatever the machine, since fingerprints are stored in histories.
uint64_t loadLittleEndian(const unsigned char* p, std::size_t n) {
    uint64_t word = 0;
    for (std::size_t i = 0; i < n; ++i)
        word |= uint64_t{p[i]} << (8 * i);
    return word;
}

uint64_t mix(uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdull;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ull;
    x ^= x >> 33;
    return x;
}

}  // namespace

// Histories store these values: the function must never change.
uint64_t textFingerprint(std::string_view text) {
    if (text.empty())
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    uint64_t hash = 0x9e3779b97f4a7c15ull ^ (n * 0x100000001b3ull);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        hash = mix(hash ^ loadLittleEndian(p + i, 8)) + 0x9e3779b97f4a7c15ull;
    hash = mix(hash ^ loadLittleEndian(p + i, n - i) ^ (uint64_t{0x80} << (8 * (n - i) % 64)));
    return hash == 0 ? 1 : hash;
}

CardFingerprint fingerprintOf(const CardText& card) {
    return {card.number, textFingerprint(card.question), textFingerprint(card.answer)};
}

namespace {

// 2: both texts equal (in either place); 1: one non-empty text equal; 0: none. Numbers
// are equal already.
int fit(const CardFingerprint& card, const CardFingerprint& known) {
    if ((card.text1 == known.text1 && card.text2 == known.text2) ||
        (card.text1 == known.text2 && card.text2 == known.text1))
        return 2;
    const auto shared = [&](uint64_t text) {
        return text != 0 && (text == known.text1 || text == known.text2);
    };
    return shared(card.text1) || shared(card.text2) ? 1 : 0;
}

// Sorts by number, keeping an index: the number is made unsigned so that negative numbers
// sort first.
uint64_t numberKey(int32_t number, std::size_t index) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(number) ^ 0x80000000u) << 32) |
           static_cast<uint32_t>(index);
}
int32_t numberOf(uint64_t key) {
    return static_cast<int32_t>(static_cast<uint32_t>(key >> 32) ^ 0x80000000u);
}
uint32_t indexOf(uint64_t key) {
    return static_cast<uint32_t>(key);
}

using Keys = std::vector<uint64_t, HugePageAllocator<uint64_t>>;

// Sorts keys made by numberKey whose indexes (the low half) ascend already: a stable sort by
// the number (the high half) then sorts them whole. Radix sort, 16 bits a pass, since a
// million keys take std::sort several times as long.
void sortByNumber(Keys& keys) {
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    if (keys.size() < 65536) {
        std::sort(keys.begin(), keys.end());
        return;
    }
    Keys spare(keys.size());
    std::vector<std::size_t> starts(65536);
    for (const int shift : {32, 48}) {
        std::fill(starts.begin(), starts.end(), 0);
        for (const uint64_t key : keys)
            ++starts[(key >> shift) & 0xffff];
        if (starts[(keys.front() >> shift) & 0xffff] == keys.size())
            continue;  // one digit for all: nothing to do in this pass
        std::size_t at = 0;
        for (std::size_t& start : starts)
            at += std::exchange(start, at);
        for (const uint64_t key : keys)
            spare[starts[(key >> shift) & 0xffff]++] = key;
        keys.swap(spare);
    }
}

struct Variant {
    std::size_t known;
    const CardFingerprint* fingerprint;
};

// Groups with more pairs than this are matched on equal text pairs only, so that a list
// whose cards all share one number costs n log n and not n squared.
constexpr std::size_t kMaxPairsCompared = 4096;

// How far ahead the walks in a random order fetch what they need.
constexpr std::size_t kAhead = 16;

void matchSmallGroup(std::span<const uint64_t> cardKeys, std::span<const Variant> variants,
                     std::span<const CardFingerprint> cards, CardMatches& result) {
    // The fit of each card with each known card of the group (a known card may come twice,
    // as saved and as changed: the better counts).
    std::vector<std::size_t> knowns;
    for (const Variant& v : variants)
        knowns.push_back(v.known);
    std::sort(knowns.begin(), knowns.end());
    knowns.erase(std::unique(knowns.begin(), knowns.end()), knowns.end());
    const std::size_t nk = knowns.size();
    std::vector<int> score(cardKeys.size() * nk, 0);
    for (std::size_t c = 0; c < cardKeys.size(); ++c) {
        const CardFingerprint& card = cards[indexOf(cardKeys[c])];
        for (const Variant& v : variants) {
            const std::size_t k =
                std::lower_bound(knowns.begin(), knowns.end(), v.known) - knowns.begin();
            score[c * nk + k] = std::max(score[c * nk + k], fit(card, *v.fingerprint));
        }
    }
    for (std::size_t c = 0; c < cardKeys.size(); ++c) {
        // The card's best known card; `knowns` is ascending, so ">=" lets the newer win.
        std::size_t best = nk;
        for (std::size_t k = 0; k < nk; ++k) {
            if (score[c * nk + k] > 0 && (best == nk || score[c * nk + k] >= score[c * nk + best]))
                best = k;
        }
        if (best == nk)
            continue;
        // ... and the card must be that known card's only best card.
        bool alone = true;
        for (std::size_t other = 0; other < cardKeys.size() && alone; ++other) {
            if (other != c && score[other * nk + best] >= score[c * nk + best])
                alone = false;
        }
        if (alone)
            result[indexOf(cardKeys[c])] = knowns[best];
    }
}

void matchLargeGroup(std::span<const uint64_t> cardKeys, std::span<const Variant> variants,
                     std::span<const CardFingerprint> cards, CardMatches& result) {
    // (the two texts in a fixed order, which side, index): 0 for a card, 1 for a known card.
    using Entry = std::tuple<uint64_t, uint64_t, int, std::size_t>;
    std::vector<Entry> entries;
    const auto pairOf = [](const CardFingerprint& f) { return std::minmax(f.text1, f.text2); };
    for (const uint64_t key : cardKeys) {
        const auto [low, high] = pairOf(cards[indexOf(key)]);
        entries.emplace_back(low, high, 0, indexOf(key));
    }
    for (const Variant& v : variants) {
        const auto [low, high] = pairOf(*v.fingerprint);
        entries.emplace_back(low, high, 1, v.known);
    }
    std::sort(entries.begin(), entries.end());
    std::vector<std::pair<std::size_t, std::size_t>> pairs;  // (known, card)
    for (std::size_t i = 0; i < entries.size();) {
        std::size_t end = i;
        std::size_t cardCount = 0;
        while (end < entries.size() && std::get<0>(entries[end]) == std::get<0>(entries[i]) &&
               std::get<1>(entries[end]) == std::get<1>(entries[i])) {
            cardCount += std::get<2>(entries[end]) == 0;
            ++end;
        }
        // One card with these texts and at least one known card: the newest, last in order.
        if (cardCount == 1 && end - i > 1)
            pairs.emplace_back(std::get<3>(entries[end - 1]), std::get<3>(entries[i]));
        i = end;
    }
    std::sort(pairs.begin(), pairs.end());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const bool shared = (i > 0 && pairs[i - 1].first == pairs[i].first) ||
                            (i + 1 < pairs.size() && pairs[i + 1].first == pairs[i].first);
        if (!shared)
            result[pairs[i].second] = pairs[i].first;
    }
}

}  // namespace

CardMatches matchCards(std::span<const CardFingerprint> cards, std::span<const KnownCard> known) {
    std::vector<CardFingerprint> saved;
    std::vector<ChangedFingerprint> changed;
    saved.reserve(known.size());
    for (std::size_t i = 0; i < known.size(); ++i) {
        saved.push_back(known[i].saved);
        if (known[i].changed)
            changed.push_back({i, *known[i].changed});
    }
    return matchCards(cards, saved, changed);
}

CardMatches matchCards(std::span<const CardFingerprint> cards,
                       std::span<const CardFingerprint> saved,
                       std::span<const ChangedFingerprint> changed) {
    CardMatches result(cards.size(), kNoMatch);
    Keys cardKeys(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i)
        cardKeys[i] = numberKey(cards[i].number, i);
    sortByNumber(cardKeys);

    const auto changedOf = [&](std::size_t i) -> const CardFingerprint* {
        const auto it = std::lower_bound(
            changed.begin(), changed.end(), i,
            [](const ChangedFingerprint& c, std::size_t known) { return c.known < known; });
        return it != changed.end() && it->known == i ? &it->print : nullptr;
    };
    // Each known card once under its saved number, and under its changed number if that is
    // another one; the low bit says which.
    Keys knownKeys;
    knownKeys.reserve(saved.size() + changed.size());
    auto change = changed.begin();
    for (std::size_t i = 0; i < saved.size(); ++i) {
        knownKeys.push_back(numberKey(saved[i].number, 0) | (uint64_t{i} << 1));
        for (; change != changed.end() && change->known <= i; ++change) {
            if (change->known == i && change->print.number != saved[i].number)
                knownKeys.push_back(numberKey(change->print.number, 0) | (uint64_t{i} << 1) | 1);
        }
    }
    sortByNumber(knownKeys);

    std::vector<Variant> variants;
    std::size_t c = 0;
    std::size_t k = 0;
    while (c < cardKeys.size() && k < knownKeys.size()) {
        const int32_t cardNumber = numberOf(cardKeys[c]);
        const int32_t knownNumber = numberOf(knownKeys[k]);
        if (cardNumber < knownNumber) {
            ++c;
            continue;
        }
        if (knownNumber < cardNumber) {
            ++k;
            continue;
        }
        // The cards are visited in the order of their numbers, which may be any order in the
        // list: fetching ahead lets the memory work on several at once.
        if (c + kAhead < cardKeys.size()) {
            __builtin_prefetch(&cards[indexOf(cardKeys[c + kAhead])]);
            __builtin_prefetch(&result[indexOf(cardKeys[c + kAhead])], 1);
        }
        std::size_t cardEnd = c;
        while (cardEnd < cardKeys.size() && numberOf(cardKeys[cardEnd]) == cardNumber)
            ++cardEnd;
        variants.clear();
        for (; k < knownKeys.size() && numberOf(knownKeys[k]) == cardNumber; ++k) {
            const std::size_t i = indexOf(knownKeys[k]) >> 1;
            if (!(indexOf(knownKeys[k]) & 1))
                variants.push_back({i, &saved[i]});
            const CardFingerprint* change = changed.empty() ? nullptr : changedOf(i);
            if (change && change->number == cardNumber)
                variants.push_back({i, change});
        }
        const std::span<const uint64_t> group(cardKeys.data() + c, cardEnd - c);
        const bool oneKnown = std::all_of(variants.begin(), variants.end(), [&](const Variant& v) {
            return v.known == variants.front().known;
        });
        if (group.size() == 1 && oneKnown) {  // by far the most common case
            int best = 0;
            for (const Variant& v : variants)
                best = std::max(best, fit(cards[indexOf(group[0])], *v.fingerprint));
            if (best > 0)
                result[indexOf(group[0])] = variants.front().known;
        } else if (group.size() * variants.size() <= kMaxPairsCompared)
            matchSmallGroup(group, variants, cards, result);
        else
            matchLargeGroup(group, variants, cards, result);
        c = cardEnd;
    }
    return result;
}
