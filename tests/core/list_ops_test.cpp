#include <gtest/gtest.h>

#include <ostream>

#include <random>
#include <string>
#include <vector>

#include "core/list_ops.h"
#include "core/message_ids.h"
#include "tests/support/fake_host.h"

namespace {

struct CardSpec {
    std::string question;
    std::string answer = "a";
    std::string lesson = "-";
    int32_t level = 0;
    int32_t id = 0;
};

// Fills the unknown list with cards as described, keeping their numbers; returns them in
// list order.
std::vector<Card*> fill(CardStore& store, const std::vector<CardSpec>& cards) {
    std::vector<Card*> out;
    for (const CardSpec& s : cards) {
        Card& card = addCard(store, store.unknownList, s.question, s.answer, s.lesson, "-");
        card.level = s.level;
        setCardId(card, s.id);
        out.push_back(&card);
    }
    return out;
}

std::vector<int32_t> ids(const CardList& list) {
    std::vector<int32_t> out;
    list.forEach([&](Card* c) { out.push_back(c->id); });
    return out;
}

std::vector<std::string> questions(const CardList& list) {
    std::vector<std::string> out;
    list.forEach([&](Card* c) { out.emplace_back(c->question()); });
    return out;
}

// ---------------------------------------------------------------------------------------
// Sorting

// The search tree the sort is defined by, written out literally: cards inserted in list
// order, "less" to the earlier side, "greater or equal" to the later side, and a card
// whose whole chain equals a node's takes the next number and counts as less.
struct TreeModel {
    struct Node {
        std::size_t card;
        int left = -1;
        int right = -1;
    };

    static int cmpText(const std::string& a, const std::string& b) {
        const int c = std::string_view(a).compare(b);  // char_traits<char> compares unsigned
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    static int cmpInt(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }
    static int chain(const CardSpec& a, const CardSpec& b, SortKey key) {
        int c = 0;
        if (key == SortKey::Level && (c = cmpInt(a.level, b.level)) != 0)
            return c;
        if (key == SortKey::Lesson && (c = cmpText(a.lesson, b.lesson)) != 0)
            return c;
        if (key != SortKey::Answer && key != SortKey::Id &&
            (c = cmpText(a.question, b.question)) != 0) {
            return c;
        }
        if (key != SortKey::Id && (c = cmpText(a.answer, b.answer)) != 0)
            return c;
        return cmpInt(a.id, b.id);
    }

    // Returns the cards (with their final numbers) in the order of the tree.
    static std::vector<CardSpec> sort(std::vector<CardSpec> cards, SortKey key, int32_t& nextId) {
        std::vector<Node> nodes;
        for (std::size_t i = 0; i < cards.size(); ++i) {
            if (nodes.empty()) {
                nodes.push_back({i});
                continue;
            }
            int at = 0;
            for (;;) {
                int c = chain(cards[i], cards[nodes[static_cast<std::size_t>(at)].card], key);
                if (c == 0) {
                    cards[i].id = nextId++;
                    c = -1;
                }
                int& next = c < 0 ? nodes[static_cast<std::size_t>(at)].left
                                  : nodes[static_cast<std::size_t>(at)].right;
                if (next < 0) {
                    next = static_cast<int>(nodes.size());
                    nodes.push_back({i});
                    break;
                }
                at = next;
            }
        }
        std::vector<CardSpec> out;
        walk(nodes, 0, cards, out);
        return out;
    }
    static void walk(const std::vector<Node>& nodes, int at, const std::vector<CardSpec>& cards,
                     std::vector<CardSpec>& out) {
        if (at < 0 || nodes.empty())
            return;
        const Node& n = nodes[static_cast<std::size_t>(at)];
        walk(nodes, n.left, cards, out);
        out.push_back(cards[n.card]);
        walk(nodes, n.right, cards, out);
    }
};

TEST(SortList, ThreeCardsSharingANumberFollowTheTree) {
    // A, B and C share number 7. B meets A, takes 10 and goes to A's earlier side; C meets
    // A too, takes 11, goes to the earlier side and there behind B (11 > 10).
    CardStore store;
    FakeHost host;
    fill(store, {{"A", "x", "-", 0, 7}, {"B", "x", "-", 0, 7}, {"C", "x", "-", 0, 7}});
    store.nextId = 10;
    store.modified = false;
    sortList(store, store.unknownList, SortKey::Id, host);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(ids(store.unknownList), (std::vector<int32_t>{10, 11, 7}));
    EXPECT_EQ(store.nextId, 12);
    EXPECT_FALSE(store.modified);
}

TEST(SortList, NewNumbersAreHandedOutInListOrderAcrossGroups) {
    CardStore store;
    FakeHost host;
    // Two groups interleaved: 5 at positions 0, 2, 4 and 3 at positions 1, 3.
    fill(store, {{"p", "", "-", 0, 5},
                 {"q", "", "-", 0, 3},
                 {"r", "", "-", 0, 5},
                 {"s", "", "-", 0, 3},
                 {"t", "", "-", 0, 5}});
    store.nextId = 20;
    sortList(store, store.unknownList, SortKey::Id, host);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"s", "q", "r", "t", "p"}));
    EXPECT_EQ(ids(store.unknownList), (std::vector<int32_t>{21, 3, 20, 22, 5}));
    EXPECT_EQ(store.nextId, 23);
}

TEST(SortList, MatchesTheTreeOnRandomLists) {
    std::mt19937 rng(12345);
    const std::vector<std::string> texts = {"", "a", "b", "ab", "\xC3\x84", "ba"};
    const std::vector<std::string> lessons = {"", "1", "10", "x"};
    for (int round = 0; round < 400; ++round) {
        const int n = 1 + static_cast<int>(rng() % 14);
        std::vector<CardSpec> cards;
        for (int i = 0; i < n; ++i) {
            cards.push_back({texts[rng() % texts.size()], texts[rng() % 3], lessons[rng() % 4],
                             static_cast<int32_t>(rng() % 3) - 1, static_cast<int32_t>(rng() % 4)});
        }
        for (SortKey key :
             {SortKey::Question, SortKey::Answer, SortKey::Level, SortKey::Lesson, SortKey::Id}) {
            SCOPED_TRACE("round " + std::to_string(round) + " key " +
                         std::to_string(static_cast<int>(key)));
            int32_t modelNext = 100;  // above every number in the list
            const std::vector<CardSpec> expected = TreeModel::sort(cards, key, modelNext);

            CardStore store;
            FakeHost host;
            fill(store, cards);
            store.nextId = 100;
            sortList(store, store.unknownList, key, host);
            ASSERT_EQ(store.unknownList.count(), n);
            EXPECT_EQ(store.nextId, modelNext);
            for (int i = 0; i < n; ++i) {
                const Card* got = store.unknownList.nthCard(i);
                EXPECT_EQ(got->question(), expected[static_cast<std::size_t>(i)].question);
                EXPECT_EQ(got->answer(), expected[static_cast<std::size_t>(i)].answer);
                EXPECT_EQ(got->lesson(), expected[static_cast<std::size_t>(i)].lesson);
                EXPECT_EQ(got->level, expected[static_cast<std::size_t>(i)].level);
                EXPECT_EQ(got->id, expected[static_cast<std::size_t>(i)].id);
            }
        }
    }
}

struct SortCase {
    const char* name;
    std::vector<CardSpec> cards;
    SortKey key;
    std::vector<std::string> expectedQuestions;
    std::vector<int32_t> expectedIds = {};  // checked when given
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const SortCase& c, std::ostream* os) {
    *os << c.name;
}

class SortOrder : public testing::TestWithParam<SortCase> {};

TEST_P(SortOrder, ByKeyAndTieBreak) {
    CardStore store;
    FakeHost host;
    fill(store, GetParam().cards);
    store.nextId = 1000;
    sortList(store, store.unknownList, GetParam().key, host);
    EXPECT_EQ(questions(store.unknownList), GetParam().expectedQuestions);
    if (!GetParam().expectedIds.empty())
        EXPECT_EQ(ids(store.unknownList), GetParam().expectedIds);
    EXPECT_TRUE(host.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SortOrder,
    testing::Values(
        SortCase{"QuestionPrefixFirst",
                 {{"abc", "", "-", 0, 1}, {"ab", "", "-", 0, 2}, {"abd", "", "-", 0, 3}},
                 SortKey::Question,
                 {"ab", "abc", "abd"}},
        SortCase{
            "QuestionBytesUnsignedAndCaseSensitive",
            {{"\xC3\xA4pfel", "", "-", 0, 1}, {"apfel", "", "-", 0, 2}, {"Zebra", "", "-", 0, 3}},
            SortKey::Question,
            {"Zebra", "apfel", "\xC3\xA4pfel"}},
        SortCase{"OtherScriptsAfterWindows1252ByCodePoint",
                 {{"\xE6\xB0\xB4", "", "-", 0, 1},  // 水
                  {"\xD0\xB4", "", "-", 0, 2},      // д
                  {"\xC3\xBF", "", "-", 0, 3},      // ÿ, the last byte of Windows-1252
                  {"\xE2\x82\xAC", "", "-", 0, 4},  // €, byte 0x80
                  {"\xC5\x82", "", "-", 0, 5},      // ł, not in Windows-1252
                  {"z", "", "-", 0, 6}},
                 SortKey::Question,
                 {"z", "\xE2\x82\xAC", "\xC3\xBF", "\xC5\x82", "\xD0\xB4", "\xE6\xB0\xB4"}},
        SortCase{"LongQuestionsEqualInTheirFirstEightBytes",
                 {{"abcdefghZ", "", "-", 0, 1},
                  {"abcdefghA", "", "-", 0, 2},
                  {"abcdefgh", "", "-", 0, 3}},
                 SortKey::Question,
                 {"abcdefgh", "abcdefghA", "abcdefghZ"}},
        // Neither the list order nor the numbers alone give these orders.
        SortCase{"EqualQuestionsByAnswerThenNumber",
                 {{"same", "b", "-", 0, 1}, {"same", "a", "-", 0, 9}, {"same", "a", "-", 0, 2}},
                 SortKey::Question,
                 {"same", "same", "same"},
                 {2, 9, 1}},
        SortCase{"EqualQuestionsTieOnAnswer",
                 {{"same", "c", "-", 0, 1}, {"same", "a", "-", 0, 3}, {"same", "b", "-", 0, 2}},
                 SortKey::Question,
                 {"same", "same", "same"},
                 {3, 2, 1}},
        SortCase{"AnswerThenNumberNotQuestion",
                 {{"z", "a", "-", 0, 5}, {"a", "a", "-", 0, 6}, {"m", "", "-", 0, 7}},
                 SortKey::Answer,
                 {"m", "z", "a"}},
        SortCase{"LevelAllZeroGoesByQuestion",
                 {{"c", "", "-", 0, 1}, {"a", "", "-", 0, 2}, {"b", "", "-", 0, 3}},
                 SortKey::Level,
                 {"a", "b", "c"}},
        SortCase{"LevelNegativeFirst",
                 {{"a", "", "-", 3, 1}, {"b", "", "-", -1, 2}, {"c", "", "-", 0, 3}},
                 SortKey::Level,
                 {"b", "c", "a"}},
        SortCase{"LevelEqualQuestionsLongerThanFourBytes",
                 {{"abcdz", "", "-", 1, 1}, {"abcda", "", "-", 1, 2}},
                 SortKey::Level,
                 {"abcda", "abcdz"}},
        SortCase{"LessonThenQuestion",
                 {{"b", "", "10", 0, 1},
                  {"a", "", "2", 0, 2},
                  {"a", "", "10", 0, 3},
                  {"z", "", "1", 0, 4}},
                 SortKey::Lesson,
                 {"z", "a", "b", "a"}},
        SortCase{"NumberAscendingWithNegatives",
                 {{"a", "", "-", 0, 3}, {"b", "", "-", 0, -4}, {"c", "", "-", 0, 0}},
                 SortKey::Id,
                 {"b", "c", "a"}}),
    [](const testing::TestParamInfo<SortCase>& info) { return info.param.name; });

TEST(SortList, TwoCardsSharingSevenTheLaterTakesNextIdAndGoesFirst) {
    CardStore store;
    FakeHost host;
    fill(store, {{"first", "", "-", 0, 7}, {"other", "", "-", 0, 1}, {"second", "", "-", 0, 7}});
    store.nextId = 3;
    sortList(store, store.unknownList, SortKey::Id, host);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"other", "second", "first"}));
    EXPECT_EQ(ids(store.unknownList), (std::vector<int32_t>{1, 3, 7}));
    EXPECT_EQ(store.nextId, 4);
}

TEST(SortList, RenumberedCardIsFoundByItsNewNumberInALongList) {
    // Long lists look numbers up in an index; a number the sort hands out must reach it.
    CardStore store;
    FakeHost host;
    for (int i = 0; i < 300; ++i) {
        Card& c = addCard(store, store.knownList, "k" + std::to_string(i), "", "-", "-");
        setCardId(c, 1000 + i);
    }
    Card& twin = addCard(store, store.knownList, "twin", "", "-", "-");
    setCardId(twin, 1000);
    EXPECT_TRUE(containsId(store.knownList, 1000));  // the index is made here
    store.nextId = 5000;
    sortList(store, store.knownList, SortKey::Id, host);
    ASSERT_EQ(twin.id, 5000);
    EXPECT_TRUE(containsId(store.knownList, 5000));
    EXPECT_TRUE(containsId(store.knownList, 1000));
    EXPECT_FALSE(containsId(store.knownList, 1300));
}

TEST(SortList, NewNumbersPassOverNumbersInUse) {
    // nextId 3 lies below the numbers read: 3 and 4 are taken, in either owning list, so
    // the renumbered card gets 5, and the card asked later is not mistaken for a known one.
    CardStore store;
    FakeHost host;
    Preferences prefs;
    fill(store, {{"same", "x", "-", 0, 4}, {"same", "x", "-", 0, 4}});
    Card& asked = addCard(store, store.knownList, "asked", "", "-", "-");
    setCardId(asked, 3);
    store.knownList.removeById(3);
    store.unknownList.insert(&asked);
    Card& known = addCard(store, store.knownList, "known", "", "-", "-");
    setCardId(known, 6);
    store.nextId = 3;
    sortList(store, store.unknownList, SortKey::Question, host);
    EXPECT_EQ(ids(store.unknownList), (std::vector<int32_t>{3, 5, 4}));
    EXPECT_EQ(store.nextId, 6);

    // The next renumbering passes over the known card's 6 as well.
    Card& third = addCard(store, store.unknownList, "same", "x", "-", "-");
    setCardId(third, 4);
    sortList(store, store.unknownList, SortKey::Question, host);
    EXPECT_EQ(third.id, 7);
    asked.level = prefs.maxLevel - 1;
    recordRightAnswer(store, asked, 1, prefs, host);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_TRUE(containsId(store.knownList, 3));
}

TEST(SortList, EmptyListShowsMessageAndStaysEmpty) {
    CardStore store;
    FakeHost host;
    sortList(store, store.unknownList, SortKey::Question, host);
    EXPECT_EQ(host.errors, (std::vector<int>{Msg::NothingToSort}));
    EXPECT_EQ(store.unknownList.count(), 0);
}

TEST(SortList, CompactsHolesAndLeavesOtherListsAlone) {
    CardStore store;
    FakeHost host;
    fill(store, {{"c", "", "-", 0, 1}, {"b", "", "-", 0, 2}, {"a", "", "-", 0, 3}});
    store.knownList.insert(store.unknownList.nthCard(0));
    store.unknownList.removeById(2);
    sortList(store, store.unknownList, SortKey::Question, host);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(store.unknownList.slot(0)->question(), "a");
    EXPECT_EQ(store.unknownList.slot(1)->question(), "c");
    EXPECT_EQ(questions(store.knownList), (std::vector<std::string>{"c"}));
}

TEST(SortList, SameCardTwiceInOneListIsFatal) {
    CardStore store;
    FakeHost host;
    std::vector<Card*> cards = fill(store, {{"x", "", "-", 0, 1}, {"y", "", "-", 0, 2}});
    store.unknownList.insert(cards[0]);
    try {
        sortList(store, store.unknownList, SortKey::Question, host);
        FAIL() << "expected the sort to end the program";
    } catch (const FatalExit& e) {
        EXPECT_EQ(e.messageId, Msg::ComparedWithItself);
    }
}

TEST(SortList, PresortedLongListFinishes) {
    // A presorted list used to be the worst case; here it only has to finish.
    CardStore store;
    FakeHost host;
    for (int i = 0; i < 200000; ++i) {
        Card& c = store.createCard();
        char text[16];
        std::snprintf(text, sizeof text, "q%08d", i);
        store.setText(c, CardField::Question, text);
        store.unknownList.insert(&c);
    }
    sortList(store, store.unknownList, SortKey::Question, host);
    EXPECT_EQ(store.unknownList.nthCard(0)->id, 0);
    EXPECT_EQ(store.unknownList.nthCard(199999)->id, 199999);
}

// ---------------------------------------------------------------------------------------
// Answers

struct RightAnswerCase {
    const char* name;
    int32_t maxLevel;
    int32_t startLevel;
    bool examiningUnknown;
    std::vector<KnownCardChoice> answers;  // to the known-card question
    bool otherCardWithSameNumberKnown;
    // expected
    int32_t level;
    bool inKnown;
    bool inUnknown;
    int asked;
    std::vector<int> errors;
    bool knownChosen;
    bool movedToKnown;
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const RightAnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class RightAnswer : public testing::TestWithParam<RightAnswerCase> {};

TEST_P(RightAnswer, ChangesLevelListsAndWindow) {
    const RightAnswerCase& c = GetParam();
    CardStore store;
    FakeHost host;
    Preferences prefs;
    prefs.maxLevel = c.maxLevel;
    fill(store,
         {{"before", "", "-", 0, 1}, {"card", "", "-", c.startLevel, 2}, {"after", "", "-", 0, 3}});
    Card& card = *store.unknownList.nthCard(1);
    if (c.otherCardWithSameNumberKnown) {
        Card& twin = addCard(store, store.knownList, "twin", "", "-", "-");
        setCardId(twin, 2);
    }
    store.examiningUnknown = c.examiningUnknown;
    if (!c.examiningUnknown) {
        store.unknownList.remove(&card);
        store.knownList.insert(&card);
    }
    store.modified = false;
    for (KnownCardChoice a : c.answers)
        host.knownAnswers.push_back(a);

    const int32_t levelBefore = card.level;
    const AnswerOutcome outcome = recordRightAnswer(store, card, 42, prefs, host);

    EXPECT_EQ(card.level, c.level);
    EXPECT_EQ(outcome.levelBefore, levelBefore);
    EXPECT_EQ(outcome.levelAfter, c.level);
    EXPECT_EQ(card.timesAsked, 1);
    EXPECT_EQ(card.timesRight, 1);
    EXPECT_EQ(card.timesWrong, 0);
    EXPECT_EQ(card.lastAsked, 42);
    EXPECT_TRUE(store.modified);
    bool inKnown = false;
    store.knownList.forEach([&](Card* k) { inKnown |= k == &card; });
    bool inUnknown = false;
    store.unknownList.forEach([&](Card* k) { inUnknown |= k == &card; });
    EXPECT_EQ(inKnown, c.inKnown);
    EXPECT_EQ(inUnknown, c.inUnknown);
    EXPECT_EQ(static_cast<int>(host.knownQuestions.size()), c.asked);
    EXPECT_EQ(host.errors, c.errors);
    EXPECT_EQ(outcome.knownChosen, c.knownChosen);
    EXPECT_EQ(outcome.movedToKnown, c.movedToKnown);
    EXPECT_EQ(store.unknownList.count() + store.knownList.count(),
              3 + (c.otherCardWithSameNumberKnown ? 1 : 0));
}

using K = KnownCardChoice;
INSTANTIATE_TEST_SUITE_P(
    Cases, RightAnswer,
    testing::Values(
        RightAnswerCase{
            "BelowMaxOnlyRises", 5, 2, true, {}, false, 3, false, true, 0, {}, false, false},
        RightAnswerCase{"ReachesMaxKeepDropsToThree",
                        5,
                        4,
                        true,
                        {K::Keep},
                        false,
                        3,
                        false,
                        true,
                        1,
                        {},
                        false,
                        false},
        RightAnswerCase{"ReachesMaxKnownMoves",
                        5,
                        4,
                        true,
                        {K::Known},
                        false,
                        5,
                        true,
                        false,
                        1,
                        {},
                        true,
                        true},
        RightAnswerCase{
            "AboveMaxAsksAgain", 5, 7, true, {K::Known}, false, 8, true, false, 1, {}, true, true},
        RightAnswerCase{"MaxOneKeepGoesToMinusOne",
                        1,
                        0,
                        true,
                        {K::Keep},
                        false,
                        -1,
                        false,
                        true,
                        1,
                        {},
                        false,
                        false},
        RightAnswerCase{"NumberAlreadyKnownShows180",
                        5,
                        4,
                        true,
                        {K::Known},
                        true,
                        5,
                        false,
                        true,
                        1,
                        {Msg::AlreadyKnown},
                        true,
                        false},
        RightAnswerCase{"KnownWordsExamOnlyRises",
                        5,
                        6,
                        false,
                        {},
                        false,
                        7,
                        true,
                        false,
                        0,
                        {},
                        false,
                        false}),
    [](const testing::TestParamInfo<RightAnswerCase>& info) { return info.param.name; });

TEST(RightAnswer, MaxOneNeedsTwoRightAnswersAfterKeep) {
    CardStore store;
    FakeHost host;
    Preferences prefs;
    prefs.maxLevel = 1;
    Card& card = *fill(store, {{"q", "", "-", 0, 1}})[0];
    host.knownAnswers = {K::Keep};
    recordRightAnswer(store, card, 1, prefs, host);
    ASSERT_EQ(card.level, -1);
    recordRightAnswer(store, card, 2, prefs, host);
    EXPECT_EQ(host.knownQuestions.size(), 1u);
    recordRightAnswer(store, card, 3, prefs, host);
    EXPECT_EQ(host.knownQuestions.size(), 2u);
}

TEST(RightAnswer, MovingTakesThisCardNotAnEarlierOneWithItsNumber) {
    CardStore store;
    FakeHost host;
    Preferences prefs;
    std::vector<Card*> cards = fill(store, {{"earlier", "", "-", 0, 4}, {"card", "", "-", 4, 4}});
    recordRightAnswer(store, *cards[1], 1, prefs, host);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"earlier"}));
    EXPECT_EQ(questions(store.knownList), (std::vector<std::string>{"card"}));
}

TEST(WrongAnswer, SetsLevelZeroAndEntersWrongListOnce) {
    CardStore store;
    FakeHost host;
    Card& card = *fill(store, {{"q", "", "-", 3, 9}})[0];
    store.modified = false;
    EXPECT_TRUE(recordWrongAnswer(store, card, 5).joinedWrongList);
    EXPECT_FALSE(recordWrongAnswer(store, card, 8).joinedWrongList);
    EXPECT_EQ(card.level, 0);
    EXPECT_EQ(card.timesAsked, 2);
    EXPECT_EQ(card.timesWrong, 2);
    EXPECT_EQ(card.lastWrong, 8);
    EXPECT_EQ(card.lastAsked, 8);
    EXPECT_TRUE(store.modified);
    EXPECT_EQ(ids(store.wrongList), (std::vector<int32_t>{9}));
    EXPECT_EQ(store.unknownList.count(), 1);
}

TEST(WrongAnswer, KnownCardGoesBackIntoTheFirstHoleOfUnknown) {
    CardStore store;
    FakeHost host;
    std::vector<Card*> cards =
        fill(store, {{"a", "", "-", 0, 1}, {"b", "", "-", 0, 2}, {"c", "", "-", 0, 3}});
    Card& known = addCard(store, store.knownList, "k", "", "-", "-");
    setCardId(known, 50);
    known.level = 9;
    store.unknownList.removeById(2);  // a hole in slot 1
    store.examiningUnknown = false;
    recordWrongAnswer(store, known, 7);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"a", "k", "c"}));
    EXPECT_EQ(store.knownList.count(), 0);
    EXPECT_EQ(known.level, 0);
}

TEST(WrongAnswer, KnownCardAnsweredWrongTwiceIsInTheUnknownListOnce) {
    CardStore store;
    FakeHost host;
    Card& known = addCard(store, store.knownList, "k", "", "-", "-");
    store.examiningUnknown = false;
    EXPECT_TRUE(recordWrongAnswer(store, known, 1).leftKnownList);
    EXPECT_FALSE(recordWrongAnswer(store, known, 2).leftKnownList);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"k"}));
    EXPECT_EQ(store.knownList.count(), 0);
    EXPECT_EQ(known.timesWrong, 2);
}

TEST(WrongAnswer, KnownCardSharingANumberLeavesTheOtherKnownCardAlone) {
    CardStore store;
    FakeHost host;
    Card& twin = addCard(store, store.knownList, "twin", "", "-", "-");
    Card& card = addCard(store, store.knownList, "card", "", "-", "-");
    setCardId(twin, 6);
    setCardId(card, 6);
    store.examiningUnknown = false;
    recordWrongAnswer(store, card, 1);
    EXPECT_EQ(questions(store.knownList), (std::vector<std::string>{"twin"}));
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"card"}));
}

// ---------------------------------------------------------------------------------------
// Lists and the document

TEST(Selections, LessonIsMatchedAsAWholeTextAndLevelExactly) {
    CardStore store;
    fill(store, {{"a", "", "1", 0, 1},
                 {"b", "", "10", 1, 2},
                 {"c", "", " 1", 0, 3},
                 {"d", "", "1", 2, 4},
                 {"e", "", "", 0, 5}});
    selectByLesson(store.unknownList, store.lessonSelection, "1");
    EXPECT_EQ(questions(store.lessonSelection), (std::vector<std::string>{"a", "d"}));
    selectByLesson(store.unknownList, store.lessonSelection, "");
    EXPECT_EQ(questions(store.lessonSelection), (std::vector<std::string>{"a", "d", "e"}));
    selectByLevel(store.unknownList, store.levelSelection, 0);
    EXPECT_EQ(questions(store.levelSelection), (std::vector<std::string>{"a", "c", "e"}));
    EXPECT_EQ(store.unknownList.count(), 5);
}

TEST(Selections, AppendingAListToItselfDoublesIt) {
    CardStore store;
    fill(store, {{"a", "", "-", 0, 1},
                 {"b", "", "-", 0, 2},
                 {"c", "", "-", 0, 3},
                 {"d", "", "-", 0, 4},
                 {"e", "", "-", 0, 5},
                 {"f", "", "-", 0, 6},
                 {"g", "", "-", 0, 7},
                 {"h", "", "-", 0, 8},
                 {"i", "", "-", 0, 9}});
    appendAll(store.unknownList, store.unknownList);
    EXPECT_EQ(store.unknownList.count(), 18);
    EXPECT_EQ(store.unknownList.nthCard(9)->question(), "a");
}

TEST(Exchange, TwiceRestoresAndMarksNothing) {
    CardStore store;
    const std::string full(100, 'Q');
    fill(store, {{full, "short", "L", 2, 1}, {"", "x", "-", 0, 2}});
    store.modified = false;
    exchangeQuestionAndAnswer(store.unknownList);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{"short", "x"}));
    EXPECT_EQ(store.unknownList.nthCard(0)->answer(), full);
    EXPECT_EQ(store.unknownList.nthCard(0)->lesson(), "L");
    exchangeQuestionAndAnswer(store.unknownList);
    EXPECT_EQ(questions(store.unknownList), (std::vector<std::string>{full, ""}));
    EXPECT_FALSE(store.modified);
}

TEST(AddCard, EmptyTextsReplaceTheDefaults) {
    CardStore store;
    store.nextId = 41;
    Card& card = addCard(store, store.unknownList, "q", "a", "", "");
    EXPECT_EQ(card.id, 41);
    EXPECT_EQ(store.nextId, 42);
    EXPECT_EQ(card.lesson(), "");
    EXPECT_EQ(card.addInfo(), "");
    EXPECT_TRUE(store.modified);
    EXPECT_TRUE(containsId(store.unknownList, 41));
    EXPECT_FALSE(containsId(store.unknownList, 42));
}

TEST(ClearDocument, DiscardsEverythingTheWrongListIncluded) {
    CardStore store;
    FakeHost host;
    std::vector<Card*> cards = fill(store, {{"a", "", "-", 0, 1}, {"b", "", "-", 0, 2}});
    recordWrongAnswer(store, *cards[0], 1);
    store.knownList.insert(cards[1]);
    store.unknownList.removeById(2);
    store.lessonSelection.insert(cards[0]);
    store.levelSelection.insert(cards[1]);
    store.fileName = "/tmp/list.kmx";
    clearDocument(store);
    EXPECT_EQ(store.cardCount(), 0u);
    for (const CardList* list : {&store.unknownList, &store.knownList, &store.wrongList,
                                 &store.lessonSelection, &store.levelSelection}) {
        EXPECT_EQ(countCards(*list), 0);
    }
    EXPECT_EQ(store.nextId, 0);
    EXPECT_FALSE(store.modified);
    EXPECT_EQ(store.fileName, "UNTITLED");
}

}  // namespace
