#include "core/windows1252.h"

#include <array>
#include <cstdint>

#include "core/unicode_text.h"

namespace {

// Bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

}  // namespace

int windows1252ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i)
        if (kHighControlRange[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte < 0x80) {
            text.push_back(b);
        } else {
            appendUtf8(text, byte <= 0x9F ? kHighControlRange[byte - 0x80] : char32_t{byte});
        }
    }
    return text;
}

std::optional<std::string> utf8ToWindows1252(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            bytes.push_back(text[pos++]);
            continue;
        }
        const std::optional<char32_t> c = decodeUtf8(text, pos);
        if (!c)
            return std::nullopt;
        const int mapped = windows1252ByteOf(*c);
        if (mapped < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(mapped));
    }
    return bytes;
}

bool fitsWindows1252(std::string_view text) {
    return utf8ToWindows1252(text).has_value();
}
