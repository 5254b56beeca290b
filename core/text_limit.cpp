#include "core/text_limit.h"

#include <vector>

#include "core/unicode_text.h"

namespace {

// Code points as the character walk of unicode_text.h sees them: an ill-formed byte is
// one of its own. A text never has more characters than this.
std::size_t codePoints(std::string_view text) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0x80)
            ++pos;
        else
            decodeUtf8(text, pos);
        ++count;
    }
    return count;
}

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::size_t fittingLength(std::string_view text, std::size_t characters, std::size_t bytes) {
    if (text.size() <= characters && text.size() <= bytes)
        return text.size();  // a character is at least one byte
    if (text.size() <= bytes && codePoints(text) <= characters)
        return text.size();
    const std::string_view head = firstCharacters(text, characters);
    if (head.size() <= bytes)
        return head.size();
    // Whether a character ends at a place depends on the code point that follows it, which
    // is whole within four more bytes.
    std::size_t end = 0;
    for (const std::string_view c : splitCharacters(head.substr(0, bytes + 4))) {
        if (end + c.size() > bytes)
            break;
        end += c.size();
    }
    if (end != 0)
        return end;
    end = bytes;
    while (end > 0 && isContinuation(text[end]))
        --end;
    return end;
}
