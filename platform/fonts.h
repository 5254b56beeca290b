#pragma once

#include <QFont>

#include "store/log_font.h"

// Conversion between font records and Qt fonts. A record whose face is not installed
// still makes a font (Qt substitutes a face), and the record is kept unchanged for
// saving; only a record with no usable size or face is unusable.
QFont toQFont(const LogFont& font);
LogFont fromQFont(const QFont& font);
bool fontUsable(const LogFont& font);
// The record with its height replaced by a character height of `height` units
// (a negative height: the size of the characters without their internal leading).
LogFont withCharacterHeight(LogFont font, int height);
