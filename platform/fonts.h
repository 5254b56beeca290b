#pragma once

#include <QFont>

#include "core/log_font.h"

// Conversion between font records and Qt fonts. A record whose face is not installed
// still makes a font (Qt substitutes a face), and the record is kept unchanged for
// saving; only a record with no usable size or face is unusable.
//
// Heights in a record are pixels at 96 dots per inch, the unit the records of list files
// were written in: a negative height is the character height, a positive one the cell
// height (characters with their internal leading), 0 the default size.
inline constexpr int kRecordDotsPerInch = 96;

QFont toQFont(const LogFont& font);
// A record of a Qt font: face, height, weight, italic, underline and strike-out. The
// fields Qt fonts do not carry (width, escapement, precisions...) are 0, the character
// set the default one. Face characters a list file cannot hold are left out.
LogFont fromQFont(const QFont& font);
// False for records no font should be made from: no face name, a face name that is too
// long or holds control characters, a height beyond any screen, a weight outside 0..1000.
bool fontUsable(const LogFont& font);
// The record with its height replaced by a character height of `height` units
// (a negative height: the size of the characters without their internal leading).
LogFont withCharacterHeight(LogFont font, int height);

// The font to preset a font dialog with: the record's font with its size in points,
// which is how font dialogs show sizes.
QFont fontForFontDialog(const LogFont& preset);
// The record after the user pressed OK in a font dialog preset to `preset`. What the
// user left alone keeps the preset's values, including a face that is not installed
// here (the dialog can only show a substitute for it) and the fields Qt cannot show;
// what the user changed comes from the chosen font.
LogFont mergeChosenFont(const LogFont& preset, const QFont& chosen);
