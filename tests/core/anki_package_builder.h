#pragma once

// Anki packages built the way Anki lays them out: schema 11 keeps note types, decks and
// options as JSON in table col; schema 18 keeps them in tables with protobuf settings.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zstd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/zip_archive.h"
#include "tests/core/temp_folder.h"

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

}  // namespace
