#include <gtest/gtest.h>

#include <string>

#include "core/answer_diff.h"
#include "core/preferences.h"

namespace {

enum class Rule { Strict, All, Some };

Preferences under(Rule rule) {
    Preferences preferences;
    preferences.strictOrder = rule == Rule::Strict;
    preferences.allWords = rule != Rule::Some;
    return preferences;
}

// The meanings in one line: shared letters as they are, typed-only letters in <>,
// stored-only letters in {}, meanings separated by " | ".
std::string sketch(const AnswerDiff& diff) {
    std::string text;
    for (const MeaningDiff& meaning : diff.meanings) {
        if (!text.empty())
            text += " | ";
        if (meaning.kind == MeaningDiff::Kind::Missing)
            text += "missing:";
        if (meaning.kind == MeaningDiff::Kind::Extra)
            text += "extra:";
        for (const DiffSegment& segment : meaning.segments) {
            if (segment.part == DiffPart::Same)
                text += segment.text;
            else if (segment.part == DiffPart::TypedOnly)
                text += "<" + segment.text + ">";
            else
                text += "{" + segment.text + "}";
        }
    }
    return text;
}

struct DiffCase {
    const char* name;
    Rule rule;
    std::string typed;
    std::string stored;
    std::string sketch;
    std::string description;
};

class AnswerDiffTest : public testing::TestWithParam<DiffCase> {};

TEST_P(AnswerDiffTest, ShowsAndDescribesTheDifference) {
    const DiffCase& c = GetParam();
    const AnswerDiff diff = diffAnswerText(c.typed, c.stored, under(c.rule));
    EXPECT_EQ(sketch(diff), c.sketch);
    EXPECT_EQ(diff.description, c.description);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnswerDiffTest,
    testing::Values(
        DiffCase{"Typo", Rule::All, "hause", "house", "h<a>{o}use",
                 "typed hause, stored house: a instead of o"},
        DiffCase{"MissingLetter", Rule::All, "trinkn", "trinken", "trink{e}n",
                 "typed trinkn, stored trinken: missing e after k"},
        DiffCase{"ExtraLetterAtTheEnd", Rule::All, "houses", "house", "house<s>",
                 "typed houses, stored house: extra s at the end"},
        DiffCase{"NothingInCommon", Rule::All, "Hund", "Katze", "<Hund>{Katze}",
                 "typed Hund, stored Katze"},
        DiffCase{"ManyChangesAreCounted", Rule::All, "abcdefgh", "axcxexgx",
                 "a<b>{x}c<d>{x}e<f>{x}g<h>{x}",
                 "typed abcdefgh, stored axcxexgx: differs in 4 places"},
        DiffCase{"SwappedUnderStrictOrder", Rule::Strict, "home, house", "house, home",
                 "ho<m>{us}e | ho<us>{m}e", "the right meanings in another order: house, home"},
        DiffCase{"SwappedWithTypoUnderAllWords", Rule::All, "hme, house", "house, home",
                 "h{o}me | house", "typed hme, stored home: missing o after h"},
        DiffCase{"SwappedWithTypoUnderSomeWords", Rule::Some, "hme, house", "house, home",
                 "h{o}me | house", "typed hme, stored home: missing o after h"},
        DiffCase{"OtherSeparatorUnderStrictOrder", Rule::Strict, "house;home", "house, home",
                 "house<;>{, }home",
                 "typed house;home, stored house, home: semicolon instead of comma space"},
        DiffCase{"MissingMeaning", Rule::All, "house", "house, home", "house | missing:{home}",
                 "missing meaning home"},
        DiffCase{"LeftOutMeaningIsNoFaultUnderSomeWords", Rule::Some, "hose", "house, home",
                 "ho{u}se", "typed hose, stored house: missing u after o"},
        DiffCase{"ExtraMeaning", Rule::All, "house, home, flat", "house, home",
                 "house | home | extra:<flat>", "extra meaning flat"},
        DiffCase{"ManyMeaningsAreCounted", Rule::All, "a, b, c, d, e", "v, w, x, y, z",
                 "<a>{v} | <b>{w} | <c>{x} | <d>{y} | <e>{z}",
                 "typed a, stored v; typed b, stored w; typed c, stored x; and 2 more"},
        DiffCase{"Cyrillic", Rule::All, "\xD0\xB4\xD0\xBC", "\xD0\xB4\xD0\xBE\xD0\xBC",
                 "\xD0\xB4{\xD0\xBE}\xD0\xBC",
                 "typed \xD0\xB4\xD0\xBC, stored \xD0\xB4\xD0\xBE\xD0\xBC: missing \xD0\xBE after "
                 "\xD0\xB4"},
        // たべる against たべます: one kana typed where two are stored.
        DiffCase{"Japanese", Rule::All, "\xE3\x81\x9F\xE3\x81\xB9\xE3\x82\x8B",
                 "\xE3\x81\x9F\xE3\x81\xB9\xE3\x81\xBE\xE3\x81\x99",
                 "\xE3\x81\x9F\xE3\x81\xB9<\xE3\x82\x8B>{\xE3\x81\xBE\xE3\x81\x99}",
                 "typed \xE3\x81\x9F\xE3\x81\xB9\xE3\x82\x8B, stored "
                 "\xE3\x81\x9F\xE3\x81\xB9\xE3\x81\xBE\xE3\x81\x99: \xE3\x82\x8B instead of "
                 "\xE3\x81\xBE\xE3\x81\x99"},
        // An accent typed as a combining mark is one letter, and the same as a precomposed
        // one.
        DiffCase{"AccentIsPartOfItsLetter", Rule::All, "cafe\xCC\x81s", "caf\xC3\xA9",
                 "caf\xC3\xA9<s>", "typed caf\xC3\xA9s, stored caf\xC3\xA9: extra s at the end"}),
    [](const testing::TestParamInfo<DiffCase>& info) { return std::string(info.param.name); });

}  // namespace
