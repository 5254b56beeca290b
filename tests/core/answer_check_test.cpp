#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/answer_check.h"
#include "core/card_store.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "tests/support/fake_host.h"

namespace {

constexpr AnswerVerdict R = AnswerVerdict::Right;
constexpr AnswerVerdict D = AnswerVerdict::Differs;

struct Rule {
    const char* name;
    bool strictOrder;
    bool allWords;
};
constexpr Rule kStrict{"strict order", true, true};
constexpr Rule kAll{"all words", false, true};
constexpr Rule kSome{"some words", false, false};

struct Example {
    const char* name;
    std::string stored;
    std::string typed;
    AnswerVerdict strict;
    AnswerVerdict all;
    AnswerVerdict some;
    bool tooManyMeanings = false;  // the word rules end at the ten-word limit
};

std::vector<Example> examples() {
    const std::string letters10 = "a,b,c,d,e,f,g,h,i,j";
    const std::string letters11 = "a,b,c,d,e,f,g,h,i,j,k";
    const std::string x59(59, 'x');
    const std::string x60(60, 'x');
    const std::string x65(65, 'x');
    return {
        {"equal texts", "house, home", "house, home", R, R, R},
        {"words swapped", "house, home", "home, house", D, R, R},
        {"other separator, no blank", "house, home", "house;home", D, R, R},
        {"one of two words", "house, home", "home", D, D, R},
        {"same word twice", "house, home", "house, house", D, R, R},
        {"case differs", "house, home", "House, home", D, D, D},
        {"extra word", "house, home", "house, home, flat", D, D, D},
        {"second blank belongs to the word", "house, home", "house,  home", D, D, D},
        {"empty last typed word", "house, home", "house,", D, D, D},
        {"stored trailing blank kept", "house; home ,flat", "home", D, D, D},
        {"two of three stored words", "house; home ,flat", "flat, house", D, D, R},
        {"stored empty middle word", "house,,home", "house, home", D, D, R},
        {"stored empty middle word typed alike", "house,,home", "house,,home", R, R, R},
        {"typed trailing blank", "car", "car ", D, D, D},
        {"without blank vs with blank", "house,home", "house, home", D, R, R},
        {"empty typed, empty stored", "", "", R, R, R},
        {"empty typed, stored empty word", "house,", "", D, D, R},
        {"empty typed, no empty word", "house", "", D, D, D},
        {"separator then blank then separator", "a, ,b", "b,,a", D, R, R},
        {"ten stored words, two typed", letters10, "j, a", D, D, R},
        {"ten stored words, all typed", letters10, "j,i,h,g,f,e,d,c,b,a", D, R, R},
        {"eleven stored words", letters11, "a", D, D, D, true},
        {"eleven stored words typed exactly", letters11, letters11, R, R, R},
        {"eleven stored words, all typed", letters11, "k,j,i,h,g,f,e,d,c,b,a", D, D, D, true},
        // Long words are compared whole: a 60-character prefix of a longer stored word is
        // not that word.
        {"typed prefix of a long stored word", x65 + ",y", x60, D, D, D},
        {"long stored word typed whole", x60 + ", y", x60, D, D, R},
        {"59 against 60 characters", x60 + ",y", x59, D, D, D},
    };
}

TEST(CompareAnswer, ExamplesUnderEachOrderRule) {
    for (const Example& example : examples()) {
        CardStore store;
        Card& card = store.createCard();
        store.setText(card, CardField::Answer, example.stored);
        for (const auto& [rule, expected] :
             {std::pair{kStrict, example.strict}, std::pair{kAll, example.all},
              std::pair{kSome, example.some}}) {
            SCOPED_TRACE(std::string(example.name) + " / " + rule.name);
            Preferences preferences;
            preferences.strictOrder = rule.strictOrder;
            preferences.allWords = rule.allWords;
            FakeHost host;
            EXPECT_EQ(compareAnswer(card, example.typed, preferences, host), expected);
            const bool limitShown = example.tooManyMeanings && !rule.strictOrder;
            EXPECT_EQ(host.errors,
                      limitShown ? std::vector<int>{Msg::TooManyMeanings} : std::vector<int>{});
        }
    }
}

// Letting case or accents pass: each row gives the outcome with neither, case only,
// accents only and both switched on: '-' differs, 'R' right as typed, 'C' right with case
// let pass, 'A' with accents let pass, 'B' with both. Card texts are Windows-1252.
struct ToleranceExample {
    const char* name;
    Rule rule;
    std::string stored;
    std::string typed;
    const char* outcomes;
    bool limitShown = false;  // the ten-word error box, once, whenever the answer differs
};

std::vector<ToleranceExample> toleranceExamples() {
    const std::string lower11 = "a,b,c,d,e,f,g,h,i,j,k";
    const std::string upper11 = "A,b,c,d,e,f,g,h,i,j,k";
    return {
        {"equal texts need nothing", kAll, "Haus", "Haus", "RRRR"},
        {"capital letter", kAll, "Haus", "haus", "-C-C"},
        {"accent left out", kAll, "caf\xE9", "cafe", "--AA"},
        {"sharp s written out is an accent matter", kAll,
         "Stra\xDF"
         "e",
         "Strasse", "--AA"},
        {"sharp s in capitals needs both", kAll,
         "Stra\xDF"
         "e",
         "STRASSE", "---B"},
        {"case and accent together", kAll, "Caf\xE9", "cafe", "---B"},
        {"another word stays wrong", kAll, "Haus", "Hose", "----"},
        {"meanings swapped with a capital", kAll, "maison, Haus", "haus, maison", "-C-C"},
        {"strict order, capital only", kStrict, "house, Home", "house, home", "-C-C"},
        {"strict order, swapped and capital", kStrict, "home, house", "House, home", "----"},
        {"some words, one meaning with a capital", kSome, "Haus, maison", "haus", "-C-C"},
        {"all words still wants every meaning", kAll, "Haus, maison", "haus", "----"},
        {"eleven words typed whole with a capital", kAll, upper11, lower11, "-C-C", true},
        {"eleven words, one typed", kAll, upper11, "a", "----", true},
    };
}

TEST(CheckAnswer, ToleratesOnlyWhatThePreferencesAllow) {
    const char* settings[] = {"neither", "case", "accents", "both"};
    for (const ToleranceExample& example : toleranceExamples()) {
        for (int setting = 0; setting < 4; ++setting) {
            SCOPED_TRACE(std::string(example.name) + " / " + settings[setting]);
            CardStore store;
            Card& card = store.createCard();
            store.setText(card, CardField::Answer, example.stored);
            Preferences preferences;
            preferences.strictOrder = example.rule.strictOrder;
            preferences.allWords = example.rule.allWords;
            preferences.ignoreCase = setting == 1 || setting == 3;
            preferences.ignoreAccents = setting >= 2;
            FakeHost host;
            const AnswerCheck check = checkAnswer(card, example.typed, preferences, host);
            const char expected = example.outcomes[setting];
            EXPECT_EQ(check.verdict, expected == '-' ? D : R);
            const ToleratedDifference tolerated = expected == 'C'   ? ToleratedDifference::Case
                                                  : expected == 'A' ? ToleratedDifference::Accents
                                                  : expected == 'B'
                                                      ? ToleratedDifference::CaseAndAccents
                                                      : ToleratedDifference::None;
            EXPECT_EQ(check.tolerated, tolerated);
            const bool limitShown = example.limitShown && expected == '-';
            EXPECT_EQ(host.errors,
                      limitShown ? std::vector<int>{Msg::TooManyMeanings} : std::vector<int>{});
        }
    }
}

}  // namespace
