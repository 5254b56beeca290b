#pragma once

#include <cstdint>
#include <string>

#include "core/document_info.h"
#include "core/log_font.h"
#include "core/safe_file.h"

class Card;
class CardStore;
class FontDebugLog;
class Host;

// The list formats a document can be saved in. Version 2.0 is the one every older program
// reads, in Windows-1252; the Unicode list is laid out the same way with UTF-8 texts and a
// first line that older programs refuse (it begins with 0x7E) instead of misreading it.
enum class ListFileFormat : uint8_t { Version20, Unicode };

// Writes the document as a list file of the format: the unknown list, an empty line, the
// known list, with both font records in front; each font is also logged in `log`.
// An empty document is refused with message 102 (status 0, nothing written). The file is
// replaced only once the new one is completely on disk; any failure gives status 1, an
// empty format and counts 0, and leaves the old file as it was; `failure` says why
// (ReadOnly for a file without write permission, NotRegularFile for a folder, device,
// pipe or socket, NotWindows1252 for version 2.0 when a card text holds a character
// Windows-1252 cannot hold, which is then refused before any file is touched, CannotWrite
// otherwise). Success clears `modified` and gives the `stamp` of the file written and the
// format "Version 2.0" or "Version 3.0 UTF-8". Files that killed saves of the same file
// left behind are removed first (SafeFile).
// TABs and line ends inside a card text are written as blanks, so that every saved list
// reads back card for card. A font face name is cut to LogFont::kFaceNameCapacity
// characters; in version 2.0 it loses the characters Windows-1252 cannot hold (a face name
// is a wish for a font, which the reader asks the user about when it cannot be had).
DocumentInfo writeListFile(const std::string& path, CardStore& store, const LogFont& questionFont,
                           const LogFont& answerFont, FontDebugLog& log, Host& host,
                           const WriteFaults& faults = {},
                           ListFileFormat format = ListFileFormat::Version20);

// The first card, of the unknown list and then of the known list, with a text that
// Windows-1252 cannot hold, so that a refused version 2.0 save can name it; none when the
// document fits that format.
const Card* firstCardBeyondWindows1252(const CardStore& store);
// Whether the document can be saved as version 2.0.
bool fitsWindows1252(const CardStore& store);

// Text exports of the unknown and then the known cards, one line each: question TAB answer,
// the question alone, the answer alone. Same refusal of an empty document, the same
// safety, failure reasons and stamp as writeListFile; they change nothing in the store.
// An export is Windows-1252, byte for byte as the older program wrote it, when every text
// it holds fits that code page; otherwise it is UTF-8 behind a byte-order mark: spreadsheet
// programs take text without the mark for their local code page, and the reader of lists
// knows the mark too (and never takes such a file for a list format by its first byte).
// The report's format says which: "ASCII-tabsep-file" or "UTF-8-tabsep-file".
DocumentInfo exportCards(const std::string& path, const CardStore& store, Host& host,
                         const WriteFaults& faults = {});
DocumentInfo exportQuestions(const std::string& path, const CardStore& store, Host& host,
                             const WriteFaults& faults = {});
DocumentInfo exportAnswers(const std::string& path, const CardStore& store, Host& host,
                           const WriteFaults& faults = {});
