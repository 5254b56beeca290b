#include "core/answer_forms.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/answer_check.h"
#include "core/card.h"
#include "core/card_list.h"
#include "core/random_source.h"
#include "core/unicode_text.h"

Direction drawDirection(DirectionChoice choice, RandomSource& random) {
    switch (choice) {
        case DirectionChoice::QuestionToAnswer:
            return Direction::QuestionToAnswer;
        case DirectionChoice::AnswerToQuestion:
            return Direction::AnswerToQuestion;
        case DirectionChoice::Mixed:
            break;
    }
    return randomBelow(random, 2) == 0 ? Direction::QuestionToAnswer : Direction::AnswerToQuestion;
}

std::string_view askedText(const Card& card, Direction direction) {
    return direction == Direction::AnswerToQuestion ? card.answer() : card.question();
}

std::string_view expectedText(const Card& card, Direction direction) {
    return direction == Direction::AnswerToQuestion ? card.question() : card.answer();
}

std::string canonicalKey(std::string_view text) {
    // The decomposed form: two texts decompose alike exactly when they are canonically
    // equivalent.
    return lenientForm(text, false, false);
}

namespace {

// Scripts as far as choosing look-alike wrong choices needs them: the blocks of the
// common scripts, each Indic block a script of its own, Han and kana one (Japanese mixes
// them in one word). Letters of other blocks count as one script a block.
enum Script : uint32_t {
    kNoLetter = 0,
    kLatin,
    kGreek,
    kCyrillic,
    kArmenian,
    kHebrew,
    kArabic,
    kThai,
    kLao,
    kTibetan,
    kMyanmar,
    kGeorgian,
    kHangul,
    kEthiopic,
    kHanKana,
    kIndicFirst,  // one a 128-character block from U+0900 to U+0DFF
    kOtherBlockFirst = 0x100,
};

struct ScriptRange {
    char32_t first;
    char32_t last;
    Script script;
};

constexpr ScriptRange kScriptRanges[] = {
    {0x0000, 0x02AF, kLatin},    {0x0370, 0x03FF, kGreek},     {0x0400, 0x052F, kCyrillic},
    {0x0530, 0x058F, kArmenian}, {0x0590, 0x05FF, kHebrew},    {0x0600, 0x08FF, kArabic},
    {0x0E00, 0x0E7F, kThai},     {0x0E80, 0x0EFF, kLao},       {0x0F00, 0x0FFF, kTibetan},
    {0x1000, 0x109F, kMyanmar},  {0x10A0, 0x10FF, kGeorgian},  {0x1100, 0x11FF, kHangul},
    {0x1200, 0x139F, kEthiopic}, {0x1C80, 0x1C8F, kCyrillic},  {0x1C90, 0x1CBF, kGeorgian},
    {0x1E00, 0x1EFF, kLatin},    {0x1F00, 0x1FFF, kGreek},     {0x2C60, 0x2C7F, kLatin},
    {0x2D00, 0x2D2F, kGeorgian}, {0x2DE0, 0x2DFF, kCyrillic},  {0x3040, 0x30FF, kHanKana},
    {0x3130, 0x318F, kHangul},   {0x31F0, 0x31FF, kHanKana},   {0x3400, 0x4DBF, kHanKana},
    {0x4E00, 0x9FFF, kHanKana},  {0xA640, 0xA69F, kCyrillic},  {0xA720, 0xA7FF, kLatin},
    {0xAC00, 0xD7AF, kHangul},   {0xF900, 0xFAFF, kHanKana},   {0xFB1D, 0xFB4F, kHebrew},
    {0xFB50, 0xFDFF, kArabic},   {0xFE70, 0xFEFF, kArabic},    {0xFF21, 0xFF5A, kLatin},
    {0xFF66, 0xFF9F, kHanKana},  {0x20000, 0x3FFFF, kHanKana},
};

uint32_t scriptOfLetter(char32_t c) {
    if (c >= 0x0900 && c <= 0x0DFF)
        return kIndicFirst + (c - 0x0900) / 0x80;
    for (const ScriptRange& range : kScriptRanges) {
        if (c >= range.first && c <= range.last)
            return range.script;
    }
    return kOtherBlockFirst + (c >> 7);
}

bool isLetter(char32_t c) {
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(c))) {
        case UTF8PROC_CATEGORY_LU:
        case UTF8PROC_CATEGORY_LL:
        case UTF8PROC_CATEGORY_LT:
        case UTF8PROC_CATEGORY_LM:
        case UTF8PROC_CATEGORY_LO:
            return true;
        default:
            return false;
    }
}

// The script of the first letter of the text; texts without letters (numbers, signs)
// make a group of their own.
uint32_t scriptOf(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::optional<char32_t> c = decodeUtf8(text, pos);
        if (c && isLetter(*c))
            return scriptOfLetter(*c);
    }
    return kNoLetter;
}

// The canonical keys of the text's non-empty meanings, blanks around them left out,
// sorted and each once: two texts holding the same meanings in another order have the
// same keys.
std::vector<std::string> meaningKeys(std::string_view text) {
    std::vector<std::string> keys;
    for (std::string_view meaning : splitMeanings(text)) {
        while (!meaning.empty() && meaning.front() == ' ')
            meaning.remove_prefix(1);
        while (!meaning.empty() && meaning.back() == ' ')
            meaning.remove_suffix(1);
        if (!meaning.empty())
            keys.push_back(canonicalKey(meaning));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

bool shareMeaning(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    auto i = a.begin();
    auto j = b.begin();
    while (i != a.end() && j != b.end()) {
        if (*i == *j)
            return true;
        if (*i < *j)
            ++i;
        else
            ++j;
    }
    return false;
}

}  // namespace

ChoiceSet makeChoices(const Card& card, Direction direction, std::span<const CardList* const> pools,
                      RandomSource& random) {
    ChoiceSet set;
    const std::string_view rightText = expectedText(card, direction);
    const std::vector<std::string> rightKeys = meaningKeys(rightText);
    if (rightKeys.empty()) {
        // Nothing a button could show as the right choice.
        set.typedInstead = true;
        return set;
    }
    const std::vector<std::string> askedKeys = meaningKeys(askedText(card, direction));
    const uint32_t script = scriptOf(rightText);

    // Tier 0: same lesson and script; 1: same script; 2: same lesson; 3: the rest.
    std::array<std::vector<const Card*>, 4> tiers;
    for (const CardList* pool : pools) {
        pool->forEach([&](const Card* other) {
            if (other == &card)
                return;
            const int tier = (scriptOf(expectedText(*other, direction)) == script ? 0 : 2) +
                             (other->lesson() == card.lesson() ? 0 : 1);
            tiers[static_cast<std::size_t>(tier)].push_back(other);
        });
    }

    // Cards are drawn at random from a tier and only the drawn ones are looked at closely,
    // so that a question costs little more than one pass over the list.
    constexpr std::size_t kWrongChoices = kMaxChoices - 1;
    std::vector<std::vector<std::string>> takenKeys;
    for (std::vector<const Card*>& tier : tiers) {
        while (set.texts.size() < kWrongChoices && !tier.empty()) {
            const auto drawn =
                static_cast<std::size_t>(randomBelow(random, static_cast<int>(tier.size())));
            std::swap(tier[drawn], tier.back());
            const Card& other = *tier.back();
            tier.pop_back();
            const std::string_view text = expectedText(other, direction);
            std::vector<std::string> keys = meaningKeys(text);
            if (keys.empty() || shareMeaning(keys, rightKeys) ||
                shareMeaning(meaningKeys(askedText(other, direction)), askedKeys) ||
                std::find(takenKeys.begin(), takenKeys.end(), keys) != takenKeys.end())
                continue;
            takenKeys.push_back(std::move(keys));
            set.texts.emplace_back(text);
        }
    }
    if (set.texts.empty()) {
        set.typedInstead = true;
        return set;
    }
    set.right = randomBelow(random, static_cast<int>(set.texts.size()) + 1);
    set.texts.emplace(set.texts.begin() + set.right, rightText);
    return set;
}

ChoiceSet makeChoices(const Card& card, Direction direction, const CardList& pool,
                      RandomSource& random) {
    const CardList* pools[] = {&pool};
    return makeChoices(card, direction, pools, random);
}
