#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/byte_sink.h"
#include "core/file_failure.h"
#include "core/file_stamp.h"

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
//
// Only a regular file that may be written is replaced: one without a write permission
// bit for the user (mode 444, say) gives ReadOnly, and that is decided from the mode bits
// as well, since root may write anything; a folder, device, pipe or socket gives
// NotRegularFile. Both are checked when the file is opened and again right before the
// rename.
//
// The new file is named ".<name>.kmx-save-<pid>-XXXXXX" beside the file it replaces:
// <name> is that file's name (a name too long for the pattern is cut and followed by "~"
// and a hash of the whole name), <pid> the writing process, XXXXXX six random letters
// and digits. The writing process holds an flock() on it. A save that is killed leaves it
// behind; open() first removes such leftovers of the same file (removeSaveLeftovers).
class SafeFile : public ByteSink {
public:
    explicit SafeFile(std::string path, WriteFaults faults = {});
    ~SafeFile() override;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the new file beside the old one; false when the folder does not allow it or
    // the old file may not be replaced (see failure()).
    bool open();
    bool write(std::string_view bytes) override;
    // Returns whether the file now holds everything written.
    bool commit();

    // Why open() or commit() failed; None until then.
    FileFailure failure() const { return failure_; }
    // The system's error number behind that failure (ENOSPC, EROFS, ENOENT...); 0 when the
    // failure was decided here (ReadOnly, NotRegularFile) or none occurred. A write cut by
    // WriteFaults::failAfterBytes gives ENOSPC, as a full disk would.
    int systemError() const { return error_; }
    // After a successful commit: the file as written, taken from the new file itself, so
    // that a change by someone else right after the rename is not mistaken for this save.
    const FileStamp& stamp() const { return stamp_; }

private:
    void discard();
    bool fail(FileFailure why, int error = 0);

    std::string target_;
    std::string temp_;
    WriteFaults faults_;
    int fd_ = -1;
    int64_t written_ = 0;
    bool ok_ = true;
    FileFailure failure_ = FileFailure::None;
    int error_ = 0;
    FileStamp stamp_;
};

// Removes what earlier saves of `path` left behind when they were killed: files beside it
// named by the pattern above for this very file name, whose process no longer exists and
// that no process holds locked (a save still running, also one in another PID namespace
// sharing the folder, keeps its file). Files of other lists and all other files stay. A
// process number used again by an unrelated process only delays the removal until that
// process has ended. Returns how many files were removed; failures are ignored.
int removeSaveLeftovers(const std::string& path);
