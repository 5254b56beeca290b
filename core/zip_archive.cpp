#include "core/zip_archive.h"

#include <sys/stat.h>
#include <zip.h>

#include <algorithm>
#include <vector>

bool UnpackMeter::count(uint64_t bytes) {
    if (verdict_ != Verdict::Fine)
        return false;
    entry_ += bytes;
    total_ += bytes;
    if (total_ > maxBytes_) {
        verdict_ = Verdict::TooLarge;
    } else if (entry_ > ratioFloor_ && entry_ > std::max<uint64_t>(packed_, 1) * maxRatio_) {
        verdict_ = Verdict::SuspiciousRatio;
    }
    return verdict_ == Verdict::Fine;
}

// ---- ZipReader -------------------------------------------------------------------------

ZipReader::~ZipReader() {
    if (archive_)
        zip_discard(archive_);
}

ZipReader::Status ZipReader::finishOpen(zip* archive, int error) {
    if (archive) {
        archive_ = archive;
        return Status::Ok;
    }
    switch (error) {
        case ZIP_ER_NOZIP:
            return Status::NotZip;
        case ZIP_ER_INCONS:
        case ZIP_ER_CRC:
            return Status::Damaged;
        default:
            return Status::CannotOpen;
    }
}

ZipReader::Status ZipReader::openFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return Status::CannotOpen;
    archiveBytes_ = static_cast<uint64_t>(info.st_size);
    if (archiveBytes_ == 0)
        return Status::NotZip;  // libzip would take it for an empty archive
    int error = 0;
    zip* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    return finishOpen(archive, error);
}

ZipReader::Status ZipReader::openBytes(std::string_view bytes) {
    archiveBytes_ = bytes.size();
    if (archiveBytes_ == 0)
        return Status::NotZip;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return Status::CannotOpen;
    }
    zip* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (!archive)
        zip_source_free(source);
    return finishOpen(archive, code);
}

bool ZipReader::has(std::string_view name) const {
    return archive_ && zip_name_locate(archive_, std::string(name).c_str(), 0) >= 0;
}

bool ZipReader::sizes(std::string_view name, uint64_t& unpacked, uint64_t& packed) const {
    if (!archive_)
        return false;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(archive_, std::string(name).c_str(), 0, &st) != 0)
        return false;
    unpacked = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
    packed = (st.valid & ZIP_STAT_COMP_SIZE) ? std::min<uint64_t>(st.comp_size, archiveBytes_)
                                             : archiveBytes_;
    return true;
}

ZipReader::Status ZipReader::read(std::string_view name, uint64_t maxBytes,
                                  const std::function<bool(std::string_view)>& sink) const {
    uint64_t declared = 0;
    uint64_t packed = 0;
    if (!sizes(name, declared, packed))
        return Status::Missing;
    if (declared > maxBytes)
        return Status::TooLarge;
    zip_file_t* file = zip_fopen(archive_, std::string(name).c_str(), 0);
    if (!file)
        return Status::Damaged;  // encrypted, an unknown method, or a broken local header
    std::vector<char> buffer(1 << 16);
    uint64_t total = 0;
    Status status = Status::Ok;
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
        if (n < 0) {
            status = Status::Damaged;
            break;
        }
        if (n == 0)
            break;
        total += static_cast<uint64_t>(n);
        if (total > declared) {
            status = Status::Damaged;
            break;
        }
        if (!sink(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) {
            status = Status::Stopped;
            break;
        }
    }
    zip_fclose(file);
    if (status == Status::Ok && total != declared)
        status = Status::Damaged;
    return status;
}

// ---- ZipWriter -------------------------------------------------------------------------

ZipWriter::~ZipWriter() {
    if (archive_)
        zip_discard(archive_);
}

bool ZipWriter::fail() {
    if (archive_ && error_.empty())
        error_ = zip_strerror(archive_);
    return false;
}

bool ZipWriter::create(const std::string& path) {
    int error = 0;
    archive_ = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive_) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        error_ = zip_error_strerror(&e);
        zip_error_fini(&e);
        return false;
    }
    return true;
}

namespace {

bool addSource(zip* archive, const std::string& name, zip_source_t* source, bool compress) {
    if (!source)
        return false;
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                    compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0) == 0;
}

}  // namespace

bool ZipWriter::addFile(const std::string& name, const std::string& sourcePath, bool compress) {
    if (!archive_)
        return false;
    return addSource(archive_, name, zip_source_file(archive_, sourcePath.c_str(), 0, -1),
                     compress) ||
           fail();
}

bool ZipWriter::addBytes(const std::string& name, std::string bytes, bool compress) {
    if (!archive_)
        return false;
    const std::string& kept = buffers_.emplace_back(std::move(bytes));
    return addSource(archive_, name, zip_source_buffer(archive_, kept.data(), kept.size(), 0),
                     compress) ||
           fail();
}

bool ZipWriter::close() {
    if (!archive_)
        return false;
    if (zip_close(archive_) != 0) {
        fail();
        zip_discard(archive_);
        archive_ = nullptr;
        return false;
    }
    archive_ = nullptr;
    buffers_.clear();
    return true;
}
