#pragma once

#include <string>
#include <string_view>
#include <vector>

class Card;

// Where a printed card list puts its text, in the printer's device units. Each card is
// one group of lines with question, answer and lesson side by side; a text too wide for
// its column wraps within it.
namespace PrintLayout {
inline constexpr int kFirstLineTop = 80;
inline constexpr int kLineStep = 50;
inline constexpr int kQuestionX = 100;
inline constexpr int kQuestionWidth = 800;
inline constexpr int kAnswerX = 1000;
inline constexpr int kAnswerWidth = 800;
inline constexpr int kLessonX = 2000;
inline constexpr int kLessonWidth = 200;
// A page is full once a card ends on this line or further down.
inline constexpr int kLinesPerPage = 62;
}  // namespace PrintLayout

// Measures a run of card text (UTF-8) in device units of the printer.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int width(std::string_view text) const = 0;
};

// One run of text to draw, with (x, y) the top left of its line.
struct PrintedLine {
    int x = 0;
    int y = 0;
    std::string text;
};

struct PrintedPage {
    std::vector<PrintedLine> lines;
    int cards = 0;  // cards that start on this page
};

// Breaks the text into lines narrower than the column, appends them to `out` from line
// position y downwards and returns how many lines it needed beyond the first. A line
// ends before the last blank that still lets it fit, the blank starting the next line;
// a word wider than the column is cut after the last character that fits, but a line
// always takes at least one character.
int printWrapped(int x, int y, int lineStep, int columnWidth, std::string_view text,
                 const TextMeasure& measure, std::vector<PrintedLine>& out);

// Lays out one page from cards[first] on, appending its lines to `out`. A page is full
// once its line counter reaches kLinesPerPage after a card; the card that reaches it is
// always printed whole. Returns how many cards the page took, or 0 when no card is left
// after it.
int printPage(const std::vector<const Card*>& cards, std::size_t first, const TextMeasure& measure,
              std::vector<PrintedLine>& out);

// Every page of the cards, page after page as printPage gives them. No cards give no
// pages.
std::vector<PrintedPage> layoutPages(const std::vector<const Card*>& cards,
                                     const TextMeasure& measure);
