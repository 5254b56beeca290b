#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Conversions between the encodings list files come in and the UTF-8 of card texts, made
// for readers and writers that handle millions of short texts: none allocates per text,
// and plain ASCII, by far the most common, goes through eight bytes at a time.

// Whether every byte is below 0x80.
bool isAscii(std::string_view bytes);
// Whether the bytes are well-formed UTF-8 (no cut sequence, overlong form, surrogate or
// value above U+10FFFF).
bool isWellFormedUtf8(std::string_view bytes);
// The same for bytes in a buffer that may be read up to fifteen bytes past their end, made
// for the rows of a list: sixteen bytes at a time while they are ASCII and two-byte
// characters.
bool isWellFormedUtf8InBuffer(std::string_view bytes);

// The room windows1252AsUtf8 needs for `n` bytes: three bytes a character at most, and
// some slack it may write past the end.
constexpr std::size_t utf8RoomForWindows1252(std::size_t n) {
    return 3 * n + 16;
}
// Writes the UTF-8 form of Windows-1252 bytes to `out`, which has utf8RoomForWindows1252
// bytes of room; returns the length of the text. The five bytes the code page leaves
// undefined become the control characters of the same number, as in windows1252.h.
std::size_t windows1252AsUtf8(std::string_view bytes, char* out);
// The same for bytes in a buffer that may be read up to 31 bytes past their end (a reader's
// buffer with slack behind it), for the many short texts of a list: they go through in
// blocks of sixteen bytes.
std::size_t windows1252AsUtf8InBuffer(std::string_view bytes, char* out);

// Appends the Windows-1252 bytes of UTF-8 text to `out`; false, with `out` as it was, when
// the text holds a character the code page cannot hold or is not well-formed.
bool appendAsWindows1252(std::string& out, std::string_view text);
// Whether appendAsWindows1252 would succeed; allocates nothing.
bool encodableAsWindows1252(std::string_view text);

// Decodes one code point at `pos` and moves `pos` past it. On an ill-formed sequence it
// gives none and moves `pos` past its maximal subpart: a lead byte with the continuation
// bytes that could still have made a character of it (so a sequence cut short counts as
// one error, however many of its bytes are there), else the single byte.
std::optional<char32_t> decodeUtf8Maximal(std::string_view text, std::size_t& pos);

// The text with every ill-formed sequence (maximal subpart) replaced by U+FFFD, appended
// to `out`; returns the number of replacements.
std::size_t appendRepairedUtf8(std::string& out, std::string_view text);

// The text with every byte that is not part of a well-formed sequence taken as a
// Windows-1252 character.
std::string utf8WithWindows1252Bytes(std::string_view text);

// UTF-16 (without its byte-order mark) as UTF-8. What is not a character there (half of a
// surrogate pair without the other half, a last odd byte) becomes the byte 0xFF, which
// UTF-8 never holds, so that the caller's repair of ill-formed UTF-8 finds it in the text
// it belongs to.
std::string utf16AsUtf8(std::string_view bytes, bool bigEndian);
