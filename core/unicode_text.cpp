#include "core/unicode_text.h"

#include <utf8proc.h>

#include <cstdlib>
#include <memory>

std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        c = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        c = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        c = lead & 0x07;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    std::size_t next = pos;
    for (int i = 0; i < extra; ++i, ++next) {
        if (next >= text.size())
            return std::nullopt;
        const auto byte = static_cast<unsigned char>(text[next]);
        if ((byte & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (byte & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    pos = next;
    return c;
}

void appendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (c >> 6)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (c >> 12)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (c >> 18)));
        text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool isValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Plain ASCII is by far the most common; skip it without decoding.
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        if (!decodeUtf8(text, pos))
            return false;
    }
    return true;
}

namespace {

// Walks the characters of valid UTF-8 text; calls `atBoundary(bytePos)` before each one
// and stops when it returns false. Returns the number of characters walked.
template <typename AtBoundary>
std::size_t walkCharacters(std::string_view text, AtBoundary atBoundary) {
    std::size_t count = 0;
    std::size_t pos = 0;
    utf8proc_int32_t state = 0;
    char32_t previous = 0;
    bool first = true;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const std::optional<char32_t> c = decodeUtf8(text, pos);
        const char32_t code = c ? *c : 0xFFFD;
        if (first ||
            utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(previous),
                                             static_cast<utf8proc_int32_t>(code), &state)) {
            if (!atBoundary(start))
                return count;
            ++count;
        }
        first = false;
        previous = code;
    }
    return count;
}

}  // namespace

std::size_t characterCount(std::string_view text) {
    return walkCharacters(text, [](std::size_t) { return true; });
}

std::string_view firstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = text.size();
    std::size_t seen = 0;
    walkCharacters(text, [&](std::size_t pos) {
        if (seen == count) {
            end = pos;
            return false;
        }
        ++seen;
        return true;
    });
    return text.substr(0, end);
}

std::string foldCase(std::string_view text) {
    utf8proc_uint8_t* folded = nullptr;
    const utf8proc_ssize_t length = utf8proc_map(
        reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
        static_cast<utf8proc_ssize_t>(text.size()), &folded,
        static_cast<utf8proc_option_t>(UTF8PROC_CASEFOLD | UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    if (length < 0)
        return std::string(text);
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(folded, &std::free);
    return std::string(reinterpret_cast<const char*>(folded), static_cast<std::size_t>(length));
}
