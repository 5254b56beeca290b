#pragma once

#include <span>

#include "core/card_candidate.h"

class ByteSink;

// Writes the cards as UTF-8 text that other trainers import as they are: the header lines
// "#separator:tab", "#html:false" and "#columns:" naming the four columns (Question,
// Answer, Lesson, Additional information), then one row a card. A field holding a TAB, a
// double quote or a line break, or starting with "#", is put in double quotes with its
// quotes doubled, so that the row reads back as written. Returns false when the sink failed.
bool writeExchangeText(ByteSink& sink, std::span<const CardRecord> cards);
