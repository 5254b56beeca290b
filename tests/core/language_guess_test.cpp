#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/language_guess.h"

namespace {

struct GuessCase {
    const char* name;
    std::vector<std::string> texts;
    std::string language;
};

void PrintTo(const GuessCase& c, std::ostream* os) {
    *os << c.name;
}

class LanguageGuess : public testing::TestWithParam<GuessCase> {};

TEST_P(LanguageGuess, NamesTheLanguageOfAColumn) {
    EXPECT_EQ(guessLanguage(GetParam().texts), GetParam().language);
}

// Vocabulary columns are mostly single words, so the letters must decide where no common
// word occurs.
INSTANTIATE_TEST_SUITE_P(
    Columns, LanguageGuess,
    testing::Values(
        GuessCase{"Russian", {"дом", "собака", "Хорошо"}, "ru"},
        GuessCase{"UkrainianByItsLetters", {"дім", "собака", "їжак"}, "uk"},
        GuessCase{"GermanByUmlautAndSharpS", {"Haus", "schön", "Straße"}, "de"},
        GuessCase{"GermanArticlesWithoutUmlauts", {"der Hund", "die Katze", "das Haus"}, "de"},
        GuessCase{"EnglishPlainLetters", {"house", "dog", "to walk"}, "en"},
        GuessCase{"FrenchWithArticles", {"la maison", "le chien", "une école"}, "fr"},
        GuessCase{"PolishByItsLetters", {"dziękuję", "łódź", "cześć"}, "pl"},
        GuessCase{"Greek", {"σπίτι", "ο σκύλος"}, "el"},
        GuessCase{"JapaneseKanjiWithKana", {"日本語", "ねこ", "食べる"}, "ja"},
        GuessCase{"ChineseWithoutKana", {"你好", "中国"}, "zh"},
        GuessCase{"LatinWordsInACyrillicColumn", {"собака", "TV", "телевизор"}, "ru"},
        GuessCase{"NoLetters", {"123", "", "?!"}, ""}),
    [](const testing::TestParamInfo<GuessCase>& info) { return std::string(info.param.name); });

TEST(ListLanguagesText, ReadsBackWhatWasWritten) {
    for (const ListLanguages& languages :
         {ListLanguages{"ru", "de"}, ListLanguages{"", "pt-BR"}, ListLanguages{}}) {
        EXPECT_EQ(ListLanguages::decode(languages.encode()), languages) << languages.encode();
    }
}

TEST(ListLanguagesText, RefusesDamagedText) {
    struct Row {
        const char* text;
        bool read;
    };
    for (const Row& row : {
             Row{"question=ru;answer=de;voice=x", true},  // later additions are skipped
             Row{"answer=de;question=ru", true},
             Row{"", false},
             Row{"question=ru", false},
             Row{"question=ru;answer=de;answer=fr", false},
             Row{"question=r;answer=de", false},
             Row{"question=ru;answer=d e", false},
             Row{"question=ru;answer=de-", false},
             Row{"garbage", false},
         }) {
        EXPECT_EQ(ListLanguages::decode(row.text).has_value(), row.read) << row.text;
    }
}

}  // namespace
