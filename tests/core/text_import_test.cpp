#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/card_store.h"
#include "core/html_text.h"
#include "core/import_pipeline.h"
#include "core/list_ops.h"
#include "core/text_import.h"
#include "tests/core/card_record_printer.h"

namespace {

// The UTF-16 bytes of ASCII text, with or without a byte-order mark.
std::string utf16(std::string_view ascii, bool bigEndian, bool mark) {
    std::string out;
    if (mark)
        out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : ascii) {
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
}

struct Row {
    std::size_t line;
    std::vector<std::string> fields;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << "line " << row.line << ":";
    for (const std::string& f : row.fields)
        *os << " [" << f << "]";
}

std::vector<Row> rowsOf(const TextImport& import) {
    std::vector<Row> rows;
    for (std::size_t r = 0; r < import.rowCount(); ++r) {
        Row row{import.line(r), {}};
        for (std::size_t c = 0; c < import.fieldCount(r); ++c)
            row.fields.emplace_back(import.field(r, c));
        rows.push_back(row);
    }
    return rows;
}

struct DetectionCase {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    char32_t separator;
    std::vector<Row> rows;
};

class TextDetection : public testing::TestWithParam<DetectionCase> {};

TEST_P(TextDetection, FindsEncodingSeparatorAndRows) {
    const DetectionCase& c = GetParam();
    const TextImport import = importText(c.bytes);
    ASSERT_EQ(import.status, TextImport::Status::Rows);
    EXPECT_EQ(import.encoding, c.encoding);
    EXPECT_EQ(import.separator, c.separator);
    EXPECT_EQ(rowsOf(import), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TextDetection,
    testing::Values(
        DetectionCase{
            "CommaFileWithTimesKeepsTheComma",
            "Meeting,9:00\nLunch,12:30\nDinner at home,19:00\n",
            TextEncoding::Utf8,
            ',',
            {{1, {"Meeting", "9:00"}}, {2, {"Lunch", "12:30"}}, {3, {"Dinner at home", "19:00"}}}},
        DetectionCase{"SpreadsheetSemicolonsWithCommasInTextInWindows1252",
                      "Haus;house, home\r\nM\xFC"
                      "de;tired, weary, worn\r\nK\xE4se;cheese\r\n",
                      TextEncoding::Windows1252,
                      ';',
                      {{1, {"Haus", "house, home"}},
                       {2,
                        {"M\xC3\xBC"
                         "de",
                         "tired, weary, worn"}},
                       {3, {"K\xC3\xA4se", "cheese"}}}},
        DetectionCase{"Utf8WithByteOrderMark",
                      "\xEF\xBB\xBF"
                      "Stra\xC3\x9F"
                      "e\tstreet\n",
                      TextEncoding::Utf8,
                      '\t',
                      {{1,
                        {"Stra\xC3\x9F"
                         "e",
                         "street"}}}},
        DetectionCase{"Utf16LittleEndian",
                      utf16("eins\tone\r\nzwei\ttwo\r\n", false, true),
                      TextEncoding::Utf16LittleEndian,
                      '\t',
                      {{1, {"eins", "one"}}, {2, {"zwei", "two"}}}},
        DetectionCase{"Utf16BigEndian",
                      utf16("eins;one\n", true, true),
                      TextEncoding::Utf16BigEndian,
                      ';',
                      {{1, {"eins", "one"}}}},
        DetectionCase{"Utf16WithoutMark",
                      utf16("eins,one\nzwei,two\n", false, false),
                      TextEncoding::Utf16LittleEndian,
                      ',',
                      {{1, {"eins", "one"}}, {2, {"zwei", "two"}}}},
        DetectionCase{
            "QuotedFieldsHoldSeparatorsQuotesAndLineBreaks",
            "\"one\r\ntwo\",x\r\n\"say \"\"hi\"\", then go\",y\r\nz,\"a,b\"\r\n",
            TextEncoding::Utf8,
            ',',
            {{1, {"one\r\ntwo", "x"}}, {3, {"say \"hi\", then go", "y"}}, {4, {"z", "a,b"}}}},
        DetectionCase{"HeaderLinesAndComments",
                      "#separator:Pipe\n#html:true\n#columns:Front|Back\nq1|a1\n\n# later\nq2|a2\n",
                      TextEncoding::Utf8,
                      '|',
                      {{4, {"q1", "a1"}}, {7, {"q2", "a2"}}}},
        DetectionCase{"RowsOfEmptyFieldsAreSkipped",
                      "a;b\n;;\n  ; \nc;d\n",
                      TextEncoding::Utf8,
                      ';',
                      {{1, {"a", "b"}}, {4, {"c", "d"}}}},
        DetectionCase{"OneColumnFallsBackToTab",
                      "Haus\nBaum\n",
                      TextEncoding::Utf8,
                      '\t',
                      {{1, {"Haus"}}, {2, {"Baum"}}}},
        DetectionCase{"Utf8WithAStrayByteStaysUtf8",
                      "H\xC3\xA4user;houses\nK\xE4se;cheese\nM\xC3\xBC"
                      "de;tired\n",
                      TextEncoding::Utf8,
                      ';',
                      {{1, {"H\xC3\xA4user", "houses"}},
                       {2, {"K\xEF\xBF\xBDse", "cheese"}},
                       {3,
                        {"M\xC3\xBC"
                         "de",
                         "tired"}}}},
        DetectionCase{"SemicolonBlankInEveryAnswerKeepsTheComma",
                      "house,das Haus; das Geb\xC3\xA4ude\ndog,der Hund; der K\xC3\xB6ter\n",
                      TextEncoding::Utf8,
                      ',',
                      {{1, {"house", "das Haus; das Geb\xC3\xA4ude"}},
                       {2, {"dog", "der Hund; der K\xC3\xB6ter"}}}},
        DetectionCase{"HeaderRowSplitsOnlyAtTheComma",
                      "Question,Answer\nhouse,Haus;Geb\xC3\xA4ude\n",
                      TextEncoding::Utf8,
                      ',',
                      {{1, {"Question", "Answer"}}, {2, {"house", "Haus;Geb\xC3\xA4ude"}}}},
        DetectionCase{"QuoteThatNeverClosesIsAnOrdinaryCharacter",
                      "a,\"b\nc,d\n",
                      TextEncoding::Utf8,
                      ',',
                      {{1, {"a", "\"b"}}, {2, {"c", "d"}}}}),
    [](const testing::TestParamInfo<DetectionCase>& info) { return std::string(info.param.name); });

TEST(TextImport, HeaderLinesAreHonouredAndOptionsWinOverThem) {
    const std::string file =
        "#separator:semicolon\n#html:true\n#columns:Front;Back\n<b>q</b>;a,b\n";
    const TextImport fromHeader = importText(file);
    EXPECT_EQ(fromHeader.separatorSource, SeparatorSource::Header);
    EXPECT_EQ(fromHeader.separator, U';');
    EXPECT_TRUE(fromHeader.html);
    EXPECT_EQ(fromHeader.columnNames, (std::vector<std::string>{"Front", "Back"}));
    EXPECT_EQ(fromHeader.commentLines, 3u);

    const TextImport overridden = importText(file, {TextEncoding::Windows1252, U',', false});
    EXPECT_EQ(overridden.separatorSource, SeparatorSource::Option);
    EXPECT_EQ(overridden.detectedEncoding, TextEncoding::Utf8);
    EXPECT_EQ(overridden.encoding, TextEncoding::Windows1252);
    EXPECT_FALSE(overridden.html);
    EXPECT_EQ(rowsOf(overridden), (std::vector<Row>{{4, {"<b>q</b>;a", "b"}}}));
}

TEST(TextImport, BinaryFilesAreNotText) {
    const std::vector<std::string> binaries = {
        std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10", 20),
        "\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x0F\x10\x11\x12\x13\x14\x15 some text",
        utf16("a\tb\n", false, true) + std::string("\0\0", 2)};
    for (const std::string& bytes : binaries) {
        const TextImport import = importText(bytes);
        EXPECT_EQ(import.status, TextImport::Status::NotText) << bytes;
        EXPECT_EQ(import.rowCount(), 0u);
    }
}

struct CandidateCase {
    const char* name;
    std::string bytes;
    ColumnMapping mapping;
    std::size_t line;
    CardRecord card;
    std::vector<ImportProblemKind> problems;
};

class TextCandidates : public testing::TestWithParam<CandidateCase> {};

TEST_P(TextCandidates, LastRowGivesThisCard) {
    const CandidateCase& c = GetParam();
    const TextImport import = importText(c.bytes);
    const std::size_t header = c.mapping.firstRowIsHeader ? 1 : 0;
    ASSERT_GT(import.rowCount(), header);
    const CardCandidate last = candidateAt(import, c.mapping, import.rowCount() - header - 1);
    EXPECT_EQ(last.line, c.line);
    EXPECT_EQ(last.card, c.card);
    std::vector<ImportProblemKind> kinds;
    for (const ImportProblem& p : last.problems)
        kinds.push_back(p.kind);
    EXPECT_EQ(kinds, c.problems);
    EXPECT_EQ(last.taken(), !last.has(ImportProblemKind::EmptyQuestion));
}

const std::string k120(120, 'x');
const ColumnMapping kFourColumns{0, 1, 2, 3, false};
const std::string kAccented100 = [] {
    std::string s;
    for (int i = 0; i < 100; ++i)
        s += "e\xCC\x81";  // e with a combining accent
    return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Rows, TextCandidates,
    testing::Values(CandidateCase{"PlainRowWithoutLessonColumnGetsDashes",
                                  "Haus;house\n",
                                  {},
                                  1,
                                  {"Haus", "house", "-", "-", 0},
                                  {}},
                    CandidateCase{"EmptyQuestionIsNotTaken",
                                  "a;b\n;answer only\n",
                                  {},
                                  2,
                                  {"", "answer only", "-", "-", 0},
                                  {ImportProblemKind::EmptyQuestion}},
                    CandidateCase{"LongQuestionIsCutAtTheLimit",
                                  "q;a\n" + k120 + ";a\n",
                                  {},
                                  2,
                                  {std::string(100, 'x'), "a", "-", "-", 0},
                                  {ImportProblemKind::TooLong}},
                    CandidateCase{"LessonIsCutAtTenCharacters",
                                  "q\ta\tLektion 12a\tinfo\n",
                                  kFourColumns,
                                  1,
                                  {"q", "a", "Lektion 12", "info", 0},
                                  {ImportProblemKind::TooLong}},
                    CandidateCase{"UnquotedSeparatorInTextGivesExtraFields",
                                  "a;b\nc;d\nHaus;house;home\n",
                                  {},
                                  3,
                                  {"Haus", "house", "-", "-", 0},
                                  {ImportProblemKind::ExtraFields}},
                    CandidateCase{"TrailingEmptyFieldsAreNoExtraFields",
                                  "a;b\nc;d;;\n",
                                  {},
                                  2,
                                  {"c", "d", "-", "-", 0},
                                  {}},
                    CandidateCase{"LineBreakInQuotedFieldBecomesBlank",
                                  "q,\"two\r\nlines\"\n",
                                  {},
                                  1,
                                  {"q", "two lines", "-", "-", 0},
                                  {ImportProblemKind::ControlCharacter}},
                    CandidateCase{"UnclosedQuoteIsReported",
                                  "a,b\n\"q,a\n",
                                  {},
                                  2,
                                  {"\"q", "a", "-", "-", 0},
                                  {ImportProblemKind::UnclosedQuote}},
                    CandidateCase{"UndefinedWindows1252ByteIsInvalid",
                                  "a;b\nK\xE4se\x81;cheese\n",
                                  {},
                                  2,
                                  {"K\xC3\xA4se\xEF\xBF\xBD", "cheese", "-", "-", 0},
                                  {ImportProblemKind::InvalidBytes}},
                    CandidateCase{"HtmlIsStrippedWhenTheFileSaysSo",
                                  "#html:true\n<b>Haus</b>&nbsp;&amp;&#x20AC;\thouse<br>home\n",
                                  {},
                                  2,
                                  {"Haus &\xE2\x82\xAC", "house / home", "-", "-", 0},
                                  {}},
                    CandidateCase{
                        "BlanksAroundFieldsGo", " q ; a \n", {}, 1, {"q", "a", "-", "-", 0}, {}},
                    CandidateCase{"LettersWithCombiningAccentsCountAsOne",
                                  "q;" + kAccented100 + "\n",
                                  {},
                                  1,
                                  {"q", kAccented100, "-", "-", 0},
                                  {}}),
    [](const testing::TestParamInfo<CandidateCase>& info) { return std::string(info.param.name); });

TEST(TextImport, CutTextSaysWhatIsLost) {
    const TextImport import = importText("q;" + std::string(100, 'a') + "bcd\n");
    const CardCandidate c = candidateAt(import, {}, 0);
    ASSERT_EQ(c.problems.size(), 1u);
    EXPECT_EQ(c.problems[0].field, CardField::Answer);
    EXPECT_EQ(c.problems[0].lost, "bcd");
    EXPECT_EQ(c.problems[0].lostCount, 3u);
}

TEST(TextImport, PreviewCutsExactlyWhereTheStoreDoes) {
    // 100 letters of 17 bytes each reach the byte cap (1600) at the 94th letter.
    std::string letter = "e";
    for (int i = 0; i < 8; ++i)
        letter += "\xCC\x81";
    std::string heavy;
    for (int i = 0; i < 100; ++i)
        heavy += letter;
    const CardCandidate c = candidateAt(importText("q;a\n" + heavy + ";a\n"), {}, 1);
    ASSERT_EQ(c.problems.size(), 1u);
    EXPECT_EQ(c.problems[0].kind, ImportProblemKind::TooLong);
    EXPECT_EQ(c.problems[0].keptCount, 94u);
    EXPECT_EQ(c.problems[0].lostCount, 6u);
    CardStore store;
    const Card& card = addCard(store, store.unknownList, c.card.question, c.card.answer, "-", "-");
    EXPECT_EQ(card.question(), c.card.question);
}

TEST(TextImport, AnkiColumnsGiveNoTextsAndTheDeckIsTheLesson) {
    const std::string file =
        "#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#deck column:3\n"
        "#tags column:6\nf6Zx\tBasic\tSpanish::Unit 3\t<div>la casa</div>\thouse<br>home\tnoun\n";
    const TextImport import = importText(file);
    const ColumnMapping mapping = suggestMapping(import);
    EXPECT_EQ(mapping, (ColumnMapping{3, 4, 2, std::nullopt, false}));
    const CardCandidate c = candidateAt(import, mapping, 0);
    EXPECT_EQ(c.card, (CardRecord{"la casa", "house / home", "Unit 3", "-", 0}));
    EXPECT_TRUE(c.problems.empty());
    const ImportReadResult read = readImportSource(file, "deck.txt", {});
    ASSERT_TRUE(read.source);
    std::vector<CardRecord> taken;
    read.source->forEachTakenCard([&](const CardRecord& card) { taken.push_back(card); });
    EXPECT_EQ(taken, std::vector<CardRecord>{c.card});
}

TEST(HtmlText, ShowsWhatABrowserShowsOnOneLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"<div>a</div><div>b</div>", "a / b"},
        {"<br>x<br><br> y<p></p>", "x / y"},
        {"<p>Stra&szlig;e &amp; <i>Weg</i></p>\n",
         "Stra\xC3\x9F"
         "e & Weg"},
        {"<style>p { x: 1 }</style>a&bogus;b <!-- note -->", "a&bogus;b"},
        {"a <b>b</b>\n  c", "a b c"},
        {"1 < 2 &lt; 3", "1 < 2 < 3"},
    };
    for (const auto& [html, text] : cases)
        EXPECT_EQ(htmlToText(html, " / "), text) << html;
}

TEST(TextImport, OneEnormousLineIsCutAndSaysSoBriefly) {
    const TextImport import = importText(std::string(5'000'000, 'x') + ";a\n");
    const CardCandidate c = candidateAt(import, {}, 0);
    ASSERT_EQ(c.problems.size(), 1u);
    EXPECT_EQ(c.problems[0].lostCount, 4'999'900u);
    EXPECT_LT(c.problems[0].lost.size(), 100u);
    EXPECT_EQ(c.card.answer, "a");
}

TEST(TextImport, MappingFollowsColumnNamesAndHeaderRows) {
    const TextImport named = importText("#columns:Notes\tBack\tFront\tLesson\nn\ta\tq\tL1\n");
    const ColumnMapping fromHeader = suggestMapping(named);
    EXPECT_EQ(fromHeader, (ColumnMapping{2, 1, 3, 0, false}));
    EXPECT_EQ(candidateAt(named, fromHeader, 0).card, (CardRecord{"q", "a", "L1", "n", 0}));

    const TextImport firstRow = importText("Frage;Antwort\nHaus;house\n");
    const ColumnMapping fromFirstRow = suggestMapping(firstRow);
    EXPECT_TRUE(fromFirstRow.firstRowIsHeader);
    EXPECT_EQ(readImportSource("Frage;Antwort\nHaus;house\n", "words.csv", {}).source->rowCount(),
              1u);
    EXPECT_EQ(candidateAt(firstRow, fromFirstRow, 0).card.question, "Haus");

    EXPECT_EQ(suggestMapping(importText("Haus;house\n")), ColumnMapping{});
}

TEST(TextImport, CountsTakenRowsAndRowsWithProblems) {
    ImportOptions options;
    options.mapping = ColumnMapping{};
    const ImportReadResult read =
        readImportSource("a;b\n;x\n" + k120 + ";y\nc;d\n", "rows.txt", options);
    ASSERT_TRUE(read.source);
    const ImportCounts& counts = read.source->counts();
    EXPECT_EQ(counts.rows, 4u);
    EXPECT_EQ(counts.taken, 3u);
    EXPECT_EQ(counts.changed, 1u);
    EXPECT_EQ(counts.noted, (std::vector<std::size_t>{1, 2}));
}

}  // namespace
