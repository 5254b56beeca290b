#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

// Card texts are UTF-8 in the core; the screen shows QString. These convert at the window
// boundary.
QString fromCardText(std::string_view text);
// None when the text holds something UTF-8 cannot carry (half of a surrogate pair, which
// only a program, never a keyboard, can put into a box).
std::optional<std::string> toCardText(const QString& text);
// The parts of the text that toCardText refuses, each once, in order.
QString unrepresentableCharacters(const QString& text);
// The number of characters as a reader counts them: a letter with its accents, an emoji
// with its modifiers, a letter outside the first 65,536 are one each.
int characterCount(const QString& text);
// The text cut to at most `count` such characters.
QString firstCharacters(const QString& text, int count);
