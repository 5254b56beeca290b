#include "core/text_encodings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/unicode_text.h"
#include "core/windows1252.h"

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ull;

uint64_t load8(const char* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The UTF-8 form of every byte, padded to four bytes so that one four-byte copy writes it,
// with its length in the fourth byte (no form is longer than three). Made from
// windows1252.h, so that there is one table of the code page.
struct ByteForms {
    std::array<uint32_t, 256> forms{};
    // The code points of 0x80 to 0x9F, the only ones that are not Latin-1.
    std::array<char32_t, 32> controlRange{};

    ByteForms() {
        for (int b = 0; b <= 0xFF; ++b) {
            const std::string text = windows1252ToUtf8(std::string(1, static_cast<char>(b)));
            char form[4] = {0, 0, 0, static_cast<char>(text.size())};
            std::memcpy(form, text.data(), text.size());
            std::memcpy(&forms[static_cast<std::size_t>(b)], form, 4);
            if (b >= 0x80 && b <= 0x9F) {
                std::size_t pos = 0;
                controlRange[static_cast<std::size_t>(b - 0x80)] = *decodeUtf8(text, pos);
            }
        }
    }
};

const ByteForms kByteForms;

// The Windows-1252 byte of a code point, or -1.
int windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    const auto& range = kByteForms.controlRange;
    for (std::size_t i = 0; i < range.size(); ++i)
        if (range[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

// Length of the ASCII run at the start of the bytes.
std::size_t asciiPrefix(std::string_view bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        if (load8(bytes.data() + i) & kHighBits)
            break;
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
        ++i;
    return i;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

bool isAscii(std::string_view bytes) {
    return asciiPrefix(bytes) == bytes.size();
}

bool isWellFormedUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        if (n - i >= 8) {
            const uint64_t high = load8(bytes.data() + i) & kHighBits;
            if (high == 0) {
                i += 8;
                continue;
            }
            i += static_cast<std::size_t>(__builtin_ctzll(high) / 8);
        } else if (p[i] < 0x80) {
            ++i;
            continue;
        }
        // Two-byte characters (Latin, Greek, Cyrillic, Hebrew, Arabic) are the most common
        // beyond ASCII.
        if (p[i] >= 0xC2 && p[i] <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
            i += 2;
            continue;
        }
        if (!decodeUtf8Maximal(bytes, i))
            return false;
    }
    return true;
}

bool isWellFormedUtf8InBuffer(std::string_view bytes) {
#if defined(__SSE2__)
    // Text of ASCII and two-byte characters (the Latin, Greek, Cyrillic, Hebrew and Arabic
    // letters) is well-formed when every lead byte C2..DF is followed by a continuation
    // byte 80..BF and every continuation byte follows such a lead byte: sixteen bytes are
    // checked at once by comparing the two as bit masks. Anything else beyond ASCII goes to
    // the full check.
    const char* p = bytes.data();
    const std::size_t n = bytes.size();
    unsigned carry = 0;  // a lead byte at the end of the block before
    for (std::size_t base = 0; base < n; base += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + base));
        const auto length = static_cast<unsigned>(std::min<std::size_t>(n - base, 16));
        const unsigned valid = (1u << length) - 1;
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(block)) & valid;
        // As signed bytes, 80..BF are -128..-65 and C2..DF are -62..-33.
        const auto continuation =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(block, _mm_set1_epi8(-64)))) &
            valid;
        const auto lead = static_cast<unsigned>(_mm_movemask_epi8(
                              _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8(-63)),
                                            _mm_cmplt_epi8(block, _mm_set1_epi8(-32))))) &
                          valid;
        if ((high & ~continuation & ~lead) != 0)
            return isWellFormedUtf8(bytes);
        if ((((lead << 1) | carry) & valid) != continuation)
            return false;
        carry = (lead >> (length - 1)) & 1;
    }
    return carry == 0;
#else
    return isWellFormedUtf8(bytes);
#endif
}

std::size_t windows1252AsUtf8(std::string_view bytes, char* out) {
    const char* in = bytes.data();
    const std::size_t n = bytes.size();
    char* end = out;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const uint64_t block = load8(in + i);
        if (block & kHighBits)
            break;
        std::memcpy(end, &block, 8);
        end += 8;
    }
    for (; i < n; ++i) {
        const uint32_t form = kByteForms.forms[static_cast<unsigned char>(in[i])];
        std::memcpy(end, &form, 4);
        end += form >> 24;
    }
    return static_cast<std::size_t>(end - out);
}

std::size_t windows1252AsUtf8InBuffer(std::string_view bytes, char* out) {
#if defined(__SSE2__)
    // Sixteen bytes at a time, at fixed places of the text, so that no load waits for the
    // length of what was written before it: the ASCII between two bytes beyond it goes out
    // in one copy, each byte beyond it through the table.
    const auto& forms = kByteForms.forms;
    const char* in = bytes.data();
    const std::size_t n = bytes.size();
    char* end = out;
    for (std::size_t base = 0; base < n; base += 16) {
        const char* block = in + base;
        const auto length = static_cast<unsigned>(std::min<std::size_t>(n - base, 16));
        const auto bits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block))));
        unsigned high = bits & ((1u << length) - 1);
        unsigned from = 0;
        while (high != 0) {
            const auto at = static_cast<unsigned>(__builtin_ctz(high));
            high &= high - 1;
            _mm_storeu_si128(reinterpret_cast<__m128i*>(end),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + from)));
            end += at - from;
            const uint32_t form = forms[static_cast<unsigned char>(block[at])];
            std::memcpy(end, &form, 4);
            end += form >> 24;
            from = at + 1;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(end),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + from)));
        end += length - from;
    }
    return static_cast<std::size_t>(end - out);
#else
    return windows1252AsUtf8(bytes, out);
#endif
}

namespace {

// The Windows-1252 bytes of UTF-8 text written to `out` (when not null), which has room for
// as many bytes as the text; the length, or none when a character does not fit. ASCII goes
// eight bytes at a time, and the Latin-1 letters (C3 80..BF, C2 A0..BF), the most common
// beyond it, without decoding.
template <bool write>
std::optional<std::size_t> toWindows1252(std::string_view text, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::size_t o = 0;
    while (i < n) {
        if (i + 8 <= n) {
            // The ASCII up to the first byte beyond it is kept of the eight bytes copied;
            // the output is never ahead of the input, so the copy stays within the room.
            const uint64_t block = load8(text.data() + i);
            if constexpr (write)
                std::memcpy(out + o, &block, 8);
            const uint64_t high = block & kHighBits;
            const std::size_t ascii =
                high == 0 ? 8 : static_cast<std::size_t>(__builtin_ctzll(high) / 8);
            i += ascii;
            o += ascii;
            if (ascii == 8)
                continue;
        }
        const unsigned b = in[i];
        unsigned byte = b;
        if (b < 0x80) {
            ++i;
        } else if (b == 0xC3 && i + 1 < n && (in[i + 1] & 0xC0) == 0x80) {
            byte = 0xC0 | (in[i + 1] & 0x3F);
            i += 2;
        } else if (b == 0xC2 && i + 1 < n && in[i + 1] >= 0xA0 && in[i + 1] <= 0xBF) {
            byte = in[i + 1];
            i += 2;
        } else {
            const std::optional<char32_t> c = decodeUtf8Maximal(text, i);
            const int mapped = c ? windows1252Byte(*c) : -1;
            if (mapped < 0)
                return std::nullopt;
            byte = static_cast<unsigned>(mapped);
        }
        if constexpr (write)
            out[o] = static_cast<char>(byte);
        ++o;
    }
    return o;
}

}  // namespace

bool appendAsWindows1252(std::string& out, std::string_view text) {
    const std::size_t before = out.size();
    out.resize(before + text.size());
    const std::optional<std::size_t> length = toWindows1252<true>(text, out.data() + before);
    out.resize(before + length.value_or(0));
    return length.has_value();
}

bool encodableAsWindows1252(std::string_view text) {
    return toWindows1252<false>(text, nullptr).has_value();
}

std::optional<char32_t> decodeUtf8Maximal(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0;
    // The range of the second byte depends on the lead byte: it is where overlong forms,
    // surrogates and values above U+10FFFF are kept out.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        c = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        c = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return std::nullopt;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size())
            return std::nullopt;
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < low || byte > high)
            return std::nullopt;
        low = 0x80;
        high = 0xBF;
        c = (c << 6) | (byte & 0x3F);
        ++pos;
    }
    return c;
}

std::size_t appendRepairedUtf8(std::string& out, std::string_view text) {
    std::size_t repairs = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t ascii = asciiPrefix(text.substr(pos));
        out.append(text.substr(pos, ascii));
        pos += ascii;
        if (pos == text.size())
            break;
        const std::size_t start = pos;
        if (decodeUtf8Maximal(text, pos)) {
            out.append(text.substr(start, pos - start));
        } else {
            out.append(kReplacement);
            ++repairs;
        }
    }
    return repairs;
}

std::string utf8WithWindows1252Bytes(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        if (decodeUtf8Maximal(text, pos)) {
            out.append(text.substr(start, pos - start));
            continue;
        }
        // Byte by byte: a cut sequence is no character, but each of its bytes is one in
        // the code page.
        pos = start + 1;
        char form[utf8RoomForWindows1252(1)];
        out.append(form, windows1252AsUtf8(text.substr(start, 1), form));
    }
    return out;
}

std::string utf16AsUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? char32_t(a << 8 | b) : char32_t(b << 8 | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t c = unit(i);
        if (c < 0xD800 || c > 0xDFFF) {
            appendUtf8(out, c);
            continue;
        }
        if (c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        out.push_back('\xFF');
    }
    if (i < bytes.size())
        out.push_back('\xFF');
    return out;
}
