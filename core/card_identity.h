#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/card_key.h"
#include "core/huge_page_allocator.h"

// How the review history finds a card of the list again when the list is opened.
//
// A list file stores a number for each card but nothing that is unique for certain: lists
// from outside may hold two cards with one number, and a card added after opening may get
// the number of a card read from the file. So the history keeps, for each card it knows,
// the number and a fingerprint of each of the two texts, and a card of the list is given
// the history of a known card only when
//  - the numbers are equal,
//  - at least one non-empty text is equal (in either place: Exchange Question/Answer
//    swaps them; an edit usually changes one of the two), and
//  - among the cards and known cards of that number, the two choose each other: the card
//    is the one that fits the known card best, alone (two list cards that fit equally well
//    get nothing), and the known card is the best fit of the card (both texts equal beats
//    one; between equal fits the newer known card wins).
// A card whose texts were both changed behind the history's back gets no history, and no
// card ever gets the history of a card with another number or other texts.

// The fingerprint of a text; 0 only for the empty text.
uint64_t textFingerprint(std::string_view text);

struct CardFingerprint {
    int32_t number = 0;
    uint64_t text1 = 0;
    uint64_t text2 = 0;
    bool operator==(const CardFingerprint&) const = default;
};
CardFingerprint fingerprintOf(const CardText& card);

// A card the history knows: as in the list file last saved or opened, and, after a change
// that has not been saved yet, as changed. Either may be the one the list file holds at
// the next opening.
struct KnownCard {
    CardFingerprint saved;
    std::optional<CardFingerprint> changed;
};

inline constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);

// For each card of the list, the index into `known` whose history it takes, or kNoMatch.
// No index is given to two cards. `known` is in the order the history made them (newer
// last).
using CardMatches = std::vector<std::size_t, HugePageAllocator<std::size_t>>;
CardMatches matchCards(std::span<const CardFingerprint> cards, std::span<const KnownCard> known);

// The same for known cards given as their saved fingerprints and, apart, the few changed
// ones (ascending by index into `saved`, one at most for each): half the memory for a
// million known cards.
struct ChangedFingerprint {
    std::size_t known;
    CardFingerprint print;
};
CardMatches matchCards(std::span<const CardFingerprint> cards,
                       std::span<const CardFingerprint> saved,
                       std::span<const ChangedFingerprint> changed);
