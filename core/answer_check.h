#pragma once

#include <string_view>

class Card;
class Host;
struct Preferences;

enum class AnswerVerdict { Right, Differs };

// Judges the typed answer against the card's stored answer under the order rule of the
// preferences, read afresh at every call. Meanings are separated by ',' or ';' and one
// blank right after a separator is not part of the next meaning; everything else is
// compared byte for byte. Differs is never final: the window asks the user next.
// A stored answer of more than ten meanings cannot be compared meaning by meaning: the
// error box (message 181) is shown and the result is Differs.
AnswerVerdict compareAnswer(const Card& card, std::string_view typed,
                            const Preferences& preferences, Host& host);
// The same for a stored answer given as text.
AnswerVerdict compareAnswerText(std::string_view stored, std::string_view typed,
                                const Preferences& preferences, Host& host);
