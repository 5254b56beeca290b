#include "core/answer_recording.h"

#include "core/answer_forms.h"
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
                           uint8_t direction, const ExaminationEnvironment& env) {
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
    AnswerOutcome outcome =
        right ? recordRightAnswer(env.store, card, questionNumber, env.preferences, env.host)
              : recordWrongAnswer(env.store, card, questionNumber);
    if (asKnown)
        env.store.examiningUnknown = true;
    outcome.card = &card;
    outcome.kind = static_cast<uint8_t>(state.kind);
    outcome.direction = direction;
    return outcome;
}

}  // namespace

AnswerOutcome answerCard(ExaminationState& state, const AnswerRequest& request,
                         const ExaminationEnvironment& env) {
    if (state.currentCard == nullptr)
        return {};
    const int32_t questionNumber = questionNumberFor(state);
    const auto direction = static_cast<uint8_t>(request.direction);
    // A verdict the learner gave (a flash card, a choice) is recorded like a judged one.
    if (request.given)
        return recordAnswer(state, *request.given, questionNumber, direction, env);
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
    AnswerOutcome outcome = recordAnswer(state, right, questionNumber, direction, env);
    outcome.confirmedByUser = right && !judgedRight;
    outcome.tolerated = judgedRight ? check.tolerated : ToleratedDifference::None;
    return outcome;
}

AnswerUndo startUndo(const CardStore& store, Card& card) {
    AnswerUndo undo;
    undo.card = &card;
    undo.level = card.level;
    undo.timesWrong = card.timesWrong;
    undo.timesRight = card.timesRight;
    undo.timesAsked = card.timesAsked;
    undo.lastAsked = card.lastAsked;
    undo.lastWrong = card.lastWrong;
    return undo;
}

void finishUndo(AnswerUndo& undo, const CardStore& store, const AnswerOutcome& outcome) {
    if (!outcome.recorded) {
        undo.card = nullptr;
        return;
    }
    undo.outcome = outcome;
    if (outcome.joinedWrongList)
        undo.wrongSlot = store.wrongList.lastFilled();
    if (outcome.movedToKnown) {
        undo.leftSlot = store.unknownList.lastEmptied();
        undo.takenSlot = store.knownList.lastFilled();
    } else if (outcome.leftKnownList) {
        undo.leftSlot = store.knownList.lastEmptied();
        undo.takenSlot = store.unknownList.lastFilled();
    }
}

UndoOutcome undoAnswer(CardStore& store, const AnswerUndo& undo) {
    Card* card = undo.card;
    if (card == nullptr)
        return {};
    const auto at = [](const CardList& list, int slot) {
        return slot >= 0 && slot < list.slotCount() ? list.slot(slot) : nullptr;
    };
    const bool moved = undo.outcome.movedToKnown || undo.outcome.leftKnownList;
    CardList& from = undo.outcome.movedToKnown ? store.unknownList : store.knownList;
    CardList& to = undo.outcome.movedToKnown ? store.knownList : store.unknownList;
    // Something else moved the card since (another window, an edit): taking the answer
    // back now would put it into a list twice or out of every list.
    if ((undo.outcome.joinedWrongList && at(store.wrongList, undo.wrongSlot) != card) ||
        (moved && at(to, undo.takenSlot) != card))
        return {};
    if (undo.outcome.joinedWrongList)
        store.wrongList.removeAt(undo.wrongSlot);
    if (moved) {
        to.removeAt(undo.takenSlot);
        from.insertAt(undo.leftSlot, card);
    }
    card->level = undo.level;
    card->timesWrong = undo.timesWrong;
    card->timesRight = undo.timesRight;
    card->timesAsked = undo.timesAsked;
    card->lastAsked = undo.lastAsked;
    card->lastWrong = undo.lastWrong;
    // Left set even when the answer was the only change: the list may have been saved
    // between the answer and taking it back, and then it differs from its file again.
    store.modified = true;
    UndoOutcome outcome;
    outcome.undone = true;
    outcome.answer = undo.outcome;
    outcome.wrongListEmptied = undo.outcome.joinedWrongList && store.wrongList.empty();
    outcome.knownListEmptied = undo.outcome.movedToKnown && store.knownList.empty();
    return outcome;
}
