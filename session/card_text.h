#pragma once

#include <optional>
#include <string>
#include <string_view>

// Card texts as the store holds them, and UTF-8, in which imports hand their cards over and
// exports write them. Every card text that crosses between the two passes through this
// pair, so that the store's encoding is known here and nowhere else on that road.

// The store's form of a UTF-8 text; none when the store cannot hold one of its characters
// (or the text is not UTF-8).
std::optional<std::string> cardTextFromUtf8(std::string_view utf8);
// The UTF-8 form of a text from the store; never fails.
std::string utf8FromCardText(std::string_view cardText);

// The characters of a UTF-8 text that the store cannot hold, each once, in order of first
// appearance, appended to `out` unless already there.
void collectUnstorableCharacters(std::string_view utf8, std::string& out);
