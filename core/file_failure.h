#pragma once

#include <cstdint>

// Why a list file could not be read or saved, for a message that says more than "failed".
// Reports with status 0 carry None; a failure without a more precise reason carries
// CannotOpen (reading) or CannotWrite (saving).
enum class FileFailure : uint8_t {
    None,
    CannotOpen,      // reading: missing, no permission, or the first read failed
    NotRegularFile,  // a folder, named pipe, device or socket; refused for reading and as
                     // the file a save would replace
    TooLarge,        // reading: larger than kMaxListFileBytes (list_file_reader.h)
    OldFormat,       // reading: first byte 0x7E but not the Unicode list; the reader has
                     // shown message 123 already
    ReadOnly,        // saving: the file to replace has no write permission (also for root)
    CannotWrite,     // saving: the new file could not be made, written, synced or renamed
    NotWindows1252,  // saving as version 2.0: a card text holds a character that format
                     // cannot hold; nothing was written (firstCardBeyondWindows1252)
    NotText,         // reading: no list format by its first byte, and no text either
};
