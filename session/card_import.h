#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/fsrs.h"

class Card;
class ImportSource;
class ListSession;
class ReviewSchedule;

// Adds every card the source takes at the end of the unknown list, as a typed card is
// added, with the level the file gives, and announces them through the session. When no
// list is open, this begins one. Returns how many cards were added.
std::size_t importCards(ListSession& session, const ImportSource& source);

// Where the list remembers which card each Anki note became: values of the list's own, by
// key (the review history's ReviewHistory::value and setValue fit). Under the key
// "anki-note:<guid>" it keeps the card's number, question and answer as imported, one a
// line.
struct ImportedNotes {
    std::function<std::optional<std::string>(const std::string& key)> value;
    std::function<bool(const std::string& key, const std::string& value)> setValue;
    // Told the card each taken note (by its index in the package) was added as or updated.
    std::function<void(std::size_t note, const Card& card)> imported;
};

// What the list remembers of an Anki note: the card's number, question and answer when it
// was imported or exported.
struct RememberedNote {
    int32_t number = 0;
    std::string question;
    std::string answer;
};
inline const std::string kAnkiNoteKeyPrefix = "anki-note:";
std::string rememberedNoteValue(int32_t number, std::string_view question, std::string_view answer);
std::optional<RememberedNote> rememberedNoteOf(const std::string& value);

struct ImportTally {
    std::size_t added = 0;
    std::size_t updated = 0;
};

// As above, but a note of an Anki package imported before is recognised by its guid and
// its card updated (texts and lesson; the level stays what was learned here) instead of
// added again. The card is the one with the remembered number, or, after a sort gave new
// numbers, the one with the remembered question and answer; a card the user has edited
// or deleted since is not recognised, and the note is added again rather than overwrite
// another card.
ImportTally importCards(ListSession& session, const ImportSource& source,
                        const ImportedNotes& notes);

// What the Import command did.
struct ImportReport {
    ImportTally tally;
    int64_t reviews = 0;  // Anki answers added to the review history
    // False when the package's answers could not be kept: the list has no review history
    // (see ReviewSchedule::unavailableReason) or it could not be written.
    bool historyKept = true;
};

// The Import command's import. A text or KVTML file is imported as by importCards. An Anki
// package's notes imported before are recognised by their guid, remembered in the list's
// review history, and each card's answers in Anki and its memory state go into that
// history in one transaction, so that the card falls due where Anki would have asked it.
// A list this import begins gets a history in memory, written beside the list when it is
// first saved. Without a history the cards are imported all the same, as new notes, and
// historyKept says the answers were left out.
ImportReport importIntoList(ListSession& session, const ImportSource& source);

// The FSRS weights to offer after an Anki import: those of the options group ankiFsrsOffer
// picks, as FSRS-6 weights (ankiFsrsWeights); none when the package carries none the
// model can use, when the list has no review history to keep them in, or when the list is
// scheduled with them already.
std::optional<FsrsWeights> fsrsWeightsToOffer(const ImportSource& source,
                                              const ReviewSchedule& schedule);
