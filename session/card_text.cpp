#include "session/card_text.h"

#include <algorithm>

#include "core/unicode_text.h"

std::optional<std::string> cardTextFromUtf8(std::string_view utf8) {
    // Card texts are UTF-8: every well-formed text is one.
    if (!isValidUtf8(utf8))
        return std::nullopt;
    return std::string(utf8);
}

std::string utf8FromCardText(std::string_view cardText) {
    return std::string(cardText);
}

void collectUnstorableCharacters(std::string_view utf8, std::string& out) {
    // Most texts are plain ASCII, which any encoding of the store holds; a million rows are
    // then looked at without converting one.
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; }) ||
        cardTextFromUtf8(utf8)) {
        return;
    }
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        decodeUtf8(utf8, pos);
        const std::string_view character = utf8.substr(start, pos - start);
        if (!cardTextFromUtf8(character) && out.find(character) == std::string::npos)
            out.append(character);
    }
}
