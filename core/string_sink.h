#pragma once

#include <string>
#include <string_view>

#include "core/byte_sink.h"

// Collects what a writer writes in memory: for tests, and for callers that want the bytes.
class StringSink : public ByteSink {
public:
    bool write(std::string_view bytes) override {
        bytes_.append(bytes);
        return true;
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};
