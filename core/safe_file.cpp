#include "core/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kTempTag = ".kmx-save-";
constexpr std::size_t kRandomLetters = 6;  // what mkstemp puts in for XXXXXX
// Room the pattern needs besides the file name: the leading dot, the tag, a process
// number of up to 10 digits, a dash and the random letters.
constexpr std::size_t kPatternLength = 1 + kTempTag.size() + 10 + 1 + kRandomLetters;
constexpr std::size_t kNameMax = 255;
constexpr std::size_t kCutNameLength = 200;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path names in the end: a symbolic link is replaced by the file it points to.
std::string resolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path;
    std::string out(resolved);
    std::free(resolved);
    return out;
}

// The start of the names of the new files for `target`, up to the process number. A name
// too long for the pattern keeps its first part and a hash of the whole, so that two long
// names that start alike still get prefixes of their own.
std::string tempPrefix(const std::string& target) {
    std::string name = baseOf(target);
    if (name.size() + kPatternLength > kNameMax) {
        uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (unsigned char c : name)
            hash = (hash ^ c) * 1099511628211ull;
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        name = name.substr(0, kCutNameLength) + "~" + hex;
    }
    return "." + name + std::string(kTempTag);
}

// The process number in a name of the pattern that starts with `prefix`; 0 when the name
// is not of the pattern.
pid_t leftoverProcess(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return 0;
    std::string_view rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash > 10 || rest[0] == '0' ||
        rest.size() != dash + 1 + kRandomLetters) {
        return 0;
    }
    long long pid = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + (c - '0');
    }
    for (char c : rest.substr(dash + 1)) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum)
            return 0;
    }
    return pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

bool processGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes one leftover unless a process holds it locked; whether it was removed.
bool removeUnlessLocked(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat opened {};
    if (fd >= 0) {
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) ||
            (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)) {
            ::close(fd);
            return false;
        }
    }
    // Only the file looked at goes, not one that took its name meanwhile.
    struct stat named {};
    bool removed = false;
    if (::lstat(path.c_str(), &named) == 0 && S_ISREG(named.st_mode) &&
        (fd < 0 || (named.st_dev == opened.st_dev && named.st_ino == opened.st_ino))) {
        removed = ::unlink(path.c_str()) == 0;
    }
    if (fd >= 0)
        ::close(fd);
    return removed;
}

// Whether the user may write the existing file: it needs a write permission bit, whoever
// the user is, and the system must agree.
bool writable(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// What stops the file at `target` from being replaced; None when nothing does or there is
// no such file yet.
FileFailure replaceProblem(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0)
        return FileFailure::None;
    if (!S_ISREG(st.st_mode))
        return FileFailure::NotRegularFile;
    if (!writable(target, st))
        return FileFailure::ReadOnly;
    return FileFailure::None;
}

mode_t newFileMode(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

int removeSaveLeftovers(const std::string& path) {
    const std::string target = resolveLink(path);
    const std::string folder = folderOf(target);
    const std::string prefix = tempPrefix(target);
    std::vector<std::string> candidates;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return 0;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t pid = leftoverProcess(entry->d_name, prefix);
        if (pid > 0 && processGone(pid))
            candidates.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& name : candidates) {
        if (removeUnlessLocked(folder + "/" + name))
            ++removed;
    }
    return removed;
}

SafeFile::SafeFile(std::string path, WriteFaults faults)
    : target_(resolveLink(path)), faults_(faults) {}

SafeFile::~SafeFile() {
    discard();
}

bool SafeFile::fail(FileFailure why, int error) {
    ok_ = false;
    if (failure_ == FileFailure::None) {
        failure_ = why;
        if (error_ == 0)
            error_ = error;
    }
    discard();
    return false;
}

bool SafeFile::open() {
    const FileFailure problem = replaceProblem(target_);
    if (problem != FileFailure::None)
        return fail(problem);
    removeSaveLeftovers(target_);
    const std::string name = folderOf(target_) + "/" + tempPrefix(target_) +
                             std::to_string(::getpid()) + "-" + std::string(kRandomLetters, 'X');
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    fd_ = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd_ < 0)
        return fail(FileFailure::CannotWrite, errno);
    temp_.assign(buffer.data());
    // Tells a later save that this file is still being written (removeSaveLeftovers). A
    // file system without locks leaves the process number to tell it.
    ::flock(fd_, LOCK_EX | LOCK_NB);
    if (::fchmod(fd_, newFileMode(target_)) != 0)
        return fail(FileFailure::CannotWrite, errno);
    return true;
}

bool SafeFile::write(std::string_view bytes) {
    if (!ok_ || fd_ < 0)
        return false;
    if (faults_.failAfterBytes >= 0 &&
        written_ + static_cast<int64_t>(bytes.size()) > faults_.failAfterBytes) {
        // The disk fills up part-way through this write.
        bytes = bytes.substr(0, static_cast<std::size_t>(faults_.failAfterBytes - written_));
        ok_ = false;
        error_ = ENOSPC;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (error_ == 0)
                error_ = errno;
            ok_ = false;
            return false;
        }
        written_ += n;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return ok_;
}

bool SafeFile::commit() {
    if (!ok_ || fd_ < 0)
        return fail(FileFailure::CannotWrite);
    const bool synced = ::fsync(fd_) == 0;
    const int syncError = synced ? 0 : errno;
    // Renaming keeps the device, inode, size and modification time of the new file.
    const FileStamp written = stampOfDescriptor(fd_);
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || !written.exists)
        return fail(FileFailure::CannotWrite, syncError != 0 ? syncError : errno);
    // The old file may have been made read-only, or replaced, while the new one was written.
    const FileFailure problem = replaceProblem(target_);
    if (problem != FileFailure::None)
        return fail(problem);
    if (faults_.failBeforeRename)
        return fail(FileFailure::CannotWrite);
    if (std::rename(temp_.c_str(), target_.c_str()) != 0)
        return fail(FileFailure::CannotWrite, errno);
    temp_.clear();
    stamp_ = written;
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void SafeFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}
