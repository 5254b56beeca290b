#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zstd.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "core/anki_package.h"
#include "core/html_text.h"
#include "core/zip_archive.h"
#include "tests/core/temp_folder.h"

// Packages are built here the way Anki lays them out: schema 11 keeps note types, decks
// and options as JSON in table col; schema 18 keeps them in tables with protobuf settings.

namespace {

using json = nlohmann::json;

// ---- a small protobuf writer ----
std::string varint(uint64_t v) {
    std::string out;
    do {
        out += static_cast<char>((v & 0x7F) | (v > 0x7F ? 0x80 : 0));
        v >>= 7;
    } while (v);
    return out;
}
std::string pbInt(int field, uint64_t v) {
    return varint(uint64_t(field) << 3) + varint(v);
}
std::string pbBytes(int field, const std::string& b) {
    return varint(uint64_t(field) << 3 | 2) + varint(b.size()) + b;
}
std::string pbFloats(int field, const std::vector<float>& values) {
    std::string packed(values.size() * 4, '\0');
    std::memcpy(packed.data(), values.data(), packed.size());
    return pbBytes(field, packed);
}

std::string zstd(const std::string& bytes) {
    std::string out(ZSTD_compressBound(bytes.size()), '\0');
    out.resize(ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 3));
    return out;
}

struct Entry {
    std::string name;
    std::string bytes;
    bool deflate = true;
};

std::string zipOf(const TempFolder& folder, const std::vector<Entry>& entries) {
    ZipWriter zip;
    EXPECT_TRUE(zip.create(folder.file("made.zip")));
    for (const Entry& e : entries)
        EXPECT_TRUE(zip.addBytes(e.name, e.bytes, e.deflate));
    EXPECT_TRUE(zip.close());
    return folder.get("made.zip");
}

// Runs SQL on a new database and gives back its bytes.
std::string database(const TempFolder& folder, const std::string& sql,
                     const std::function<void(sqlite3*)>& more = {}) {
    const std::string path = folder.file("col.db");
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_create_collation(db, "unicase", SQLITE_UTF8, nullptr,
                             [](void*, int a, const void* x, int b, const void* y) {
                                 const int c = std::memcmp(x, y, std::size_t(std::min(a, b)));
                                 return c != 0 ? c : a - b;
                             });
    sqlite3_exec(db, "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY", nullptr, nullptr,
                 nullptr);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
    if (more)
        more(db);
    sqlite3_close(db);
    return folder.get("col.db");
}

void insertBlob(sqlite3* db, const char* sql, const std::vector<std::string>& blobs) {
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    for (std::size_t i = 0; i < blobs.size(); ++i)
        sqlite3_bind_blob(st, int(i + 1), blobs[i].data(), int(blobs[i].size()), SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(st), SQLITE_DONE) << sqlite3_errmsg(db);
    sqlite3_finalize(st);
}

const char* kCommonTables = R"(
CREATE TABLE notes (id integer PRIMARY KEY, guid text, mid integer, mod integer, usn integer,
  tags text, flds text, sfld integer, csum integer, flags integer, data text);
CREATE TABLE cards (id integer PRIMARY KEY, nid integer, did integer, ord integer, mod integer,
  usn integer, type integer, queue integer, due integer, ivl integer, factor integer,
  reps integer, lapses integer, left integer, odue integer, odid integer, flags integer,
  data text);
CREATE TABLE revlog (id integer PRIMARY KEY, cid integer, usn integer, ease integer,
  ivl integer, lastIvl integer, factor integer, time integer, type integer);
INSERT INTO notes VALUES (10, 'guidA', 100, 0, 0, ' verbs Lesson_1 ',
  '<b>hablar</b>' || char(31) || 'to speak&nbsp;&amp;<br>talk', '', 0, 0, '');
INSERT INTO notes VALUES (11, 'guidB', 200, 0, 0, '', '{{c1::Madrid}} is the capital', '', 0, 0, '');
INSERT INTO notes VALUES (12, 'guidC', 100, 0, 0, '', 'solo' || CAST(x'FF' AS TEXT) || char(31) || '<br>',
  '', 0, 0, '');
INSERT INTO cards VALUES (20, 10, 7, 0, 0, 0, 2, 2, 500, 12, 2300, 5, 1, 0, 0, 0, 0,
  '{"s":12.5,"d":4.25}');
INSERT INTO cards VALUES (21, 11, 9, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 5, 0, '');
INSERT INTO cards VALUES (22, 12, 5, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, '{}');
INSERT INTO cards VALUES (23, 99, 5, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, '');
INSERT INTO revlog VALUES (1700000000000, 20, 0, 3, 4, 1, 2500, 6000, 1);
INSERT INTO revlog VALUES (1700000500000, 20, 0, 1, -600, 4, 2300, 9000, 1);
INSERT INTO revlog VALUES (1700000600000, 20, 0, 7, 1, 1, 0, 0, 1);
INSERT INTO revlog VALUES (1700000700000, 404, 0, 3, 1, 1, 0, 0, 1);
)";

// Note type 100 "Basic" (Front, Back), 200 "Cloze"; decks 5 Default, 7 Spanish::Verbs
// (options 3, FSRS-5), 9 a filtered deck holding card 21 of deck 5.
std::string schema11(const TempFolder& folder, int version = 11) {
    const json models = {
        {"100",
         {{"id", 100},
          {"name", "Basic"},
          {"type", 0},
          {"flds", {{{"name", "Back"}, {"ord", 1}}, {{"name", "Front"}, {"ord", 0}}}}}},
        {"200",
         {{"id", "200"},
          {"name", "Cloze"},
          {"type", 1},
          {"flds", {{{"name", "Text"}, {"ord", 0}}}}}}};
    const json decks = {{"5", {{"id", 5}, {"name", "Default"}, {"dyn", 0}, {"conf", 1}}},
                        {"7", {{"id", 7}, {"name", "Spanish::Verbs"}, {"dyn", 0}, {"conf", 3}}},
                        {"9", {{"id", 9}, {"name", "Filtered"}, {"dyn", 1}}}};
    const json dconf = {{"3",
                         {{"id", 3},
                          {"name", "Tuned"},
                          {"fsrsWeights", std::vector<float>(17, 1.f)},
                          {"fsrsParams5", std::vector<float>(19, 0.5f)},
                          {"desiredRetention", 0.85}}}};
    return database(
        folder,
        "CREATE TABLE col (id integer PRIMARY KEY, crt integer, mod integer, scm integer,"
        " ver integer, dty integer, usn integer, ls integer, conf text, models text,"
        " decks text, dconf text, tags text);"
        "INSERT INTO col VALUES (1, 1600000000, 0, 0, " +
            std::to_string(version) + ", 0, 0, 0, '{}', '" + models.dump() + "', '" + decks.dump() +
            "', '" + dconf.dump() + "', '{}');" + kCommonTables);
}

std::string schema18(const TempFolder& folder) {
    const std::string sql = std::string(R"(
CREATE TABLE col (id integer PRIMARY KEY, crt integer, mod integer, scm integer, ver integer,
  dty integer, usn integer, ls integer, conf text, models text, decks text, dconf text, tags text);
INSERT INTO col VALUES (1, 1600000000, 0, 0, 18, 0, 0, 0, '', '', '', '', '');
CREATE TABLE notetypes (id integer PRIMARY KEY, name text COLLATE unicase, mtime_secs integer,
  usn integer, config blob);
CREATE TABLE fields (ntid integer, ord integer, name text COLLATE unicase, config blob,
  PRIMARY KEY (ntid, ord)) WITHOUT ROWID;
CREATE TABLE decks (name text PRIMARY KEY COLLATE unicase, id integer, mtime_secs integer,
  usn integer, common blob, kind blob);
CREATE TABLE deck_config (id integer PRIMARY KEY, name text COLLATE unicase, mtime_secs integer,
  usn integer, config blob);
INSERT INTO fields VALUES (100, 1, 'Back', x''), (100, 0, 'Front', x''), (200, 0, 'Text', x'');
-- More than one buffer of zstd output, as every real collection is.
CREATE TABLE padding (t text);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000)
INSERT INTO padding SELECT 'row ' || i || ' of words that repeat now and then' FROM n;
)") + kCommonTables;
    return database(folder, sql, [](sqlite3* db) {
        insertBlob(db, "INSERT INTO notetypes VALUES (100, 'Basic', 0, 0, ?)", {pbBytes(3, "css")});
        insertBlob(db, "INSERT INTO notetypes VALUES (200, 'Cloze', 0, 0, ?)", {pbInt(1, 1)});
        const std::string normal3 = pbBytes(1, pbInt(1, 3)), normal1 = pbBytes(1, pbInt(1, 1));
        insertBlob(db, "INSERT INTO decks VALUES ('Default', 5, 0, 0, x'', ?)", {normal1});
        insertBlob(db,
                   "INSERT INTO decks VALUES ('Spanish' || char(31) || 'Verbs', 7, 0, 0, x'', ?)",
                   {normal3});
        insertBlob(db, "INSERT INTO decks VALUES ('Filtered', 9, 0, 0, x'', ?)", {pbBytes(2, "")});
        const float retention = 0.85f;
        uint32_t bits;
        std::memcpy(&bits, &retention, 4);
        std::string fixed = varint(37 << 3 | 5);
        for (int i = 0; i < 4; ++i)
            fixed += static_cast<char>(bits >> (8 * i));
        insertBlob(db, "INSERT INTO deck_config VALUES (3, 'Tuned', 0, 0, ?)",
                   {pbFloats(3, std::vector<float>(17, 1.f)) + pbInt(9, 20) +
                    pbFloats(5, std::vector<float>(19, 0.5f)) + fixed + pbBytes(255, "{}")});
    });
}

// The database after some more SQL.
std::string changed(const std::string& bytes, const char* sql) {
    TempFolder f("changed");
    f.put("d.db", bytes);
    sqlite3* db = nullptr;
    sqlite3_open(f.file("d.db").c_str(), &db);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_close(db);
    return f.get("d.db");
}

enum class Layout { Anki2, Anki21, Anki21NoMeta, Anki21b };

std::string package(const TempFolder& folder, Layout layout) {
    // Newer packages carry a collection.anki2 whose one note asks to update Anki.
    const auto decoyCollection = [&] {
        return changed(schema11(folder),
                       "DELETE FROM notes; DELETE FROM cards; DELETE FROM revlog;"
                       "INSERT INTO notes VALUES (1, 'x', 100, 0, 0, '', 'Please update Anki' || "
                       "char(31) || 'x', '', 0, 0, '')");
    };
    switch (layout) {
        case Layout::Anki2:
            return zipOf(folder, {{"collection.anki2", schema11(folder)},
                                  {"media", R"({"0":"a.jpg"})"},
                                  {"0", "jpeg"}});
        case Layout::Anki21:
            return zipOf(folder, {{"meta", pbInt(1, 2), false},
                                  {"collection.anki2", decoyCollection()},
                                  {"collection.anki21", schema11(folder)},
                                  {"media", R"({"0":"a.jpg"})"}});
        case Layout::Anki21NoMeta:
            return zipOf(folder, {{"collection.anki2", decoyCollection()},
                                  {"collection.anki21", schema11(folder)},
                                  {"media", R"({"0":"a.jpg"})"}});
        case Layout::Anki21b:
            return zipOf(folder,
                         {{"meta", pbInt(1, 3), false},
                          {"collection.anki2", decoyCollection(), false},
                          {"collection.anki21b", zstd(schema18(folder)), false},
                          {"media", zstd(pbBytes(1, pbBytes(1, "a.jpg") + pbInt(2, 4))), false}});
    }
    return {};
}

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
