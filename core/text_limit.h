#pragma once

#include <cstddef>
#include <string_view>

// The length in bytes of the longest start of the UTF-8 text that holds at most
// `characters` characters (grapheme clusters, as unicode_text.h counts them) and at most
// `bytes` bytes, ending between two characters. Only when the first character alone is
// longer than `bytes` does the cut fall inside it, between two of its code points, so that
// a letter under a pile of accents keeps at least the letter. Each byte of an ill-formed
// sequence counts as a character of its own. Texts of at most `characters` bytes are
// taken whole without looking at a single character.
std::size_t fittingLength(std::string_view text, std::size_t characters, std::size_t bytes);
