#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text in one of the many encodings the C library can convert (Windows-1251, ISO-8859-7,
// KOI8-R, Shift_JIS, ...), named as files name them.

// The bytes as UTF-8. A byte sequence that is no character in the encoding becomes U+FFFD,
// counted in `replaced` when given. None when the system has no converter for the name.
std::optional<std::string> convertToUtf8(std::string_view bytes, const std::string& encoding,
                                         std::size_t* replaced = nullptr);
