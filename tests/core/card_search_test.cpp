#include <gtest/gtest.h>

#include <ostream>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "core/card_search.h"
#include "core/list_ops.h"
#include "core/overview_ops.h"

namespace {

struct TestCard {
    std::string question;
    std::string answer;
    int32_t id;
    bool known = false;
    std::string lesson = "-";
    std::string addInfo = "-";
};

void fill(CardStore& store, const std::vector<TestCard>& cards) {
    for (const TestCard& s : cards) {
        Card& card = addCard(store, s.known ? store.knownList : store.unknownList, s.question,
                             s.answer, s.lesson, s.addInfo);
        setCardId(card, s.id);
    }
}

int32_t idOf(const Card* card) {
    return card ? card->id : -999;
}

// Two unknown cards share "house" (numbers 3 and 7, in that slot order), one known card
// is the only "tree", and one unknown card has a negative number.
const std::vector<TestCard> kCards = {
    {"dog", "Hund", 1},  {"house", "Haus", 3},      {"house", "Heim", 7},
    {"cat", "Katze", 5}, {"tree", "Baum", 9, true}, {"mouse", "Maus", -4},
};

struct TextCase {
    const char* name;
    CardField field;
    std::string text;
    int32_t shownId;
    int32_t expected;  // -999: not found
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class FindByText : public testing::TestWithParam<TextCase> {};

TEST_P(FindByText, FindsTheExpectedCard) {
    CardStore store;
    fill(store, kCards);
    const TextCase& c = GetParam();
    EXPECT_EQ(idOf(findCardByText(store, c.field, c.text, c.shownId)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindByText,
    testing::Values(TextCase{"FirstOfTwoWhenNoneShown", CardField::Question, "house", 0, 3},
                    TextCase{"RepeatMovesToTheNextNumber", CardField::Question, "house", 3, 7},
                    TextCase{"RepeatAfterTheLastStartsOver", CardField::Question, "house", 7, 3},
                    TextCase{"CaseMatters", CardField::Question, "House", 0, -999},
                    TextCase{"FirstWordIsNotEnough", CardField::Question, "hou", 0, -999},
                    TextCase{"KnownCardFoundAfterUnknown", CardField::Question, "tree", 0, 9},
                    TextCase{"ByAnswer", CardField::Answer, "Heim", 0, 7},
                    TextCase{"AnswerIsNotQuestion", CardField::Answer, "dog", 0, -999},
                    TextCase{"NegativeNumbersAreNotSearched", CardField::Question, "mouse", 0,
                             -999}),
    [](const testing::TestParamInfo<TextCase>& info) { return info.param.name; });

TEST(FindById, UnknownCardsComeFirstAndTheEarlierSlotWins) {
    CardStore store;
    fill(store, {{"known", "k", 4, true}, {"first", "a", 4}, {"second", "b", 4}});
    EXPECT_EQ(findCardById(store, 4)->question(), "first");
    EXPECT_EQ(findCardById(store, 5), nullptr);
    store.unknownList.clear();
    EXPECT_EQ(findCardById(store, 4)->question(), "known");
}

struct NumberCase {
    const char* name;
    std::string text;
    std::optional<int32_t> expected;
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseCardNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(ParseCardNumber, ReadsLikeAtoi) {
    EXPECT_EQ(parseCardNumber(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseCardNumber,
    testing::Values(NumberCase{"DigitsThenLetters", "12ab", 12},
                    NumberCase{"LetterFirstIsZero", "a12", 0}, NumberCase{"Empty", "", 0},
                    NumberCase{"BlanksAndSign", " \t-5", -5}, NumberCase{"PlusSign", "+7x", 7},
                    NumberCase{"SignAlone", "-", 0},
                    NumberCase{"LowestNumber", "-2147483648", INT32_MIN},
                    NumberCase{"HighestNumber", "2147483647", INT32_MAX},
                    NumberCase{"PastTheTop", "2147483648", std::nullopt},
                    NumberCase{"FarPastTheBottom", "-99999999999999999999", std::nullopt}),
    [](const testing::TestParamInfo<NumberCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------
// The overview

TEST(FindRowContaining, CyclesThroughTheMatchingRows) {
    CardStore store;
    // Rows 2 and 5 hold "ab": in the question and in the additional information.
    fill(store, {{"x", "y", 0},
                 {"x", "y", 1},
                 {"cabin", "y", 2},
                 {"x", "y", 3, false, "ab"},  // only the lesson: not searched
                 {"x", "AB", 4},
                 {"x", "y", 5, false, "-", "grab"}});
    std::vector<OverviewRow> rows;
    snapshotRows(store.unknownList, rows);
    std::size_t position = 0;
    std::vector<std::size_t> found;
    for (int i = 0; i < 4; ++i) {
        const std::optional<std::size_t> row = findRowContaining(rows, "ab", position);
        ASSERT_TRUE(row);
        found.push_back(*row);
        position = *row + 1;
    }
    EXPECT_EQ(found, (std::vector<std::size_t>{2, 5, 2, 5}));
    EXPECT_EQ(findRowContaining(rows, "ab", 99), std::optional<std::size_t>(2));
    EXPECT_EQ(findRowContaining(rows, "", 3), std::optional<std::size_t>(3));
    EXPECT_EQ(findRowContaining(rows, "zz", 0), std::nullopt);
}

TEST(SnapshotRows, KeepTheTextsTheCardHadWhenTaken) {
    CardStore store;
    fill(store, {{"old", "a", 0}});
    std::vector<OverviewRow> rows;
    snapshotRows(store.unknownList, rows);
    store.setText(*rows[0].card, CardField::Question, "new");
    EXPECT_EQ(rows[0].shown.question(), "old");
    EXPECT_EQ(rows[0].card->question(), "new");
}

TEST(LevelImageIndex, PicksTheMarkerOfEachLevel) {
    const std::vector<std::pair<int32_t, int>> cases = {
        {0, 4},  {1, 3},  {3, 1},  {4, 0},   {5, 5},          {7, 5},
        {-1, 5}, {-2, 6}, {-3, 7}, {-4, -1}, {INT32_MIN, -1}, {INT32_MAX, 5}};
    for (const auto& [level, index] : cases)
        EXPECT_EQ(levelImageIndex(level), index) << "level " << level;
}

TEST(DistinctLessons, OnceRegardlessOfCaseLastMetFirst) {
    CardStore store;
    fill(store, {{"q", "a", 0, false, "Unit 1"},
                 {"q", "a", 1, false, "unit 1"},
                 {"q", "a", 2, false, "\xC3\x89t\xC3\xA9"},  // accented capital É
                 {"q", "a", 3, true, "\xC3\xA9T\xC3\x89"},
                 {"q", "a", 4, true, "Known"},
                 {"q", "a", 5, false, "Unit 1"}});
    const std::vector<std::string_view> lessons =
        distinctLessons(store.unknownList, store.knownList);
    EXPECT_EQ(lessons, (std::vector<std::string_view>{"Known", "\xC3\x89t\xC3\xA9", "Unit 1"}));
    EXPECT_FALSE(equalIgnoringCase("1", "10"));
    EXPECT_TRUE(equalIgnoringCase("\xC5\xA0\xC5\xB8", "\xC5\xA1\xC3\xBF"));  // Š Ÿ and š ÿ
    EXPECT_FALSE(equalIgnoringCase("\xC3\x97", "\xC3\xB7"));  // × and ÷ are not letters
    // Beyond Windows-1252 every script with capitals folds.
    EXPECT_TRUE(equalIgnoringCase("\xD0\xA3\xD0\xA0\xD0\x9E\xD0\x9A",
                                  "\xD1\x83\xD1\x80\xD0\xBE\xD0\xBA"));  // УРОК урок
    EXPECT_TRUE(equalIgnoringCase("\xCE\x9B\xCE\x95\xCE\x9E\xCE\x97",
                                  "\xCE\xBB\xCE\xAD\xCE\xBE\xCE\xB7") == false);  // accent differs
    EXPECT_TRUE(
        equalIgnoringCase("\xC5\x81\xC3\xB3d\xC5\xBA", "\xC5\x82\xC3\xB3d\xC5\xBA"));  // Łódź łódź
    EXPECT_FALSE(equalIgnoringCase("\xE6\xB0\xB4", "\xE7\x81\xAB"));                   // 水 火
}

TEST(SelectLessons, LessonByLessonUnknownBeforeKnownLikeSelectByLesson) {
    CardStore store;
    fill(store, {{"a1", "a", 0, false, "A"},
                 {"b1", "a", 1, false, "B"},
                 {"b2", "a", 2, true, "B"},
                 {"a2", "a", 3, true, "A"},
                 {"a3", "a", 4, false, "A"},
                 {"one0", "a", 5, false, "10"},
                 {"lower", "a", 6, false, "b"}});
    const std::vector<std::string_view> chosen = {"B", "A", "1"};
    CardList fast;
    selectLessons(store.unknownList, store.knownList, chosen, fast);
    CardList reference;
    for (std::string_view lesson : chosen) {
        selectByLesson(store.unknownList, reference, lesson);
        selectByLesson(store.knownList, reference, lesson);
    }
    EXPECT_EQ(fast.cards(), reference.cards());
    std::vector<std::string> questions;
    fast.forEach([&](Card* c) { questions.emplace_back(c->question()); });
    EXPECT_EQ(questions, (std::vector<std::string>{"b1", "b2", "a1", "a3", "a2"}));
}

}  // namespace
