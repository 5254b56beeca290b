#include <gtest/gtest.h>

#include <string>

#include "core/text_import.h"

namespace {

struct PlainCase {
    const char* name;
    std::string text;
    ColumnMapping mapping = {};
    TextImportOptions options = {};
};

ColumnMapping withLesson() {
    ColumnMapping mapping;
    mapping.lesson = 2;
    return mapping;
}

ColumnMapping withHeaderRow() {
    ColumnMapping mapping;
    mapping.firstRowIsHeader = true;
    return mapping;
}

TextImportOptions readAsUtf8() {
    TextImportOptions options;
    options.encoding = TextEncoding::Utf8;
    return options;
}

class PlainCandidates : public testing::TestWithParam<PlainCase> {};

}  // namespace

// A row said to be plain is taken as written without a look at its card: the card
// candidateAt makes of it must be exactly its fields, with nothing to report.
TEST_P(PlainCandidates, PlainRowsAreTheirFieldsUnchanged) {
    const PlainCase& c = GetParam();
    const TextImport import = importText(c.text, c.options);
    const std::size_t header = c.mapping.firstRowIsHeader ? 1 : 0;
    for (std::size_t i = 0; i + header < import.rowCount(); ++i) {
        if (!isPlainCandidate(import, c.mapping, i))
            continue;
        const CardCandidate candidate = candidateAt(import, c.mapping, i);
        const auto field = [&](std::optional<std::size_t> column) {
            return column ? std::string(import.field(i + header, *column)) : std::string("-");
        };
        EXPECT_TRUE(candidate.problems.empty()) << "row " << i;
        EXPECT_EQ(candidate.card.question, field(c.mapping.question)) << "row " << i;
        EXPECT_EQ(candidate.card.answer, field(c.mapping.answer)) << "row " << i;
        EXPECT_EQ(candidate.card.lesson, field(c.mapping.lesson)) << "row " << i;
        EXPECT_EQ(candidate.card.addInfo, field(c.mapping.addInfo)) << "row " << i;
    }
    // Each case ends with the row that must take the long way.
    EXPECT_FALSE(isPlainCandidate(import, c.mapping, import.rowCount() - header - 1));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlainCandidates,
    testing::Values(
        PlainCase{"BlanksAtTheEnds", "Haus;house\n Baum;tree\nKatze;cat \n", {}},
        PlainCase{"ControlCharacters",
                  "Haus;house\nBa\x7Fum;tree\nKatze;c\xC2\x85"
                  "at\nHund;d\xE2\x80\xA8og\n",
                  {}},
        PlainCase{"QuotedLineBreak", "Haus;house\n\"Ba\num\";tree\n", {}},
        PlainCase{"TooLong", "Haus;house\n" + std::string(101, 'q') + ";long\n", {}},
        PlainCase{"TooLongLesson", "Haus;house;L1\nBaum;tree;Lektion 123\n", withLesson()},
        PlainCase{"EmptyQuestion", "Haus;house\n;tree\n", {}},
        PlainCase{"ExtraFields", "Haus;house\nBaum;tree\nKatze;cat;extra\n", {}},
        PlainCase{"UnclosedQuote", "Haus;house\n\"Baum;tree\n", {}},
        PlainCase{"InvalidUtf8", "Haus;house\nB\xC3(aum;tree\n", {}, readAsUtf8()},
        PlainCase{"HeaderRow", "Question;Answer\nHaus;house\n;empty\n", withHeaderRow()},
        PlainCase{"Html", "#html:true\nHaus;house\n<b>Baum</b>;tree\n", {}}),
    [](const testing::TestParamInfo<PlainCase>& info) { return std::string(info.param.name); });
