#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

struct zip;

// Counts what a reader unpacks from an archive, over all entries, and says when it is more
// than a limit allows or more than any honest data shrinks to. The caller counts the bytes
// it finally keeps, so that data compressed twice (zstd inside a zip) is judged by what
// comes out at the end.
class UnpackMeter {
public:
    enum class Verdict : uint8_t { Fine, TooLarge, SuspiciousRatio };

    UnpackMeter(uint64_t maxBytes, uint32_t maxRatio, uint64_t ratioFloor)
        : maxBytes_(maxBytes), maxRatio_(maxRatio), ratioFloor_(ratioFloor) {}

    // Starts counting one entry that takes `packedBytes` in the archive.
    void startEntry(uint64_t packedBytes) {
        packed_ = packedBytes;
        entry_ = 0;
    }
    // Counts bytes unpacked from the current entry; false once a limit is passed.
    bool count(uint64_t bytes);
    Verdict verdict() const { return verdict_; }
    uint64_t total() const { return total_; }

private:
    uint64_t maxBytes_;
    uint32_t maxRatio_;
    uint64_t ratioFloor_;
    uint64_t packed_ = 0;
    uint64_t entry_ = 0;
    uint64_t total_ = 0;
    Verdict verdict_ = Verdict::Fine;
};

// A zip archive opened for reading, from a file or from memory (libzip underneath).
class ZipReader {
public:
    enum class Status : uint8_t { Ok, CannotOpen, NotZip, Damaged, Missing, TooLarge, Stopped };

    ZipReader() = default;
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    Status openFile(const std::string& path);
    // The bytes must stay alive as long as the reader.
    Status openBytes(std::string_view bytes);

    bool has(std::string_view name) const;
    // The size the archive's directory claims for the entry, unpacked and packed (the
    // packed size never more than the archive itself); false when there is no such entry.
    bool sizes(std::string_view name, uint64_t& unpacked, uint64_t& packed) const;

    // Hands the entry's unpacked bytes to `sink` a chunk at a time. More bytes than the
    // directory claims, a wrong checksum or a broken stream give Damaged; an entry that
    // claims more than `maxBytes` is refused before anything is read (TooLarge); a sink
    // that returns false ends the reading with Stopped.
    Status read(std::string_view name, uint64_t maxBytes,
                const std::function<bool(std::string_view)>& sink) const;

private:
    Status finishOpen(zip* archive, int error);
    zip* archive_ = nullptr;
    uint64_t archiveBytes_ = 0;
};

// A zip archive being written. libzip writes the whole archive into a new file beside
// `path` on close() and renames it over the old one, so a failure leaves the old file.
class ZipWriter {
public:
    ZipWriter() = default;
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    bool create(const std::string& path);
    // Adds a file's contents, read when the archive is closed.
    bool addFile(const std::string& name, const std::string& sourcePath, bool compress);
    bool addBytes(const std::string& name, std::string bytes, bool compress);
    // Writes the archive; false when that failed (see error()).
    bool close();
    const std::string& error() const { return error_; }

private:
    bool fail();
    zip* archive_ = nullptr;
    std::deque<std::string> buffers_;  // the bytes of addBytes, alive until close()
    std::string error_;
};
