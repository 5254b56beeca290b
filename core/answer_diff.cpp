#include "core/answer_diff.h"

#include <algorithm>
#include <limits>

#include "core/answer_check.h"
#include "core/card.h"
#include "core/preferences.h"
#include "core/unicode_text.h"

namespace {

using Characters = std::vector<std::string_view>;

// Edit distances between every start of a and every start of b (Levenshtein), row by row.
std::vector<std::vector<int>> distanceTable(const Characters& a, const Characters& b) {
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = static_cast<int>(i);
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int replace = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            d[i][j] = std::min({replace, d[i - 1][j] + 1, d[i][j - 1] + 1});
        }
    }
    return d;
}

int editDistance(const Characters& a, const Characters& b) {
    return distanceTable(a, b)[a.size()][b.size()];
}

std::vector<DiffSegment> diffSplit(const Characters& typed, const Characters& stored) {
    const auto d = distanceTable(typed, stored);
    enum class Step { Same, Replace, TypedOnly, StoredOnly };
    std::vector<Step> steps;
    // Walked back from the ends, taking a shared letter whenever it keeps the distance,
    // then a replaced letter, then a missing one, then an extra one.
    std::size_t i = typed.size();
    std::size_t j = stored.size();
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && typed[i - 1] == stored[j - 1] && d[i][j] == d[i - 1][j - 1]) {
            steps.push_back(Step::Same);
            --i;
            --j;
        } else if (i > 0 && j > 0 && d[i][j] == d[i - 1][j - 1] + 1) {
            steps.push_back(Step::Replace);
            --i;
            --j;
        } else if (j > 0 && d[i][j] == d[i][j - 1] + 1) {
            steps.push_back(Step::StoredOnly);
            --j;
        } else {
            steps.push_back(Step::TypedOnly);
            --i;
        }
    }
    std::reverse(steps.begin(), steps.end());

    // Consecutive changes make one difference: what was typed there, then what is stored.
    std::vector<DiffSegment> segments;
    std::string same;
    std::string typedRun;
    std::string storedRun;
    auto flushChange = [&] {
        if (!typedRun.empty())
            segments.push_back({DiffPart::TypedOnly, std::move(typedRun)});
        if (!storedRun.empty())
            segments.push_back({DiffPart::StoredOnly, std::move(storedRun)});
        typedRun.clear();
        storedRun.clear();
    };
    i = 0;
    j = 0;
    for (const Step step : steps) {
        if (step == Step::Same) {
            flushChange();
            same += typed[i++];
            ++j;
            continue;
        }
        if (!same.empty()) {
            segments.push_back({DiffPart::Same, std::move(same)});
            same.clear();
        }
        if (step != Step::StoredOnly)
            typedRun += typed[i++];
        if (step != Step::TypedOnly)
            storedRun += stored[j++];
    }
    flushChange();
    if (!same.empty())
        segments.push_back({DiffPart::Same, std::move(same)});
    return segments;
}

// ---- The description -----------------------------------------------------------------

// Texts longer than this are not read out whole; the changes alone locate the difference.
constexpr std::size_t kLongText = 24;
// More changes in one meaning than this are counted, not listed.
constexpr std::size_t kListedChanges = 3;
// More differing meanings than this are counted after the first ones.
constexpr std::size_t kListedMeanings = 3;

// Separators and blanks are named: a screen reader may pass over them in silence.
std::string spoken(std::string_view text) {
    if (text.empty())
        return "nothing";
    if (text.find_first_not_of(" ,;") != std::string_view::npos)
        return std::string(text);
    std::string words;
    for (const char c : text) {
        if (!words.empty())
            words += ' ';
        words += c == ' ' ? "space" : c == ',' ? "comma" : "semicolon";
    }
    return words;
}

// A meaning read out in passing: long ones only by their start.
std::string shortened(std::string_view text) {
    if (characterCount(text) <= kLongText)
        return spoken(text);
    return std::string(firstCharacters(text, kLongText)) + "\xE2\x80\xA6";  // …
}

std::string lastCharacter(std::string_view text) {
    const Characters characters = splitCharacters(text);
    return characters.empty() ? std::string() : std::string(characters.back());
}

std::string describeChanges(const std::vector<DiffSegment>& segments) {
    struct Change {
        std::string typed;
        std::string stored;
        std::string after;  // the letter before it; empty at the start
        bool atEnd = false;
    };
    std::vector<Change> changes;
    std::string previousSame;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const DiffSegment& segment = segments[k];
        if (segment.part == DiffPart::Same) {
            previousSame = segment.text;
            continue;
        }
        Change change;
        change.after = lastCharacter(previousSame);
        if (segment.part == DiffPart::TypedOnly) {
            change.typed = segment.text;
            if (k + 1 < segments.size() && segments[k + 1].part == DiffPart::StoredOnly)
                change.stored = segments[++k].text;
        } else {
            change.stored = segment.text;
        }
        change.atEnd = k + 1 == segments.size();
        changes.push_back(std::move(change));
        previousSame.clear();
    }
    if (changes.size() > kListedChanges)
        return "differs in " + std::to_string(changes.size()) + " places";

    std::string text;
    for (const Change& change : changes) {
        if (!text.empty())
            text += ", ";
        if (!change.typed.empty() && !change.stored.empty()) {
            text += spoken(change.typed) + " instead of " + spoken(change.stored);
            continue;
        }
        text += change.typed.empty() ? "missing " + spoken(change.stored)
                                     : "extra " + spoken(change.typed);
        if (change.after.empty())
            text += " at the start";
        else if (change.atEnd)
            text += " at the end";
        else
            text += " after " + spoken(change.after);
    }
    return text;
}

std::string describePair(const MeaningDiff& meaning) {
    const bool shared = std::any_of(meaning.segments.begin(), meaning.segments.end(),
                                    [](const DiffSegment& s) { return s.part == DiffPart::Same; });
    const bool shortTexts =
        characterCount(meaning.typed) <= kLongText && characterCount(meaning.stored) <= kLongText;
    if (!shortTexts)
        return shared ? describeChanges(meaning.segments) : "a different meaning";
    std::string text = "typed " + spoken(meaning.typed) + ", stored " + spoken(meaning.stored);
    if (shared)
        text += ": " + describeChanges(meaning.segments);
    return text;
}

std::string describe(const AnswerDiff& diff, std::string_view stored) {
    if (diff.otherOrder)
        return "the right meanings in another order: " + std::string(stored);
    std::vector<std::string> items;
    for (const MeaningDiff& meaning : diff.meanings) {
        if (!meaning.differs())
            continue;
        switch (meaning.kind) {
            case MeaningDiff::Kind::Paired:
                items.push_back(describePair(meaning));
                break;
            case MeaningDiff::Kind::Missing:
                items.push_back(meaning.stored.empty()
                                    ? "missing empty meaning"
                                    : "missing meaning " + shortened(meaning.stored));
                break;
            case MeaningDiff::Kind::Extra:
                items.push_back(meaning.typed.empty()
                                    ? "extra empty meaning"
                                    : "extra meaning " + shortened(meaning.typed));
                break;
        }
    }
    if (items.empty())
        return "no difference";
    std::string text;
    for (std::size_t k = 0; k < items.size() && k < kListedMeanings; ++k) {
        if (k > 0)
            text += "; ";
        text += items[k];
    }
    if (items.size() > kListedMeanings)
        text += "; and " + std::to_string(items.size() - kListedMeanings) + " more";
    return text;
}

MeaningDiff paired(std::string_view typed, const Characters& typedCharacters,
                   std::string_view stored, const Characters& storedCharacters) {
    return {MeaningDiff::Kind::Paired, std::string(typed), std::string(stored),
            diffSplit(typedCharacters, storedCharacters)};
}

MeaningDiff missing(std::string_view stored) {
    MeaningDiff meaning{MeaningDiff::Kind::Missing, {}, std::string(stored), {}};
    if (!stored.empty())
        meaning.segments.push_back({DiffPart::StoredOnly, meaning.stored});
    return meaning;
}

MeaningDiff extra(std::string_view typed) {
    MeaningDiff meaning{MeaningDiff::Kind::Extra, std::string(typed), {}, {}};
    if (!typed.empty())
        meaning.segments.push_back({DiffPart::TypedOnly, meaning.typed});
    return meaning;
}

}  // namespace

bool MeaningDiff::differs() const {
    return kind != Kind::Paired ||
           std::any_of(segments.begin(), segments.end(),
                       [](const DiffSegment& s) { return s.part != DiffPart::Same; });
}

AnswerDiff diffAnswer(const Card& card, std::string_view typedCardText,
                      const Preferences& preferences) {
    return diffAnswerText(typedCardText, card.answer(), preferences);
}

AnswerDiff diffAnswerText(std::string_view typedAnswer, std::string_view storedAnswer,
                          const Preferences& preferences) {
    // Both answers in composed form, so that "é" written as e plus a combining accent is
    // the same letter as "é" written as one character, and the diff shows no difference
    // nobody sees. The composed text reads the same as the text typed or stored.
    const std::string typedText = composedText(typedAnswer);
    const std::string storedText = composedText(storedAnswer);
    const std::vector<std::string_view> typed = splitMeanings(typedText);
    const std::vector<std::string_view> stored = splitMeanings(storedText);
    std::vector<Characters> typedCharacters;
    std::vector<Characters> storedCharacters;
    for (std::string_view meaning : typed)
        typedCharacters.push_back(splitCharacters(meaning));
    for (std::string_view meaning : stored)
        storedCharacters.push_back(splitCharacters(meaning));

    AnswerDiff diff;
    if (preferences.strictOrder) {
        if (typed == stored) {
            // The same meanings with other separators or blanks between them: only the
            // whole texts show where.
            diff.meanings.push_back(paired(typedText, splitCharacters(typedText), storedText,
                                           splitCharacters(storedText)));
        } else {
            diff.otherOrder = typed.size() == stored.size() &&
                              std::is_permutation(typed.begin(), typed.end(), stored.begin());
            for (std::size_t k = 0; k < std::max(typed.size(), stored.size()); ++k) {
                if (k >= stored.size())
                    diff.meanings.push_back(extra(typed[k]));
                else if (k >= typed.size())
                    diff.meanings.push_back(missing(stored[k]));
                else
                    diff.meanings.push_back(
                        paired(typed[k], typedCharacters[k], stored[k], storedCharacters[k]));
            }
        }
        diff.description = describe(diff, storedText);
        return diff;
    }

    // A typed meaning equal to a stored one is right however often it is typed, as the
    // checking has it; the others take the closest stored meaning still free, the
    // closest pair first.
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> partner(typed.size(), kNone);
    std::vector<bool> taken(stored.size(), false);
    for (std::size_t t = 0; t < typed.size(); ++t) {
        const auto equal = std::find(stored.begin(), stored.end(), typed[t]);
        if (equal != stored.end()) {
            partner[t] = static_cast<std::size_t>(equal - stored.begin());
            taken[partner[t]] = true;
        }
    }
    struct Candidate {
        int distance;
        std::size_t t;
        std::size_t s;
    };
    std::vector<Candidate> candidates;
    for (std::size_t t = 0; t < typed.size(); ++t) {
        if (partner[t] != kNone)
            continue;
        for (std::size_t s = 0; s < stored.size(); ++s) {
            if (!taken[s])
                candidates.push_back({editDistance(typedCharacters[t], storedCharacters[s]), t, s});
        }
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
    for (const Candidate& c : candidates) {
        if (partner[c.t] != kNone || taken[c.s])
            continue;
        partner[c.t] = c.s;
        taken[c.s] = true;
    }

    for (std::size_t t = 0; t < typed.size(); ++t) {
        if (partner[t] == kNone)
            diff.meanings.push_back(extra(typed[t]));
        else
            diff.meanings.push_back(paired(typed[t], typedCharacters[t], stored[partner[t]],
                                           storedCharacters[partner[t]]));
    }
    if (preferences.allWords) {
        for (std::size_t s = 0; s < stored.size(); ++s) {
            if (!taken[s])
                diff.meanings.push_back(missing(stored[s]));
        }
    }
    diff.description = describe(diff, storedText);
    return diff;
}
