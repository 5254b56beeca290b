#pragma once

#include <span>

#include "core/card_candidate.h"

class ByteSink;

// Writes the cards as UTF-8 text that other trainers import as they are. The header lines
// follow Anki's rules for text files, so that Anki's import with its default choices puts
// the question on the front, the answer on the back and the lesson into the tags:
//   #separator:tab, #html:false, #notetype:Basic, #tags column:5 and
//   #columns:Front, Back, Lesson, Additional information, Tags
// (Anki maps the columns to the fields of the note type by these names). The fifth column
// holds the lesson as one tag, its blanks written as "_". The blank "-" of a lesson or of
// additional information is written as an empty field. A field holding a TAB, a double
// quote or a line break, or starting with "#", is put in double quotes with its quotes
// doubled, so that the row reads back as written. Returns false when the sink failed.
bool writeExchangeText(ByteSink& sink, std::span<const CardRecord> cards);
