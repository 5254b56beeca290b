#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/card_store.h"
#include "core/message_ids.h"
#include "core/orders.h"
#include "core/preferences.h"
#include "tests/support/fake_host.h"
#include "tests/support/fixed_random.h"

namespace {

// Endless deterministic numbers in 0..32767, for draws whose count is not known ahead.
class LcgRandom : public RandomSource {
public:
    int next() override {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_ = 1;
};

class Orders : public ::testing::Test {
protected:
    Card& add(CardList& list, int32_t level = 0) {
        Card& card = store.createCard();
        card.level = level;
        list.insert(&card);
        return card;
    }
    void fill(CardList& list, int n) {
        for (int i = 0; i < n; ++i)
            add(list);
    }
    ExaminationEnvironment env() { return {store, preferences, random, recent, host}; }

    // Walks to the end without recording anything; returns (card number, question number).
    std::vector<std::pair<int32_t, int32_t>> walk(ExaminationKind kind) {
        std::vector<std::pair<int32_t, int32_t>> asked;
        EXPECT_TRUE(startExamination(state, kind, env()));
        while (state.currentCard != nullptr && asked.size() < 1000) {
            asked.emplace_back(state.currentCard->id, questionNumberFor(state));
            nextCard(state, env());
        }
        return asked;
    }

    CardStore store;
    Preferences preferences;
    FixedRandom random;
    RecentDraws recent;
    FakeHost host;
    ExaminationState state;
};

using Asked = std::vector<std::pair<int32_t, int32_t>>;

TEST_F(Orders, EveryKindAsksFromItsOwnListUnderItsCaption) {
    struct Row {
        ExaminationKind kind;
        CardList CardStore::*list;
        int caption;
    };
    const Row rows[] = {
        {ExaminationKind::InOrder, &CardStore::unknownList, 152},
        {ExaminationKind::WrongWords, &CardStore::wrongList, 153},
        {ExaminationKind::Level, &CardStore::levelSelection, 154},
        {ExaminationKind::LessonInOrder, &CardStore::lessonSelection, 155},
        {ExaminationKind::KnownWords, &CardStore::knownList, 156},
        {ExaminationKind::Random, &CardStore::unknownList, 157},
        {ExaminationKind::LessonRandom, &CardStore::lessonSelection, 158},
        {ExaminationKind::Systematic, &CardStore::unknownList, 159},
        {ExaminationKind::LessonSystematic, &CardStore::lessonSelection, 160},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        CardStore own;
        FakeHost quiet;
        CardList* lists[] = {&own.unknownList, &own.knownList, &own.wrongList, &own.lessonSelection,
                             &own.levelSelection};
        for (CardList* list : lists) {
            for (int i = 0; i < 12; ++i)
                list->insert(&own.createCard());
        }
        CardList& source = own.*row.list;
        ExaminationState s;
        ExaminationEnvironment e{own, preferences, random, recent, quiet};
        ASSERT_TRUE(startExamination(s, row.kind, e));
        EXPECT_EQ(captionIdOf(row.kind), row.caption);
        EXPECT_EQ(s.sourceList, &source);
        ASSERT_NE(s.currentCard, nullptr);
        EXPECT_TRUE(source.containsId(s.currentCard->id));
        EXPECT_TRUE(quiet.errors.empty());
    }
}

TEST_F(Orders, InOrderWalkSkipsHolesAndNumbersAnswersBySlot) {
    fill(store.unknownList, 5);
    store.unknownList.removeById(2);
    EXPECT_EQ(walk(ExaminationKind::InOrder), (Asked{{0, 0}, {1, 1}, {3, 3}, {4, 4}}));
    EXPECT_TRUE(host.errors.empty());
    EXPECT_TRUE(host.notices.empty());  // the end notice is the window's
}

TEST_F(Orders, InOrderWalkOverTwoFullBlocksAsksTwentyCards) {
    fill(store.levelSelection, 20);
    const Asked asked = walk(ExaminationKind::Level);
    ASSERT_EQ(asked.size(), 20u);
    EXPECT_EQ(asked.back(), (std::pair<int32_t, int32_t>{19, 19}));
}

TEST_F(Orders, InOrderWalkOfAnEmptyListEndsAtOnce) {
    EXPECT_TRUE(startExamination(state, ExaminationKind::WrongWords, env()));
    EXPECT_EQ(state.currentCard, nullptr);
    nextCard(state, env());
    EXPECT_EQ(state.currentCard, nullptr);
}

TEST_F(Orders, InOrderWalkSeesCardsEnteringAndLeavingTheList) {
    CardList& list = store.lessonSelection;
    fill(list, 6);  // numbers 0..5 in slots 0..5
    ASSERT_TRUE(startExamination(state, ExaminationKind::LessonInOrder, env()));
    std::vector<int32_t> asked{state.currentCard->id};
    nextCard(state, env());
    asked.push_back(state.currentCard->id);  // card 1, slot 1

    list.removeById(1);            // the card on screen leaves
    list.removeById(0);            // one behind
    list.removeById(3);            // one ahead
    Card& behind = add(list);      // first hole: slot 0, already passed
    Card& onPosition = add(list);  // slot 1, the slot of the current card
    Card& ahead = add(list);       // slot 3, still to come
    Card& atEnd = add(list);       // slot 6, a new one at the end
    ASSERT_EQ(list.slot(0), &behind);
    ASSERT_EQ(list.slot(1), &onPosition);
    ASSERT_EQ(list.slot(3), &ahead);
    ASSERT_EQ(list.slot(6), &atEnd);

    std::vector<int32_t> numbers;
    for (nextCard(state, env()); state.currentCard != nullptr; nextCard(state, env())) {
        asked.push_back(state.currentCard->id);
        numbers.push_back(questionNumberFor(state));
    }
    EXPECT_EQ(asked, (std::vector<int32_t>{0, 1, 2, ahead.id, 4, 5, atEnd.id}));
    EXPECT_EQ(numbers, (std::vector<int32_t>{2, 3, 4, 5, 6}));
}

TEST_F(Orders, InOrderWalkSurvivesItsListBeingEmptied) {
    fill(store.unknownList, 25);
    ASSERT_TRUE(startExamination(state, ExaminationKind::InOrder, env()));
    for (int i = 0; i < 22; ++i)
        nextCard(state, env());
    ASSERT_EQ(state.position, 22);
    store.unknownList.clear();
    nextCard(state, env());
    EXPECT_EQ(state.currentCard, nullptr);
}

TEST_F(Orders, RandomDrawTakesTheRemainderAndSkipsTheLastThree) {
    fill(store.unknownList, 5);
    // 7 mod 5 = 2; then 2 again is refused, 11 -> 1; 12 -> 2 refused, 14 -> 4;
    // 6 -> 1 refused, 10 -> 0; 11 and 14 refused (the ring now holds 0, 1, 4), 3 -> 3.
    random = FixedRandom({7, 2, 11, 12, 14, 6, 10, 11, 14, 3});
    ASSERT_TRUE(startExamination(state, ExaminationKind::Random, env()));
    std::vector<int32_t> drawn{state.currentCard->id};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(questionNumberFor(state), 0);
        nextCard(state, env());
        drawn.push_back(state.currentCard->id);
    }
    EXPECT_EQ(drawn, (std::vector<int32_t>{2, 1, 4, 0, 3}));
    EXPECT_EQ(random.draws, 10);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(Orders, RandomDrawOverFourCardsSettlesIntoAFixedCycle) {
    fill(store.unknownList, 4);
    LcgRandom lcg;
    std::vector<const Card*> drawn;
    for (int i = 0; i < 60; ++i) {
        drawn.push_back(drawRandomCard(store.unknownList, lcg, recent, host));
    }
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        SCOPED_TRACE(i);
        for (std::size_t back = 1; back <= 3 && back <= i; ++back) {
            EXPECT_NE(drawn[i], drawn[i - back]);
        }
        if (i >= 4) {
            EXPECT_EQ(drawn[i], drawn[i - 4]);
        }
    }
}

TEST_F(Orders, RandomDrawRemembersAcrossExaminationsAndLists) {
    Card& a = add(store.unknownList);
    Card& b = add(store.unknownList);
    Card& c = add(store.unknownList);
    add(store.unknownList);
    random = FixedRandom({0, 1, 2});
    ExaminationState first;
    ASSERT_TRUE(startExamination(first, ExaminationKind::Random, env()));
    nextCard(first, env());
    nextCard(first, env());
    EXPECT_EQ(first.currentCard, &c);

    // A lesson examination over the same three cards and one other one: whatever the
    // numbers say, the other card comes first.
    for (Card* card : {&a, &b, &c})
        store.lessonSelection.insert(card);
    Card& other = add(store.lessonSelection);
    random = FixedRandom({0, 1, 2, 0, 1, 2, 3});
    ExaminationState second;
    ASSERT_TRUE(startExamination(second, ExaminationKind::LessonRandom, env()));
    EXPECT_EQ(second.currentCard, &other);
    EXPECT_EQ(random.draws, 7);
}

TEST_F(Orders, RandomDrawNeedsFourCardsAtStartAndLater) {
    fill(store.lessonSelection, 3);
    EXPECT_TRUE(startExamination(state, ExaminationKind::LessonRandom, env()));
    EXPECT_EQ(state.currentCard, nullptr);
    EXPECT_EQ(host.errors, std::vector<int>{Msg::RandomTooFew});

    host.errors.clear();
    add(store.lessonSelection);
    ASSERT_TRUE(startExamination(state, ExaminationKind::LessonRandom, env()));
    ASSERT_NE(state.currentCard, nullptr);
    store.lessonSelection.removeById(state.currentCard->id);  // e.g. deleted meanwhile
    nextCard(state, env());
    EXPECT_EQ(state.currentCard, nullptr);
    EXPECT_EQ(host.errors, std::vector<int>{Msg::RandomTooFew});
}

TEST_F(Orders, RandomDrawGivesUpWhenOnlyRecentCardsAreLeft) {
    // The same card in two slots: four slots, three different cards.
    Card& a = add(store.unknownList);
    store.unknownList.insert(&a);
    Card& b = add(store.unknownList);
    Card& c = add(store.unknownList);
    recent.remember(&a);
    recent.remember(&b);
    recent.remember(&c);
    random = FixedRandom({3});
    EXPECT_EQ(drawRandomCard(store.unknownList, random, recent, host), nullptr);
    EXPECT_EQ(host.errors, std::vector<int>{Msg::RandomTooFew});
}

TEST_F(Orders, RandomDrawReachesEveryCardOfALongList) {
    fill(store.unknownList, 40000);
    random = FixedRandom({1, 5});
    Card* card = drawRandomCard(store.unknownList, random, recent, host);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->id, 32768 + 5);

    // Up to 32768 cards, one number per draw and the plain remainder.
    CardStore small;
    for (int i = 0; i < 32768; ++i)
        small.unknownList.insert(&small.createCard());
    random = FixedRandom({32767});
    card = drawRandomCard(small.unknownList, random, recent, host);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->id, 32767);
    EXPECT_EQ(random.draws, 1);
}

TEST_F(Orders, SystematicKindsNeedElevenCards) {
    fill(store.unknownList, 10);
    EXPECT_FALSE(startExamination(state, ExaminationKind::Systematic, env()));
    EXPECT_EQ(state.currentCard, nullptr);
    EXPECT_EQ(host.errors, std::vector<int>{Msg::SystematicTooFew});

    host.errors.clear();
    add(store.unknownList);
    EXPECT_TRUE(startExamination(state, ExaminationKind::Systematic, env()));
    EXPECT_NE(state.currentCard, nullptr);
    EXPECT_EQ(state.queue.size(), 11);
    EXPECT_TRUE(host.errors.empty());

    fill(store.lessonSelection, 10);
    EXPECT_FALSE(startExamination(state, ExaminationKind::LessonSystematic, env()));
    EXPECT_EQ(host.errors, std::vector<int>{Msg::SystematicTooFew});
}

struct QueueCase {
    const char* name;
    int32_t maxLevel;
    std::vector<int32_t> levels;  // of the cards in list order
    std::vector<int> draws;       // one per card, in list order
    std::vector<int> order;       // list positions in the order asked
};

TEST_F(Orders, SystematicQueueOrder) {
    const QueueCase cases[] = {
        {"lower levels first", 5, {0, 2, 1}, {0, 0, 0}, {0, 2, 1}},
        {"equal keys: later card first", 5, {1, 1, 1}, {0, 0, 0}, {2, 1, 0}},
        {"random order within a level", 5, {0, 0, 0}, {32767, 0, 16000}, {1, 2, 0}},
        {"r div M is truncated", 5, {0, 0}, {4, 0}, {1, 0}},
        {"levels meet at the edge of their ranges", 5, {0, 1}, {32767, 0}, {1, 0}},
        {"levels meet, other way round", 5, {1, 0}, {0, 32767}, {1, 0}},
        {"negative levels above 32767, ties too", 5, {0, -1, -1}, {0, 0, 0}, {2, 1, 0}},
        {"max level 1", 1, {2, 0, 1, 0}, {0, 32767, 16, 5}, {3, 1, 2, 0}},
        {"max level 0 counts as 1", 0, {2, 0, 1, 0}, {0, 32767, 16, 5}, {3, 1, 2, 0}},
        {"negative max level counts as 1", -3, {2, 0, 1, 0}, {0, 32767, 16, 5}, {3, 1, 2, 0}},
        {"very high level does not overflow", 1, {100000, 0}, {0, 0}, {1, 0}},
        {"very low level does not overflow", 1, {0, -100000}, {0, 0}, {1, 0}},
    };
    for (const QueueCase& c : cases) {
        SCOPED_TRACE(c.name);
        CardStore own;
        std::vector<Card*> cards;
        for (int32_t level : c.levels) {
            cards.push_back(&own.createCard());
            cards.back()->level = level;
            own.unknownList.insert(cards.back());
        }
        FixedRandom draws(c.draws);
        const SystematicQueue queue = buildSystematicQueue(own.unknownList, c.maxLevel, draws);
        std::vector<int> order;
        for (const QueueEntry& entry : queue.entries()) {
            order.push_back(static_cast<int>(std::find(cards.begin(), cards.end(), entry.card) -
                                             cards.begin()));
        }
        EXPECT_EQ(order, c.order);
        EXPECT_EQ(draws.draws, static_cast<int>(c.levels.size()));
    }
}

TEST_F(Orders, SystematicKeysFollowTheLevelRanges) {
    const int64_t q = 32767 / 5;
    EXPECT_EQ(systematicSortKey(0, 0, 5), 32767);
    EXPECT_EQ(systematicSortKey(2, 0, 5), 32767 - 2 * q);
    EXPECT_EQ(systematicSortKey(1, 32767, 5), 32767 - q - 6553);
    EXPECT_EQ(systematicSortKey(-1, 0, 5), 32767 + q);
}

TEST_F(Orders, SystematicStartDrawsInSlotOrderAndAsksTheFirstEntry) {
    for (int i = 0; i < 12; ++i)
        add(store.unknownList, 1);
    store.unknownList.removeById(4);
    // Every card of level 1 but slot 6 gets r = 32767; slot 6 (the sixth draw) gets 0.
    random = FixedRandom({32767, 32767, 32767, 32767, 32767, 0, 32767});
    ASSERT_TRUE(startExamination(state, ExaminationKind::Systematic, env()));
    EXPECT_EQ(state.currentCard->id, 6);
    EXPECT_EQ(state.queue.size(), 11);
    EXPECT_EQ(state.queue.at(1).card->id, 11);  // then from the last card back
    EXPECT_EQ(state.queue.entries().back().card->id, 0);
    EXPECT_EQ(random.draws, 11);
}

TEST_F(Orders, SystematicQuestionNumbersCountFromOne) {
    fill(store.unknownList, 11);
    ASSERT_TRUE(startExamination(state, ExaminationKind::Systematic, env()));
    EXPECT_EQ(questionNumberFor(state), 1);
    EXPECT_EQ(questionNumberFor(state), 2);
    EXPECT_EQ(state.questionCounter, 2);
}

struct RequeueCase {
    const char* name;
    int32_t lastWrong;
    int32_t lastAsked;
    int32_t timesAsked;
    int32_t timesWrong;
    int placeFor11;
    int placeFor25;
};

TEST_F(Orders, RequeueDistances) {
    const RequeueCase cases[] = {
        {"wrong, never right", 7, 7, 3, 3, 5, 5},
        {"wrong, right once", 7, 7, 3, 2, 10, 10},
        {"wrong, right twice", 7, 7, 4, 2, 2, 5},
        {"right one question after a wrong one", 6, 7, 4, 1, 4, 10},
        {"right two questions after a wrong one", 5, 7, 4, 1, 4, 10},
        {"right three questions after a wrong one", 4, 7, 4, 1, 6, 15},
        {"right four questions after a wrong one", 3, 7, 4, 1, 8, 20},
        {"right five questions after a wrong one", 2, 7, 4, 1, 8, 20},
        {"right six questions after a wrong one", 1, 7, 4, 1, 11, 25},
        {"right as question 6, never wrong", 0, 6, 1, 0, 11, 25},
        {"right as question 5, never wrong", 0, 5, 1, 0, 8, 20},
        {"right as question 1, never wrong", 0, 1, 1, 0, 4, 10},
        {"wrong under number 0 counts as a gap of 0", 0, 0, 1, 1, 4, 10},
        {"wrong number from an earlier examination above this one", 30, 3, 5, 2, 4, 10},
    };
    for (const RequeueCase& c : cases) {
        for (const int n : {11, 25}) {
            SCOPED_TRACE(std::string(c.name) + ", n = " + std::to_string(n));
            CardStore own;
            std::vector<QueueEntry> entries;
            for (int i = 0; i < n; ++i)
                entries.push_back({&own.createCard(), 0});
            Card& answered = *entries.front().card;
            answered.lastWrong = c.lastWrong;
            answered.lastAsked = c.lastAsked;
            answered.timesAsked = c.timesAsked;
            answered.timesWrong = c.timesWrong;
            SystematicQueue queue(entries);
            requeue(queue);

            const int place = n == 11 ? c.placeFor11 : c.placeFor25;
            std::vector<QueueEntry> expected(entries.begin() + 1, entries.end());
            expected.insert(expected.begin() + (place - 1), entries.front());
            ASSERT_EQ(queue.size(), n);
            for (int i = 0; i < n; ++i) {
                EXPECT_EQ(queue.at(i).card, expected[i].card) << "place " << i + 1;
            }
        }
    }
}

TEST_F(Orders, QueueMovesKeepTheOrderOfAPlainList) {
    struct Run {
        int n;
        int toTheEnd;  // first moves, all to the last place
        int steps;
    };
    // The long run makes the queue's first block run empty and its last one overflow.
    for (const Run run :
         {Run{1, 0, 50}, Run{2, 0, 50}, Run{11, 0, 400}, Run{25, 0, 400}, Run{1500, 1200, 3000}}) {
        const int n = run.n;
        SCOPED_TRACE(n);
        CardStore own;
        std::vector<Card*> plain;
        std::vector<QueueEntry> entries;
        for (int i = 0; i < n; ++i) {
            plain.push_back(&own.createCard());
            entries.push_back({plain.back(), i});
        }
        SystematicQueue queue(entries);
        LcgRandom places;
        for (int step = 0; step < run.steps; ++step) {
            // 0 and n + 1 are clamped
            const int place = step < run.toTheEnd ? n : places.next() % (n + 2);
            queue.moveFrontTo(place);
            Card* front = plain.front();
            plain.erase(plain.begin());
            plain.insert(plain.begin() + (std::clamp(place, 1, n) - 1), front);
            ASSERT_EQ(queue.size(), n);
            ASSERT_EQ(queue.front().card, plain.front()) << "step " << step;
            const std::vector<QueueEntry> now = queue.entries();
            for (int i = 0; i < n; ++i) {
                ASSERT_EQ(now[static_cast<std::size_t>(i)].card, plain[static_cast<std::size_t>(i)])
                    << "step " << step << ", place " << place << ", entry " << i;
            }
        }
        EXPECT_EQ(queue.at(n - 1).card, plain.back());
    }
}

}  // namespace
