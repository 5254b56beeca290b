#include "core/overview_ops.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

// Lower case of a Windows-1252 byte: ASCII, the accented capitals from 0xC0 (but not the
// multiplication sign) and the four capitals placed among the punctuation.
unsigned char foldCase(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:  // S caron
        case 0x8C:  // OE
        case 0x8E:  // Z caron
            return static_cast<unsigned char>(c + 0x10);
        case 0x9F:  // Y diaeresis
            return 0xFF;
        default:
            return c;
    }
}

std::string folded(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(foldCase(static_cast<unsigned char>(c)));
    return out;
}

bool rowContains(const Card& card, std::string_view text) {
    return card.question().find(text) != std::string_view::npos ||
           card.answer().find(text) != std::string_view::npos ||
           card.addInfo().find(text) != std::string_view::npos;
}

}  // namespace

void snapshotRows(const CardList& list, std::vector<OverviewRow>& rows) {
    rows.clear();
    rows.reserve(static_cast<std::size_t>(list.count()));
    list.forEach([&](Card* card) { rows.push_back({card, *card}); });
}

std::optional<std::size_t> findRowContaining(const std::vector<OverviewRow>& rows,
                                             std::string_view text, std::size_t from) {
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
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldCase(static_cast<unsigned char>(x)) ==
                      foldCase(static_cast<unsigned char>(y));
           });
}

std::vector<std::string_view> distinctLessons(const CardList& unknown, const CardList& known) {
    std::vector<std::string_view> lessons;
    std::unordered_set<std::string_view> seenExactly;  // spares folding the usual repeats
    std::unordered_set<std::string> seenFolded;
    auto visit = [&](const Card* card) {
        const std::string_view lesson = card->lesson();
        if (!seenExactly.insert(lesson).second)
            return;
        if (seenFolded.insert(folded(lesson)).second)
            lessons.push_back(lesson);
    };
    unknown.forEach(visit);
    known.forEach(visit);
    std::reverse(lessons.begin(), lessons.end());
    return lessons;
}

void selectLessons(const CardList& unknown, const CardList& known,
                   const std::vector<std::string_view>& lessons, CardList& target) {
    std::unordered_map<std::string_view, std::size_t> position;
    for (std::size_t i = 0; i < lessons.size(); ++i)
        position.emplace(lessons[i], i);
    std::vector<std::vector<Card*>> fromUnknown(lessons.size());
    std::vector<std::vector<Card*>> fromKnown(lessons.size());
    auto sortInto = [&](std::vector<std::vector<Card*>>& buckets) {
        return [&](Card* card) {
            auto it = position.find(card->lesson());
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
