#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/file_failure.h"

class ImportSource;
class ListSession;

// The largest file Import reads. Its text is held twice while the preview is open (as read
// and as split into fields), and a list of a million cards takes far less.
inline constexpr int64_t kMaxImportFileBytes = 256 * 1024 * 1024;

struct ImportFile {
    std::string bytes;
    FileFailure failure = FileFailure::None;  // TooLarge, NotRegularFile or CannotOpen
};

// Reads a regular file of at most kMaxImportFileBytes.
ImportFile readImportFile(const std::string& path);

// Adds every card the source takes at the end of the unknown list, as a typed card is
// added, with the level the file gives, and announces them through the session. When no
// list is open, this begins one. Returns how many cards were added.
std::size_t importCards(ListSession& session, const ImportSource& source);
