#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/answer_modes.h"

class Card;
class CardList;
class RandomSource;

// The direction of the next card. Only Mixed draws a number from `random`, so that with a
// fixed direction the random orders see exactly the numbers they always saw.
Direction drawDirection(DirectionChoice choice, RandomSource& random);

// The text shown to the learner: the question, or the answer when asked backwards.
std::string_view askedText(const Card& card, Direction direction);
// The text the learner's answer is judged against, with the usual order rules and
// tolerances: the answer, or the question when asked backwards.
std::string_view expectedText(const Card& card, Direction direction);

// The form in which card texts are compared for sameness: texts with the same key are
// canonically equivalent ("é" as one character or as e and an accent), which is how the
// program tells two texts apart everywhere a reader could not.
std::string canonicalKey(std::string_view text);

inline constexpr int kMaxChoices = 4;

// The buttons of a multiple-choice question.
struct ChoiceSet {
    std::vector<std::string> texts;  // in the order shown, at most kMaxChoices
    int right = -1;                  // index of the right text, -1 when typedInstead
    // No wrong choice could be found (a list of one card, or all others alike): the card is
    // asked typed instead, and the window says so.
    bool typedInstead = false;
};

// Picks the choices for `card` asked in `direction`: the card's expected text and up to
// three wrong ones from the cards of `pools`, shuffled with `random`. A shown text is a
// card's whole text on that side, several meanings and all: that is what the card holds
// and what a typed answer is held to, and it keeps the choices apart.
//
// A wrong choice is never one that would also be right: its text shares no meaning with
// the right one, and its card does not ask a text sharing a meaning with the asked one
// ("bank" -> "Bank" and "bank" -> "Ufer" are both right for "bank"). No two choices hold
// the same meanings, and none is empty. Cards come first from the same lesson in the same
// script, then from the same script, then from the same lesson, then from anywhere.
ChoiceSet makeChoices(const Card& card, Direction direction, std::span<const CardList* const> pools,
                      RandomSource& random);
ChoiceSet makeChoices(const Card& card, Direction direction, const CardList& pool,
                      RandomSource& random);
