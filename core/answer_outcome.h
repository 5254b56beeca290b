#pragma once

#include <cstdint>

#include "core/answer_check.h"

class Card;

// What answering one card did. The examination window shows it, the list session turns it
// into signals, and the main window into menu states: the core itself never touches a
// menu or a counter.
struct AnswerOutcome {
    // False when there was no card, or the answer was given up while it was being
    // confirmed: then nothing below happened.
    bool recorded = false;
    // The card answered and the examination kind (ExaminationKind's number) it was asked in.
    const Card* card = nullptr;
    uint8_t kind = 0;
    // The way the card was asked (Direction's number): 0 question to answer, 1 backwards.
    uint8_t direction = 0;
    // The answer as recorded: as judged, or as the user confirmed a differing one.
    bool right = false;
    // The answer differed from the stored one and the user counted it as right.
    bool confirmedByUser = false;
    // What a right answer was let off with (case, accents).
    ToleratedDifference tolerated = ToleratedDifference::None;
    int32_t questionNumber = 0;
    int32_t levelBefore = 0;
    int32_t levelAfter = 0;
    // The card entered the wrong list (it was not in it before).
    bool joinedWrongList = false;
    // A known card answered wrong went back to the cards being learned.
    bool leftKnownList = false;
    // The user answered "known" to the known-card question; the card then moved to the
    // known list unless a card with its number already was there (message 180).
    bool knownChosen = false;
    bool movedToKnown = false;
};
