#pragma once

#include <cstddef>
#include <string_view>

// Where a reader takes its bytes from: a file, or bytes already in memory. A source hands
// out as many bytes as it likes per call, so readers must cope with any chunking.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to `max` bytes into `out`; returns 0 only at the end of the data or on a
    // read error (see failed()).
    virtual std::size_t read(char* out, std::size_t max) = 0;
    // Whether the data ended because of a read error rather than its real end.
    virtual bool failed() const { return false; }
    // How many bytes there are likely to be, or 0 when that is not known; readers size
    // their buffers by it.
    virtual std::size_t sizeHint() const { return 0; }
};

// Bytes in memory, handed out at most `chunk` bytes at a time.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes, std::size_t chunk = static_cast<std::size_t>(-1))
        : bytes_(bytes), chunk_(chunk == 0 ? 1 : chunk) {}
    std::size_t read(char* out, std::size_t max) override;
    std::size_t sizeHint() const override { return bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t chunk_;
};
