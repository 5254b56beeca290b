#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "core/card_store.h"
#include "core/print_layout.h"

namespace {

// Every character is the same width, so that the breaks can be worked out by hand.
class FixedPitch : public TextMeasure {
public:
    explicit FixedPitch(int pitch) : pitch_(pitch) {}
    int width(std::string_view text) const override { return int(text.size()) * pitch_; }

private:
    int pitch_;
};

// "x,y:text" per line, joined by "|", so that a failure shows the whole layout.
std::string describe(const std::vector<PrintedLine>& lines) {
    std::string out;
    for (const PrintedLine& line : lines) {
        out += (out.empty() ? "" : "|") + std::to_string(line.x) + "," + std::to_string(line.y) +
               ":" + line.text;
    }
    return out;
}

struct WrapCase {
    const char* name;
    std::string text;
    int columnWidth;
    int pitch;
    std::string lines;  // as describe() gives them, at x 7 from y 0 in steps of 50
    int extraLines;
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const WrapCase& c, std::ostream* os) {
    *os << c.name;
}

class Wrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(Wrap, BreaksIntoLinesNarrowerThanTheColumn) {
    const WrapCase& c = GetParam();
    std::vector<PrintedLine> out;
    EXPECT_EQ(printWrapped(7, 0, 50, c.columnWidth, c.text, FixedPitch(c.pitch), out),
              c.extraLines);
    EXPECT_EQ(describe(out), c.lines);
}

const std::string k79(79, 'w');

INSTANTIATE_TEST_SUITE_P(
    PrintLayout, Wrap,
    ::testing::Values(
        WrapCase{"FitsOnOneLine", "house", 800, 10, "7,0:house", 0},
        WrapCase{"ExactlyAsWideAsTheColumnWraps", std::string(80, 'w'), 800, 10,
                 "7,0:" + k79 + "|7,50:w", 1},
        WrapCase{"LongWordIsCutWhereItStopsFitting", std::string(100, 'w'), 800, 10,
                 "7,0:" + k79 + "|7,50:" + std::string(21, 'w'), 1},
        WrapCase{"BreaksAtTheLastBlankThatFits", "aaaa bbbb cccc", 100, 10,
                 "7,0:aaaa bbbb|7,50: cccc", 1},
        WrapCase{"BlankWhereTheLineIsFullCutsTheWord", "aaaaaaaaaa bb", 100, 10,
                 "7,0:aaaaaaaaa|7,50:a bb", 1},
        // The last character is drawn in the loop, and the empty rest still counts a line.
        WrapCase{"CharacterWiderThanTheColumnStillPrints", "ab", 200, 300, "7,0:a|7,50:b", 2},
        WrapCase{"EmptyTextDrawsNothing", "", 200, 10, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

class Pages : public ::testing::Test {
protected:
    const Card* card(const std::string& question, const std::string& lesson = "1") {
        Card& c = store.createCard();
        store.setText(c, CardField::Question, question);
        store.setText(c, CardField::Answer, "a");
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
    EXPECT_TRUE(cardsPerPage({}).empty());
}

TEST_F(Pages, CardTakesTheLinesOfItsLongestText) {
    // A question of three lines of at most 39 characters beside one-line answer and lesson.
    const auto pages =
        layoutPages({card(std::string(100, 'q')), card("next", "L2")}, FixedPitch(20));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(describe(pages[0].lines),
              "100,80:" + std::string(39, 'q') + "|100,130:" + std::string(39, 'q') +
                  "|100,180:" + std::string(22, 'q') +
                  "|1000,80:a|2000,80:1|100,230:next|1000,230:a|2000,230:L2");
}

TEST_F(Pages, CardThatCrossesTheLastLineIsPrintedWhole) {
    std::vector<const Card*> cards = oneLineCards(60);
    cards.push_back(card(std::string(100, 'x')));  // four lines of 26 or fewer: 60 to 63
    cards.push_back(card("after"));
    const std::vector<PrintedPage> pages = layoutPages(cards, FixedPitch(30));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].cards, 61);
    EXPECT_EQ(pages[0].lines[60 * 3 + 3].y, 80 + 63 * 50);
    EXPECT_EQ(describe({pages[1].lines.front()}), "100,80:after");
}

}  // namespace
