#pragma once

#include <cstdint>
#include <string>

#include "core/file_failure.h"
#include "core/file_stamp.h"

// The report of one read or write of a list file.
struct DocumentInfo {
    int status = 0;  // 0 done, 1 failed
    // Read: "mnem v 3.0 UTF-8" (the Unicode list), "mnem v 2.0", "mnem v 1.0.2",
    // "ASCII-tabsep-file" (text in Windows-1252), "UTF-8-tabsep-file", "UTF-16-tabsep-file".
    // Saved: "Version 2.0" or "Version 3.0 UTF-8". Exported: "ASCII-tabsep-file" (in
    // Windows-1252) or "UTF-8-tabsep-file".
    std::string format;
    int32_t unknownCount = 0;
    int32_t knownCount = 0;
    std::string fileName;
    // Why status is 1, for a clearer message; None with status 0.
    FileFailure failure = FileFailure::None;
    // The system's error number (errno) behind the failure, 0 when there is none to tell.
    int systemError = 0;
    // Reading only, with status 0: the file did not end where its format ends (cut inside
    // a card, its header or its fonts, or reading stopped at a number it could not read).
    // The cards up to that point are in the lists, the last one perhaps only in part, and
    // saving the list now would keep only those.
    bool incomplete = false;
    // Reading only: the file was the Unicode list, which a save should keep it as.
    bool unicode = false;
    // Reading only: texts (card texts and font face names) of a file in UTF-8 or UTF-16 that
    // held something that was no character there; each such sequence is U+FFFD now.
    int32_t repairedTexts = 0;
    // The file as it was read, or as the successful save left it; empty otherwise. The
    // session compares it with stampOf(fileName) before it replaces the file.
    FileStamp stamp;

    // Cards read into (or written from) both lists.
    int64_t cardsRead() const { return int64_t{unknownCount} + knownCount; }
};
