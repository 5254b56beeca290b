#pragma once

#include <string_view>

// Where a writer puts its bytes. A sink that fails once keeps failing.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Returns false when the bytes could not all be written.
    virtual bool write(std::string_view bytes) = 0;
};
