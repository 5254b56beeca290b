#pragma once

#include <string>
#include <vector>

#include "core/list_languages.h"

// Guesses the language of a column of card texts (UTF-8) and gives it as a BCP 47 tag, or
// empty when the texts hold no letters. The script decides where it names one language
// (Greek, Hebrew, Korean, Japanese kana); Cyrillic and Arabic are told apart by the letters
// only some of their languages use, and Latin-script languages by their commonest short
// words and their accented letters. Latin text that shows none of them is taken for
// English. It is a first proposal that the user confirms, not a verdict.
std::string guessLanguage(const std::vector<std::string>& texts);

// The guess for both columns of a list.
ListLanguages guessListLanguages(const std::vector<std::string>& questions,
                                 const std::vector<std::string>& answers);
