#pragma once

#include <ostream>

#include "core/card_candidate.h"

// Lets GoogleTest show a card's texts when a comparison fails.
inline void PrintTo(const CardRecord& card, std::ostream* os) {
    *os << "{[" << card.question << "] [" << card.answer << "] [" << card.lesson << "] ["
        << card.addInfo << "] " << card.level << "}";
}
