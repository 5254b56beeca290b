#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "core/answer_modes.h"
#include "core/answer_outcome.h"
#include "core/orders.h"

class CardStore;

// How the answer to a card is finally counted once it has been judged.
enum class AnswerDecision { Right, Wrong, GiveUp };

// One answer to the current card of an examination.
struct AnswerRequest {
    // The typed answer, as card text.
    std::string_view typed;
    // Called once the typed answer has been judged, before anything is recorded: the
    // window shows the judgement and, for an answer that differs, asks the user whether
    // to count it as right. GiveUp records nothing. Without it the judgement stands.
    std::function<AnswerDecision(const AnswerCheck&)> decide;
    // Asked backwards, the typed text is judged against the card's question, under the
    // same order rule and tolerances.
    Direction direction = Direction::QuestionToAnswer;
    // A verdict the learner gave already (a flash card, a choice): it is recorded as it
    // is, without judging `typed` or calling `decide`.
    std::optional<bool> given = std::nullopt;
};

// Answers state.currentCard: takes its question number, judges the typed answer, lets
// the request decide, and records the answer (raising or resetting the level, the wrong
// list, the known-card question). Does not move on to the next card. The known-words kind
// records as if the card came from the known list: the store's examiningUnknown flag is
// cleared for the recording and set again right after.
AnswerOutcome answerCard(ExaminationState& state, const AnswerRequest& request,
                         const ExaminationEnvironment& env);

// What answering one card changed, so that the answer can be taken back exactly.
struct AnswerUndo {
    Card* card = nullptr;  // none: nothing to take back
    int32_t level = 0;
    int32_t timesWrong = 0;
    int32_t timesRight = 0;
    int32_t timesAsked = 0;
    int32_t lastAsked = 0;
    int32_t lastWrong = 0;
    AnswerOutcome outcome;
    // The slots the answer filled and emptied: the wrong list's new slot, and for a move
    // between the unknown and the known cards the slot left and the slot taken.
    int wrongSlot = -1;
    int leftSlot = -1;
    int takenSlot = -1;
};

// The card's figures before answering it; complete it with finishUndo after the answer.
AnswerUndo startUndo(const CardStore& store, Card& card);
void finishUndo(AnswerUndo& undo, const CardStore& store, const AnswerOutcome& outcome);
// What taking an answer back did. Like AnswerOutcome for an answer, it is what the session
// turns into signals and the main window into menu states.
struct UndoOutcome {
    // False when nothing was taken back: then nothing below happened.
    bool undone = false;
    // The answer taken back.
    AnswerOutcome answer;
    // It took the last card out of the wrong list, or out of the known cards.
    bool wrongListEmptied = false;
    bool knownListEmptied = false;
    explicit operator bool() const { return undone; }
};

// Takes the answer back: the card's level and counters, the wrong list and the known
// cards are as before it. Takes nothing back when there was nothing to take back or the
// lists no longer hold the card where the answer put it.
UndoOutcome undoAnswer(CardStore& store, const AnswerUndo& undo);
