#include "core/answer_check.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/card.h"
#include "core/host.h"
#include "core/message_ids.h"
#include "core/preferences.h"

namespace {

constexpr int kMaxStoredWords = 10;

bool isSeparator(char c) {
    return c == ',' || c == ';';
}

// Calls visit(word) for every word of the text, left to right; stops and returns false
// as soon as visit does. Empty words count: two separators in a row, or one at either
// end. Words are compared whole whatever their length.
template <typename Visit>
bool forEachWord(std::string_view text, Visit&& visit) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isSeparator(text[i]))
            continue;
        if (!visit(text.substr(start, i - start)))
            return false;
        start = i + 1;
        if (start < text.size() && text[start] == ' ')
            ++start;
        i = start - 1;
    }
    return visit(text.substr(start));
}

}  // namespace

AnswerVerdict compareAnswer(const Card& card, std::string_view typed,
                            const Preferences& preferences, Host& host) {
    return compareAnswerText(card.answer(), typed, preferences, host);
}

AnswerVerdict compareAnswerText(std::string_view stored, std::string_view typed,
                                const Preferences& preferences, Host& host) {
    if (typed == stored)
        return AnswerVerdict::Right;
    if (preferences.strictOrder)
        return AnswerVerdict::Differs;

    std::array<std::string_view, kMaxStoredWords> words;
    int s = 0;
    const bool split = forEachWord(stored, [&](std::string_view word) {
        if (s == kMaxStoredWords)
            return false;
        words[static_cast<std::size_t>(s++)] = word;
        return true;
    });
    if (!split) {
        host.showError(Msg::TooManyMeanings);
        return AnswerVerdict::Differs;
    }

    const auto storedEnd = words.begin() + s;
    int t = 0;
    const bool allFound = forEachWord(typed, [&](std::string_view word) {
        ++t;
        return std::find(words.begin(), storedEnd, word) != storedEnd;
    });
    if (!allFound)
        return AnswerVerdict::Differs;
    if (preferences.allWords && t != s)
        return AnswerVerdict::Differs;
    return AnswerVerdict::Right;
}
