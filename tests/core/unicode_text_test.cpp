#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "core/unicode_text.h"
#include "core/windows1252.h"

namespace {

struct Utf8Case {
    const char* name;
    std::string text;
    bool valid;
    std::size_t characters;
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const Utf8Case& c, std::ostream* os) {
    *os << c.name;
}

class Utf8Text : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Text, ValidityAndCharacterCount) {
    const Utf8Case& c = GetParam();
    EXPECT_EQ(isValidUtf8(c.text), c.valid);
    if (c.valid) {
        EXPECT_EQ(characterCount(c.text), c.characters);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Text,
    testing::Values(Utf8Case{"Empty", "", true, 0}, Utf8Case{"Ascii", "Haus", true, 4},
                    Utf8Case{"Umlaut",
                             "M\xC3\xBC"
                             "de",
                             true, 4},
                    Utf8Case{"CombiningAccentIsOneLetter", "e\xCC\x81t\xC3\xA9", true, 3},
                    Utf8Case{"Cjk", "\xE6\x97\xA5\xE6\x9C\xAC", true, 2},
                    Utf8Case{"OutsideBmp", "\xF0\x9D\x84\x9E!", true, 2},
                    Utf8Case{"Hindi", "\xE0\xA4\xA8\xE0\xA4\xBF", true, 1},
                    Utf8Case{"CutSequence", "a\xC3", false, 0},
                    Utf8Case{"Overlong", "\xC0\xAF", false, 0},
                    Utf8Case{"OverlongThreeBytes", "\xE0\x80\xAF", false, 0},
                    Utf8Case{"Surrogate", "\xED\xA0\x80", false, 0},
                    Utf8Case{"AboveUnicode", "\xF4\x90\x80\x80", false, 0},
                    Utf8Case{"StrayContinuation", "\x80", false, 0}),
    [](const testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });

TEST(Utf8Text, FirstCharactersNeverSplitsALetter) {
    const std::string text = "e\xCC\x81t\xC3\xA9";  // é (e + accent), t, é
    EXPECT_EQ(firstCharacters(text, 0), "");
    EXPECT_EQ(firstCharacters(text, 1), "e\xCC\x81");
    EXPECT_EQ(firstCharacters(text, 2), "e\xCC\x81t");
    EXPECT_EQ(firstCharacters(text, 9), text);
}

TEST(Utf8Text, FoldCaseCoversEveryScriptWithCase) {
    EXPECT_EQ(foldCase("Stra\xC3\x9F"
                       "e"),
              foldCase("STRASSE"));
    EXPECT_EQ(foldCase("\xCE\x9B\xCE\xA9"), foldCase("\xCE\xBB\xCF\x89"));        // ΛΩ λω
    EXPECT_EQ(foldCase("\xD0\x94\xD0\x9E\xD0\x9C"), "\xD0\xB4\xD0\xBE\xD0\xBC");  // ДОМ
    EXPECT_EQ(foldCase("\xE6\x97\xA5"), "\xE6\x97\xA5");
}

struct LenientCase {
    const char* name;
    std::string a;
    std::string b;
    bool ignoreCase;
    bool ignoreAccents;
    bool equal;
};

class LenientForm : public testing::TestWithParam<LenientCase> {};

TEST_P(LenientForm, EqualExactlyWhereALearnerWouldSayTheSameWord) {
    const LenientCase& c = GetParam();
    EXPECT_EQ(lenientForm(c.a, c.ignoreCase, c.ignoreAccents) ==
                  lenientForm(c.b, c.ignoreCase, c.ignoreAccents),
              c.equal);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LenientForm,
    testing::Values(LenientCase{"EncodingOfAnAccentIsNoDifference", "caf\xC3\xA9", "cafe\xCC\x81",
                                false, false, true},
                    LenientCase{"GreekTonos", "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82",
                                "\xCE\xBB\xCE\xBF\xCE\xB3\xCE\xBF\xCF\x82", false, true, true},
                    LenientCase{"GreekCapitalsAndFinalSigma",
                                "\xCE\x9B\xCE\x9F\xCE\x93\xCE\x9F\xCE\xA3",
                                "\xCE\xBB\xCE\xBF\xCE\xB3\xCE\xBF\xCF\x82", true, false, true},
                    LenientCase{"VietnameseToneAndVowelMarks",
                                "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t \xC4\x91\xC6\xB0\xE1\xBB\x9Dng",
                                "Tieng Viet duong", false, true, true},
                    LenientCase{"CyrillicYoAndShortI", "\xD1\x91\xD0\xB6 \xD0\xB9",
                                "\xD0\xB5\xD0\xB6 \xD0\xB8", false, true, true},
                    LenientCase{"PolishStrokeAndAcute",
                                "\xC5\x82\xC3\xB3"
                                "d\xC5\xBA",
                                "lodz", false, true, true},
                    LenientCase{"TurkishDotlessI", "\xC4\xB1s\xC4\xB1k", "isik", false, true, true},
                    LenientCase{"SharpSIsNotACaseMatter",
                                "stra\xC3\x9F"
                                "e",
                                "strasse", true, false, false},
                    LenientCase{"CapitalSharpS",
                                "STRA\xE1\xBA\x9E"
                                "E",
                                "stra\xC3\x9F"
                                "e",
                                true, false, true},
                    LenientCase{"JapaneseDakutenMakesAnotherKana", "\xE3\x81\x8C", "\xE3\x81\x8B",
                                true, true, false},
                    LenientCase{"HindiVowelSignIsNoAccent", "\xE0\xA4\x95\xE0\xA4\xBF",
                                "\xE0\xA4\x95", true, true, false}),
    [](const testing::TestParamInfo<LenientCase>& info) { return std::string(info.param.name); });

TEST(Windows1252, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string text = windows1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(text));
    EXPECT_EQ(characterCount("\xE2\x82\xAC"), 1u);
    EXPECT_EQ(windows1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(utf8ToWindows1252(text), all);
}

TEST(Windows1252, RefusesWhatTheCodePageCannotHold) {
    EXPECT_FALSE(utf8ToWindows1252("\xC5\x82"));  // ł
    EXPECT_FALSE(utf8ToWindows1252("\xC3"));      // cut
    EXPECT_TRUE(fitsWindows1252("Caf\xC3\xA9"));
}

}  // namespace
