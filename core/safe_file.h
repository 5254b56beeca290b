#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/byte_sink.h"

// Failures a test can ask a SafeFile to run into.
struct WriteFaults {
    int64_t failAfterBytes = -1;  // a write fails once this many bytes are written (-1: never)
    bool failBeforeRename = false;
};

// A file that replaces `path` only once it is completely on disk: the bytes go into a new
// file in the same folder, which commit() flushes, syncs and renames over the old file.
// Until then, and after any failure, the old file is exactly as it was, and a SafeFile
// that is not committed removes its new file again. The new file takes the permissions
// of the file it replaces; a symbolic link is followed, so the file it points to is
// replaced and the link stays.
class SafeFile : public ByteSink {
public:
    explicit SafeFile(std::string path, WriteFaults faults = {});
    ~SafeFile() override;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the new file beside the old one; false when the folder does not allow it.
    bool open();
    bool write(std::string_view bytes) override;
    // Returns whether the file now holds everything written.
    bool commit();

private:
    void discard();

    std::string target_;
    std::string temp_;
    WriteFaults faults_;
    int fd_ = -1;
    int64_t written_ = 0;
    bool ok_ = true;
};
