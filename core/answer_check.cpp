#include "core/answer_check.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "core/card.h"
#include "core/host.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "core/unicode_text.h"

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

enum class Outcome { Right, Differs, TooManyMeanings };

// The order rule, with every text and word brought into `form` before it is compared:
// the composed form for the exact comparison, a lenient form when case or accents may
// differ.
// The words are split from the texts as they are, so a form never moves a separator.
template <typename Form>
Outcome judge(std::string_view stored, std::string_view typed, const Preferences& preferences,
              Form form) {
    if (form(typed) == form(stored))
        return Outcome::Right;
    if (preferences.strictOrder)
        return Outcome::Differs;

    using Key = decltype(form(stored));
    std::array<Key, kMaxStoredWords> words;
    int s = 0;
    const bool split = forEachWord(stored, [&](std::string_view word) {
        if (s == kMaxStoredWords)
            return false;
        words[static_cast<std::size_t>(s++)] = form(word);
        return true;
    });
    if (!split)
        return Outcome::TooManyMeanings;

    const auto storedEnd = words.begin() + s;
    int t = 0;
    const bool allFound = forEachWord(typed, [&](std::string_view word) {
        ++t;
        return std::find(words.begin(), storedEnd, form(word)) != storedEnd;
    });
    if (!allFound)
        return Outcome::Differs;
    if (preferences.allWords && t != s)
        return Outcome::Differs;
    return Outcome::Right;
}

}  // namespace

AnswerVerdict compareAnswer(const Card& card, std::string_view typed,
                            const Preferences& preferences, Host& host) {
    return checkAnswerText(card.answer(), typed, preferences, host).verdict;
}

AnswerVerdict compareAnswerText(std::string_view stored, std::string_view typed,
                                const Preferences& preferences, Host& host) {
    return checkAnswerText(stored, typed, preferences, host).verdict;
}

AnswerCheck checkAnswer(const Card& card, std::string_view typed, const Preferences& preferences,
                        Host& host) {
    return checkAnswerText(card.answer(), typed, preferences, host);
}

AnswerCheck checkAnswerText(std::string_view stored, std::string_view typed,
                            const Preferences& preferences, Host& host) {
    // Two spellings of one text (a letter and its accent as one character or as two) are
    // the same answer whatever the preferences say.
    const Outcome exact =
        judge(stored, typed, preferences, [](std::string_view text) { return composedText(text); });
    if (exact == Outcome::Right)
        return {AnswerVerdict::Right, ToleratedDifference::None};

    if (preferences.ignoreCase || preferences.ignoreAccents) {
        const std::string_view storedText = stored;
        const std::string_view typedText = typed;
        struct Level {
            bool allowed;
            bool ignoreCase;
            bool ignoreAccents;
            ToleratedDifference tolerated;
        };
        // From the least let pass to the most, so that the user is told only what was
        // actually different.
        const Level levels[] = {
            {preferences.ignoreCase, true, false, ToleratedDifference::Case},
            {preferences.ignoreAccents, false, true, ToleratedDifference::Accents},
            {preferences.ignoreCase && preferences.ignoreAccents, true, true,
             ToleratedDifference::CaseAndAccents},
        };
        for (const Level& level : levels) {
            if (!level.allowed)
                continue;
            const auto form = [&level](std::string_view text) {
                return lenientForm(text, level.ignoreCase, level.ignoreAccents);
            };
            if (judge(storedText, typedText, preferences, form) == Outcome::Right)
                return {AnswerVerdict::Right, level.tolerated};
        }
    }

    if (exact == Outcome::TooManyMeanings)
        host.showError(Msg::TooManyMeanings);
    return {AnswerVerdict::Differs, ToleratedDifference::None};
}

std::vector<std::string_view> splitMeanings(std::string_view answer) {
    std::vector<std::string_view> meanings;
    forEachWord(answer, [&](std::string_view meaning) {
        meanings.push_back(meaning);
        return true;
    });
    return meanings;
}
