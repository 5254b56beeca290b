#include "core/answer_recording.h"

#include "core/answer_forms.h"
#include "core/card_store.h"
#include "core/list_ops.h"

namespace {

AnswerOutcome recordAnswer(ExaminationState& state, bool right, int32_t questionNumber,
                           const ExaminationEnvironment& env) {
    Card& card = *state.currentCard;
    // Known cards are judged as known: a right answer only raises the level (no
    // known-card question), a wrong one sends the card back to the unknown list. The flag
    // is the store's, shared by every window, so it is cleared only for this one answer.
    const bool asKnown = state.kind == ExaminationKind::KnownWords;
    if (asKnown)
        env.store.examiningUnknown = false;
    const AnswerOutcome outcome =
        right ? recordRightAnswer(env.store, card, questionNumber, env.preferences, env.host)
              : recordWrongAnswer(env.store, card, questionNumber);
    if (asKnown)
        env.store.examiningUnknown = true;
    return outcome;
}

}  // namespace

AnswerOutcome answerCard(ExaminationState& state, const AnswerRequest& request,
                         const ExaminationEnvironment& env) {
    if (state.currentCard == nullptr)
        return {};
    const int32_t questionNumber = questionNumberFor(state);
    if (request.given)
        return recordAnswer(state, *request.given, questionNumber, env);
    const AnswerCheck check = checkAnswerText(expectedText(*state.currentCard, request.direction),
                                              request.typed, env.preferences, env.host);
    const bool judgedRight = check.verdict == AnswerVerdict::Right;
    AnswerDecision decision = judgedRight ? AnswerDecision::Right : AnswerDecision::Wrong;
    if (request.decide)
        decision = request.decide(check);
    // The decision may have waited on the user long enough for the card to go.
    if (decision == AnswerDecision::GiveUp || state.currentCard == nullptr)
        return {};
    const bool right = decision == AnswerDecision::Right;
    AnswerOutcome outcome = recordAnswer(state, right, questionNumber, env);
    outcome.confirmedByUser = right && !judgedRight;
    outcome.tolerated = judgedRight ? check.tolerated : ToleratedDifference::None;
    return outcome;
}
