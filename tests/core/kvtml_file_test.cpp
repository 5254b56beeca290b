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
        BrokenFile{"Version1", "<kvtml version=\"1.0\"><e><o>a</o><t>b</t></e></kvtml>",
                   KvtmlImport::Status::OldVersion, 1}),
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
    ASSERT_TRUE(writeKvtml(sink, kCards, {"Words", "Deutsch", "English", 5}));
    const KvtmlImport import = readKvtml(sink.bytes(), 5);
    ASSERT_EQ(import.status, KvtmlImport::Status::Read) << describeKvtmlFailure(import);
    std::vector<CardRecord> expected = kCards;
    expected[2].addInfo = "with tab";  // a TAB is no character a card text keeps
    EXPECT_EQ(cardsOf(import.candidates), expected);
    EXPECT_EQ(import.title, "Words");
    EXPECT_EQ(import.answerLanguage, "English");
}

TEST(ExchangeText, WrittenCardsImportBackTheSame) {
    StringSink sink;
    ASSERT_TRUE(writeExchangeText(sink, kCards));
    EXPECT_TRUE(sink.bytes().starts_with("#separator:tab\n#html:false\n#columns:Question\t"));
    EXPECT_NE(sink.bytes().find("\"#hash\"\t"), std::string::npos);
    EXPECT_NE(sink.bytes().find("\t\"with\ttab\"\n"), std::string::npos);

    const ImportReadResult read = readImportSource(sink.bytes(), "cards.txt", {});
    ASSERT_TRUE(read.source);
    EXPECT_EQ(read.source->mapping(), (ColumnMapping{0, 1, 2, 3, false}));
    std::vector<CardRecord> expected = kCards;
    expected[2].addInfo = "with tab";
    for (CardRecord& card : expected)
        card.level = 0;  // text has no place for levels
    std::vector<CardCandidate> rows;
    for (std::size_t i = 0; i < read.source->rowCount(); ++i)
        rows.push_back(read.source->row(i).candidate);
    EXPECT_EQ(cardsOf(rows), expected);
}

}  // namespace
