#pragma once

#include <string>
#include <string_view>

#include "core/document_info.h"
#include "core/log_font.h"

class ByteSource;
class CardList;
class CardStore;
class Host;

// Reads a list file into the store: version 2.0 (first byte 0x80), version 1.0.2 (0x7F)
// or tab-separated text (any other first byte, also an empty file); a first byte 0x7E is
// an old format that is refused with message 123 and status 1. Cards of the unknown list
// (and of every format but 2.0, all cards) go into `target`, the known cards of a version
// 2.0 file into the store's knownList; nothing is emptied first. The two font records of a
// version 2.0 file replace `questionFont` and `answerFont`, each one the user cannot use
// first going through the font dialog (message 176).
//
// A file that cannot be opened gives status 1 and changes nothing, without a message.
// Reading stops at the first number that cannot be read; what was read so far stays and
// the status is 0. `modified` is clear afterwards.
DocumentInfo readListFile(const std::string& path, CardStore& store, CardList& target,
                          LogFont& questionFont, LogFont& answerFont, Host& host);

// The same rules over bytes in memory; `name` becomes the report's fileName.
DocumentInfo readListBytes(std::string_view bytes, const std::string& name, CardStore& store,
                           CardList& target, LogFont& questionFont, LogFont& answerFont,
                           Host& host);

// The same rules over any source of bytes.
DocumentInfo readListFrom(ByteSource& source, const std::string& name, CardStore& store,
                          CardList& target, LogFont& questionFont, LogFont& answerFont, Host& host);
