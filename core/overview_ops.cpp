#include "core/overview_ops.h"

#include <utf8proc.h>

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/unicode_text.h"
#include "core/windows1252.h"

namespace {

// Lower case of a character, for telling lessons apart. Characters Windows-1252 holds fold
// as they always have: A to Z, the accented capitals from U+00C0 (but not the
// multiplication sign, and not sharp s), and S and Z caron, OE and Y diaeresis; every other
// character folds by Unicode, so that Greek, Cyrillic, Polish or Turkish lesson names
// written in capitals are the same lessons.
char32_t foldCharacter(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    switch (c) {
        case 0x160:  // S caron
        case 0x152:  // OE
        case 0x17D:  // Z caron
            return c + 1;
        case 0x178:  // Y diaeresis
            return 0xFF;
        default:
            break;
    }
    if (c < 0x80 || windows1252ByteOf(c) >= 0)
        return c;
    return static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(c)));
}

std::string folded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(foldCharacter(byte)));
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        if (const std::optional<char32_t> c = decodeUtf8(text, pos)) {
            appendUtf8(out, foldCharacter(*c));
        } else {
            out.append(text.substr(start, pos - start));
        }
    }
    return out;
}

// `text` is composed already; a field is composed for the search only when it is not.
bool fieldContains(std::string_view field, std::string_view text) {
    std::string storage;
    return composedView(field, storage).find(text) != std::string_view::npos;
}

bool rowContains(const Card& card, std::string_view text) {
    return fieldContains(card.question(), text) || fieldContains(card.answer(), text) ||
           fieldContains(card.addInfo(), text);
}

}  // namespace

void snapshotRows(const CardList& list, std::vector<OverviewRow>& rows) {
    rows.clear();
    rows.reserve(static_cast<std::size_t>(list.count()));
    list.forEach([&](Card* card) { rows.push_back({card, *card}); });
}

std::optional<std::size_t> findRowContaining(const std::vector<OverviewRow>& rows,
                                             std::string_view typed, std::size_t from) {
    std::string storage;
    const std::string_view text = composedView(typed, storage);
    for (std::size_t i = from; i < rows.size(); ++i) {
        if (rowContains(rows[i].shown, text))
            return i;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rowContains(rows[i].shown, text))
            return i;
    }
    return std::nullopt;
}

std::optional<SortKey> sortKeyOfColumn(int column) {
    switch (column) {
        case 0:
            return SortKey::Question;
        case 1:
            return SortKey::Answer;
        case 3:
            return SortKey::Lesson;
        case 4:
            return SortKey::Id;
        case 5:
            return SortKey::Level;
        default:
            return std::nullopt;
    }
}

int levelImageIndex(int32_t level) {
    constexpr int kStripLength = 8;
    if (level >= 5)
        return 5;
    const int64_t index = 4 - int64_t{level};
    return index < kStripLength ? static_cast<int>(index) : -1;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a == b)
        return true;
    std::string storageA;
    std::string storageB;
    return folded(composedView(a, storageA)) == folded(composedView(b, storageB));
}

std::vector<std::string_view> distinctLessons(const CardList& unknown, const CardList& known) {
    std::vector<std::string_view> lessons;
    std::unordered_set<std::string_view> seenExactly;  // spares folding the usual repeats
    std::unordered_set<std::string> seenFolded;
    auto visit = [&](const Card* card) {
        const std::string_view lesson = card->lesson();
        if (!seenExactly.insert(lesson).second)
            return;
        std::string storage;
        if (seenFolded.insert(folded(composedView(lesson, storage))).second)
            lessons.push_back(lesson);
    };
    unknown.forEach(visit);
    known.forEach(visit);
    std::reverse(lessons.begin(), lessons.end());
    return lessons;
}

void selectLessons(const CardList& unknown, const CardList& known,
                   const std::vector<std::string_view>& lessons, CardList& target) {
    // Keyed by the composed forms, so that both spellings of an accented lesson name find
    // their lesson.
    std::vector<std::string> keys(lessons.size());
    std::unordered_map<std::string_view, std::size_t> position;
    for (std::size_t i = 0; i < lessons.size(); ++i)
        position.emplace(composedView(lessons[i], keys[i]), i);
    std::vector<std::vector<Card*>> fromUnknown(lessons.size());
    std::vector<std::vector<Card*>> fromKnown(lessons.size());
    auto sortInto = [&](std::vector<std::vector<Card*>>& buckets) {
        return [&](Card* card) {
            std::string storage;
            auto it = position.find(composedView(card->lesson(), storage));
            if (it != position.end())
                buckets[it->second].push_back(card);
        };
    };
    unknown.forEach(sortInto(fromUnknown));
    known.forEach(sortInto(fromKnown));
    for (std::size_t i = 0; i < lessons.size(); ++i) {
        for (Card* card : fromUnknown[i])
            target.insert(card);
        for (Card* card : fromKnown[i])
            target.insert(card);
    }
}
