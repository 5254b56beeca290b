#include "core/answer_recording.h"

#include "core/card_store.h"
#include "core/list_ops.h"

void recordAnswer(ExaminationState& state, bool right, int32_t questionNumber,
                  const ExaminationEnvironment& env) {
    if (state.currentCard == nullptr)
        return;
    Card& card = *state.currentCard;
    // Known cards are judged as known: a right answer only raises the level (no
    // known-card question), a wrong one sends the card back to the unknown list. The flag
    // is the store's, shared by every window, so it is cleared only for this one answer.
    const bool asKnown = state.kind == ExaminationKind::KnownWords;
    if (asKnown)
        env.store.examiningUnknown = false;
    if (right) {
        recordRightAnswer(env.store, card, questionNumber, env.preferences, env.host);
    } else {
        recordWrongAnswer(env.store, card, questionNumber, env.host);
    }
    if (asKnown)
        env.store.examiningUnknown = true;
}
