#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "core/byte_source.h"
#include "core/card_store.h"
#include "core/font_debug_log.h"
#include "core/list_file_reader.h"
#include "core/list_file_writer.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "core/unicode_text.h"
#include "tests/core/list_file_builder.h"
#include "tests/core/temp_folder.h"
#include "tests/support/fake_host.h"

namespace {

using listfile::crlf;
using listfile::fontLines;
using listfile::header20;
using listfile::sampleFont;
using Rows = std::vector<std::string>;

const std::string kUnicodeHeader =
    "~#File fuer Mnemprogramm\r\n#Format Version 3.0, UTF-8\r\n"
    "frage\tantwort\tstufe\tlektion\tkarte_id\r\n";
const std::string kFffd = "\xEF\xBF\xBD";
const std::string kZhe = "\xD0\x96";  // Ж

std::string repeat(const std::string& piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// A card with its texts as they are in the store (UTF-8), for comparing Unicode lists.
std::string text(const Card& c) {
    return std::string(c.question()) + "|" + std::string(c.answer()) + "|" +
           std::string(c.lesson()) + "|" + std::string(c.addInfo()) + "|" +
           std::to_string(c.level) + "|" + std::to_string(c.id);
}

Rows texts(const CardList& list) {
    Rows out;
    list.forEach([&](Card* c) { out.push_back(text(*c)); });
    return out;
}

struct Read {
    DocumentInfo info;
    Rows unknown;
    Rows known;
    LogFont question;
    LogFont answer;
    std::vector<int> errors;
};

Read read(const std::string& bytes, std::size_t chunk = static_cast<std::size_t>(-1)) {
    CardStore store;
    FakeHost host;
    Read r;
    MemorySource source(bytes, chunk);
    r.info = readListFrom(source, "f", store, store.unknownList, r.question, r.answer, host);
    r.unknown = texts(store.unknownList);
    r.known = texts(store.knownList);
    r.errors = host.errors;
    return r;
}

std::string unicodeList(const Rows& unknown, const Rows& known = {}) {
    return kUnicodeHeader + crlf(fontLines(sampleFont("F", -21, 700))) +
           crlf(fontLines(sampleFont("G", -16, 400))) + crlf(unknown) + "\r\n" + crlf(known);
}

class UnicodeList : public testing::Test {
protected:
    Card& add(CardList& list, std::string_view q, std::string_view a, std::string_view lesson,
              std::string_view info, int32_t level, int32_t id) {
        Card& card = addCard(store_, list, q, a, lesson, info);
        card.level = level;
        setCardId(card, id);
        return card;
    }
    DocumentInfo save(const std::string& name, ListFileFormat format, const LogFont& q,
                      const LogFont& a) {
        return writeListFile(folder_.file(name), store_, q, a, log_, host_, {}, format);
    }

    TempFolder folder_{"unicode"};
    CardStore store_;
    FakeHost host_;
    FontDebugLog log_{host_, folder_.file("font_debug_file")};
};

TEST_F(UnicodeList, EveryScriptReadsBackAsItWasSaved) {
    add(store_.unknownList, "\xD0\xB4\xD0\xBE\xD0\xBC", "house", "ru", "-", 1, 10);  // дом
    add(store_.unknownList, "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82", "word", "el", "", 2, 11);
    add(store_.unknownList, "\xC5\xBC\xC3\xB3\xC5\x82w", "turtle", "pl", "-", 0, 12);  // żółw
    add(store_.unknownList, "\xC4\xB1\xC5\x9F\xC4\xB1k", "light", "tr", "-", 3, 13);   // ışık
    add(store_.unknownList, "\xD9\x83\xD8\xAA\xD8\xA7\xD8\xA8", "book", "ar", "-", 4, -14);
    add(store_.unknownList, "\xD7\xA1\xD7\xA4\xD7\xA8", "book", "he", "-", 5, 15);  // ספר
    add(store_.unknownList, "\xE4\xB9\xA6", "book", "\xE4\xB8\xAD\xE6\x96\x87", "-", 0, 16);
    add(store_.unknownList, "\xE6\x9C\xAC", "\xE3\x81\xBB\xE3\x82\x93", "ja", "-", 1, 17);
    add(store_.unknownList, repeat(kZhe, 100), repeat("e\xCC\x81", 100), repeat(kZhe, 10),
        repeat("\xF0\x9F\x98\x80", 100), 2, 18);
    add(store_.knownList, "\xF0\x9D\x84\x9E", "G clef", "-", "\xE2\x82\xAC 5", 7, 19);
    LogFont question = sampleFont("Noto Sans \xE6\x97\xA5\xE6\x9C\xAC", -21, 700);
    LogFont answer = sampleFont("DejaVu Sans", -16, 400);

    const DocumentInfo saved = save("list.kmx", ListFileFormat::Unicode, question, answer);
    ASSERT_EQ(saved.status, 0);
    EXPECT_EQ(saved.format, "Version 3.0 UTF-8");
    EXPECT_EQ(folder_.get("list.kmx").substr(0, kUnicodeHeader.size()), kUnicodeHeader);

    CardStore back;
    LogFont q, a;
    const DocumentInfo info =
        readListFile(folder_.file("list.kmx"), back, back.unknownList, q, a, host_);
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.format, "mnem v 3.0 UTF-8");
    EXPECT_TRUE(info.unicode);
    EXPECT_FALSE(info.incomplete);
    EXPECT_EQ(info.repairedTexts, 0);
    EXPECT_EQ(texts(back.unknownList), texts(store_.unknownList));
    EXPECT_EQ(texts(back.knownList), texts(store_.knownList));
    EXPECT_EQ(q, question);
    EXPECT_EQ(a, answer);
    EXPECT_TRUE(host_.errors.empty());
}

// Every byte a text of a version 2.0 list can hold goes through reading and saving as it
// was, the five bytes Windows-1252 leaves undefined and a face name beyond ASCII included.
TEST_F(UnicodeList, EveryByteOfVersion20SurvivesReadingAndSaving) {
    std::string bytes;
    for (int b = 1; b <= 0xFF; ++b) {
        if (b != '\t' && b != '\r' && b != '\n')
            bytes += static_cast<char>(b);
    }
    Rows rows;
    for (std::size_t at = 0; at < bytes.size(); at += 100) {
        const std::string part = bytes.substr(at, 100);
        rows.push_back(part + "\t" + part + "\t" + part.substr(0, 10) + "\t" + part + "\t1\t2");
    }
    const std::string file = listfile::version20(sampleFont("Schrift \xC4\xD6\x80\x81", -21, 700),
                                                 sampleFont("F", -16, 400), rows, rows);
    folder_.put("in.kmx", file);
    LogFont q, a;
    const DocumentInfo info =
        readListFile(folder_.file("in.kmx"), store_, store_.unknownList, q, a, host_);
    ASSERT_EQ(info.status, 0);
    EXPECT_EQ(info.unknownCount, 3);
    store_.unknownList.forEach([](Card* c) { EXPECT_TRUE(isValidUtf8(c->question())); });
    EXPECT_EQ(q.lfFaceName, "Schrift \xC3\x84\xC3\x96\xE2\x82\xAC\xC2\x81");
    ASSERT_EQ(save("out.kmx", ListFileFormat::Version20, q, a).status, 0);
    EXPECT_EQ(folder_.get("out.kmx"), file);
}

TEST_F(UnicodeList, Version20RefusesTextsItCannotHoldAndNamesTheFirstCard) {
    add(store_.unknownList, "Hund", "dog", "-", "-", 0, 1);
    add(store_.knownList, "Katze", "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0", "-", "-", 5, 2);
    Card& unknown = add(store_.unknownList, "Maus", "mouse", "-", "\xE2\x9C\x93", 0, 3);
    EXPECT_FALSE(fitsWindows1252(store_));
    EXPECT_EQ(firstCardBeyondWindows1252(store_), &unknown);  // the unknown list first
    folder_.put("list.kmx", "old contents");
    store_.modified = true;

    const DocumentInfo info =
        save("list.kmx", ListFileFormat::Version20, sampleFont("F", 0, 0), sampleFont("G", 0, 0));
    EXPECT_EQ(info.status, 1);
    EXPECT_EQ(info.failure, FileFailure::NotWindows1252);
    EXPECT_EQ(info.format, "");
    EXPECT_EQ(info.unknownCount + info.knownCount, 0);
    EXPECT_EQ(folder_.get("list.kmx"), "old contents");
    EXPECT_EQ(folder_.names(), (std::set<std::string>{"list.kmx"}));
    EXPECT_TRUE(store_.modified);
    EXPECT_EQ(log_.entries(), 0);

    store_.setText(unknown, CardField::AddInfo, "\xC3\xA4");  // ä fits
    EXPECT_EQ(firstCardBeyondWindows1252(store_), store_.knownList.nthCard(0));
    store_.setText(*store_.knownList.nthCard(0), CardField::Answer, "cat");
    EXPECT_TRUE(fitsWindows1252(store_));
    EXPECT_EQ(
        save("list.kmx", ListFileFormat::Version20, sampleFont("F", 0, 0), sampleFont("G", 0, 0))
            .status,
        0);
}

struct ExportCase {
    const char* name;
    DocumentInfo (*run)(const std::string&, const CardStore&, Host&, const WriteFaults&);
    std::string question;
    std::string answer;
    std::string expected;
    std::string format;
};

void PrintTo(const ExportCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportEncoding : public UnicodeList, public testing::WithParamInterface<ExportCase> {};

// Only the texts an export holds decide its encoding.
TEST_P(ExportEncoding, Windows1252WhenEveryTextFits) {
    const ExportCase& c = GetParam();
    add(store_.unknownList, c.question, c.answer, "-", "\xE2\x9C\x93", 0, 1);
    const DocumentInfo info = c.run(folder_.file("out.txt"), store_, host_, {});
    ASSERT_EQ(info.status, 0);
    EXPECT_EQ(info.format, c.format);
    EXPECT_EQ(folder_.get("out.txt"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ExportEncoding,
    testing::Values(ExportCase{"CardsInWindows1252", exportCards, "\xC3\x84pfel", "\xE2\x82\xAC",
                               "\xC4pfel\t\x80\r\n", "ASCII-tabsep-file"},
                    ExportCase{"CardsInUtf8", exportCards, "~\xD0\x96", "x",
                               "\xEF\xBB\xBF~\xD0\x96\tx\r\n", "UTF-8-tabsep-file"},
                    ExportCase{"AnswersWithoutTheQuestionThatDoesNotFit", exportAnswers, "\xD0\x96",
                               "\xC3\xA4", "\xE4\r\n", "ASCII-tabsep-file"},
                    ExportCase{"QuestionsInUtf8", exportQuestions, "\xE6\x97\xA5", "x",
                               "\xEF\xBB\xBF\xE6\x97\xA5\r\n", "UTF-8-tabsep-file"}),
    [](const testing::TestParamInfo<ExportCase>& info) { return std::string(info.param.name); });

TEST_F(UnicodeList, Utf8ExportReadsBackAsTheSameCards) {
    add(store_.unknownList, "~\xD0\x96\xD1\x83\xD0\xBA", "beetle", "-", "-", 3, 1);
    add(store_.knownList, "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "-", "-", 5, 2);
    ASSERT_EQ(exportCards(folder_.file("out.txt"), store_, host_).status, 0);
    const Read r = read(folder_.get("out.txt"));
    EXPECT_EQ(r.info.format, "UTF-8-tabsep-file");
    EXPECT_EQ(r.unknown, (Rows{"~\xD0\x96\xD1\x83\xD0\xBA|beetle|-|-|0|0",
                               "\xE6\x97\xA5|\xF0\x9F\x98\x80|-|-|0|1"}));
}

// ---------------------------------------------------------------------------------------
// Reading

struct ReadCase {
    const char* name;
    std::string bytes;
    std::string format;
    Rows unknown;
    int32_t repaired = 0;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadUnicode : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadUnicode, GivesTheTexts) {
    const ReadCase& c = GetParam();
    for (std::size_t chunk : {std::size_t{0} - 1, std::size_t{1}, std::size_t{3}}) {
        SCOPED_TRACE("chunk " + std::to_string(chunk));
        const Read r = read(c.bytes, chunk);
        EXPECT_EQ(r.info.status, 0);
        EXPECT_EQ(r.info.format, c.format);
        EXPECT_EQ(r.unknown, c.unknown);
        EXPECT_EQ(r.info.repairedTexts, c.repaired);
        EXPECT_FALSE(r.info.incomplete);
    }
}

const std::string kUtf8Row = "\xC3\x84pfel\t\xD1\x8F\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBA\xD0\xB8";
const std::string kUtf8Card =
    "\xC3\x84pfel|\xD1\x8F\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBA\xD0\xB8|-|-|0|0";

std::string utf16(const std::string& ascii, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    IllFormedTexts, ReadUnicode,
    testing::Values(ReadCase{"CutSequence",
                             unicodeList({"a\xE2\x82\tb\t-\t-\t1\t2"}),
                             "mnem v 3.0 UTF-8",
                             {"a" + kFffd + "|b|-|-|1|2"},
                             1},
                    ReadCase{"CutFourByteSequenceIsOneError",
                             unicodeList({"\xF0\x9F\x98\tb\t-\t-\t1\t2"}),
                             "mnem v 3.0 UTF-8",
                             {kFffd + "|b|-|-|1|2"},
                             1},
                    ReadCase{"OverlongAndSurrogateInOneText",
                             unicodeList({"\xC0\xAF|\xED\xA0\x80\tb\t-\t-\t1\t2"}),
                             "mnem v 3.0 UTF-8",
                             {repeat(kFffd, 2) + "|" + repeat(kFffd, 3) + "|b|-|-|1|2"},
                             1},
                    ReadCase{"AboveUnicodeInTwoTexts",
                             unicodeList({"\xF4\x90\x80\x80\tb\t-\t\xFF\t1\t2"}),
                             "mnem v 3.0 UTF-8",
                             {repeat(kFffd, 4) + "|b|-|" + kFffd + "|1|2"},
                             2},
                    ReadCase{"NulEndsTheText",
                             unicodeList({std::string("a\0\xC3\tb\t-\t-\t1\t2", 13)}),
                             "mnem v 3.0 UTF-8",
                             {"a|b|-|-|1|2"},
                             0}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// Limits count characters: 100 two-byte letters are a whole field, a 101st starts the
// next one, exactly as an overlong field of version 2.0 spills.
INSTANTIATE_TEST_SUITE_P(
    Limits, ReadUnicode,
    testing::Values(ReadCase{"HundredLettersAreWhole",
                             unicodeList({repeat(kZhe, 100) + "\t" + repeat(kZhe, 10) + "\t" +
                                          repeat(kZhe, 10) + "\t-\t1\t2"}),
                             "mnem v 3.0 UTF-8",
                             {repeat(kZhe, 100) + "|" + repeat(kZhe, 10) + "|" + repeat(kZhe, 10) +
                              "|-|1|2"}},
                    ReadCase{"ShortRowWithMoreBytesThanItsLimit",
                             unicodeList({repeat(kZhe, 60) + "\t" + repeat(kZhe, 9) + "\t" +
                                          repeat(kZhe, 10) + "\t" + repeat(kZhe, 51) + "\t1\t2"}),
                             "mnem v 3.0 UTF-8",
                             {repeat(kZhe, 60) + "|" + repeat(kZhe, 9) + "|" + repeat(kZhe, 10) +
                              "|" + repeat(kZhe, 51) + "|1|2"}},
                    ReadCase{"LessonOfElevenLettersSpills",
                             unicodeList({"q\ta\t" + repeat(kZhe, 11) + "\t7\t1\t2"}),
                             "mnem v 3.0 UTF-8",
                             {"q|a|" + repeat(kZhe, 10) + "|" + kZhe + "|7|1"}},
                    ReadCase{"TextQuestionOf99LettersIsWhole",
                             "\xEF\xBB\xBF" + repeat(kZhe, 99) + "\tx\r\n",
                             "UTF-8-tabsep-file",
                             {repeat(kZhe, 99) + "|x|-|-|0|0"}},
                    ReadCase{"TextQuestionOf100LettersSpills",
                             repeat(kZhe, 100) + "\tx\r\n",
                             "UTF-8-tabsep-file",
                             {repeat(kZhe, 99) + "|" + kZhe + "\tx|-|-|0|0"}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    TextEncodings, ReadUnicode,
    testing::Values(ReadCase{"Utf8WithByteOrderMark",
                             "\xEF\xBB\xBF" + kUtf8Row + "\r\n",
                             "UTF-8-tabsep-file",
                             {kUtf8Card}},
                    ReadCase{"Utf8MarkAndIllFormedBytes",
                             "\xEF\xBB\xBFq\xC3\tok\r\n",
                             "UTF-8-tabsep-file",
                             {"q" + kFffd + "|ok|-|-|0|0"},
                             1},
                    ReadCase{
                        "Utf8WithoutMark", kUtf8Row + "\r\n", "UTF-8-tabsep-file", {kUtf8Card}},
                    ReadCase{"Utf16LittleEndian",
                             utf16("Hund\tdog\r\n", false),
                             "UTF-16-tabsep-file",
                             {"Hund|dog|-|-|0|0"}},
                    ReadCase{"Utf16BigEndianWithLoneSurrogate",
                             utf16("Hund\tdog\r\n", true) + std::string("\xD8\x00\x00\t\x00x", 6),
                             "UTF-16-tabsep-file",
                             {"Hund|dog|-|-|0|0", kFffd + "|x|-|-|0|1"},
                             1},
                    ReadCase{"Windows1252Umlauts",
                             "\xC4pfel\t\xFC\x80\r\n",
                             "ASCII-tabsep-file",
                             {"\xC3\x84pfel|\xC3\xBC\xE2\x82\xAC|-|-|0|0"}},
                    ReadCase{"Utf8AndOneWindows1252Byte",
                             "\xC3\xA4\xE4\tx\r\n",
                             "ASCII-tabsep-file",
                             {"\xC3\x83\xC2\xA4\xC3\xA4|x|-|-|0|0"}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// A first byte 0x7E is the Unicode list only with both of its first lines; every other such
// file is still the older format that is refused.
TEST(ReadTilde, OnlyTheWholeFirstTwoLinesMakeTheUnicodeList) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {unicodeList({"a\tb\t-\t-\t1\t2"}), true},
        {"~#File fuer Mnemprogramm\n#Format Version 3.0, UTF-8\n\n" +
             crlf(fontLines(sampleFont("F", 0, 0))) + crlf(fontLines(sampleFont("F", 0, 0))),
         true},
        {"~#File fuer Mnemprogramm\r\n#Format Version 1.0\r\nq\ta\r\n", false},
        {"~#File fuer Mnemprogramm\r\n#Format Version 3.0, UTF-8 and more\r\n", false},
        {"~#File fuer Mnemprogramm\r\n#Format Version 3.0, UTF-8", false},
        {"~#File fuer Mnemprogramm\r\r\n#Format Version 3.0, UTF-8\r\n", false},
        {"~question\tanswer\r\n", false},
        {"~", false},
    };
    for (const auto& [bytes, unicode] : cases) {
        SCOPED_TRACE(bytes);
        const Read r = read(bytes);
        EXPECT_EQ(r.info.status, unicode ? 0 : 1);
        EXPECT_EQ(r.info.unicode, unicode);
        EXPECT_EQ(r.info.failure, unicode ? FileFailure::None : FileFailure::OldFormat);
        EXPECT_EQ(r.errors, unicode ? std::vector<int>{} : std::vector<int>{Msg::OldFormat});
    }
}

// The Unicode list cut at every offset: before its first two lines are whole it is refused
// like the older format; behind them it is read as far as it goes, and said to be
// incomplete unless the cut leaves a whole list.
TEST(ReadTilde, UnicodeListCutAnywhere) {
    const std::string bytes = unicodeList({"\xD0\x96\xD1\x83\xD0\xBA\tk\xC3\xA4"
                                           "fer\tL\t-\t1\t2"},
                                          {"e\xCC\x81t\xC3\xA9\tsummer\t-\t-\t5\t3"});
    const Read full = read(bytes);
    ASSERT_EQ(full.unknown.size() + full.known.size(), 2u);
    const std::size_t twoLines = bytes.find("frage");
    const std::size_t emptyLine = bytes.find("\r\n\r\n") + 4;
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        for (std::size_t chunk : {std::size_t{0} - 1, std::size_t{1}}) {
            SCOPED_TRACE("cut at " + std::to_string(n) + ", chunk " + std::to_string(chunk));
            const Read r = read(bytes.substr(0, n), chunk);
            if (n < twoLines) {
                EXPECT_EQ(r.info.status, n == 0 ? 0 : 1);
                continue;
            }
            EXPECT_EQ(r.info.status, 0);
            EXPECT_EQ(r.info.incomplete, !(n >= emptyLine && bytes[n - 1] == '\n'));
            if (n >= emptyLine - 2) {  // behind the line end of the first row
                ASSERT_FALSE(r.unknown.empty());
                EXPECT_EQ(r.unknown[0], full.unknown[0]);
            }
            EXPECT_LE(r.unknown.size() + r.known.size(), 2u);
            for (const std::string& card : r.unknown)
                EXPECT_TRUE(isValidUtf8(card));
        }
    }
}

}  // namespace
