#include "core/file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// One read that is not cut short by a signal; -1 on an error.
ssize_t readOnce(int fd, char* out, std::size_t max) {
    for (;;) {
        const ssize_t n = ::read(fd, out, max);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

}  // namespace

FileSource::FileSource(const std::string& path, int64_t maxBytes) : maxBytes_(maxBytes) {
    // A path that names something else than a regular file is not even opened: opening a
    // device can have effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        failure_ = FileFailure::NotRegularFile;
        return;
    }
    // Without O_NONBLOCK, opening a named pipe waits for a writer, perhaps for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        failure_ = FileFailure::CannotOpen;
        error_ = errno;
        return;
    }
    if (::fstat(fd, &st) != 0) {
        failure_ = FileFailure::CannotOpen;
        error_ = errno;
    } else if (!S_ISREG(st.st_mode)) {
        failure_ = FileFailure::NotRegularFile;
    } else if (st.st_size > maxBytes_) {
        failure_ = FileFailure::TooLarge;
    }
    if (failure_ != FileFailure::None) {
        ::close(fd);
        return;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    fd_ = fd;
    stamp_ = stampOfDescriptor(fd);
    sizeHint_ = static_cast<std::size_t>(st.st_size);
}

FileSource::~FileSource() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t FileSource::read(char* out, std::size_t max) {
    if (fd_ < 0 || done_ || max == 0)
        return 0;
    if (readSoFar_ >= maxBytes_) {
        // The limit is reached: one byte more tells whether the file went on.
        char probe = 0;
        const ssize_t n = readOnce(fd_, &probe, 1);
        beyondLimit_ = n > 0;
        readError_ = n < 0;
        done_ = true;
        return 0;
    }
    max = static_cast<std::size_t>(
        std::min<int64_t>(static_cast<int64_t>(max), maxBytes_ - readSoFar_));
    const ssize_t n = readOnce(fd_, out, max);
    if (n <= 0) {
        readError_ = n < 0;
        if (readError_ && error_ == 0)
            error_ = errno;
        done_ = true;
        return 0;
    }
    readSoFar_ += n;
    return static_cast<std::size_t>(n);
}
