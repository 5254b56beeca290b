#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 text: decoding, validity, characters and case. A "character" here is what a
// reader sees as one letter (a grapheme cluster: a base letter with its combining marks,
// an emoji with its modifiers), so that a length limit never splits "é" written as e plus
// a combining accent, and the limits a user reads in the windows match what they count.

// Decodes one code point at `pos` and moves `pos` past it. None, with `pos` past the
// first byte, for anything that is not well-formed UTF-8: a cut sequence, an overlong
// form, a surrogate or a value above U+10FFFF.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos);
void appendUtf8(std::string& text, char32_t c);
bool isValidUtf8(std::string_view text);

// The number of characters (grapheme clusters) of valid UTF-8 text.
std::size_t characterCount(std::string_view text);
// The characters of the text, each as the bytes it spans.
std::vector<std::string_view> splitCharacters(std::string_view text);
// The longest start of the text that holds at most `count` characters.
std::string_view firstCharacters(std::string_view text, std::size_t count);

// Where each character after the first begins, in bytes, and the end of the text: the
// places a text may be cut without splitting a character.
std::vector<std::size_t> characterEnds(std::string_view text);

// The text with case folded for comparison (full Unicode case folding: "Straße" and
// "STRASSE" fold alike, so do Greek and Cyrillic capitals). Invalid UTF-8 comes back as
// it is.
std::string foldCase(std::string_view text);

// Canonical equivalence: "é" typed as one character and "e" followed by a combining acute
// accent are one text. Texts stay stored as they were typed or read; wherever the program
// compares texts it compares their composed forms (NFC).
//
// The text in composed form. Invalid UTF-8 comes back as it is.
std::string composedText(std::string_view text);
// The composed form as a view: the text itself when it is composed already (every text of
// only ASCII and Latin-1 letters is, and is told so without a look-up), else `storage`,
// which then holds the composed form.
std::string_view composedView(std::string_view text, std::string& storage);
// Whether the text is in composed form, told without composing it: at once for ASCII and
// Latin-1, by a look at each character for other scripts. A text that starts with a
// combining mark counts as not composed, as it may join the character before it.
bool isComposed(std::string_view text);
// Whether the two texts are the same text, however their letters are encoded.
bool sameText(std::string_view a, std::string_view b);

// The form in which two texts are compared when the user lets differences of case or of
// accents pass; texts with the same form count as equal. Both sides are decomposed first,
// so "é" typed as one character equals "e" with a combining accent.
// Case: Unicode case folding (Greek final sigma folds to sigma, "ẞ" to "ß"), except that
// "ß" stays a letter of its own: "Strasse" for "Straße" is a matter of accents, not of
// capital letters.
// Accents: every combining diacritical mark is dropped (Latin é ü ñ ç å, Vietnamese tone
// and vowel marks, Greek tonos and dialytika, Cyrillic ё and й), and the letters that carry
// their mark inside them are written as plain letters: ø ł đ ħ ŧ ı as o l d h t i, ß as ss,
// æ and œ as ae and oe. The marks of other scripts are kept: Japanese dakuten and the vowel
// signs of Indic scripts make other letters, and Hebrew and Arabic vowel points are not
// what a learner means by accents.
// Invalid UTF-8 comes back as it is.
std::string lenientForm(std::string_view text, bool ignoreCase, bool ignoreAccents);
