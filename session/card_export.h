#pragma once

#include <span>
#include <string>
#include <vector>

#include <QString>

#include "core/anki_package.h"
#include "core/card_candidate.h"
#include "core/file_failure.h"
#include "core/kvtml_file.h"

class CardStore;
class ListSession;
class ReviewSchedule;

// The formats Export writes for other trainers.
enum class ExchangeFormat : uint8_t { Text, Kvtml, AnkiPackage };

// The file the Export dialog's choice names, and the format it is written in: the file
// type chosen (the index of its filter; -1 for the first) decides the format whatever the
// name's extension, and a name without an extension gets the chosen type's.
struct ExportTarget {
    QString path;
    ExchangeFormat format = ExchangeFormat::Text;
};
ExportTarget exportTargetOf(const QString& chosenPath, int chosenFilter);

// What the KVTML export writes about the list as a whole: the list's name as the title,
// and the two languages its name names ("English-German"), else the list's name with the
// side, else "Question" and "Answer"; the grades as practised now.
KvtmlExportOptions kvtmlOptionsOf(const CardStore& store, int32_t maxLevel);

// Every card of the list, unknown cards first, each list in its order, texts in UTF-8.
std::vector<CardRecord> cardRecordsOf(const CardStore& store);

// What the Anki export writes: one Basic note per card, unknown cards first; the deck named
// after the list; lessons as tags; a card of level L above 0 as a review card with an
// interval of 2^(L-1) days, which the import reads back as level L; a card of level 0 as
// new. Each note's guid comes from the list's name and the card's number, so that Anki
// updates the notes when the list is exported again. With a review history (`schedule`
// available) every answer of the cards goes into Anki's review log (rating, time and the
// time it took), a card of level above 0 falls due when the history has it due and keeps
// its memory state for Anki's FSRS, and weights other than the defaults go into the deck's
// options.
AnkiExport ankiExportOf(const CardStore& store, int64_t nowSeconds,
                        ReviewSchedule* schedule = nullptr);

// After the package `exported` (of ankiExportOf with the same store and schedule) was
// written: remembers each note's guid with its card in the review history, so that
// importing the package again, after learning in Anki, updates these cards instead of
// adding them again.
void rememberExportedNotes(ReviewSchedule& schedule, const CardStore& store,
                           const AnkiExport& exported);

// Writes the cards to `path`, replacing the file only once the new one is complete.
// Returns None when written, else why not (ReadOnly, NotRegularFile, CannotWrite).
FileFailure writeExchangeFile(const std::string& path, ExchangeFormat format,
                              std::span<const CardRecord> cards, const KvtmlExportOptions& options);

// The Export command: asks for a file, writes the list in the format of the file type
// chosen and says so when that failed. The list itself, its name included, stays as it is.
void exportForOtherTrainers(ListSession& session);
