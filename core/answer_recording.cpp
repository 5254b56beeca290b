#include "core/answer_recording.h"

#include "core/card_store.h"
#include "core/list_ops.h"

namespace {

bool holds(const CardList& list, const Card& card) {
    if (!list.containsId(card.id))
        return false;
    for (int i = list.nextOccupied(0); i >= 0; i = list.nextOccupied(i + 1)) {
        if (list.slot(i) == &card)
            return true;
    }
    return false;
}

AnswerOutcome recordAnswer(ExaminationState& state, bool right, int32_t questionNumber,
                           const ExaminationEnvironment& env) {
    Card& card = *state.currentCard;
    // Known cards are judged as known: a right answer only raises the level (no
    // known-card question), a wrong one sends the card back to the unknown list. The flag
    // is the store's, shared by every window, so it is cleared only for this one answer.
    // A due card may be a known card: it is answered as the known-words kind would.
    const bool asKnown =
        state.kind == ExaminationKind::KnownWords ||
        (state.kind == ExaminationKind::DueCards && holds(env.store.knownList, card));
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
    const AnswerCheck check =
        checkAnswer(*state.currentCard, request.typed, env.preferences, env.host);
    const bool judgedRight = check.verdict == AnswerVerdict::Right;
    AnswerDecision decision = judgedRight ? AnswerDecision::Right : AnswerDecision::Wrong;
    if (request.decide)
        decision = request.decide(check);
    // The decision may have waited on the user long enough for the card to go.
    if (decision == AnswerDecision::GiveUp || state.currentCard == nullptr)
        return {};
    const bool right = decision == AnswerDecision::Right;
    const Card* card = state.currentCard;
    AnswerOutcome outcome = recordAnswer(state, right, questionNumber, env);
    outcome.confirmedByUser = right && !judgedRight;
    outcome.tolerated = judgedRight ? check.tolerated : ToleratedDifference::None;
    outcome.card = card;
    outcome.kind = static_cast<uint8_t>(state.kind);
    return outcome;
}
