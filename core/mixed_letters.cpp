#include "core/mixed_letters.h"

#include <utf8proc.h>

#include <algorithm>

#include "core/answer_forms.h"
#include "core/random_source.h"
#include "core/unicode_text.h"

namespace {

// Blanks, control characters and punctuation (',' and ';' separate meanings; hyphens,
// apostrophes and brackets shape a word but are no letters to find).
bool staysInPlace(std::string_view character) {
    std::size_t pos = 0;
    const std::optional<char32_t> c = decodeUtf8(character, pos);
    if (!c)
        return false;
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(*c))) {
        case UTF8PROC_CATEGORY_ZS:
        case UTF8PROC_CATEGORY_ZL:
        case UTF8PROC_CATEGORY_ZP:
        case UTF8PROC_CATEGORY_CC:
        case UTF8PROC_CATEGORY_PC:
        case UTF8PROC_CATEGORY_PD:
        case UTF8PROC_CATEGORY_PS:
        case UTF8PROC_CATEGORY_PE:
        case UTF8PROC_CATEGORY_PI:
        case UTF8PROC_CATEGORY_PF:
        case UTF8PROC_CATEGORY_PO:
            return true;
        default:
            return false;
    }
}

}  // namespace

MixedLetters::MixedLetters(std::string_view text, RandomSource& random) : text_(text) {
    for (const std::string_view character : splitCharacters(text_)) {
        const bool fixed = staysInPlace(character);
        slots_.push_back(
            {static_cast<std::size_t>(character.data() - text_.data()), character.size(), fixed});
        if (!fixed)
            tiles_.emplace_back(character);
    }
    used_.assign(tiles_.size(), false);
    if (tiles_.size() < 2)
        return;

    std::vector<std::string> keys;
    for (const std::string& tile : tiles_)
        keys.push_back(canonicalKey(tile));
    std::vector<int> order(tiles_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    for (std::size_t i = order.size() - 1; i > 0; --i)
        std::swap(order[i],
                  order[static_cast<std::size_t>(randomBelow(random, static_cast<int>(i) + 1))]);
    // A shuffle may give the text back, and a learner shown the word unmixed learns
    // nothing. Turned by one place, a sequence differs from itself unless all its elements
    // are alike, and then no order differs.
    bool unmixed = true;
    for (std::size_t i = 0; i < order.size() && unmixed; ++i)
        unmixed = keys[static_cast<std::size_t>(order[i])] == keys[i];
    if (unmixed)
        std::rotate(order.begin(), order.begin() + 1, order.end());

    std::vector<std::string> shuffled;
    shuffled.reserve(tiles_.size());
    for (const int i : order)
        shuffled.push_back(tiles_[static_cast<std::size_t>(i)]);
    tiles_ = std::move(shuffled);
}

bool MixedLetters::tileUsed(int tile) const {
    return tile >= 0 && static_cast<std::size_t>(tile) < used_.size() &&
           used_[static_cast<std::size_t>(tile)];
}

MixedLetters::Pick MixedLetters::pick(int tile) {
    if (tile < 0 || static_cast<std::size_t>(tile) >= tiles_.size() || tileUsed(tile) || done())
        return Pick::Rejected;
    used_[static_cast<std::size_t>(tile)] = true;
    placed_.push_back(tile);
    return Pick::Accepted;
}

int MixedLetters::tileFor(std::string_view typed) const {
    const auto find = [&](auto&& same) {
        for (std::size_t i = 0; i < tiles_.size(); ++i) {
            if (!used_[i] && same(tiles_[i]))
                return static_cast<int>(i);
        }
        return -1;
    };
    if (typed.empty())
        return -1;
    int tile = find([&](const std::string& t) { return t == typed; });
    if (tile < 0) {
        const std::string key = canonicalKey(typed);
        tile = find([&](const std::string& t) { return canonicalKey(t) == key; });
    }
    if (tile < 0) {
        const std::string folded = lenientForm(typed, true, false);
        tile = find([&](const std::string& t) { return lenientForm(t, true, false) == folded; });
    }
    return tile;
}

int MixedLetters::undo() {
    if (placed_.empty())
        return -1;
    const int tile = placed_.back();
    placed_.pop_back();
    used_[static_cast<std::size_t>(tile)] = false;
    return tile;
}

std::string MixedLetters::built() const {
    std::string text;
    std::size_t next = 0;
    for (const Slot& slot : slots_) {
        if (slot.fixed) {
            text.append(text_, slot.begin, slot.size);
            continue;
        }
        if (next == placed_.size())
            break;
        text += tiles_[static_cast<std::size_t>(placed_[next++])];
    }
    return text;
}
