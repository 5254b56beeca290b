#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

// Card texts are Windows-1252 bytes; the screen shows Unicode. These convert at the
// window boundary and nowhere else.
QString fromCardText(std::string_view bytes);
// None when the text holds a character Windows-1252 cannot hold.
std::optional<std::string> toCardText(const QString& text);
// The characters of the text that Windows-1252 cannot hold, each once, in order.
QString unrepresentableCharacters(const QString& text);
