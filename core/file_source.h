#pragma once

#include <cstdint>
#include <string>

#include "core/byte_source.h"
#include "core/file_failure.h"
#include "core/file_stamp.h"

// A regular file as a source of bytes. Anything else is refused at once, before a byte is
// read: a folder, a device (/dev/zero would never end), a socket, and a named pipe, which
// is never waited for (it is looked at before it is opened, opened without blocking and
// looked at again through the open descriptor, so that a file swapped in between is seen
// too). A file larger than `maxBytes` is refused as well, and one that grows past it while
// being read is read no further than `maxBytes`, so memory stays bounded either way.
class FileSource : public ByteSource {
public:
    FileSource(const std::string& path, int64_t maxBytes);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Why the file is not open; None when it is.
    FileFailure failure() const { return failure_; }
    // The system's error number behind a failed open or the first failed read; 0 if none.
    int systemError() const { return error_; }
    // The file as it was opened.
    const FileStamp& stamp() const { return stamp_; }

    std::size_t read(char* out, std::size_t max) override;
    // A read error, or more bytes behind `maxBytes` (the file grew while it was read).
    bool failed() const override { return readError_ || beyondLimit_; }
    std::size_t sizeHint() const override { return sizeHint_; }

private:
    int fd_ = -1;
    FileFailure failure_ = FileFailure::None;
    int error_ = 0;
    FileStamp stamp_;
    int64_t maxBytes_;
    int64_t readSoFar_ = 0;
    std::size_t sizeHint_ = 0;
    bool done_ = false;
    bool readError_ = false;
    bool beyondLimit_ = false;
};
