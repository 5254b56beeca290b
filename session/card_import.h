#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class ImportSource;
class ListSession;

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
};

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
