#include "core/print_layout.h"

#include <algorithm>

#include "core/card.h"
#include "core/unicode_text.h"

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
    // Whole characters only: a letter with its accents, or one of several bytes, is never
    // split across lines.
    const std::vector<std::size_t> ends = characterEnds(remaining);
    std::size_t fits = 0;
    while (fits + 1 < ends.size() && measure.width(remaining.substr(0, ends[fits + 1])) < columnWidth)
        ++fits;
    return ends.empty() ? remaining.size() : ends[fits];
}

}  // namespace

int printWrapped(int x, int y, int lineStep, int columnWidth, std::string_view text,
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

int printPage(const std::vector<const Card*>& cards, std::size_t first, const TextMeasure& measure,
              std::vector<PrintedLine>& out) {
    using namespace PrintLayout;
    int lineCounter = 0;
    for (std::size_t i = first; i < cards.size(); ++i) {
        const Card& card = *cards[i];
        const int y = kFirstLineTop + kLineStep * lineCounter;
        const int question =
            printWrapped(kQuestionX, y, kLineStep, kQuestionWidth, card.question(), measure, out);
        const int answer =
            printWrapped(kAnswerX, y, kLineStep, kAnswerWidth, card.answer(), measure, out);
        const int lesson =
            printWrapped(kLessonX, y, kLineStep, kLessonWidth, card.lesson(), measure, out);
        lineCounter += std::max({question, answer, lesson}) + 1;
        if (lineCounter >= kLinesPerPage)
            return i + 1 < cards.size() ? static_cast<int>(i + 1 - first) : 0;
    }
    return 0;
}

std::vector<PrintedPage> layoutPages(const std::vector<const Card*>& cards,
                                     const TextMeasure& measure) {
    std::vector<PrintedPage> pages;
    std::size_t next = 0;
    while (next < cards.size()) {
        PrintedPage& page = pages.emplace_back();
        const int printed = printPage(cards, next, measure, page.lines);
        page.cards = printed != 0 ? printed : static_cast<int>(cards.size() - next);
        next = printed != 0 ? next + printed : cards.size();
    }
    return pages;
}
