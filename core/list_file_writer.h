#pragma once

#include <string>

#include "core/document_info.h"
#include "core/log_font.h"
#include "core/safe_file.h"

class CardStore;
class FontDebugLog;
class Host;

// Writes the document as a version 2.0 list file: the unknown list, an empty line, the
// known list, with both font records in front; each font is also logged in `log`.
// An empty document is refused with message 102 (status 0, nothing written). The file is
// replaced only once the new one is completely on disk; any failure gives status 1, an
// empty format and counts 0, and leaves the old file as it was; `failure` says why
// (ReadOnly for a file without write permission, NotRegularFile for a folder, device,
// pipe or socket, CannotWrite otherwise). Success clears `modified` and gives the `stamp`
// of the file written. Files that killed saves of the same file left behind are removed
// first (SafeFile).
// TABs and line ends inside a card text are written as blanks, so that every saved list
// reads back card for card.
DocumentInfo writeListFile(const std::string& path, CardStore& store, const LogFont& questionFont,
                           const LogFont& answerFont, FontDebugLog& log, Host& host,
                           const WriteFaults& faults = {});

// Text exports of the unknown and then the known cards, one line each: question TAB answer,
// the question alone, the answer alone. Same refusal of an empty document, the same
// safety, failure reasons and stamp as writeListFile; they change nothing in the store.
DocumentInfo exportCards(const std::string& path, const CardStore& store, Host& host,
                         const WriteFaults& faults = {});
DocumentInfo exportQuestions(const std::string& path, const CardStore& store, Host& host,
                             const WriteFaults& faults = {});
DocumentInfo exportAnswers(const std::string& path, const CardStore& store, Host& host,
                           const WriteFaults& faults = {});
