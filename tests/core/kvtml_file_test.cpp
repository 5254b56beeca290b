#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/exchange_text.h"
#include "core/import_pipeline.h"
#include "core/kvtml_file.h"
#include "core/string_sink.h"
#include "core/text_import.h"
#include "tests/core/card_record_printer.h"

namespace {

std::string dataFile(const std::string& name) {
    const auto path = std::filesystem::path(__FILE__).parent_path() / "data" / "kvtml" / name;
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<CardRecord> cardsOf(const std::vector<CardCandidate>& candidates) {
    std::vector<CardRecord> cards;
    for (const CardCandidate& c : candidates) {
        if (c.taken())
            cards.push_back(c.card);
    }
    return cards;
}

struct RealFile {
    const char* name;
    const char* file;
    std::size_t entries;
    std::size_t taken;
    std::size_t index;  // one card to look at closely
    CardRecord card;
};

class RealKvtmlFiles : public testing::TestWithParam<RealFile> {};

TEST_P(RealKvtmlFiles, ReadWithTheExpectedCards) {
    const RealFile& f = GetParam();
    const KvtmlImport import = readKvtml(dataFile(f.file), 5);
    ASSERT_EQ(import.status, KvtmlImport::Status::Read) << describeKvtmlFailure(import);
    EXPECT_EQ(import.candidates.size(), f.entries);
    EXPECT_EQ(cardsOf(import.candidates).size(), f.taken);
    EXPECT_EQ(import.candidates.at(f.index).card, f.card);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RealKvtmlFiles,
    testing::Values(
        RealFile{"KWordQuiz",
                 "kwordquiz_example.kvtml",
                 9,
                 9,
                 4,
                 {"five", "f\xC3\xBCnf", "Default Le", "-", 0}},
        RealFile{"ParleyLessonNameCut",
                 "parley_feature_test_document.kvtml",
                 26,
                 22,
                 3,
                 {"Baum", "tree", "Pronunciat", "-", 0}},
        RealFile{"ParleyAnswerGrade",
                 "parley_feature_test_document.kvtml",
                 26,
                 22,
                 24,
                 {"\xC2\xA7\xC2\xA7This is a \\LaTeX{} \\textbf{markup} test.\\\\\\texttt{With "
                  "multiple lines.}\xC2\xA7\xC2\xA7",
                  "general LaTeX test", "LaTeX", "-", 1}}),
    [](const testing::TestParamInfo<RealFile>& info) { return std::string(info.param.name); });

TEST(Kvtml, EmptyEntriesAreReportedOnTheirLine) {
    const KvtmlImport import = readKvtml(dataFile("parley_feature_test_document.kvtml"), 5);
    const CardCandidate& empty = import.candidates.at(8);
    EXPECT_FALSE(empty.taken());
    EXPECT_EQ(empty.line, 207u);
    EXPECT_EQ(import.questionLanguage, "German");
    EXPECT_EQ(import.title, "Feature Test Document");
}

TEST(Kvtml, LessonsNestCommentsJoinAndUnknownElementsAreSkipped) {
    const KvtmlImport import = readKvtml(R"(<?xml version="1.0"?>
<kvtml version="2.0">
  <future><whatever a="1"/></future>
  <entries>
    <entry id="7"><comment>entry note</comment><unknown/>
      <translation id="1"><text>house</text><comment>noun</comment>
        <grade><currentgrade>7</currentgrade></grade></translation>
      <translation id="0"><text>Haus &amp; Hof</text><comment>das</comment></translation>
    </entry>
    <entry id="8"><translation id="0"><text><![CDATA[<Baum>]]></text></translation></entry>
  </entries>
  <lessons>
    <lesson><name>Outer</name>
      <container><name>Inner</name><entry id="8"/></container>
      <entry id="7"/>
    </lesson>
  </lessons>
</kvtml>)",
                                         5);
    ASSERT_EQ(import.status, KvtmlImport::Status::Read);
    EXPECT_EQ(cardsOf(import.candidates),
              (std::vector<CardRecord>{{"Haus & Hof", "house", "Outer", "entry note; das; noun", 5},
                                       {"<Baum>", "", "Inner", "-", 0}}));
}

TEST(Kvtml, DeeplyNestedLessonsDoNotExhaustTheStack) {
    std::string doc =
        "<kvtml version=\"2.0\"><entries><entry id=\"1\"><translation id=\"0\">"
        "<text>q</text></translation></entry></entries><lessons>";
    const int depth = 200000;
    for (int i = 0; i < depth; ++i)
        doc += "<container><name>L</name>";
    doc += "<entry id=\"1\"/>";
    for (int i = 0; i < depth; ++i)
        doc += "</container>";
    doc += "</lessons></kvtml>";
    const KvtmlImport import = readKvtml(doc, 5);
    ASSERT_EQ(cardsOf(import.candidates).size(), 1u);
    EXPECT_EQ(import.candidates[0].card.lesson, "L");
}

struct BrokenFile {
    const char* name;
    std::string bytes;
    KvtmlImport::Status status;
    std::size_t line;
};

class BrokenKvtml : public testing::TestWithParam<BrokenFile> {};

TEST_P(BrokenKvtml, GivesNoCardsAndSaysWhere) {
    const BrokenFile& f = GetParam();
    const KvtmlImport import = readKvtml(f.bytes, 5);
    EXPECT_EQ(import.status, f.status);
    EXPECT_EQ(import.line, f.line);
    EXPECT_TRUE(import.candidates.empty());
    EXPECT_FALSE(describeKvtmlFailure(import).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenKvtml,
    testing::Values(
        BrokenFile{"UnclosedElement",
                   "<kvtml version=\"2.0\">\n<entries>\n<entry id=\"0\">\n</entries>\n</kvtml>",
                   KvtmlImport::Status::NotXml, 4},
        BrokenFile{"Empty", "", KvtmlImport::Status::NotXml, 1},
        BrokenFile{"Binary", std::string("\x89PNG\r\n\x1A\n\0\0", 10), KvtmlImport::Status::NotXml,
                   3},
        BrokenFile{"OtherXml", "<?xml version=\"1.0\"?>\n<html><body/></html>",
                   KvtmlImport::Status::NotKvtml, 2},
        BrokenFile{"EncodingUnknownHere",
                   "<?xml version=\"1.0\" encoding=\"x-no-such-code\"?><kvtml/>",
                   KvtmlImport::Status::UnknownEncoding, 0}),
    [](const testing::TestParamInfo<BrokenFile>& info) { return std::string(info.param.name); });

TEST(Kvtml, GradesAndLevelsMeetAtBothEnds) {
    EXPECT_EQ(levelFromKvtmlGrade(0, 5), 0);
    EXPECT_EQ(levelFromKvtmlGrade(1, 5), 1);
    EXPECT_EQ(levelFromKvtmlGrade(7, 5), 5);
    EXPECT_EQ(levelFromKvtmlGrade(99, 5), 5);
    EXPECT_EQ(kvtmlGradeFromLevel(9, 5), 7);   // a known card that kept rising
    EXPECT_EQ(kvtmlGradeFromLevel(-1, 1), 0);  // "keep it" with maximum level 1
    EXPECT_EQ(levelFromKvtmlGrade(7, 20), 20);
    for (int32_t maxLevel = 1; maxLevel <= kKvtmlMaxGrade; ++maxLevel) {
        for (int32_t level = 0; level <= maxLevel; ++level) {
            EXPECT_EQ(levelFromKvtmlGrade(kvtmlGradeFromLevel(level, maxLevel), maxLevel), level)
                << "level " << level << " of " << maxLevel;
        }
    }
}

const std::vector<CardRecord> kCards = {
    {"Haus", "house, home", "L1", "das Haus; die H\xC3\xA4user", 0},
    {"a < b & \"c\"", "", "-", "-", 3},
    {"#hash", "semi;colon, comma", "L1", "with\ttab", 5},
    {"Stra\xC3\x9F"
     "e",
     "street", "", "-", 2},
};

TEST(Kvtml, WrittenCardsReadBackTheSame) {
    StringSink sink;
    ASSERT_TRUE(writeKvtml(sink, kCards, {"Words", "Deutsch", "English", 5, ""}));
    const KvtmlImport import = readKvtml(sink.bytes(), 5);
    ASSERT_EQ(import.status, KvtmlImport::Status::Read) << describeKvtmlFailure(import);
    std::vector<CardRecord> expected = kCards;
    expected[2].addInfo = "with tab";  // a TAB is no character a card text keeps
    expected[3].lesson = "-";          // no lesson, as in a new card
    EXPECT_EQ(cardsOf(import.candidates), expected);
    EXPECT_EQ(import.title, "Words");
    EXPECT_EQ(import.answerLanguage, "English");
}

TEST(ExchangeText, WrittenCardsImportBackTheSame) {
    StringSink sink;
    ASSERT_TRUE(writeExchangeText(sink, kCards));
    EXPECT_TRUE(sink.bytes().starts_with("#separator:tab\n#html:false\n"));
    EXPECT_NE(sink.bytes().find("\"#hash\"\t"), std::string::npos);
    EXPECT_NE(sink.bytes().find("\t\"with\ttab\"\tL1\n"), std::string::npos);

    const ImportReadResult read = readImportSource(sink.bytes(), "cards.txt", {});
    ASSERT_TRUE(read.source);
    EXPECT_EQ(read.source->mapping(), (ColumnMapping{0, 1, 2, 3, false}));
    std::vector<CardRecord> expected = kCards;
    expected[2].addInfo = "with tab";
    expected[3].lesson = "-";
    for (CardRecord& card : expected)
        card.level = 0;  // text has no place for levels
    std::vector<CardCandidate> rows;
    for (std::size_t i = 0; i < read.source->rowCount(); ++i)
        rows.push_back(read.source->row(i).candidate);
    EXPECT_EQ(cardsOf(rows), expected);
}

}  // namespace

namespace {

// Files as they come from the wild: the older layout, encodings other than UTF-8, the
// file's own entities and formatted text.
struct WildFile {
    const char* name;
    std::string bytes;
    std::vector<CardRecord> cards;
};

class WildKvtml : public testing::TestWithParam<WildFile> {};

TEST_P(WildKvtml, GivesEveryCardWithAllItsText) {
    const KvtmlImport import = readKvtml(GetParam().bytes, 5);
    ASSERT_EQ(import.status, KvtmlImport::Status::Read) << describeKvtmlFailure(import);
    EXPECT_EQ(cardsOf(import.candidates), GetParam().cards);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WildKvtml,
    testing::Values(
        WildFile{"Version1",
                 R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml SYSTEM "kvoctrain.dtd">
<kvtml encoding="UTF-8" generator="kvoctrain v0.8.3" cols="2" lines="3" title="Tiere">
 <lesson width="138"><desc no="1">Haustiere</desc><desc no="2" query="1">Wald</desc></lesson>
 <e m="2"><o width="100" l="de">Fuchs</o><t l="en" g="7;1" c="3;1" r="red">fox</t></e>
 <e m="1"><o>Hund</o><t g="0;0">dog<conjugation><t n="sipa"><s1>dogs</s1></t></conjugation></t></e>
 <e><o>Maus</o><t>mouse</t></e>
</kvtml>)",
                 {{"Fuchs", "fox", "Wald", "red", 5},
                  {"Hund", "dog", "Haustiere", "-", 0},
                  {"Maus", "mouse", "-", "-", 0}}},
        // Ц and д in Windows-1251, Я in KOI8-R.
        WildFile{"Windows1251",
                 "<?xml version=\"1.0\" encoding=\"windows-1251\"?><kvtml><e><o>\xD6</o>"
                 "<t>\xE4</t></e></kvtml>",
                 {{"\xD0\xA6", "\xD0\xB4", "-", "-", 0}}},
        WildFile{"Koi8",
                 "<?xml version=\"1.0\" encoding=\"KOI8-R\"?><kvtml><e><o>\xF1</o><t>ja</t></e>"
                 "</kvtml>",
                 {{"\xD0\xAF", "ja", "-", "-", 0}}},
        WildFile{"OwnEntitiesAndMarkup",
                 R"(<?xml version="1.0"?>
<!DOCTYPE kvtml [
  <!ENTITY uuml "&#252;">
  <!ENTITY door "t&uuml;r">
  <!ENTITY % skipped "x">
]>
<kvtml version="2.0"><entries><entry id="0">
 <translation id="0"><text>Haus<b>&door;</b> &amp; mehr</text></translation>
 <translation id="1"><text><![CDATA[front door &door;]]></text></translation>
</entry></entries></kvtml>)",
                 {{"Haust\xC3\xBCr & mehr", "front door &door;", "-", "-", 0}}}),
    [](const testing::TestParamInfo<WildFile>& info) { return std::string(info.param.name); });

TEST(Kvtml, EntitiesThatExplodeAreRefused) {
    std::string bytes = "<?xml version=\"1.0\"?><!DOCTYPE kvtml [<!ENTITY a0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        const std::string previous = "&a" + std::to_string(i - 1) + ";";
        std::string value;
        for (int k = 0; k < 10; ++k)
            value += previous;
        bytes += "<!ENTITY a" + std::to_string(i) + " \"" + value + "\">";
    }
    bytes +=
        "]><kvtml version=\"2.0\"><entries><entry id=\"0\"><translation id=\"0\">"
        "<text>&a9;</text></translation></entry></entries></kvtml>";
    const KvtmlImport import = readKvtml(bytes, 5);
    EXPECT_EQ(import.status, KvtmlImport::Status::NotXml);
    EXPECT_TRUE(import.candidates.empty());
}

}  // namespace

namespace {

// What KDE's library needs to keep a grade on its next save (a practice count above 0), the
// blank "-" written as no text, and the languages a list's name names.
TEST(Kvtml, ExportKeepsGradesForKdeAndWritesNoBlanks) {
    std::vector<CardRecord> cards = {{"Haus", "house", "-", "-", 5},
                                     {"T\xC3\xBCr", "door", "L", "-", 0}};
    cards[0].timesWrong = 1;  // a level from a list that does not count the questions
    StringSink sink;
    ASSERT_TRUE(writeKvtml(sink, cards, {"Words", "German", "English", 5, "2026-12-07T22:00:00"}));
    const std::string& xml = sink.bytes();
    for (const char* expected : {"<currentgrade>7</currentgrade>", "<count>1</count>",
                                 "<errorcount>1</errorcount>", "<date>2026-12-07T22:00:00</date>"})
        EXPECT_NE(xml.find(expected), std::string::npos) << expected;
    EXPECT_EQ(xml.find("<grade>", xml.find("door")), std::string::npos);  // never practised
    EXPECT_EQ(xml.find(">-<"), std::string::npos);
    cards[0].timesWrong = 0;  // imports leave the counts
    EXPECT_EQ(cardsOf(readKvtml(xml, 5).candidates), cards);

    using Languages = std::optional<std::pair<std::string, std::string>>;
    EXPECT_EQ(languagesInListName("Deutsch \xE2\x80\x93 Englisch"),
              Languages({"Deutsch", "Englisch"}));
    EXPECT_EQ(languagesInListName("Unit-3"), std::nullopt);
    EXPECT_EQ(languagesInListName("a-b-c"), std::nullopt);
}

}  // namespace
