#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/card_list.h"
#include "core/list_ops.h"

// The decisions behind the overview table, apart from its window.

// One row of the overview: the card, and the card as it was when the table was filled.
// The copy shares the card's texts in the store's text arena, which keeps every text it
// was given until the document is emptied, so a later change of the card does not reach
// the row. The overview is closed before the document is emptied.
struct OverviewRow {
    Card* card;
    Card shown;
};

// One row per card of the list, in slot order, into `rows` (whose memory is reused: a
// table of a million rows is filled again on every sort).
void snapshotRows(const CardList& list, std::vector<OverviewRow>& rows);

// The first row from `from` on whose question, answer or additional information contains
// `text` (case-sensitive, either spelling of an accented letter matching the other; an
// empty text is in every row); when there is
// none from there on, the first such row of the whole table. None when no row has it.
std::optional<std::size_t> findRowContaining(const std::vector<OverviewRow>& rows,
                                             std::string_view text, std::size_t from);

// The sort key of a column of the table; the additional information sorts nothing.
std::optional<SortKey> sortKeyOfColumn(int column);

// The level marker of a card: an index into the strip of eight level images (0 light
// green for the highest learning levels down to 4 dark red for level 0, 5 the plain patch
// for levels at or above 5), or -1 where a negative level points past the strip.
int levelImageIndex(int32_t level);

// Texts compared without regard to case (and to how accented letters are encoded).
bool equalIgnoringCase(std::string_view a, std::string_view b);

// The lessons of the unknown and then the known cards, each once regardless of case (in
// the spelling met first), the one met last first.
std::vector<std::string_view> distinctLessons(const CardList& unknown, const CardList& known);

// Inserts into `target`, lesson by lesson in the given order, the unknown cards whose
// lesson is that text (in either spelling of its accented letters) and then the known ones, each in
// slot order. The same as selectByLesson over both lists for every lesson, in one walk of each
// list.
void selectLessons(const CardList& unknown, const CardList& known,
                   const std::vector<std::string_view>& lessons, CardList& target);
