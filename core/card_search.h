#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/card_store.h"

// Finding one card of the document for the modify dialog. Lists are walked in slot order
// and the unknown cards come before the known ones; texts are compared whole and
// case-sensitively, two spellings of one letter (é as one character or as e and a
// combining accent) being the same.

// The card whose question (or answer) is exactly `text`. A card numbered above `shownId`
// is preferred, so that repeating a search with the same text moves on to the next card
// with that text; otherwise the first such card numbered from 0 up. Cards with negative
// numbers are never found this way. Returns nullptr when there is none.
Card* findCardByText(const CardStore& store, CardField field, std::string_view text,
                     int32_t shownId);

// The first card numbered `id`, or nullptr.
Card* findCardById(const CardStore& store, int32_t id);

// A card number typed into the search prompt, read the way C's atoi reads: blanks first,
// an optional sign, then digits up to the first other character; no digits give 0. A
// number beyond 32 bits gives none, since no card can carry it.
std::optional<int32_t> parseCardNumber(std::string_view text);
