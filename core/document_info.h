#pragma once

#include <cstdint>
#include <string>

// The report of one read or write of a list file.
struct DocumentInfo {
    int status = 0;      // 0 done, 1 failed
    std::string format;  // "mnem v 2.0", "mnem v 1.0.2", "ASCII-tabsep-file", "Version 2.0"
    int32_t unknownCount = 0;
    int32_t knownCount = 0;
    std::string fileName;
};
