#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/import_pipeline.h"
#include "tests/core/temp_folder.h"

namespace {

using Reason = ImportRefusal::Reason;

struct RefusalCase {
    const char* name;
    std::string file;  // "" for none, "/" for a folder, "+" for one over the limit
    std::string bytes;
    Reason reason;
};

class ImportRefusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(ImportRefusals, SayWhyAFileGivesNoCards) {
    const RefusalCase& c = GetParam();
    TempFolder folder("import");
    const std::string path = folder.file(c.file == "/" ? "folder" : "words.txt");
    if (c.file == "/")
        std::filesystem::create_directory(path);
    else if (!c.file.empty())
        folder.put("words.txt", c.bytes);
    if (c.file == "+")
        std::filesystem::resize_file(path, kMaxImportFileBytes + 1);  // sparse: no disk used
    const ImportReadResult read = readImportSource(path, {});
    EXPECT_FALSE(read.source);
    EXPECT_EQ(read.refusal.reason, c.reason);
    EXPECT_EQ(read.refusal.detail.empty(), c.reason != Reason::BrokenKvtml);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportRefusals,
    testing::Values(RefusalCase{"Missing", "", "", Reason::CannotRead},
                    RefusalCase{"Folder", "/", "", Reason::NotRegularFile},
                    RefusalCase{"OverTheLimit", "+", "", Reason::TooLarge},
                    RefusalCase{"NulBytes", "f", std::string("PK\x03\x04\0\0\x14\0\x08\0word", 14),
                                Reason::NotText},
                    RefusalCase{"Empty", "f", "", Reason::NoCards},
                    RefusalCase{"OnlyAHeaderRow", "f", "Frage;Antwort\n", Reason::NoCards},
                    RefusalCase{"KvtmlByItsFirstElement", "f",
                                "<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\"><entries>",
                                Reason::BrokenKvtml}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// The counts are those of the cards the import adds: a row without an answer is no card.
TEST(ImportSource, CountsWhatTheImportTakesAndFollowsTheUsersChoices) {
    ImportReadResult read = readImportSource("a,1;b\nc,2;\nd\tx;e\n", "words.csv", {});
    ASSERT_TRUE(read.source);
    ImportSource& source = *read.source;
    EXPECT_EQ(source.kind(), ImportKind::Text);
    EXPECT_EQ(source.text().separator, U';');
    const auto check = [&](std::size_t rows, std::size_t taken, std::vector<std::size_t> noted) {
        std::size_t added = 0;
        source.forEachTakenCard([&](const CardRecord&) { ++added; });
        EXPECT_EQ(source.counts().rows, rows);
        EXPECT_EQ(source.counts().taken, taken);
        EXPECT_EQ(added, taken);
        EXPECT_EQ(source.counts().noted, noted);
    };
    check(3, 2, {1, 2});

    source.setOptions({std::nullopt, U',', std::nullopt});
    EXPECT_EQ(source.row(1).candidate.card, (CardRecord{"c", "2;", "-", "-", 0}));
    check(3, 2, {2});

    ColumnMapping header = source.mapping();
    header.firstRowIsHeader = true;
    source.setMapping(header);
    check(2, 1, {1});
}

}  // namespace
