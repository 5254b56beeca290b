#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "core/answer_modes.h"
#include "core/answer_outcome.h"
#include "core/orders.h"

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
