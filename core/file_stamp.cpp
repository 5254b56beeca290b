#include "core/file_stamp.h"

#include <sys/stat.h>

namespace {

FileStamp fromStat(const struct stat& st) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.inode = static_cast<uint64_t>(st.st_ino);
    stamp.size = static_cast<int64_t>(st.st_size);
    stamp.modifiedSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<int64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

}  // namespace

FileStamp stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return fromStat(st);
}

FileStamp stampOfDescriptor(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {};
    return fromStat(st);
}
