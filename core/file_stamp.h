#pragma once

#include <cstdint>
#include <string>

// What a file on disk looked like at one moment, to tell later whether it has changed:
// replaced (another device or inode, as every save of this program gives), written in
// place (size or modification time), or removed. A rewrite in place that keeps the size
// within the file system's timestamp granularity (a few milliseconds) is not seen.
struct FileStamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file `path` names, following symbolic links as the reader and the
// writer do; a stamp with `exists` false when there is no such file or it cannot be seen.
FileStamp stampOf(const std::string& path);

// The stamp of an open file.
FileStamp stampOfDescriptor(int fd);
