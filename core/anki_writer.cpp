// Writes an .apkg as every Anki since 2.1 and AnkiDroid read it: a zip with a schema 11
// collection.anki2 and a JSON media list. Anki reads the JSON in table col strictly, so
// every key it requires of a note type, deck and options group is written, with Anki's
// own defaults.

#include <algorithm>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>

#include "core/anki_package.h"
#include "core/anki_storage.h"
#include "core/html_text.h"
#include "core/safe_file.h"
#include "core/sha1.h"
#include "core/unicode_text.h"
#include "core/zip_archive.h"

namespace {

using json = nlohmann::json;

constexpr const char* kSchema = R"sql(
CREATE TABLE col (id integer PRIMARY KEY, crt integer NOT NULL, mod integer NOT NULL,
  scm integer NOT NULL, ver integer NOT NULL, dty integer NOT NULL, usn integer NOT NULL,
  ls integer NOT NULL, conf text NOT NULL, models text NOT NULL, decks text NOT NULL,
  dconf text NOT NULL, tags text NOT NULL);
CREATE TABLE notes (id integer PRIMARY KEY, guid text NOT NULL, mid integer NOT NULL,
  mod integer NOT NULL, usn integer NOT NULL, tags text NOT NULL, flds text NOT NULL,
  sfld integer NOT NULL, csum integer NOT NULL, flags integer NOT NULL, data text NOT NULL);
CREATE TABLE cards (id integer PRIMARY KEY, nid integer NOT NULL, did integer NOT NULL,
  ord integer NOT NULL, mod integer NOT NULL, usn integer NOT NULL, type integer NOT NULL,
  queue integer NOT NULL, due integer NOT NULL, ivl integer NOT NULL, factor integer NOT NULL,
  reps integer NOT NULL, lapses integer NOT NULL, left integer NOT NULL, odue integer NOT NULL,
  odid integer NOT NULL, flags integer NOT NULL, data text NOT NULL);
CREATE TABLE revlog (id integer PRIMARY KEY, cid integer NOT NULL, usn integer NOT NULL,
  ease integer NOT NULL, ivl integer NOT NULL, lastIvl integer NOT NULL, factor integer NOT NULL,
  time integer NOT NULL, type integer NOT NULL);
CREATE TABLE graves (usn integer NOT NULL, oid integer NOT NULL, type integer NOT NULL);
CREATE INDEX ix_notes_usn ON notes (usn);
CREATE INDEX ix_cards_usn ON cards (usn);
CREATE INDEX ix_revlog_usn ON revlog (usn);
CREATE INDEX ix_cards_nid ON cards (nid);
CREATE INDEX ix_cards_sched ON cards (did, queue, due);
CREATE INDEX ix_revlog_cid ON revlog (cid);
CREATE INDEX ix_notes_csum ON notes (csum);
)sql";

// The note type keeps one id in every export, so that Anki merges a second import of a
// list into the note type of the first instead of making "Basic-1a2b3".
constexpr int64_t kNoteTypeId = 1600000000001;
constexpr int64_t kDefaultDeckId = 1;

std::string wellFormed(std::string_view text) {
    if (isValidUtf8(text))
        return std::string(text);
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size())
        appendUtf8(out, decodeUtf8(text, pos).value_or(0xFFFD));
    return out;
}

uint64_t hash64(std::string_view text) {
    const std::array<uint8_t, 20> digest = sha1(text);
    uint64_t h = 0;
    for (int i = 0; i < 8; ++i)
        h = (h << 8) | digest[static_cast<std::size_t>(i)];
    return h;
}

// Anki's checksum of a note: the first four bytes of the SHA-1 of its first field's text.
int64_t fieldChecksum(std::string_view text) {
    const std::array<uint8_t, 20> digest = sha1(text);
    return int64_t(digest[0]) << 24 | int64_t(digest[1]) << 16 | int64_t(digest[2]) << 8 |
           int64_t(digest[3]);
}

std::string tagOf(std::string_view lesson) {
    std::string tag;
    for (const char c : wellFormed(lesson))
        tag += (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\x1f') ? '_' : c;
    return tag;
}

json noteType(int64_t now, int64_t deckId) {
    const auto field = [](const char* name, int ord) {
        return json{{"name", name},       {"ord", ord},
                    {"sticky", false},    {"rtl", false},
                    {"font", "Arial"},    {"size", 20},
                    {"description", ""},  {"plainText", false},
                    {"collapsed", false}, {"excludeFromSearch", false}};
    };
    json type = {
        {"id", kNoteTypeId},
        {"name", "Kartomatrix Basic"},
        {"type", 0},
        {"mod", now},
        {"usn", -1},
        {"sortf", 0},
        {"did", deckId},
        {"tmpls", json::array({json{{"name", "Card 1"},
                                    {"ord", 0},
                                    {"qfmt", "{{Front}}"},
                                    {"afmt", "{{FrontSide}}\n\n<hr id=answer>\n\n{{Back}}"},
                                    {"bqfmt", ""},
                                    {"bafmt", ""},
                                    {"did", nullptr},
                                    {"bfont", ""},
                                    {"bsize", 0}}})},
        {"flds", json::array({field("Front", 0), field("Back", 1)})},
        {"css",
         ".card {\n    font-family: arial;\n    font-size: 20px;\n    text-align: center;\n"
         "    color: black;\n    background-color: white;\n}\n"},
        {"latexPre",
         "\\documentclass[12pt]{article}\n\\special{papersize=3in,5in}\n"
         "\\usepackage[utf8]{inputenc}\n\\usepackage{amssymb,amsmath}\n\\pagestyle{empty}\n"
         "\\setlength{\\parindent}{0in}\n\\begin{document}\n"},
        {"latexPost", "\\end{document}"},
        {"latexsvg", false},
        {"req", json::array({json::array({0, "any", json::array({0})})})},
        {"tags", json::array()},
        {"vers", json::array()},
    };
    return type;
}

json deck(int64_t id, const std::string& name, int64_t now) {
    return json{{"id", id},
                {"mod", now},
                {"name", name},
                {"usn", -1},
                {"lrnToday", json::array({0, 0})},
                {"revToday", json::array({0, 0})},
                {"newToday", json::array({0, 0})},
                {"timeToday", json::array({0, 0})},
                {"collapsed", false},
                {"browserCollapsed", false},
                {"desc", ""},
                {"dyn", 0},
                {"conf", 1},
                {"extendNew", 0},
                {"extendRev", 0}};
}

json deckConfig(const AnkiExport& data, int64_t now) {
    json config = {
        {"id", 1},
        {"mod", now},
        {"name", "Default"},
        {"usn", -1},
        {"maxTaken", 60},
        {"autoplay", true},
        {"timer", 0},
        {"replayq", true},
        {"dyn", false},
        {"new",
         {{"bury", false},
          {"delays", json::array({1.0, 10.0})},
          {"initialFactor", 2500},
          {"ints", json::array({1, 4, 0})},
          {"order", 1},
          {"perDay", 20}}},
        {"rev",
         {{"bury", false},
          {"ease4", 1.3},
          {"ivlFct", 1.0},
          {"maxIvl", 36500},
          {"perDay", 200},
          {"hardFactor", 1.2}}},
        {"lapse",
         {{"delays", json::array({10.0})},
          {"leechAction", 1},
          {"leechFails", 8},
          {"minInt", 1},
          {"mult", 0.0}}},
        {"desiredRetention", data.desiredRetention.value_or(0.9f)},
    };
    // Each FSRS generation has its own key and its own parameter count.
    const std::size_t n = data.fsrsParameters.size();
    const char* key = n == 21   ? "fsrsParams6"
                      : n == 19 ? "fsrsParams5"
                      : n == 17 ? "fsrsWeights"
                                : nullptr;
    if (key)
        config[key] = data.fsrsParameters;
    return config;
}

std::string cardData(const std::optional<AnkiMemoryState>& memory) {
    if (!memory)
        return "{}";
    return json{{"s", memory->stability}, {"d", memory->difficulty}}.dump();
}

AnkiWriteResult failed(AnkiWriteFailure why, std::string detail) {
    return AnkiWriteResult{why, std::move(detail)};
}

bool writeCollection(SqliteDb& db, const AnkiExport& data, std::string& error) {
    const int64_t now = data.nowSeconds;
    const int64_t created = data.createdSeconds ? data.createdSeconds : now;
    const std::string deckName = data.deckName.empty() ? "Kartomatrix" : wellFormed(data.deckName);
    // A deck id that follows from the name, so that every export of a list names the same
    // deck; Anki matches decks by name on import in any case.
    const int64_t deckId = 1000000000000 + static_cast<int64_t>(hash64(deckName) % 1000000000000);

    json models = {{std::to_string(kNoteTypeId), noteType(now, deckId)}};
    json decks = {{"1", deck(kDefaultDeckId, "Default", now)},
                  {std::to_string(deckId), deck(deckId, deckName, now)}};
    json dconf = {{"1", deckConfig(data, now)}};
    json conf = {{"activeDecks", json::array({deckId})},
                 {"curDeck", deckId},
                 {"newSpread", 0},
                 {"collapseTime", 1200},
                 {"timeLim", 0},
                 {"estTimes", true},
                 {"dueCounts", true},
                 {"curModel", kNoteTypeId},
                 {"nextPos", data.cards.size() + 1},
                 {"sortType", "noteFld"},
                 {"sortBackwards", false},
                 {"addToCur", true},
                 {"schedVer", 2}};

    // A temporary file: a crash loses nothing that syncing would have saved.
    if (!db.exec("PRAGMA synchronous = OFF") || !db.exec(kSchema) || !db.exec("BEGIN")) {
        error = db.error();
        return false;
    }
    SqliteStatement col(db, "INSERT INTO col VALUES (1, ?, ?, ?, 11, 0, 0, 0, ?, ?, ?, ?, '{}')");
    col.bind(1, created);
    col.bind(2, now * 1000);
    col.bind(3, now * 1000);
    col.bind(4, std::string_view(conf.dump()));
    col.bind(5, std::string_view(models.dump()));
    col.bind(6, std::string_view(decks.dump()));
    col.bind(7, std::string_view(dconf.dump()));
    col.step();

    SqliteStatement note(db, "INSERT INTO notes VALUES (?, ?, ?, ?, -1, ?, ?, ?, ?, 0, '')");
    SqliteStatement card(db,
                         "INSERT INTO cards VALUES (?, ?, ?, 0, ?, -1, ?, ?, ?, ?, ?, ?, ?, 0, 0, "
                         "0, 0, ?)");
    // Ids are time stamps in milliseconds in Anki; the export's own start at "now".
    const int64_t firstId = now * 1000;
    std::set<std::string> guids;
    for (std::size_t i = 0; i < data.cards.size(); ++i) {
        const AnkiExportCard& c = data.cards[i];
        const std::string question = wellFormed(c.question);
        std::string guid = c.guid.empty() ? ankiGuidFor(c.identity) : wellFormed(c.guid);
        // Two cards of one identity would become one note in Anki; the second gets a guid
        // of its own.
        for (int n = 1; !guids.insert(guid).second; ++n)
            guid = ankiGuidFor(c.identity + "#" + std::to_string(n));
        const std::string tag = tagOf(c.lesson);
        const int64_t id = firstId + static_cast<int64_t>(i);
        note.reset();
        note.bind(1, id);
        note.bind(2, std::string_view(guid));
        note.bind(3, kNoteTypeId);
        note.bind(4, now);
        note.bind(5, std::string_view(tag.empty() ? std::string() : " " + tag + " "));
        note.bind(
            6, std::string_view(textToHtml(question) + '\x1f' + textToHtml(wellFormed(c.answer))));
        note.bind(7, std::string_view(question));
        note.bind(8, fieldChecksum(question));
        note.step();

        const AnkiExportState s =
            c.state.value_or(AnkiExportState{0, 0, static_cast<int64_t>(i + 1), 0, 0, 0, 0, {}});
        card.reset();
        card.bind(1, id);
        card.bind(2, id);
        card.bind(3, deckId);
        card.bind(4, now);
        card.bind(5, int64_t{s.type});
        card.bind(6, int64_t{s.queue});
        card.bind(7, s.due);
        card.bind(8, int64_t{s.interval});
        card.bind(9, int64_t{s.easeFactor});
        card.bind(10, int64_t{s.reps});
        card.bind(11, int64_t{s.lapses});
        card.bind(12, std::string_view(cardData(s.memory)));
        card.step();
        if (note.failed() || card.failed()) {
            error = db.error();
            return false;
        }
    }

    SqliteStatement review(db, "INSERT INTO revlog VALUES (?, ?, -1, ?, ?, ?, ?, ?, ?)");
    std::vector<AnkiExportReview> reviews = data.reviews;
    std::stable_sort(reviews.begin(), reviews.end(),
                     [](const auto& a, const auto& b) { return a.timeMs < b.timeMs; });
    int64_t lastId = 0;
    for (const AnkiExportReview& r : reviews) {
        // The review's time is its key: two in the same millisecond are set one apart.
        const int64_t id = std::max(r.timeMs, lastId + 1);
        lastId = id;
        review.reset();
        review.bind(1, id);
        review.bind(2, firstId + static_cast<int64_t>(r.card));
        review.bind(3, int64_t{r.ease});
        review.bind(4, int64_t{r.interval});
        review.bind(5, int64_t{r.lastInterval});
        review.bind(6, int64_t{r.factor});
        review.bind(7, int64_t{r.takenMs});
        review.bind(8, int64_t{r.type});
        review.step();
        if (review.failed()) {
            error = db.error();
            return false;
        }
    }
    if (col.failed() || !db.exec("COMMIT")) {
        error = db.error();
        return false;
    }
    return true;
}

}  // namespace

std::string ankiGuidFor(std::string_view identity) {
    static constexpr std::string_view kAlphabet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#$%&()*+,-./"
        ":;<=>?@[]^_`{|}~";
    uint64_t n = hash64(identity);
    std::string guid;
    do {
        guid.insert(guid.begin(), kAlphabet[n % kAlphabet.size()]);
        n /= kAlphabet.size();
    } while (n);
    return guid;
}

AnkiWriteResult writeAnkiPackage(const std::string& path, const AnkiExport& data) {
    for (const AnkiExportReview& r : data.reviews) {
        if (r.card >= data.cards.size())
            return failed(AnkiWriteFailure::BadInput, "a review of a card that is not exported");
    }
    TempFile collection("anki-export");
    TempFile archive("anki-export-zip");
    if (!collection.ok() || !archive.ok() || !collection.close() || !archive.close())
        return failed(AnkiWriteFailure::CannotWrite, "cannot make a temporary file");
    {
        SqliteDb db;
        std::string error;
        if (!db.create(collection.path()) || !writeCollection(db, data, error))
            return failed(AnkiWriteFailure::CannotWrite, "collection: " + error);
    }
    ZipWriter zip;
    if (!zip.create(archive.path()) || !zip.addFile("collection.anki2", collection.path(), true) ||
        !zip.addBytes("media", "{}", false) || !zip.close())
        return failed(AnkiWriteFailure::CannotWrite, "zip: " + zip.error());

    // The finished archive goes to its place through the program's one safe replace.
    FILE* in = std::fopen(archive.path().c_str(), "rb");
    if (!in)
        return failed(AnkiWriteFailure::CannotWrite, "cannot read the temporary archive");
    SafeFile out(path);
    bool ok = out.open();
    std::vector<char> buffer(1 << 16);
    while (ok) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
        if (n == 0) {
            ok = !std::ferror(in);
            break;
        }
        ok = out.write(std::string_view(buffer.data(), n));
    }
    std::fclose(in);
    if (!ok || !out.commit())
        return failed(AnkiWriteFailure::CannotWrite, "cannot write " + path);
    return {};
}
