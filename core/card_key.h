#pragma once

#include <cstdint>
#include <string_view>

// The name under which the review history keeps one card. Keys are given by the history
// (ReviewHistory::addCard) and never reused, not even after the card is deleted; 0 means
// the card has no history yet.
using CardKey = int64_t;
inline constexpr CardKey kNoCardKey = 0;

// What the history needs to know a card again: its number and its two texts, as the card
// holds them now. The views only have to live for the call they are passed to.
struct CardText {
    int32_t number = 0;
    std::string_view question;
    std::string_view answer;
};
