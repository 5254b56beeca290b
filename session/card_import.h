#pragma once

#include <cstddef>

class ImportSource;
class ListSession;

// Adds every card the source takes at the end of the unknown list, as a typed card is
// added, with the level the file gives, and announces them through the session. When no
// list is open, this begins one. Returns how many cards were added.
std::size_t importCards(ListSession& session, const ImportSource& source);
