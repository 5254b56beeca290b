#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/answer_recording.h"
#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "core/orders.h"
#include "core/preferences.h"
#include "tests/support/fake_host.h"
#include "tests/support/fixed_random.h"

// Whole examinations as the examination window runs them: question number, judgement,
// recording, next card.
namespace {

class Examination : public ::testing::Test {
protected:
    Card& add(CardList& list, int32_t level = 0) {
        Card& card = store.createCard();
        card.level = level;
        list.insert(&card);
        return card;
    }
    ExaminationEnvironment env() { return {store, preferences, random, recent, host}; }

    // One answer the way the window gives it: typed as stored, or the user keeping a
    // differing answer wrong. Returns the number it was recorded under.
    int32_t answer(ExaminationState& state, bool right) {
        const std::string typed = right ? std::string(state.currentCard->answer()) : "wrong";
        const AnswerOutcome outcome = answerCard(state, {typed, {}}, env());
        EXPECT_TRUE(outcome.recorded);
        EXPECT_TRUE(store.examiningUnknown);
        nextCard(state, env());
        return outcome.questionNumber;
    }

    // Place (1-based) of the card in the queue.
    static int placeOf(const ExaminationState& state, const Card* card) {
        const auto& entries = state.queue.entries();
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [&](const QueueEntry& e) { return e.card == card; });
        return static_cast<int>(it - entries.begin()) + 1;
    }

    CardStore store;
    Preferences preferences;
    FixedRandom random;
    RecentDraws recent;
    FakeHost host;
    ExaminationState state;
};

TEST_F(Examination, KnownWordsSendAWrongCardBackAndWalkOn) {
    for (int i = 0; i < 4; ++i)
        add(store.knownList, 5);
    ASSERT_TRUE(startExamination(state, ExaminationKind::KnownWords, env()));
    Card* first = state.currentCard;
    EXPECT_EQ(answer(state, true), 0);
    EXPECT_EQ(first->level, 6);  // no known-card question for a known card
    EXPECT_TRUE(host.knownQuestions.empty());
    EXPECT_TRUE(store.knownList.containsId(first->id));

    Card* second = state.currentCard;
    ASSERT_EQ(second->id, 1);
    EXPECT_EQ(answer(state, false), 1);
    EXPECT_EQ(second->level, 0);
    EXPECT_FALSE(store.knownList.containsId(1));
    EXPECT_EQ(store.unknownList.cards(), std::vector<Card*>{second});
    EXPECT_TRUE(store.wrongList.containsId(1));

    ASSERT_NE(state.currentCard, nullptr);
    EXPECT_EQ(state.currentCard->id, 2);
    EXPECT_EQ(answer(state, true), 2);

    // Another window moves two cards into the known list meanwhile: the first fills the
    // hole already passed, the second goes to the end and is still asked.
    Card& behind = add(store.unknownList, 4);
    Card& ahead = add(store.unknownList, 4);
    ExaminationState other;
    ASSERT_TRUE(startExamination(other, ExaminationKind::InOrder, env()));
    answer(other, false);  // the card that came back
    answer(other, true);   // behind: level 5, known
    answer(other, true);   // ahead: level 5, known
    EXPECT_EQ(other.currentCard, nullptr);
    EXPECT_EQ(host.knownQuestions, (std::vector<int32_t>{behind.id, ahead.id}));
    ASSERT_EQ(store.knownList.slot(1), &behind);
    ASSERT_EQ(store.knownList.slot(4), &ahead);

    std::vector<int32_t> rest;
    while (state.currentCard != nullptr) {
        rest.push_back(state.currentCard->id);
        const int32_t slot = state.position;
        EXPECT_EQ(answer(state, true), slot);
    }
    EXPECT_EQ(rest, (std::vector<int32_t>{3, ahead.id}));
}

TEST_F(Examination, InOrderWalkGoesOnPastACardMovedToTheKnownList) {
    Card& kept = add(store.unknownList, 4);
    Card& moved = add(store.unknownList, 4);
    Card& last = add(store.unknownList, 0);
    host.knownAnswers = {KnownCardChoice::Keep, KnownCardChoice::Known};
    ASSERT_TRUE(startExamination(state, ExaminationKind::InOrder, env()));
    answer(state, true);
    EXPECT_EQ(kept.level, 3);
    answer(state, true);
    EXPECT_TRUE(store.knownList.containsId(moved.id));
    EXPECT_EQ(store.unknownList.slot(1), nullptr);
    EXPECT_EQ(state.currentCard, &last);
    EXPECT_EQ(answer(state, false), 2);
    EXPECT_EQ(last.lastWrong, 2);
    EXPECT_EQ(state.currentCard, nullptr);
}

struct Step {
    bool right;
    int32_t card;  // number of the card asked
    int place;     // where it goes afterwards
};

TEST_F(Examination, SystematicRunOverElevenCards) {
    for (int i = 0; i < 11; ++i)
        add(store.unknownList);
    random = FixedRandom({0});  // equal keys: asked from the last card to the first
    // clang-format off
    const Step steps[] = {
        {false, 10, 5},  // wrong, never right
        {true, 9, 4},    // right as question 2, never wrong
        {true, 8, 6},    // question 3
        {true, 7, 8},    // question 4
        {true, 6, 8},    // question 5
        {true, 9, 11},   // question 6 or later: to the end
        {true, 10, 11},  // six questions after its wrong answer
        {true, 5, 11},
        {false, 8, 10},  // wrong after one right answer
        {false, 4, 5},
        {true, 3, 11},
        {true, 7, 11},
        {true, 6, 11},
        {true, 2, 11},
        {true, 4, 8},    // five questions after its wrong answer
        {true, 1, 11},
        {true, 0, 11},
        {false, 9, 2},   // wrong after two right answers: n div 5
        {true, 10, 11},
        {true, 9, 4},    // two questions after its wrong answer
    };
    // clang-format on
    ASSERT_TRUE(startExamination(state, ExaminationKind::Systematic, env()));
    int32_t number = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE("question " + std::to_string(number + 1));
        ASSERT_NE(state.currentCard, nullptr);
        Card* asked = state.currentCard;
        EXPECT_EQ(asked->id, step.card);
        EXPECT_EQ(answer(state, step.right), ++number);
        EXPECT_EQ(asked->lastAsked, number);
        EXPECT_EQ(placeOf(state, asked), step.place);
        EXPECT_EQ(state.currentCard, state.queue.front().card);
    }
    EXPECT_EQ(state.queue.size(), 11);
    EXPECT_TRUE(host.knownQuestions.empty());
}

TEST_F(Examination, SystematicRunOverTwentyFiveCards) {
    for (int i = 0; i < 25; ++i)
        add(store.lessonSelection);
    random = FixedRandom({0});
    const Step steps[] = {
        {false, 24, 5}, {true, 23, 10}, {true, 22, 15}, {true, 21, 20},
        {true, 20, 20}, {true, 24, 20}, {true, 19, 25}, {false, 18, 5},
    };
    ASSERT_TRUE(startExamination(state, ExaminationKind::LessonSystematic, env()));
    for (const Step& step : steps) {
        ASSERT_NE(state.currentCard, nullptr);
        Card* asked = state.currentCard;
        EXPECT_EQ(asked->id, step.card);
        answer(state, step.right);
        EXPECT_EQ(placeOf(state, asked), step.place) << "card " << step.card;
    }
}

TEST_F(Examination, SystematicKeepsAskingACardMovedToTheKnownList) {
    for (int i = 0; i < 11; ++i)
        add(store.unknownList, 4);
    random = FixedRandom({0});
    ASSERT_TRUE(startExamination(state, ExaminationKind::Systematic, env()));
    Card* moved = state.currentCard;
    answer(state, true);  // level 5: moved to the known cards, back at place 4
    ASSERT_TRUE(store.knownList.containsId(moved->id));
    ASSERT_FALSE(store.unknownList.containsId(moved->id));
    for (int i = 0; i < 3; ++i)
        answer(state, false);
    ASSERT_EQ(state.currentCard, moved);
    answer(state, false);
    EXPECT_EQ(moved->level, 0);
    EXPECT_TRUE(store.wrongList.containsId(moved->id));
    EXPECT_TRUE(store.knownList.containsId(moved->id));
    EXPECT_FALSE(store.unknownList.containsId(moved->id));
    EXPECT_EQ(state.queue.size(), 11);
}

TEST_F(Examination, RandomAnswersAreRecordedUnderNumberZero) {
    for (int i = 0; i < 4; ++i)
        add(store.unknownList);
    random = FixedRandom({0, 1, 2, 3, 0, 1});
    ASSERT_TRUE(startExamination(state, ExaminationKind::Random, env()));
    for (int i = 0; i < 5; ++i) {
        Card* asked = state.currentCard;
        EXPECT_EQ(answer(state, i % 2 == 0), 0);
        EXPECT_EQ(asked->lastAsked, 0);
    }
    EXPECT_NE(state.currentCard, nullptr);
}

// What the window decides about a judged answer, and what the step reports back.
TEST_F(Examination, AnswerStepFollowsTheDecisionAndReportsIt) {
    struct Case {
        const char* name;
        const char* typed;
        std::optional<AnswerDecision> decision;  // none: the judgement stands
        bool recorded, right, confirmed, joinedWrongList;
        ToleratedDifference tolerated;
        int32_t levelAfter;
        Direction direction = Direction::QuestionToAnswer;
        std::optional<bool> given = std::nullopt;  // a flash card's or a choice's verdict
    };
    const Case cases[] = {
        {"right as typed", "house", std::nullopt, true, true, false, false,
         ToleratedDifference::None, 3},
        {"case let pass", "House", std::nullopt, true, true, false, false,
         ToleratedDifference::Case, 3},
        {"differing, judgement stands", "home", std::nullopt, true, false, false, true,
         ToleratedDifference::None, 0},
        {"differing, user says right", "home", AnswerDecision::Right, true, true, true, false,
         ToleratedDifference::None, 3},
        {"given up records nothing", "home", AnswerDecision::GiveUp, false, false, false, false,
         ToleratedDifference::None, 2},
        {"backwards, the question typed", "haus", std::nullopt, true, true, false, false,
         ToleratedDifference::Case, 3, Direction::AnswerToQuestion},
        {"backwards, the answer typed", "house", std::nullopt, true, false, false, true,
         ToleratedDifference::None, 0, Direction::AnswerToQuestion},
        {"given right, nothing typed", "", std::nullopt, true, true, false, false,
         ToleratedDifference::None, 3, Direction::QuestionToAnswer, true},
        {"given wrong, the right text typed", "house", std::nullopt, true, false, false, true,
         ToleratedDifference::None, 0, Direction::AnswerToQuestion, false},
    };
    preferences.ignoreCase = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardStore fresh;
        Card& card = fresh.createCard();
        fresh.setText(card, CardField::Question, "Haus");
        fresh.setText(card, CardField::Answer, "house");
        card.level = 2;
        fresh.unknownList.insert(&card);
        ExaminationState exam;
        const ExaminationEnvironment freshEnv{fresh, preferences, random, recent, host};
        ASSERT_TRUE(startExamination(exam, ExaminationKind::InOrder, freshEnv));
        AnswerRequest request{c.typed, {}, c.direction, c.given};
        if (c.decision)
            request.decide = [&](const AnswerCheck&) { return *c.decision; };
        const AnswerOutcome outcome = answerCard(exam, request, freshEnv);
        EXPECT_EQ(outcome.recorded, c.recorded);
        EXPECT_EQ(outcome.right, c.right);
        EXPECT_EQ(outcome.confirmedByUser, c.confirmed);
        EXPECT_EQ(outcome.joinedWrongList, c.joinedWrongList);
        EXPECT_EQ(outcome.tolerated, c.tolerated);
        EXPECT_EQ(card.level, c.levelAfter);
        EXPECT_EQ(card.timesAsked, c.recorded ? 1 : 0);
        // The history needs to know which card, how it was asked, and in which examination.
        if (c.recorded) {
            EXPECT_EQ(outcome.card, &card);
            EXPECT_EQ(outcome.direction, static_cast<uint8_t>(c.direction));
            EXPECT_EQ(outcome.kind, static_cast<uint8_t>(ExaminationKind::InOrder));
        }
    }
}

}  // namespace

namespace {

// Taking an answer back leaves the card and every list as they were before it, in the
// slots they had, whatever the answer did: wrong list, known-card move, a known card sent
// back, the Keep choice. A due known card is answered as the known-words kind would.
TEST_F(Examination, UndoTakesEachKindOfAnswerBack) {
    struct Row {
        const char* name;
        ExaminationKind kind;
        bool fromKnown;
        int32_t level;
        bool right;
        std::optional<KnownCardChoice> choice;
    };
    const Row rows[] = {
        {"wrong joins the wrong list", ExaminationKind::InOrder, false, 2, false, {}},
        {"right moves to known", ExaminationKind::InOrder, false, 4, true, KnownCardChoice::Known},
        {"right kept", ExaminationKind::InOrder, false, 4, true, KnownCardChoice::Keep},
        {"known card wrong goes back", ExaminationKind::KnownWords, true, 6, false, {}},
        {"due known card wrong goes back", ExaminationKind::DueCards, true, 6, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        store.unknownList.clear();
        store.knownList.clear();
        store.wrongList.clear();
        // Holes before the card's slot: a plain re-insert would fill the first of them.
        for (int i = 0; i < 3; ++i)
            add(store.unknownList);
        for (int i = 0; i < 3; ++i)
            add(store.knownList, 5);
        Card& card = add(row.fromKnown ? store.knownList : store.unknownList, row.level);
        store.setText(card, CardField::Answer, "tree");
        card.timesAsked = 7;
        store.unknownList.removeAt(0);
        store.knownList.removeAt(0);
        const std::vector<Card*> unknownBefore(store.unknownList.cards());
        const std::vector<Card*> knownBefore(store.knownList.cards());
        if (row.choice)
            host.knownAnswers.push_back(*row.choice);

        if (row.kind == ExaminationKind::DueCards) {
            startGivenExamination(state, {&card});
        } else {
            ASSERT_TRUE(startExamination(state, row.kind, env()));
            while (state.currentCard != &card)
                nextCard(state, env());
        }
        AnswerUndo undo = startUndo(store, card);
        const AnswerOutcome outcome = answerCard(state, {row.right ? "tree" : "wrong", {}}, env());
        finishUndo(undo, store, outcome);
        ASSERT_TRUE(undoAnswer(store, undo));

        EXPECT_EQ(card.level, row.level);
        EXPECT_EQ(card.timesAsked, 7);
        EXPECT_EQ(card.timesWrong + card.timesRight, 0);
        EXPECT_EQ(store.unknownList.cards(), unknownBefore);
        EXPECT_EQ(store.knownList.cards(), knownBefore);
        EXPECT_EQ((row.fromKnown ? store.knownList : store.unknownList).slot(3), &card);
        EXPECT_TRUE(store.wrongList.empty());
        EXPECT_TRUE(store.examiningUnknown);
        // Nothing to take back twice once the lists moved on.
        if (outcome.joinedWrongList) {
            EXPECT_FALSE(undoAnswer(store, undo));
        }
    }
}

}  // namespace
