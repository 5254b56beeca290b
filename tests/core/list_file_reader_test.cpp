#include <gtest/gtest.h>
#include <cerrno>

#include <ostream>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/byte_source.h"
#include "core/card_store.h"
#include "core/list_file_reader.h"
#include "core/message_ids.h"
#include "core/unicode_text.h"
#include "tests/core/list_file_builder.h"
#include "tests/support/fake_host.h"

namespace {

using listfile::crlf;
using listfile::describe;
using listfile::header20;
using listfile::sampleFont;
using listfile::version20;
using Rows = std::vector<std::string>;

const LogFont kQuestionFont = sampleFont("Arial", -21, 700);
const LogFont kAnswerFont = sampleFont("Times New Roman", -16, 400);

std::string fontBlock() {
    return crlf(listfile::fontLines(kQuestionFont)) + crlf(listfile::fontLines(kAnswerFont));
}

struct Result {
    DocumentInfo info;
    Rows unknown;
    Rows known;
    LogFont questionFont;
    LogFont answerFont;
    std::vector<int> errors;
    int32_t nextId = 0;
    bool modified = true;
};

// Reads the bytes into `store` as a list file named `name`.
DocumentInfo readListBytes(std::string_view bytes, const std::string& name, CardStore& store,
                           CardList& target, LogFont& questionFont, LogFont& answerFont,
                           Host& host) {
    MemorySource source(bytes);
    return readListFrom(source, name, store, target, questionFont, answerFont, host);
}

// Reads the bytes handed out `chunk` bytes at a time into a fresh store.
Result read(const std::string& bytes, std::size_t chunk = static_cast<std::size_t>(-1)) {
    CardStore store;
    FakeHost host;
    Result r;
    r.questionFont = defaultDocumentFont();
    r.answerFont = defaultDocumentFont();
    MemorySource source(bytes, chunk);
    r.info = readListFrom(source, "list.kmx", store, store.unknownList, r.questionFont,
                          r.answerFont, host);
    r.unknown = describe(store.unknownList);
    r.known = describe(store.knownList);
    r.errors = host.errors;
    r.nextId = store.nextId;
    r.modified = store.modified;
    return r;
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::string format;
    Rows unknown;
    Rows known = {};
    int status = 0;
    std::vector<int> errors = {};
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadFormats : public testing::TestWithParam<ReadCase> {};

// Every case is read whole and in chunks of 1, 2, 3 and 7 bytes: the result must not
// depend on where a chunk ends (a CR LF pair split across two chunks, a field across two).
TEST_P(ReadFormats, GivesTheCards) {
    const ReadCase& c = GetParam();
    for (std::size_t chunk :
         {std::size_t{0} - 1, std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}}) {
        SCOPED_TRACE("chunk " + std::to_string(chunk));
        const Result r = read(c.bytes, chunk);
        EXPECT_EQ(r.info.status, c.status);
        EXPECT_EQ(r.info.format, c.format);
        EXPECT_EQ(r.unknown, c.unknown);
        EXPECT_EQ(r.known, c.known);
        EXPECT_EQ(r.info.unknownCount, static_cast<int32_t>(c.unknown.size()));
        EXPECT_EQ(r.info.knownCount, static_cast<int32_t>(c.known.size()));
        EXPECT_EQ(r.errors, c.errors);
        EXPECT_EQ(r.info.fileName, "list.kmx");
        EXPECT_EQ(r.nextId, static_cast<int32_t>(c.unknown.size() + c.known.size()));
        EXPECT_FALSE(r.modified);
    }
}

const std::string kQ100(100, 'Q');
const std::string kQ99(99, 'q');

INSTANTIATE_TEST_SUITE_P(
    TabSeparated, ReadFormats,
    testing::Values(
        ReadCase{"EmptyFile", "", "ASCII-tabsep-file", {}},
        ReadCase{"CrLfLines",
                 "Hund\tdog\r\nKatze\tcat\r\n",
                 "ASCII-tabsep-file",
                 {"Hund|dog|-|-|0|0", "Katze|cat|-|-|0|1"}},
        ReadCase{"PlainLfLines",
                 "Hund\tdog\nKatze\tcat\n",
                 "ASCII-tabsep-file",
                 {"Hund|dog|-|-|0|0", "Katze|cat|-|-|0|1"}},
        ReadCase{"NoLineEndAtTheEnd", "Hund\tdog", "ASCII-tabsep-file", {"Hund|dog|-|-|0|0"}},
        ReadCase{"FirstByteIsAnAnsiLetter",
                 "\xC4pfel\tapples\r\n",
                 "ASCII-tabsep-file",
                 {"\xC4pfel|apples|-|-|0|0"}},
        ReadCase{"FirstByteNul", std::string("\0x\ty\n", 5), "ASCII-tabsep-file", {"|y|-|-|0|0"}},
        ReadCase{"LineWithoutTabTakesTheNextLine",
                 "abc\r\ndef\tghi\r\n",
                 "ASCII-tabsep-file",
                 {"abc\ndef|ghi|-|-|0|0"}},
        ReadCase{
            "LoneCrIsAnOrdinaryCharacter", "a\rb\tc\r\n", "ASCII-tabsep-file", {"a\rb|c|-|-|0|0"}},
        ReadCase{"CrAtTheVeryEnd", "a\tb\r", "ASCII-tabsep-file", {"a|b\r|-|-|0|0"}},
        ReadCase{"QuestionOf99ConsumesItsTab",
                 kQ99 + "\tA\r\nB\tC\r\n",
                 "ASCII-tabsep-file",
                 {kQ99 + "|A|-|-|0|0", "B|C|-|-|0|1"}},
        ReadCase{"AnswerOf99ConsumesItsLineEnd",
                 "A\t" + kQ99 + "\r\nB\tC\r\n",
                 "ASCII-tabsep-file",
                 {"A|" + kQ99 + "|-|-|0|0", "B|C|-|-|0|1"}},
        ReadCase{"QuestionOf100LeavesOneForTheAnswer",
                 kQ100 + "\tA\r\n",
                 "ASCII-tabsep-file",
                 {std::string(99, 'Q') + "|Q\tA|-|-|0|0"}},
        ReadCase{"TextEndsAtNul",
                 std::string("ab\0cd\tef\n", 9),
                 "ASCII-tabsep-file",
                 {"ab|ef|-|-|0|0"}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    OtherFirstBytes, ReadFormats,
    testing::Values(
        ReadCase{
            "TildeIsTheRefusedOldFormat", "~question\tanswer\r\n", "", {}, {}, 1, {Msg::OldFormat}},
        ReadCase{"Version102",
                 "\x7Fline one\r\nline two\r\nline three\r\nq\ta\t3\t17\r\nr\tb\t-1\t4\r\n",
                 "mnem v 1.0.2",
                 {"q|a|-|-|3|17", "r|b|-|-|-1|4"}},
        ReadCase{"Version102IgnoresTheRestOfTheLine",
                 "\x7F\n\n\nq\ta\t3\t17\tmore\tfields\r\nr\tb\t1\t2\r\n",
                 "mnem v 1.0.2",
                 {"q|a|-|-|3|17", "r|b|-|-|1|2"}},
        ReadCase{"Version102EmptyLineDoesNotEndTheList",
                 "\x7F\n\n\nq\ta\t1\t2\n\nr\tb\t1\t3\n",
                 "mnem v 1.0.2",
                 {"q|a|-|-|1|2", "\nr|b|-|-|1|3"}},
        ReadCase{"Version102QuestionLimit99",
                 "\x7F\n\n\n" + kQ99 + "\ta\t1\t2\n",
                 "mnem v 1.0.2",
                 {kQ99 + "|a|-|-|1|2"}},
        ReadCase{"Version102EndsInItsHeader", "\x7F#File\r\n", "mnem v 1.0.2", {}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Version20, ReadFormats,
    testing::Values(
        ReadCase{"UnknownAndKnown",
                 version20(kQuestionFont, kAnswerFont,
                           {"Hund\tdog\tL1\tnoun\t2\t10", "Katze\tcat\t-\t-\t0\t11"},
                           {"Maus\tmouse\tL2\t\t5\t12"}),
                 "mnem v 2.0",
                 {"Hund|dog|L1|noun|2|10", "Katze|cat|-|-|0|11"},
                 {"Maus|mouse|L2||5|12"}},
        ReadCase{"PlainLfLineEnds",
                 "\x80\n\n\n" +
                     std::string("-21\n0\n0\n0\n700\n1\n0\n0\n238\n3\n2\n1\n34\nArial\n") +
                     "-16\n0\n0\n0\n400\n1\n0\n0\n238\n3\n2\n1\n34\nTimes New Roman\n" +
                     "a\tb\tc\td\t1\t2\n\ne\tf\tg\th\t3\t4\n",
                 "mnem v 2.0",
                 {"a|b|c|d|1|2"},
                 {"e|f|g|h|3|4"}},
        ReadCase{"EmptyUnknownSection",
                 version20(kQuestionFont, kAnswerFont, {}, {"k\tn\t-\t-\t5\t1"}),
                 "mnem v 2.0",
                 {},
                 {"k|n|-|-|5|1"}},
        ReadCase{"NoSeparatingEmptyLine",
                 header20() + fontBlock() + crlf({"a\tb\t-\t-\t0\t1", "c\td\t-\t-\t0\t2"}),
                 "mnem v 2.0",
                 {"a|b|-|-|0|1", "c|d|-|-|0|2"}},
        ReadCase{"SecondEmptyLineEndsTheKnownList",
                 version20(kQuestionFont, kAnswerFont, {"a\tb\t-\t-\t0\t1"},
                           {"c\td\t-\t-\t5\t2", "", "e\tf\t-\t-\t0\t3"}),
                 "mnem v 2.0",
                 {"a|b|-|-|0|1"},
                 {"c|d|-|-|5|2"}},
        ReadCase{"EmptyTextFields",
                 version20(kQuestionFont, kAnswerFont, {"\t\t\t\t0\t1"}, {}),
                 "mnem v 2.0",
                 {"||||0|1"}},
        ReadCase{"RowBeginningWith0xFF",
                 version20(kQuestionFont, kAnswerFont, {"\xFFq\ta\t-\t-\t0\t1"}, {}),
                 "mnem v 2.0",
                 {"\xFFq|a|-|-|0|1"}},
        ReadCase{"FullLengthFieldsConsumeTheirTab",
                 version20(kQuestionFont, kAnswerFont,
                           {kQ100 + "\t" + kQ100 + "\tLLLLLLLLLL\t" + kQ100 + "\t4\t9",
                            "x\ty\t-\t-\t0\t10"},
                           {}),
                 "mnem v 2.0",
                 {kQ100 + "|" + kQ100 + "|LLLLLLLLLL|" + kQ100 + "|4|9", "x|y|-|-|0|10"}},
        ReadCase{
            "TwelveCharacterLessonEndsTheReading",
            version20(kQuestionFont, kAnswerFont,
                      {"q\ta\tLesson-12345\tinfo\t1\t2", "x\ty\t-\t-\t0\t3"}, {"k\tn\t-\t-\t0\t4"}),
            "mnem v 2.0",
            {"q|a|Lesson-123|45|0|0"}},
        ReadCase{"TwelveCharacterLessonWithNumericInfoReadsOn",
                 version20(kQuestionFont, kAnswerFont,
                           {"q\ta\tLesson-12345\t7\t1\t2", "x\ty\t-\t-\t0\t3"}, {}),
                 "mnem v 2.0",
                 {"q|a|Lesson-123|45|7|1", "x|y|-|-|0|3"}},
        ReadCase{"NumbersLikeIntegerLiterals",
                 version20(kQuestionFont, kAnswerFont,
                           {"a\t\t\t\t010\t0x1A", "b\t\t\t\t  -5\t+7", "c\t\t\t\t0X1f\t-0",
                            "d\t\t\t\t00\t99999999999"},
                           {}),
                 "mnem v 2.0",
                 {"a||||8|26", "b||||-5|7", "c||||31|0", "d||||0|1215752191"}},
        ReadCase{"NumberTakesAtMost15Characters",
                 version20(kQuestionFont, kAnswerFont,
                           {"a\t\t\t\t0000000000000012\t5", "b\t\t\t\t1\t2"}, {}),
                 "mnem v 2.0",
                 {"a||||1|5", "b||||1|2"}},
        ReadCase{"HexPrefixWithoutDigitsIsZero",
                 version20(kQuestionFont, kAnswerFont, {"a\t\t\t\t0xg\t5"}, {}),
                 "mnem v 2.0",
                 {"a||||0|5"}},
        ReadCase{"NumberAfterLineEnds",
                 header20() + fontBlock() + "a\tb\t-\t-\t\r\n 3\t4\r\n",
                 "mnem v 2.0",
                 {"a|b|-|-|3|4"}},
        ReadCase{"LevelWithoutNumberEndsEverything",
                 version20(kQuestionFont, kAnswerFont,
                           {"a\tb\t-\t-\t1\t7", "c\td\t-\t-\tx\t8", "e\tf\t-\t-\t0\t9"},
                           {"k\tn\t-\t-\t0\t4"}),
                 "mnem v 2.0",
                 {"a|b|-|-|1|7", "c|d|-|-|0|1"}},
        ReadCase{
            "NumberWithoutDigitsKeepsTheLevelRead",
            version20(kQuestionFont, kAnswerFont, {"a\tb\t-\t-\t3\t-", "c\td\t-\t-\t0\t9"}, {}),
            "mnem v 2.0",
            {"a|b|-|-|3|0"}},
        ReadCase{"DuplicateNumbersStay",
                 version20(kQuestionFont, kAnswerFont, {"a\t\t\t\t0\t5", "b\t\t\t\t0\t5"},
                           {"c\t\t\t\t0\t5"}),
                 "mnem v 2.0",
                 {"a||||0|5", "b||||0|5"},
                 {"c||||0|5"}},
        ReadCase{"EndsInTheHeader", "\x80#File fuer Mnemprogramm\r\n#Format", "mnem v 2.0", {}},
        ReadCase{"EndsInTheFontRecords",
                 header20() + crlf(listfile::fontLines(kQuestionFont)) + "-16\r\n0\r\n",
                 "mnem v 2.0",
                 {}},
        ReadCase{"FirstByte0x80OfATextFile",
                 "\x80Hund\tdog\r\nKatze\tcat\r\nMaus\tmouse\r\n",
                 "mnem v 2.0",
                 {}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

struct FontCase {
    const char* name;
    std::vector<std::string> lines;  // the fourteen lines of the question font record
    LogFont expected;
};

// Test logs and ctest show the case by its name, not by its bytes.
void PrintTo(const FontCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadFontRecord : public testing::TestWithParam<FontCase> {};

TEST_P(ReadFontRecord, FieldsFromLines) {
    const std::string bytes =
        header20() + crlf(GetParam().lines) + crlf(listfile::fontLines(kAnswerFont)) + "\r\n";
    for (std::size_t chunk : {std::size_t{0} - 1, std::size_t{1}, std::size_t{5}}) {
        const Result r = read(bytes, chunk);
        EXPECT_EQ(r.questionFont, GetParam().expected);
        EXPECT_EQ(r.answerFont, kAnswerFont);
    }
}

LogFont font(int32_t h, int32_t w, int32_t e, int32_t o, int32_t weight, std::vector<uint8_t> bytes,
             std::string face) {
    LogFont f;
    f.lfHeight = h;
    f.lfWidth = w;
    f.lfEscapement = e;
    f.lfOrientation = o;
    f.lfWeight = weight;
    f.lfItalic = bytes[0];
    f.lfUnderline = bytes[1];
    f.lfStrikeOut = bytes[2];
    f.lfCharSet = bytes[3];
    f.lfOutPrecision = bytes[4];
    f.lfClipPrecision = bytes[5];
    f.lfQuality = bytes[6];
    f.lfPitchAndFamily = bytes[7];
    f.lfFaceName = std::move(face);
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadFontRecord,
    testing::Values(
        FontCase{"Plain", listfile::fontLines(kQuestionFont), kQuestionFont},
        FontCase{"WordsAfterTheNumberAndBlanksInTheFace",
                 {"-21", "0", "0", "0", "700 bold and more", "0", "0", "0", "0", "0", "0", "0", "0",
                  "Courier New Bold"},
                 font(-21, 0, 0, 0, 700, {0, 0, 0, 0, 0, 0, 0, 0}, "Courier New Bold")},
        FontCase{"LeadingBlanksAndPlusSign",
                 {"  +12", "\t-3", "0", "0", "0", "1", "0", "0", "0", "0", "0", "0", "0", "F"},
                 font(12, -3, 0, 0, 0, {1, 0, 0, 0, 0, 0, 0, 0}, "F")},
        FontCase{"ByteFieldsKeepTheirLowEightBits",
                 {"0", "0", "0", "0", "0", "300", "-1", "256", "255", "0", "0", "0", "0", "F"},
                 font(0, 0, 0, 0, 0, {44, 255, 0, 255, 0, 0, 0, 0}, "F")},
        FontCase{"LineWithoutANumberGivesZero",
                 {"bold", "", "0", "0", "x700", "0", "0", "0", "0", "0", "0", "0", "0", "F"},
                 font(0, 0, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}, "F")},
        FontCase{"FaceNameCutTo31",
                 {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                  "A face name longer than thirty-one letters"},
                 font(0, 0, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}, "A face name longer than thirty-")},
        FontCase{
            "FaceLineOfExactly49KeepsTheNextRecordInStep",
            {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", std::string(49, 'F')},
            font(0, 0, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}, std::string(31, 'F'))},
        FontCase{"EmptyFaceName",
                 {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", ""},
                 font(0, 0, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}, "")}),
    [](const testing::TestParamInfo<FontCase>& info) { return info.param.name; });

TEST(ReadFonts, UnusableFontGoesThroughTheFontDialog) {
    LogFont broken = kAnswerFont;
    broken.lfFaceName = "<unusable>";
    const LogFont chosen = sampleFont("Chosen", -30, 400);
    CardStore store;
    FakeHost host;
    host.chosenFont = &chosen;
    LogFont q = defaultDocumentFont();
    LogFont a = defaultDocumentFont();
    readListBytes(version20(kQuestionFont, broken, {"a\tb\t-\t-\t0\t1"}, {}), "f", store,
                  store.unknownList, q, a, host);
    EXPECT_EQ(host.errors, (std::vector<int>{Msg::FontNotFound}));
    ASSERT_EQ(host.fontDialogs.size(), 1u);
    EXPECT_EQ(host.fontDialogs[0], broken);
    EXPECT_EQ(q, kQuestionFont);
    EXPECT_EQ(a, chosen);
    EXPECT_EQ(store.unknownList.count(), 1);
}

TEST(ReadFonts, OtherFormatsKeepTheFonts) {
    for (const std::string& bytes :
         {std::string("a\tb\n"), std::string("\x7F\n\n\na\tb\t1\t2\n")}) {
        CardStore store;
        FakeHost host;
        LogFont q = kQuestionFont;
        LogFont a = kAnswerFont;
        readListBytes(bytes, "f", store, store.unknownList, q, a, host);
        EXPECT_EQ(q, kQuestionFont);
        EXPECT_EQ(a, kAnswerFont);
    }
}

TEST(ReadList, AddsToWhatIsAlreadyThereAndCountsOnFromNextId) {
    CardStore store;
    FakeHost host;
    Card& existing = store.createCard();
    store.unknownList.insert(&existing);
    LogFont q, a;
    const DocumentInfo info =
        readListBytes("a\tb\nc\td\n", "f", store, store.unknownList, q, a, host);
    EXPECT_EQ(info.unknownCount, 2);
    EXPECT_EQ(describe(store.unknownList), (Rows{"||-|-|0|0", "a|b|-|-|0|1", "c|d|-|-|0|2"}));
    EXPECT_FALSE(store.modified);
}

// ---------------------------------------------------------------------------------------
// Files cut short

// A small list and where its rows end, so that a cut at any offset can be judged.
struct CutCase {
    const char* name;
    std::string bytes;
    std::vector<std::pair<bool, std::size_t>> rowEnds;  // known list?, offset behind the row
    // Version 1.0.2 and 2.0: from this offset on, a cut right behind a line end leaves a
    // shorter whole file (behind the header, or behind the empty line of version 2.0).
    // 0 for tab-separated text, where a cut is whole unless its last line has no TAB.
    std::size_t wholeFrom;
};

CutCase makeCut(const char* name, std::string head, const Rows& unknown, const Rows& known,
                bool emptyLine) {
    CutCase c{name, std::move(head), {}, 0};
    c.wholeFrom = c.bytes.size();  // behind the header of version 1.0.2
    for (const std::string& row : unknown) {
        c.bytes += row + "\r\n";
        c.rowEnds.emplace_back(false, c.bytes.size());
    }
    if (emptyLine) {
        c.bytes += "\r\n";
        c.wholeFrom = c.bytes.size();
    }
    for (const std::string& row : known) {
        c.bytes += row + "\r\n";
        c.rowEnds.emplace_back(true, c.bytes.size());
    }
    return c;
}

// Whether the first `n` bytes are a whole file of the case's format.
bool wholeCut(const CutCase& c, std::size_t n) {
    if (n == 0 || n == c.bytes.size())
        return true;
    if (c.wholeFrom == 0) {
        const std::size_t lineStart = c.bytes.rfind('\n', n - 1);
        const std::string last =
            c.bytes.substr(lineStart == std::string::npos ? 0 : lineStart + 1,
                           n - (lineStart == std::string::npos ? 0 : lineStart + 1));
        return last.empty() || last.find('\t') != std::string::npos;
    }
    return n >= c.wholeFrom && c.bytes[n - 1] == '\n';
}

class ReadCut : public testing::TestWithParam<CutCase> {};

// The file cut at every offset, read whole and a byte at a time: every card whose row is
// complete is read as from the whole file, at most one more (the card being read when the
// data ended) follows it, and the report says incomplete exactly when the cut is not a
// whole file of the format. Only a cut between two rows may look whole.
TEST_P(ReadCut, AtEveryOffsetKeepsTheCompleteCardsAndSaysSo) {
    const CutCase& c = GetParam();
    const Result full = read(c.bytes);
    ASSERT_FALSE(full.info.incomplete);
    ASSERT_EQ(full.unknown.size() + full.known.size(), c.rowEnds.size());
    for (std::size_t n = 0; n < c.bytes.size(); ++n) {
        for (std::size_t chunk : {std::size_t{0} - 1, std::size_t{1}}) {
            SCOPED_TRACE("cut at " + std::to_string(n) + ", chunk " + std::to_string(chunk));
            const Result r = read(c.bytes.substr(0, n), chunk);
            std::size_t unknownDone = 0;
            std::size_t knownDone = 0;
            for (const auto& [known, end] : c.rowEnds) {
                if (end <= n)
                    ++(known ? knownDone : unknownDone);
            }
            const bool whole = wholeCut(c, n);
            EXPECT_EQ(r.info.status, 0);
            EXPECT_EQ(r.info.incomplete, !whole);
            ASSERT_GE(r.unknown.size(), unknownDone);
            EXPECT_TRUE(std::equal(full.unknown.begin(), full.unknown.begin() + unknownDone,
                                   r.unknown.begin()));
            ASSERT_GE(r.known.size(), knownDone);
            EXPECT_TRUE(
                std::equal(full.known.begin(), full.known.begin() + knownDone, r.known.begin()));
            const std::size_t extra = r.unknown.size() + r.known.size() - unknownDone - knownDone;
            // A tab-separated card cut behind its TAB looks whole but is not a whole row.
            EXPECT_LE(extra, whole && c.wholeFrom != 0 ? 0u : 1u);
            EXPECT_EQ(r.info.cardsRead(), static_cast<int64_t>(r.unknown.size() + r.known.size()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ReadCut,
    testing::Values(
        // The second row is in the form this program writes, the third one is not, so both
        // ways of reading a row are cut.
        makeCut("Version20", header20() + fontBlock(),
                {"Hund\tdog\tL1\tnoun\t2\t10", "Igel\thedgehog\t-\t-\t010\t0x1A"},
                {"Maus\tmouse\tL2\t\t5\t12"}, true),
        makeCut("Version102", "\x7Fline one\r\nline two\r\nline three\r\n",
                {"q\ta\t3\t17", "r\tb\t-1\t4"}, {}, false),
        [] {
            CutCase c = makeCut("TabSeparated", "", {"Hund\tdog", "Katze\tcat"}, {}, false);
            c.wholeFrom = 0;
            return c;
        }()),
    [](const testing::TestParamInfo<CutCase>& info) { return info.param.name; });

// What the cuts above cannot show: empty lines that end a file, and a reading that stops
// at a number it cannot read.
TEST(ReadIncomplete, OnlyWhenTheReadingStoppedBeforeTheEnd) {
    const std::vector<std::tuple<const char*, std::string, bool>> cases = {
        {"TextEndingInEmptyLines", "a\tb\r\n\r\n\r\n", false},
        {"SecondEmptyLineEndsTheKnownList",
         version20(kQuestionFont, kAnswerFont, {}, {"a\tb\t-\t-\t5\t2", "", "junk"}), false},
        {"LevelWithoutNumber",
         version20(kQuestionFont, kAnswerFont, {"a\tb\t-\t-\tx\t1", "c\td\t-\t-\t0\t2"}, {}), true},
        {"LastNumberWithoutDigits", version20(kQuestionFont, kAnswerFont, {}, {"a\tb\t-\t-\t5\t-"}),
         true},
    };
    for (const auto& [name, bytes, incomplete] : cases) {
        SCOPED_TRACE(name);
        const Result r = read(bytes);
        EXPECT_EQ(r.info.status, 0);
        EXPECT_EQ(r.info.incomplete, incomplete);
    }
}

// ---------------------------------------------------------------------------------------
// Files on disk and bad input

class ReadFiles : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kmx_reader_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir_);
    }
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Reads into a store that already holds one card and is marked modified.
    DocumentInfo readInto(const std::string& path) {
        store_ = std::make_unique<CardStore>();
        Card& c = store_->createCard();
        store_->setText(c, CardField::Question, "keep me");
        store_->unknownList.insert(&c);
        questionFont_ = kQuestionFont;
        answerFont_ = kAnswerFont;
        return readListFile(path, *store_, store_->unknownList, questionFont_, answerFont_, host_);
    }

    std::filesystem::path dir_;
    std::unique_ptr<CardStore> store_;
    FakeHost host_;
    LogFont questionFont_;
    LogFont answerFont_;
};

// Everything that is not a regular file of a sensible size is refused at once, before a
// byte is read, through the same path as a missing file: status 1 and nothing changed.
// A named pipe without a writer must not block; should the reader wait for one anyway,
// the test opens the pipe for writing itself, so that the reading ends and the test fails
// instead of hanging.
TEST_F(ReadFiles, ThatCannotBeOpenedChangeNothing) {
    struct Refused {
        const char* name;
        std::string path;
        FileFailure failure;
    };
    const std::string pipe = (dir_ / "pipe.kmx").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string socketPath = (dir_ / "socket.kmx").string();
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string linkToZero = (dir_ / "zero.kmx").string();
    ASSERT_EQ(::symlink("/dev/zero", linkToZero.c_str()), 0);
    // A sparse file costs no disk space.
    const std::string large = write("large.kmx", "");
    ASSERT_EQ(::truncate(large.c_str(), kMaxListFileBytes + 1), 0);
    std::mt19937 rng(7);
    std::string junk(20000, '\0');
    for (char& c : junk)
        c = static_cast<char>(rng());
    junk[0] = 'b';  // no list format's first byte
    const std::string unreadable = write("unreadable.kmx", "a\tb\n");
    ::chmod(unreadable.c_str(), 0);

    std::vector<Refused> cases = {
        {"Missing", (dir_ / "missing.kmx").string(), FileFailure::CannotOpen},
        {"Folder", dir_.string(), FileFailure::NotRegularFile},
        {"NamedPipe", pipe, FileFailure::NotRegularFile},
        {"Socket", socketPath, FileFailure::NotRegularFile},
        {"DevZero", "/dev/zero", FileFailure::NotRegularFile},
        {"DevUrandom", "/dev/urandom", FileFailure::NotRegularFile},
        {"LinkToDevZero", linkToZero, FileFailure::NotRegularFile},
        {"LargerThanTheLimit", large, FileFailure::TooLarge},
        {"NulBytes", write("zeros.kmx", std::string(100000, '\0')), FileFailure::NotText},
        {"RandomBytes", write("junk.kmx", junk), FileFailure::NotText},
    };
    if (::geteuid() != 0)
        cases.push_back({"Unreadable", unreadable, FileFailure::CannotOpen});  // root reads all
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.name);
        auto reading = std::async(std::launch::async, [&] { return readInto(c.path); });
        if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "the reader waits on " << c.path;
            const int writer = ::open(c.path.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
        }
        const DocumentInfo info = reading.get();
        EXPECT_EQ(info.status, 1);
        EXPECT_EQ(info.failure, c.failure);
        // The system's reason goes with a file that could not be opened, for the message.
        EXPECT_EQ(info.systemError, c.failure != FileFailure::CannotOpen ? 0
                                    : std::string(c.name) == "Missing"   ? ENOENT
                                                                         : EACCES);
        EXPECT_EQ(info.format, "");
        EXPECT_FALSE(info.incomplete);
        EXPECT_FALSE(info.stamp.exists);
        EXPECT_EQ(describe(store_->unknownList), (Rows{"keep me||-|-|0|0"}));
        EXPECT_EQ(store_->knownList.count(), 0);
        EXPECT_EQ(store_->nextId, 1);
        EXPECT_TRUE(store_->modified);
        EXPECT_EQ(questionFont_, kQuestionFont);
        EXPECT_TRUE(host_.errors.empty());
    }
    ::close(sock);
}

TEST_F(ReadFiles, LargeFileAcrossManyChunks) {
    std::string bytes = version20(kQuestionFont, kAnswerFont, {}, {});
    bytes.resize(bytes.size() - 2);  // the empty line goes behind the unknown rows
    for (int i = 0; i < 60000; ++i) {
        bytes +=
            "question " + std::to_string(i) + "\tanswer\tL\t-\t1\t" + std::to_string(i) + "\r\n";
    }
    bytes += "\r\nknown\tk\t-\t-\t5\t-1\r\n";
    const DocumentInfo info = readInto(write("large.kmx", bytes));
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.unknownCount, 60000);
    EXPECT_EQ(info.knownCount, 1);
    EXPECT_EQ(listfile::describe(*store_->unknownList.nthCard(60000)),
              "question 59999|answer|L|-|1|59999");
    EXPECT_EQ(answerFont_, kAnswerFont);
}

TEST_F(ReadFiles, BadInputGivesAClearResult) {
    std::mt19937 rng(7);
    std::string binary(300000, '\0');
    for (char& c : binary)
        c = static_cast<char>(rng());
    binary[0] = 'b';
    const std::string longLine(100000, 'x');
    struct Bad {
        const char* name;
        std::string bytes;
        int32_t unknown;
    };
    const std::vector<Bad> cases = {
        // 99 for the question, 99 for the answer (the line end comes after the answer's
        // limit): every 198 characters of the line give one card.
        {"LongTextLine", longLine + "\tend\r\n", 506},
        {"LongVersion20Row", version20(kQuestionFont, kAnswerFont, {longLine}, {}), 1},
        {"Version20Binary", "\x80" + binary, -1},
        {"Version102Binary", "\x7F" + binary, -1},
        {"FontRecordCutShort", header20() + std::string("-21\r\n0\r\n0"), 0},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        const DocumentInfo info = readInto(write(std::string(c.name) + ".kmx", c.bytes));
        EXPECT_EQ(info.status, 0);
        if (c.unknown >= 0) {
            EXPECT_EQ(info.unknownCount, c.unknown);
        }
        EXPECT_EQ(store_->unknownList.count(), info.unknownCount + 1);
        EXPECT_EQ(store_->knownList.count(), info.knownCount);
        EXPECT_EQ(store_->unknownList.nthCard(0)->question(), "keep me");
        store_->unknownList.forEach([](Card* card) {
            EXPECT_LE(characterCount(card->question()), 100u);
            EXPECT_LE(characterCount(card->lesson()), 10u);
            EXPECT_EQ(card->question().find('\0'), std::string_view::npos);
        });
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The reading rules written out byte by byte, as a second opinion on random rows: the
// reader takes shortcuts for rows in the form it writes, and they must not change a thing.
namespace reference {

struct Reader {
    std::string s;  // line ends already LF
    std::size_t pos = 0;
    CardStore& store;

    int get() { return pos < s.size() ? static_cast<unsigned char>(s[pos++]) : -1; }
    std::string field(std::size_t limit, char sep) {
        std::string out;
        while (out.size() < limit && pos < s.size() && s[pos] != sep)
            out += s[pos++];
        if (pos < s.size() && s[pos] == sep)
            ++pos;
        return out.substr(0, out.find('\0'));
    }
    bool number(int32_t& out) {
        while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos])))
            ++pos;
        const std::string w = s.substr(pos, 15);
        std::size_t i = 0;
        bool neg = false;
        if (i < w.size() && (w[i] == '+' || w[i] == '-'))
            neg = w[i++] == '-';
        int base = 10;
        if (i < w.size() && w[i] == '0') {
            base = 8;
            if (i + 2 < w.size() && (w[i + 1] | 0x20) == 'x' &&
                std::isxdigit(static_cast<unsigned char>(w[i + 2]))) {
                base = 16;
                i += 2;
            }
        }
        const std::size_t first = i;
        uint64_t v = 0;
        for (; i < w.size(); ++i) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(w[i])));
            const int d = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : (c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99);
            if (d >= base)
                break;
            v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        }
        if (i == first)
            return false;
        pos += i;
        out = static_cast<int32_t>(static_cast<uint32_t>(neg ? 0 - v : v));
        return true;
    }
    void set(Card& c, CardField f, const std::string& text) { store.setText(c, f, text); }

    // Version 2.0 rows of one list; false when a number could not be read.
    bool rows20(CardList& list) {
        for (;;) {
            const int c = get();
            if (c < 0 || c == '\n')
                return true;
            --pos;
            Card& card = store.createCard();
            list.insert(&card);
            set(card, CardField::Question, field(100, '\t'));
            set(card, CardField::Answer, field(100, '\t'));
            set(card, CardField::Lesson, field(10, '\t'));
            set(card, CardField::AddInfo, field(100, '\t'));
            int32_t level = 0, id = 0;
            if (!number(level))
                return false;
            card.level = level;
            field(100, '\t');
            if (!number(id))
                return false;
            field(100, '\n');
            setCardId(card, id);
        }
    }
    void rowsText(CardList& list) {
        while (get() >= 0) {
            --pos;
            Card& card = store.createCard();
            list.insert(&card);
            set(card, CardField::Question, field(99, '\t'));
            set(card, CardField::Answer, field(99, '\n'));
        }
    }
};

std::string randomField(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {"a",
                                                    "Hund",
                                                    "\xE4",
                                                    " ",
                                                    "-",
                                                    "0",
                                                    "7",
                                                    "-3",
                                                    "0x1f",
                                                    "012",
                                                    "x",
                                                    "\t",
                                                    "\n",
                                                    "\r\n",
                                                    std::string(1, '\0'),
                                                    std::string(9, 'L'),
                                                    std::string(99, 'Q'),
                                                    std::string(100, 'R')};
    std::string out;
    const int n = static_cast<int>(rng() % 4);
    for (int i = 0; i < n; ++i)
        out += pieces[rng() % pieces.size()];
    return out;
}

std::string plainNumber(std::mt19937& rng) {
    switch (rng() % 4) {
        case 0:
            return "0";
        case 1:
            return std::to_string(static_cast<int32_t>(rng()));
        case 2:
            return std::to_string(rng() % 10);
        default:
            return "-" + std::to_string(1 + rng() % 1000);
    }
}

}  // namespace reference

TEST(ReadRules, RandomRowsReadAsTheRulesSay) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 300; ++round) {
        // Mostly well-formed rows with now and then an odd field in between.
        std::string body;
        const int rows = 1 + static_cast<int>(rng() % 12);
        for (int r = 0; r < rows; ++r) {
            for (int f = 0; f < 4; ++f) {
                body += rng() % 4 == 0
                            ? reference::randomField(rng)
                            : std::string(rng() % 3 == 0 ? "" : "w") + std::to_string(rng() % 100);
                body += '\t';
            }
            body += rng() % 6 == 0 ? reference::randomField(rng) : reference::plainNumber(rng);
            body += '\t';
            body += rng() % 6 == 0 ? reference::randomField(rng) : reference::plainNumber(rng);
            body += rng() % 2 ? "\r\n" : "\n";
            if (rng() % 15 == 0)
                body += "\r\n";  // the empty line before the known list
        }
        std::string lfBody;  // what the rules see: CR LF as LF
        for (std::size_t i = 0; i < body.size(); ++i) {
            if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
                continue;
            lfBody += body[i];
        }
        SCOPED_TRACE("round " + std::to_string(round));

        for (bool text : {false, true}) {
            CardStore expected;
            reference::Reader ref{lfBody, 0, expected};
            if (text) {
                ref.rowsText(expected.unknownList);
            } else if (ref.rows20(expected.unknownList)) {
                ref.rows20(expected.knownList);
            }
            const std::string file = text ? body : header20() + fontBlock() + body;
            for (std::size_t chunk : {std::size_t{0} - 1, std::size_t{1}, std::size_t{13}}) {
                if (text && (body[0] == '\x7E' || body[0] == '\x7F' || body[0] == '\x80'))
                    continue;
                const Result got = read(file, chunk);
                ASSERT_EQ(got.unknown, describe(expected.unknownList)) << (text ? "text" : "2.0");
                ASSERT_EQ(got.known, describe(expected.knownList));
            }
        }
    }
}
