#include "exam/print_layout.h"

#include <algorithm>

#include "store/card.h"

namespace {

// The end of the line that starts the remaining text: after the last blank whose text
// before it fits, or else after the longest beginning that fits, at least one character.
std::size_t lineEnd(std::string_view remaining, int columnWidth, const TextMeasure& measure) {
    std::size_t breakAt = 0;
    for (std::size_t i = 1; i < remaining.size(); ++i) {
        if (remaining[i] != ' ')
            continue;
        // Widths grow with the length of the text, so the first blank whose text before
        // it is too wide ends the search.
        if (measure.width(remaining.substr(0, i)) >= columnWidth)
            break;
        breakAt = i;
    }
    if (breakAt > 0)
        return breakAt;
    std::size_t fits = 1;
    while (fits < remaining.size() && measure.width(remaining.substr(0, fits + 1)) < columnWidth) {
        ++fits;
    }
    return fits;
}

}  // namespace

int wrapText(std::string_view text, int x, int y, int lineStep, int columnWidth,
             const TextMeasure& measure, std::vector<PrintedLine>& out) {
    std::string_view remaining = text;
    int extraLines = 0;
    int lineTop = y;
    while (!remaining.empty() && measure.width(remaining) >= columnWidth) {
        const std::size_t end = lineEnd(remaining, columnWidth, measure);
        out.push_back({x, lineTop, std::string(remaining.substr(0, end))});
        lineTop += lineStep;
        ++extraLines;
        remaining.remove_prefix(end);
    }
    if (!remaining.empty())
        out.push_back({x, y + extraLines * lineStep, std::string(remaining)});
    return extraLines;
}

std::vector<PrintedPage> layoutPages(const std::vector<const Card*>& cards,
                                     const TextMeasure& measure) {
    using namespace PrintLayout;
    std::vector<PrintedPage> pages;
    int lineCounter = kLinesPerPage;  // full, so the first card opens a page
    for (const Card* card : cards) {
        if (lineCounter >= kLinesPerPage) {
            pages.emplace_back();
            lineCounter = 0;
        }
        PrintedPage& page = pages.back();
        const int y = kFirstLineTop + kLineStep * lineCounter;
        const int question = wrapText(card->question(), kQuestionX, y, kLineStep, kQuestionWidth,
                                      measure, page.lines);
        const int answer =
            wrapText(card->answer(), kAnswerX, y, kLineStep, kAnswerWidth, measure, page.lines);
        const int lesson =
            wrapText(card->lesson(), kLessonX, y, kLineStep, kLessonWidth, measure, page.lines);
        lineCounter += std::max({question, answer, lesson}) + 1;
        ++page.cards;
    }
    return pages;
}
