#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "core/anki_package.h"
#include "core/html_text.h"
#include "tests/core/anki_package_builder.h"

namespace {

struct VersionCase {
    const char* name;
    Layout layout;
    AnkiCollectionKind kind;
    int schema;
};

class AnkiVersions : public ::testing::TestWithParam<VersionCase> {};

TEST_P(AnkiVersions, ReadsNoteTypesDecksNotesCardsAndHistory) {
    const VersionCase& c = GetParam();
    TempFolder folder("anki");
    folder.put("deck.apkg", package(folder, c.layout));
    // Judged by their ratio from the first byte, honest packages still pass.
    AnkiReadLimits strict;
    strict.ratioFloorBytes = 0;
    const AnkiReadResult r = readAnkiPackage(folder.file("deck.apkg"), strict);
    ASSERT_TRUE(r.ok()) << r.detail;
    const AnkiPackage& p = r.package;
    EXPECT_EQ(p.collectionKind, c.kind);
    EXPECT_EQ(p.schema, c.schema);
    EXPECT_EQ(p.createdSeconds, 1600000000);

    ASSERT_NE(p.noteType(100), nullptr);
    EXPECT_EQ(p.noteType(100)->fieldNames, (std::vector<std::string>{"Front", "Back"}));
    EXPECT_FALSE(p.noteType(100)->cloze);
    ASSERT_NE(p.noteType(200), nullptr);
    EXPECT_TRUE(p.noteType(200)->cloze);

    ASSERT_NE(p.deck(7), nullptr);
    EXPECT_EQ(p.deck(7)->name, "Spanish::Verbs");
    EXPECT_EQ(p.deck(7)->configId, 3);
    EXPECT_TRUE(p.deck(9)->filtered);
    ASSERT_NE(p.deckConfig(3), nullptr);
    EXPECT_EQ(p.deckConfig(3)->fsrsParameters, std::vector<float>(19, 0.5f));  // newest set
    EXPECT_FLOAT_EQ(p.deckConfig(3)->desiredRetention.value_or(0), 0.85f);

    // The decoy's note never shows.
    ASSERT_EQ(p.notes.size(), 3u);
    EXPECT_EQ(p.notes[0].guid, "guidA");
    EXPECT_EQ(p.notes[0].tags, (std::vector<std::string>{"verbs", "Lesson_1"}));
    EXPECT_EQ(htmlToText(p.notes[0].fields[1]), "to speak & / talk");
    EXPECT_EQ(judgeAnkiNote(p, p.notes[0]), AnkiNoteVerdict::Usable);
    EXPECT_EQ(judgeAnkiNote(p, p.notes[1]), AnkiNoteVerdict::Cloze);
    EXPECT_EQ(judgeAnkiNote(p, p.notes[2]), AnkiNoteVerdict::OneField);
    EXPECT_EQ(p.notes[2].fields[0], "solo\uFFFD");  // a stray byte becomes U+FFFD

    // Card 23 belongs to no note; card 21 sits in a filtered deck and keeps its home deck.
    ASSERT_EQ(p.cards.size(), 3u);
    EXPECT_EQ(p.skippedCards, 1u);
    EXPECT_EQ(p.cards[0].interval, 12);
    EXPECT_EQ(p.cards[0].easeFactor, 2300);
    ASSERT_TRUE(p.cards[0].memory);
    EXPECT_FLOAT_EQ(p.cards[0].memory->stability, 12.5f);
    EXPECT_FLOAT_EQ(p.cards[0].memory->difficulty, 4.25f);
    EXPECT_FALSE(p.cards[2].memory);
    EXPECT_EQ(p.cards[1].deckId, 5);

    // An impossible answer and a review of a missing card are left out.
    ASSERT_EQ(p.revlog.size(), 2u);
    EXPECT_EQ(p.skippedReviews, 2u);
    EXPECT_EQ(p.revlog[1].ease, 1);
    EXPECT_EQ(p.revlog[1].interval, -600);
    EXPECT_EQ(p.revlog[1].takenMs, 9000);

    EXPECT_EQ(p.mediaNames, std::vector<std::string>{"a.jpg"});
}

INSTANTIATE_TEST_SUITE_P(
    All, AnkiVersions,
    ::testing::Values(VersionCase{"anki2", Layout::Anki2, AnkiCollectionKind::Anki2, 11},
                      VersionCase{"anki21", Layout::Anki21, AnkiCollectionKind::Anki21, 11},
                      VersionCase{"anki21WithoutMeta", Layout::Anki21NoMeta,
                                  AnkiCollectionKind::Anki21, 11},
                      VersionCase{"anki21b", Layout::Anki21b, AnkiCollectionKind::Anki21b, 18}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnkiPackage, RefusesBadInputWithItsReason) {
    TempFolder folder("anki_bad");
    std::string damaged = schema11(folder);
    std::memset(damaged.data() + 100, 0x5A, damaged.size() - 100);
    AnkiReadLimits tiny;
    tiny.maxUnpackedBytes = 4096;
    const std::string zeros(8 << 20, '\0');
    // A byte of a stored collection changed after packing: the checksum no longer fits.
    std::string flipped = zipOf(folder, {{"collection.anki2", schema11(folder), false}});
    flipped[flipped.find("SQLite format 3") + 200] ^= 1;
    std::string cut = zstd(schema18(folder));
    cut.resize(cut.size() / 2);
    struct Case {
        const char* name;
        std::string bytes;
        AnkiRefusal expected;
        AnkiReadLimits limits = {};
    } cases[] = {
        {"text file", "front\tback\n", AnkiRefusal::NotZip},
        {"empty file", "", AnkiRefusal::NotZip},
        {"zip bomb", zipOf(folder, {{"collection.anki2", zeros}}), AnkiRefusal::SuspiciousRatio},
        {"zstd bomb",
         zipOf(folder, {{"meta", pbInt(1, 3), false}, {"collection.anki21b", zstd(zeros), false}}),
         AnkiRefusal::SuspiciousRatio},
        {"over the limit", zipOf(folder, {{"collection.anki2", schema11(folder), false}}),
         AnkiRefusal::TooLarge, tiny},
        {"newer package", zipOf(folder, {{"meta", pbInt(1, 4)}, {"collection.anki21c", "?"}}),
         AnkiRefusal::TooNew},
        {"newer schema", zipOf(folder, {{"collection.anki2", schema11(folder, 19)}}),
         AnkiRefusal::TooNew},
        {"old schema", zipOf(folder, {{"collection.anki2", schema11(folder, 10)}}),
         AnkiRefusal::TooOld},
        {"damaged database", zipOf(folder, {{"collection.anki2", damaged}}), AnkiRefusal::Damaged},
        {"no database", zipOf(folder, {{"collection.anki2", "SQLite format 3"}}),
         AnkiRefusal::Damaged},
        {"cut zstd", zipOf(folder, {{"meta", pbInt(1, 3)}, {"collection.anki21b", cut}}),
         AnkiRefusal::Damaged},
        {"notes as a view",
         zipOf(folder,
               {{"collection.anki2", changed(schema11(folder),
                                             "DROP TABLE notes; CREATE VIEW notes AS SELECT "
                                             "1 AS id, 'g' AS guid, 100 AS mid, '' AS tags, "
                                             "'a' AS flds")}}),
         AnkiRefusal::Damaged},
        {"flipped byte", flipped, AnkiRefusal::Damaged},
        {"broken media list",
         zipOf(folder, {{"meta", pbInt(1, 3)},
                        {"collection.anki21b", zstd(schema18(folder))},
                        {"media", zstd(pbBytes(1,
                                               "\x0a\x09"
                                               "cut"))}}),
         AnkiRefusal::Damaged},
        {"media only", zipOf(folder, {{"media", "{}"}}), AnkiRefusal::NoCollection},
        {"meta without its collection",
         zipOf(folder, {{"meta", pbInt(1, 3)}, {"collection.anki2", schema11(folder)}}),
         AnkiRefusal::NoCollection},
    };
    for (const Case& c : cases) {
        const AnkiReadResult r = readAnkiPackageBytes(c.bytes, c.limits);
        EXPECT_EQ(r.refusal, c.expected) << c.name << ": " << r.detail;
        EXPECT_TRUE(r.package.notes.empty()) << c.name;
    }
    EXPECT_EQ(readAnkiPackage(folder.file("missing.apkg")).refusal, AnkiRefusal::CannotOpen);
}

// A collection zipped by hand from a profile folder is in WAL mode; it still opens.
TEST(AnkiPackage, ReadsACollectionInWalMode) {
    TempFolder folder("anki_wal");
    const std::string wal = changed(schema11(folder), "PRAGMA journal_mode = WAL");
    ASSERT_EQ(wal[18], 2);  // the header says WAL
    const AnkiReadResult r = readAnkiPackageBytes(zipOf(folder, {{"collection.anki2", wal}}));
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(r.package.notes.size(), 3u);
}

TEST(AnkiPackage, ExportReadsBackWithItsHistoryAndKeepsGuids) {
    TempFolder folder("anki_export");
    AnkiExport out;
    out.deckName = "Español A1";
    out.nowSeconds = 1700000000;
    out.cards = {{"der Bär", "the bear", "Lesson 1", "list.kmx#0", "", std::nullopt},
                 {"a < b & \"c\"", "line one\nline two", "", "list.kmx#1", "", std::nullopt},
                 {"hablar", "to speak", "Verbs", "list.kmx#2", "keptGuid",
                  AnkiExportState{2, 2, 40, 12, 2500, 4, 1, AnkiMemoryState{9.5f, 5.5f}}}};
    out.reviews = {{2, 1699000000000, 3, 4, 1, 2500, 7000, 1},
                   {2, 1699000000000, 1, -600, 4, 2300, 5000, 1},  // same millisecond
                   {0, 1698000000000, 4, 3, 0, 2500, 3000, 0}};
    out.fsrsParameters = std::vector<float>(21, 0.25f);
    ASSERT_TRUE(writeAnkiPackage(folder.file("out.apkg"), out).ok());

    const AnkiReadResult r = readAnkiPackage(folder.file("out.apkg"));
    ASSERT_TRUE(r.ok()) << r.detail;
    const AnkiPackage& p = r.package;
    EXPECT_EQ(p.collectionKind, AnkiCollectionKind::Anki2);
    ASSERT_EQ(p.notes.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const AnkiNote& n = p.notes[i];
        EXPECT_EQ(htmlToText(n.fields[0], "\n"), out.cards[i].question);
        EXPECT_EQ(htmlToText(n.fields[1], "\n"), out.cards[i].answer);
        EXPECT_EQ(p.noteType(n.noteTypeId)->fieldNames,
                  (std::vector<std::string>{"Front", "Back"}));
        EXPECT_EQ(p.deck(p.cards[i].deckId)->name, "Español A1");
    }
    EXPECT_EQ(p.notes[0].tags, std::vector<std::string>{"Lesson_1"});
    EXPECT_TRUE(p.notes[1].tags.empty());
    EXPECT_EQ(p.notes[0].guid, ankiGuidFor("list.kmx#0"));
    EXPECT_EQ(p.notes[2].guid, "keptGuid");
    EXPECT_EQ(p.cards[0].type, 0);
    EXPECT_EQ(p.cards[2].interval, 12);
    ASSERT_TRUE(p.cards[2].memory);
    EXPECT_FLOAT_EQ(p.cards[2].memory->stability, 9.5f);
    EXPECT_EQ(p.deckConfig(p.deck(p.cards[0].deckId)->configId)->fsrsParameters,
              out.fsrsParameters);

    ASSERT_EQ(p.revlog.size(), 3u);
    EXPECT_EQ(p.revlog[0].cardId, p.cards[0].id);
    EXPECT_EQ(p.revlog[1].id, 1699000000000);
    EXPECT_EQ(p.revlog[2].id, 1699000000001);
    EXPECT_EQ(p.revlog[2].ease, 1);
    EXPECT_EQ(p.revlog[2].interval, -600);

    // A second export of the same list names the same notes, and a failed one keeps the file.
    ASSERT_TRUE(writeAnkiPackage(folder.file("again.apkg"), out).ok());
    EXPECT_EQ(readAnkiPackage(folder.file("again.apkg")).package.notes[1].guid, p.notes[1].guid);
    out.reviews.push_back({7});
    EXPECT_EQ(writeAnkiPackage(folder.file("out.apkg"), out).failure, AnkiWriteFailure::BadInput);
    EXPECT_TRUE(readAnkiPackage(folder.file("out.apkg")).ok());
    out.reviews.pop_back();
    EXPECT_EQ(writeAnkiPackage(folder.file("no/such/folder.apkg"), out).failure,
              AnkiWriteFailure::CannotWrite);
}

TEST(HtmlText, ShowsWhatABrowserShows) {
    const struct {
        const char* html;
        const char* text;
    } cases[] = {
        {"<div>der&nbsp;Bär</div><div>the bear</div>", "der Bär / the bear"},
        {"a<br><br />b<br>", "a / b"},
        {"&lt;b&gt; &amp;amp; &#228;&#x20AC; &bogus; & x", "<b> &amp; ä€ &bogus; & x"},
        {"<style>.x{}</style><b title=\"a>b\">bold</b>  \n  text", "bold text"},
        {"3 < 4 <!-- note --> ok", "3 < 4 ok"},
        {"<img src=\"a.jpg\">[sound:b.mp3]word", "[sound:b.mp3]word"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(htmlToText(c.html), c.text) << c.html;
    EXPECT_EQ(countMediaReferences("<img src=a.jpg><IMG src=b.png>[sound:c.mp3]"), 3u);
    EXPECT_EQ(htmlToText(textToHtml("a<b & c\nd"), "\n"), "a<b & c\nd");
}

}  // namespace
