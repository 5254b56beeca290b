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

std::vector<std::string_view> splitCharacters(std::string_view text) {
    std::vector<std::string_view> characters;
    std::size_t start = 0;
    walkCharacters(text, [&](std::size_t pos) {
        if (pos > start)
            characters.push_back(text.substr(start, pos - start));
        start = pos;
        return true;
    });
    if (start < text.size())
        characters.push_back(text.substr(start));
    return characters;
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

std::vector<std::size_t> characterEnds(std::string_view text) {
    std::vector<std::size_t> ends;
    walkCharacters(text, [&](std::size_t pos) {
        if (pos > 0)
            ends.push_back(pos);
        return true;
    });
    if (!text.empty())
        ends.push_back(text.size());
    return ends;
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

namespace {

// Whether the text is in composed form without composing it. A code point below U+0300
// stands for itself and composes with nothing before it, and its UTF-8 bytes all lie below
// 0xCC, so ASCII, Latin-1 and the Latin extensions are told by their bytes alone. Above,
// a code point keeps a text composed when it has no canonical decomposition, no combining
// class and never ends a composition (Hangul vowels and final consonants do); that is true
// of most letters of most scripts, so that their texts need no copy either.
bool plainlyComposed(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0xCC) {
            ++pos;
            continue;
        }
        const std::optional<char32_t> c = decodeUtf8(text, pos);
        if (!c)
            return false;
        if (*c >= 0x1100 && *c <= 0x11FF)
            return false;
        const utf8proc_property_t* p = utf8proc_get_property(static_cast<utf8proc_int32_t>(*c));
        const bool canonicalDecomposition = p->decomp_seqindex != UINT16_MAX && p->decomp_type == 0;
        const bool endsComposition = p->comb_index != UINT16_MAX && p->comb_index >= 0x8000;
        if (canonicalDecomposition || endsComposition || p->combining_class != 0)
            return false;
    }
    return true;
}

}  // namespace

bool isComposed(std::string_view text) {
    return plainlyComposed(text);
}

std::string composedText(std::string_view text) {
    std::string storage;
    return std::string(composedView(text, storage));
}

std::string_view composedView(std::string_view text, std::string& storage) {
    if (plainlyComposed(text))
        return text;
    utf8proc_uint8_t* result = nullptr;
    const utf8proc_ssize_t length =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                     static_cast<utf8proc_ssize_t>(text.size()), &result,
                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    if (length < 0)
        return text;
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(result, &std::free);
    storage.assign(reinterpret_cast<const char*>(result), static_cast<std::size_t>(length));
    return storage;
}

bool sameText(std::string_view a, std::string_view b) {
    if (a == b)
        return true;
    if (plainlyComposed(a) && plainlyComposed(b))
        return false;
    std::string storageA;
    std::string storageB;
    return composedView(a, storageA) == composedView(b, storageB);
}

namespace {

// The blocks of combining diacritical marks that sit on Latin, Greek and Cyrillic letters.
bool isAccentMark(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0xFE20 && c <= 0xFE2F);
}

// Letters whose mark is part of the letter itself and so survives decomposition, with the
// plain letters a learner types for them. İ needs no entry: it decomposes to I and a dot.
struct PlainLetters {
    char32_t letter;
    const char* plain;
};
constexpr PlainLetters kPlainLetters[] = {
    {0x00DF, "ss"}, {0x1E9E, "SS"},  // ß ẞ
    {0x00F8, "o"},  {0x00D8, "O"},   // ø Ø
    {0x0142, "l"},  {0x0141, "L"},   // ł Ł
    {0x0111, "d"},  {0x0110, "D"},   // đ Đ
    {0x0127, "h"},  {0x0126, "H"},   // ħ Ħ
    {0x0167, "t"},  {0x0166, "T"},   // ŧ Ŧ
    {0x0131, "i"},                   // ı
    {0x00E6, "ae"}, {0x00C6, "AE"},  // æ Æ
    {0x0153, "oe"}, {0x0152, "OE"},  // œ Œ
};

const char* plainLettersFor(char32_t c) {
    for (const PlainLetters& entry : kPlainLetters)
        if (entry.letter == c)
            return entry.plain;
    return nullptr;
}

constexpr char32_t kSharpS = 0x00DF;
constexpr char32_t kCapitalSharpS = 0x1E9E;

}  // namespace

std::string lenientForm(std::string_view text, bool ignoreCase, bool ignoreAccents) {
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    const auto length = static_cast<utf8proc_ssize_t>(text.size());
    const auto options = static_cast<utf8proc_option_t>(UTF8PROC_DECOMPOSE | UTF8PROC_STABLE);
    // Decomposed first, so that a letter and its accent are compared apart whichever way
    // the text encodes them.
    const utf8proc_ssize_t needed = utf8proc_decompose(bytes, length, nullptr, 0, options);
    if (needed < 0)
        return std::string(text);
    std::vector<utf8proc_int32_t> decomposed(static_cast<std::size_t>(needed));
    utf8proc_decompose(bytes, length, decomposed.data(), needed, options);

    std::string form;
    form.reserve(text.size());
    for (const utf8proc_int32_t code : decomposed) {
        const auto c = static_cast<char32_t>(code);
        if (ignoreAccents && isAccentMark(c))
            continue;
        utf8proc_int32_t folded[8];
        utf8proc_ssize_t count = 1;
        folded[0] = code;
        if (ignoreCase) {
            if (c == kCapitalSharpS) {
                folded[0] = static_cast<utf8proc_int32_t>(kSharpS);
            } else if (c != kSharpS) {
                int boundary = 0;
                count = utf8proc_decompose_char(code, folded, 8, UTF8PROC_CASEFOLD, &boundary);
                if (count < 0 || count > 8) {
                    folded[0] = code;
                    count = 1;
                }
            }
        }
        for (utf8proc_ssize_t i = 0; i < count; ++i) {
            const auto d = static_cast<char32_t>(folded[i]);
            const char* plain = ignoreAccents ? plainLettersFor(d) : nullptr;
            if (plain)
                form += plain;
            else
                appendUtf8(form, d);
        }
    }
    return form;
}
