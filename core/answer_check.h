#pragma once

#include <string_view>
#include <vector>

class Card;
class Host;
struct Preferences;

enum class AnswerVerdict { Right, Differs };

// What a right answer was let off with, when the preferences allow differences of case or
// of accents: the window tells the user so.
enum class ToleratedDifference { None, Case, Accents, CaseAndAccents };

struct AnswerCheck {
    AnswerVerdict verdict = AnswerVerdict::Differs;
    ToleratedDifference tolerated = ToleratedDifference::None;
};

// Judges the typed answer against the card's stored answer under the order rule of the
// preferences, read afresh at every call. Meanings are separated by ',' or ';' and one
// blank right after a separator is not part of the next meaning; everything else is
// compared character for character, two spellings of one letter (é as one character or as
// e and a combining accent) being the same. Differs is never final: the window asks the user next.
// A stored answer of more than ten meanings cannot be compared meaning by meaning: the
// error box (message 181) is shown and the result is Differs.
AnswerVerdict compareAnswer(const Card& card, std::string_view typed,
                            const Preferences& preferences, Host& host);
// The same for a stored answer given as text.
AnswerVerdict compareAnswerText(std::string_view stored, std::string_view typed,
                                const Preferences& preferences, Host& host);

// compareAnswer, and when the preferences let case or accents pass and only they stand
// between the answer and Right, Right with what was let pass: the least of case, accents,
// or both, that makes the answer right under the same order rule. With both preferences
// off the verdict is exactly compareAnswer's.
AnswerCheck checkAnswer(const Card& card, std::string_view typed, const Preferences& preferences,
                        Host& host);
AnswerCheck checkAnswerText(std::string_view stored, std::string_view typed,
                            const Preferences& preferences, Host& host);

// The meanings of an answer as the checking splits them, empty ones included; no limit on
// their number.
std::vector<std::string_view> splitMeanings(std::string_view answer);
