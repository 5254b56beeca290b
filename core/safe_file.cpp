#include "core/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

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

mode_t newFileMode(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

SafeFile::SafeFile(std::string path, WriteFaults faults)
    : target_(resolveLink(path)), faults_(faults) {}

SafeFile::~SafeFile() {
    discard();
}

bool SafeFile::open() {
    std::string name = folderOf(target_) + "/." + baseOf(target_) + ".XXXXXX";
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    fd_ = ::mkstemp(buffer.data());
    if (fd_ < 0) {
        ok_ = false;
        return false;
    }
    temp_.assign(buffer.data());
    if (::fchmod(fd_, newFileMode(target_)) != 0) {
        ok_ = false;
        discard();
        return false;
    }
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
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok_ = false;
            return false;
        }
        written_ += n;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return ok_;
}

bool SafeFile::commit() {
    if (!ok_ || fd_ < 0) {
        discard();
        return false;
    }
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || faults_.failBeforeRename ||
        std::rename(temp_.c_str(), target_.c_str()) != 0) {
        ok_ = false;
        discard();
        return false;
    }
    temp_.clear();
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY);
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
