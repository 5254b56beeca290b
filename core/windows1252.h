#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1252, the code page of the older list formats, and UTF-8. The five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters
// of the same number, so that every byte survives a round trip.

// The UTF-8 form of Windows-1252 bytes; never fails.
std::string windows1252ToUtf8(std::string_view bytes);
// The Windows-1252 bytes of a UTF-8 text; none when the text holds a character the code
// page cannot hold or is not valid UTF-8.
std::optional<std::string> utf8ToWindows1252(std::string_view text);
// The Windows-1252 byte of a code point, or -1 when the code page has none.
int windows1252ByteOf(char32_t c);
// Whether every character of the UTF-8 text has a Windows-1252 byte.
bool fitsWindows1252(std::string_view text);
