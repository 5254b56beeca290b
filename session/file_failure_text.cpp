#include "session/file_failure_text.h"

#include <cerrno>
#include <cstring>

#include "core/document_info.h"

namespace {

// The system's own words for an error number, in the user's language where it has them.
QString systemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

QString FileFailureText::reading(const DocumentInfo& info, const QString& path) {
    switch (info.failure) {
        case FileFailure::OldFormat:
            return QString();
        case FileFailure::NotRegularFile:
            return tr("%1 is not a list file: it is a folder, a device or a pipe.").arg(path);
        case FileFailure::TooLarge:
            return tr("%1 is too large to be a list (over 1 GiB).").arg(path);
        case FileFailure::NotText:
            return tr("%1 is not a list file: it is not text, and none of the list formats "
                      "either.")
                .arg(path);
        default:
            break;
    }
    switch (info.systemError) {
        case 0:
            return tr("%1 could not be read.").arg(path);
        case ENOENT:
            return tr("%1 could not be read: there is no such file.").arg(path);
        case EACCES:
        case EPERM:
            return tr("%1 could not be read: you are not allowed to read it.").arg(path);
        default:
            return tr("%1 could not be read: %2.").arg(path, systemText(info.systemError));
    }
}

QString FileFailureText::saving(const DocumentInfo& info, const QString& path) {
    switch (info.failure) {
        case FileFailure::ReadOnly:
            return tr("%1 was not saved: the file is read-only.").arg(path);
        case FileFailure::NotRegularFile:
            return tr("%1 was not saved: it is not a regular file but a folder, a device or a "
                      "pipe.")
                .arg(path);
        default:
            break;
    }
    switch (info.systemError) {
        case 0:
            return tr("%1 was not saved.").arg(path);
        case ENOSPC:
        case EDQUOT:
            return tr("%1 was not saved: there is no space left on the disk.").arg(path);
        case EROFS:
            return tr("%1 was not saved: the disk is read-only.").arg(path);
        case EACCES:
        case EPERM:
            return tr("%1 was not saved: its folder is read-only for you.").arg(path);
        case ENOENT:
        case ENOTDIR:
            return tr("%1 was not saved: its folder does not exist.").arg(path);
        case EISDIR:
            return tr("%1 was not saved: it is not a regular file but a folder, a device or a "
                      "pipe.")
                .arg(path);
        default:
            return tr("%1 was not saved: %2.").arg(path, systemText(info.systemError));
    }
}
