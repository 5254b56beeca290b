#pragma once

#include <optional>
#include <string>
#include <string_view>

// The languages a list's questions and answers are spoken in, as BCP 47 tags ("ru", "de",
// "pt-BR"); an empty tag means not chosen. Kept with the list's own data beside its review
// history, never in the list file.
struct ListLanguages {
    std::string question;
    std::string answer;

    bool empty() const { return question.empty() && answer.empty(); }
    // "question=ru;answer=de". Names this version does not know are skipped when read,
    // so that a later version can add to the text.
    std::string encode() const;
    // None for a text that is not of that form or names a tag that is not well formed;
    // the caller then treats the languages as not chosen.
    static std::optional<ListLanguages> decode(std::string_view text);

    bool operator==(const ListLanguages&) const = default;
};

// Whether `tag` has the form of a BCP 47 language tag: subtags of 1 to 8 ASCII letters or
// digits joined by hyphens, the first of 2 to 8 letters.
bool isLanguageTag(std::string_view tag);
