#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "exam/print_layout.h"
#include "store/card_store.h"

namespace {

// Every character is the same width, so that the breaks can be worked out by hand.
class FixedPitch : public TextMeasure {
public:
    explicit FixedPitch(int pitch) : pitch_(pitch) {}
    int width(std::string_view text) const override { return int(text.size()) * pitch_; }

private:
    int pitch_;
};

}  // namespace

void PrintTo(const PrintedLine& line, std::ostream* out) {
    *out << "(" << line.x << ", " << line.y << ", \"" << line.text << "\")";
}

namespace {

struct WrapCase {
    const char* name;
    std::string text;
    int columnWidth;
    int pitch;
    std::vector<std::string> lines;
    int extraLines;
};

class Wrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(Wrap, BreaksIntoLinesNarrowerThanTheColumn) {
    const WrapCase& c = GetParam();
    std::vector<PrintedLine> out;
    const int extra = wrapText(c.text, 1000, 80, 50, c.columnWidth, FixedPitch(c.pitch), out);
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < out.size(); ++i) {
        texts.push_back(out[i].text);
        EXPECT_EQ(out[i].x, 1000);
        EXPECT_EQ(out[i].y, 80 + 50 * int(i));
    }
    EXPECT_EQ(texts, c.lines);
    EXPECT_EQ(extra, c.extraLines);
}

INSTANTIATE_TEST_SUITE_P(
    PrintLayout, Wrap,
    ::testing::Values(
        WrapCase{"FitsOnOneLine", "house", 800, 10, {"house"}, 0},
        WrapCase{"ExactlyAsWideAsTheColumnWraps",
                 std::string(80, 'x'),
                 800,
                 10,
                 {std::string(79, 'x'), "x"},
                 1},
        WrapCase{"LongWordIsCutWhereItStopsFitting",
                 std::string(100, 'w'),
                 800,
                 10,
                 {std::string(79, 'w'), std::string(21, 'w')},
                 1},
        WrapCase{
            "BreaksAtTheLastBlankThatFits", "aaaa bbbb cccc", 100, 10, {"aaaa bbbb", " cccc"}, 1},
        WrapCase{"BlankWhereTheLineIsFullCutsTheWord",
                 "aaaaaaaaaa bb",
                 100,
                 10,
                 {"aaaaaaaaa", "a bb"},
                 1},
        WrapCase{"LeadingBlankIsNoBreak", " aaaaaaaaaaaa", 100, 10, {" aaaaaaaa", "aaaa"}, 1},
        // The last character is drawn in the loop, and the empty rest still counts a line.
        WrapCase{"CharacterWiderThanTheColumnStillPrints", "ab", 200, 300, {"a", "b"}, 2},
        WrapCase{"EmptyTextDrawsNothing", "", 200, 10, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

class Pages : public ::testing::Test {
protected:
    const Card* card(const std::string& question, const std::string& answer = "a",
                     const std::string& lesson = "1") {
        Card& c = store.createCard();
        store.setText(c, CardField::Question, question);
        store.setText(c, CardField::Answer, answer);
        store.setText(c, CardField::Lesson, lesson);
        return &c;
    }
    std::vector<const Card*> oneLineCards(int n) {
        std::vector<const Card*> cards;
        for (int i = 0; i < n; ++i)
            cards.push_back(card("q" + std::to_string(i)));
        return cards;
    }
    std::vector<int> cardsPerPage(const std::vector<const Card*>& cards) {
        std::vector<int> counts;
        for (const PrintedPage& page : layoutPages(cards, FixedPitch(20)))
            counts.push_back(page.cards);
        return counts;
    }

    CardStore store;
};

TEST_F(Pages, PageIsFullAfterSixtyTwoLines) {
    EXPECT_EQ(cardsPerPage(oneLineCards(70)), (std::vector<int>{62, 8}));
    EXPECT_EQ(cardsPerPage(oneLineCards(62)), (std::vector<int>{62})) << "no empty second page";
    EXPECT_EQ(cardsPerPage(oneLineCards(1)), (std::vector<int>{1}));
    EXPECT_TRUE(cardsPerPage({}).empty());
}

TEST_F(Pages, CardTakesTheLinesOfItsLongestText) {
    // A question of three lines in its 800 units beside one-line answer and lesson.
    const std::vector<const Card*> cards{card(std::string(100, 'q')), card("next", "b", "L2")};
    const std::vector<PrintedPage> pages = layoutPages(cards, FixedPitch(20));
    ASSERT_EQ(pages.size(), 1u);
    const std::vector<PrintedLine> expected{{100, 80, std::string(39, 'q')},
                                            {100, 130, std::string(39, 'q')},
                                            {100, 180, std::string(22, 'q')},
                                            {1000, 80, "a"},
                                            {2000, 80, "1"},
                                            {100, 230, "next"},
                                            {1000, 230, "b"},
                                            {2000, 230, "L2"}};
    EXPECT_EQ(pages[0].lines, expected);
}

TEST_F(Pages, CardThatCrossesTheLastLineIsPrintedWhole) {
    std::vector<const Card*> cards = oneLineCards(60);
    cards.push_back(card(std::string(100, 'x')));  // four lines of 26 or fewer: 60 to 63
    cards.push_back(card("after"));
    const std::vector<PrintedPage> pages = layoutPages(cards, FixedPitch(30));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].cards, 61);
    EXPECT_EQ(pages[0].lines.back(), (PrintedLine{2000, 80 + 60 * 50, "1"}));
    int lowest = 0;
    for (const PrintedLine& line : pages[0].lines)
        lowest = std::max(lowest, line.y);
    EXPECT_EQ(lowest, 80 + 63 * 50);
    EXPECT_EQ(pages[1].lines.front(), (PrintedLine{100, 80, "after"}));
}

}  // namespace
