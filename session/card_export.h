#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/card_candidate.h"
#include "core/file_failure.h"
#include "core/kvtml_file.h"

class CardStore;
class ListSession;

// The formats Export writes for other trainers.
enum class ExchangeFormat : uint8_t { Text, Kvtml };

// The format a file name asks for: KVTML for the extension ".kvtml", text otherwise.
ExchangeFormat exchangeFormatOf(const std::string& path);

// Every card of the list, unknown cards first, each list in its order, texts in UTF-8.
std::vector<CardRecord> cardRecordsOf(const CardStore& store);

// Writes the cards to `path`, replacing the file only once the new one is complete.
// Returns None when written, else why not (ReadOnly, NotRegularFile, CannotWrite).
FileFailure writeExchangeFile(const std::string& path, ExchangeFormat format,
                              std::span<const CardRecord> cards, const KvtmlExportOptions& options);

// The Export command: asks for a file, writes the list in the format the file's name asks
// for and says so when that failed. The list itself, its name included, stays as it is.
void exportForOtherTrainers(ListSession& session);
