#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/document_info.h"
#include "core/log_font.h"

class ByteSource;
class CardList;
class CardStore;
class Host;

// The largest list file the reader opens. The format has no card limit of its own, so
// the bound is a generous one: 1 GiB holds more than three million cards with every text
// at its limit (a row is at most 100+100+10+100 text bytes, two numbers of at most 11
// characters, five TABs and CR LF: 339 bytes) and more than twenty times the million-card
// list of the benchmarks (about 46 MB). Every card takes at least two bytes of a file, so
// the counts of a report (signed 32 bits) cannot overflow below it.
inline constexpr int64_t kMaxListFileBytes = int64_t{1} << 30;

// Reads a list file into the store: version 2.0 (first byte 0x80), version 1.0.2 (0x7F),
// the Unicode list (first byte 0x7E, told by its whole first two lines
// "~#File fuer Mnemprogramm" and "#Format Version 3.0, UTF-8") or tab-separated text (any
// other first byte, also an empty file); any other file beginning with 0x7E is an old
// format that is refused with message 123 and status 1. Cards of the unknown list (and of
// versions 1.0.2 and text, all cards) go into `target`, the known cards of a version 2.0
// or Unicode list into the store's knownList; nothing is emptied first. The two font
// records of those two formats replace `questionFont` and `answerFont`, each one the user
// cannot use first going through the font dialog (message 176).
//
// Every text reaches the store as UTF-8. Versions 2.0 and 1.0.2 are Windows-1252, their
// limits counted in bytes of the file as ever. The Unicode list is laid out like version
// 2.0 with UTF-8 texts and face names, its limits counted in characters (unicode_text.h)
// and held to the bytes the store keeps for them; an overlong field spills into the next
// one as in version 2.0. A text file is read whole first to tell its encoding: a
// byte-order mark says UTF-8 or UTF-16 (little or big endian), else a file that is
// well-formed UTF-8 and not only ASCII is UTF-8, else it is Windows-1252, read exactly as
// it always was; its UTF-8 and UTF-16 texts count characters like the Unicode list. In
// UTF-8 and UTF-16, every sequence that is no character becomes U+FFFD, and
// `repairedTexts` counts the texts that held one; `unicode` says the file was the
// Unicode list.
//
// A file that is none of the list formats by its first byte and whose first KiB are not
// text (looksLikeText, tolerating a few stray control characters) gives status 1 and
// NotText, and changes nothing.
//
// A file that cannot be opened gives status 1 and changes nothing, without a message;
// `failure` says why. Only a regular file of at most kMaxListFileBytes is opened: a
// folder, device, socket or named pipe (never waited for) gives NotRegularFile, a larger
// file TooLarge. Reading stops at the first number that cannot be read; what was read so
// far stays and the status is 0. `modified` is clear afterwards.
//
// A file whose end is not where its format ends it is still read as far as it goes, but
// the report says `incomplete` (status stays 0): the data ends inside the header, the
// font records or a card row of a version 1.0.2 or 2.0 file (a row is whole only with its
// line end), a version 2.0 file ends before the empty line behind its unknown cards, a
// tab-separated file ends inside the question of its last line (a line without TAB; a
// last line without line end is whole otherwise), reading stopped at a number it could
// not read, or the file could not be read to its end. The card being read when the data
// ended is kept like every other (cardsRead() counts it). A cut that falls exactly
// between two known rows of a version 2.0 file, or between two rows of the other formats,
// cannot be told from a shorter whole file. `stamp` is the file as it was opened.
DocumentInfo readListFile(const std::string& path, CardStore& store, CardList& target,
                          LogFont& questionFont, LogFont& answerFont, Host& host);

// The same rules over any source of bytes.
DocumentInfo readListFrom(ByteSource& source, const std::string& name, CardStore& store,
                          CardList& target, LogFont& questionFont, LogFont& answerFont, Host& host);
