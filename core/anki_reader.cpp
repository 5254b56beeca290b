// Reads Anki's packages. The layout, as Anki writes it:
//  - a zip with the collection, a file "media" listing the media files, and the media
//    files named "0", "1", ...;
//  - since Anki 2.1.50 a file "meta", a protobuf message whose field 1 is the package
//    version: 1 collection.anki2, 2 collection.anki21, 3 collection.anki21b. Version 3
//    compresses the collection and the media list with zstd, and its media list is a
//    protobuf message (field 1: repeated entries, each with the name in field 1). Older
//    packages have no "meta" and a JSON media list {"0": "name.jpg", ...};
//  - packages of version 3 carry a collection.anki2 as well, holding only a note that asks
//    the user to update Anki: the reader must take the newest collection, never that one;
//  - schema 11 keeps note types, decks and options groups as JSON in the one row of table
//    col; schema 18 keeps them in tables notetypes, fields, decks and deck_config, their
//    settings as protobuf messages, and deck names with the levels joined by 0x1F.

#include <zstd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "core/anki_package.h"
#include "core/anki_storage.h"
#include "core/html_text.h"
#include "core/unicode_text.h"
#include "core/zip_archive.h"

namespace {

using json = nlohmann::json;

constexpr int kOldestSchema = 11;
constexpr int kNewestSchema = 18;
constexpr uint64_t kLatestPackageVersion = 3;
constexpr uint64_t kMaxSmallEntryBytes = 64u << 20;  // meta and the media list

// ---- protobuf, by hand: the few messages the reader needs --------------------------------

class ProtoReader {
public:
    explicit ProtoReader(std::string_view data) : data_(data) {}

    // The next field's number and wire type; false at the end or on broken data (ok()).
    bool next(uint32_t& field, uint32_t& wire) {
        if (pos_ >= data_.size())
            return false;
        uint64_t key = 0;
        if (!varint(key) || key >> 32 || (key >> 3) == 0)
            return broken();
        field = static_cast<uint32_t>(key >> 3);
        wire = static_cast<uint32_t>(key & 7);
        return true;
    }
    bool varint(uint64_t& value) {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (pos_ >= data_.size())
                return broken();
            const auto byte = static_cast<unsigned char>(data_[pos_++]);
            value |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return true;
        }
        return broken();
    }
    bool bytes(std::string_view& out) {
        uint64_t length = 0;
        if (!varint(length) || length > data_.size() - pos_)
            return broken();
        out = data_.substr(pos_, static_cast<std::size_t>(length));
        pos_ += static_cast<std::size_t>(length);
        return true;
    }
    bool fixed32(uint32_t& out) {
        if (data_.size() - pos_ < 4)
            return broken();
        out = 0;
        for (int i = 3; i >= 0; --i)
            out =
                (out << 8) | static_cast<unsigned char>(data_[pos_ + static_cast<std::size_t>(i)]);
        pos_ += 4;
        return true;
    }
    bool skip(uint32_t wire) {
        uint64_t v;
        std::string_view b;
        uint32_t f;
        switch (wire) {
            case 0:
                return varint(v);
            case 1:
                if (data_.size() - pos_ < 8)
                    return broken();
                pos_ += 8;
                return true;
            case 2:
                return bytes(b);
            case 5:
                return fixed32(f);
            default:
                return broken();
        }
    }
    bool ok() const { return ok_; }

private:
    bool broken() {
        ok_ = false;
        pos_ = data_.size();
        return false;
    }
    std::string_view data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

float floatFromBits(uint32_t bits) {
    float f;
    static_assert(sizeof f == sizeof bits);
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// A repeated float field, packed (wire type 2) or not (5).
bool readFloats(ProtoReader& in, uint32_t wire, std::vector<float>& out) {
    uint32_t bits = 0;
    if (wire == 5) {
        if (!in.fixed32(bits))
            return false;
        out.push_back(floatFromBits(bits));
        return true;
    }
    std::string_view packed;
    if (wire != 2 || !in.bytes(packed) || packed.size() % 4)
        return false;
    ProtoReader values(packed);
    while (values.fixed32(bits))
        out.push_back(floatFromBits(bits));
    return true;
}

// ---- helpers ----------------------------------------------------------------------------

std::string wellFormed(std::string_view text) {
    if (isValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        appendUtf8(out, decodeUtf8(text, pos).value_or(0xFFFD));
    return out;
}

std::vector<std::string> splitFields(std::string_view flds) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = flds.find('\x1f', start);
        out.push_back(wellFormed(flds.substr(start, end - start)));
        if (end == std::string_view::npos)
            return out;
        start = end + 1;
    }
}

std::vector<std::string> splitTags(std::string_view tags) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < tags.size()) {
        while (pos < tags.size() && (tags[pos] == ' ' || tags[pos] == '\t'))
            ++pos;
        const std::size_t start = pos;
        while (pos < tags.size() && tags[pos] != ' ' && tags[pos] != '\t')
            ++pos;
        if (pos > start)
            out.push_back(wellFormed(tags.substr(start, pos - start)));
    }
    return out;
}

int64_t jsonInteger(const json& object, const char* key, int64_t fallback = 0) {
    const auto it = object.find(key);
    if (it == object.end())
        return fallback;
    if (it->is_number_integer())
        return it->get<int64_t>();
    if (it->is_number_float()) {
        const double v = it->get<double>();
        return v > -9e18 && v < 9e18 ? static_cast<int64_t>(v) : fallback;
    }
    if (it->is_boolean())
        return it->get<bool>() ? 1 : 0;
    if (it->is_string()) {
        try {
            return std::stoll(it->get<std::string>());
        } catch (...) {
            return fallback;
        }
    }
    return fallback;
}

std::string jsonString(const json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? wellFormed(it->get<std::string>())
                                                 : std::string();
}

std::vector<float> jsonFloats(const json& object, const char* key) {
    std::vector<float> out;
    const auto it = object.find(key);
    if (it == object.end() || !it->is_array())
        return out;
    for (const json& v : *it) {
        if (v.is_number())
            out.push_back(v.get<float>());
    }
    return out;
}

struct Failure {
    AnkiRefusal refusal;
    std::string detail;
};

// ---- the reader -------------------------------------------------------------------------

class PackageReader {
public:
    PackageReader(const ZipReader& zip, const AnkiReadLimits& limits)
        : zip_(zip),
          limits_(limits),
          meter_(limits.maxUnpackedBytes, limits.maxCompressionRatio, limits.ratioFloorBytes) {}

    AnkiReadResult run();

private:
    // Unpacks one entry, through zstd when `zstd`, into `sink`.
    bool unpack(const char* name, bool zstd, uint64_t maxBytes,
                const std::function<bool(std::string_view)>& sink);
    bool unpackToString(const char* name, bool zstd, std::string& out);
    bool chooseCollection();
    bool readCollection(const std::string& path);
    bool readNoteTypeTables(const SqliteDb& db);
    bool readDeckTable(const SqliteDb& db);
    bool readDeckConfigTable(const SqliteDb& db);
    bool readNotes(const SqliteDb& db);
    bool readCards(const SqliteDb& db);
    bool readRevlog(const SqliteDb& db);
    bool readMedia();
    bool fail(AnkiRefusal refusal, std::string detail) {
        if (!failure_)
            failure_ = Failure{refusal, std::move(detail)};
        return false;
    }
    bool dbFailure(const SqliteDb& db, const char* what) {
        return fail(AnkiRefusal::Damaged, std::string(what) + ": " + db.error());
    }

    const ZipReader& zip_;
    AnkiReadLimits limits_;
    UnpackMeter meter_;
    std::optional<Failure> failure_;
    AnkiPackage package_;
    uint64_t packageVersion_ = 0;
    std::string collectionName_;
};

bool PackageReader::unpack(const char* name, bool zstd, uint64_t maxBytes,
                           const std::function<bool(std::string_view)>& sink) {
    uint64_t declared = 0, packed = 0;
    zip_.sizes(name, declared, packed);
    meter_.startEntry(packed);
    bool sinkFailed = false;
    ZipReader::Status status;
    bool zstdBroken = false;
    bool zstdEnded = true;
    if (!zstd) {
        status = zip_.read(name, maxBytes, [&](std::string_view bytes) {
            if (!meter_.count(bytes.size()))
                return false;
            if (!sink(bytes))
                return !(sinkFailed = true);
            return true;
        });
    } else {
        std::unique_ptr<ZSTD_DCtx, decltype(&ZSTD_freeDCtx)> context(ZSTD_createDCtx(),
                                                                     ZSTD_freeDCtx);
        // A frame may ask for a window of up to 2 GiB; 128 MiB is plenty for Anki's.
        ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, 27);
        std::vector<char> out(ZSTD_DStreamOutSize());
        status = zip_.read(name, limits_.maxUnpackedBytes, [&](std::string_view bytes) {
            ZSTD_inBuffer in{bytes.data(), bytes.size(), 0};
            // A full output buffer may leave more in the decoder even when all input is
            // taken, so the loop goes on until the decoder has room to spare.
            for (bool full = true; in.pos < in.size || full;) {
                ZSTD_outBuffer o{out.data(), out.size(), 0};
                const std::size_t rc = ZSTD_decompressStream(context.get(), &o, &in);
                if (ZSTD_isError(rc))
                    return !(zstdBroken = true);
                zstdEnded = rc == 0;
                full = o.pos == o.size && rc != 0;
                if (o.pos == 0)
                    continue;
                if (!meter_.count(o.pos))
                    return false;
                if (!sink(std::string_view(out.data(), o.pos)))
                    return !(sinkFailed = true);
            }
            return true;
        });
        if (status == ZipReader::Status::Ok && !zstdEnded)
            zstdBroken = true;  // the stream was cut short
    }
    if (meter_.verdict() == UnpackMeter::Verdict::TooLarge || status == ZipReader::Status::TooLarge)
        return fail(AnkiRefusal::TooLarge, std::string(name) + " unpacks to more than the limit");
    if (meter_.verdict() == UnpackMeter::Verdict::SuspiciousRatio)
        return fail(AnkiRefusal::SuspiciousRatio,
                    std::string(name) + " is compressed beyond any real collection");
    if (sinkFailed)
        return fail(AnkiRefusal::CannotUnpack, std::string("no room to unpack ") + name);
    if (zstdBroken)
        return fail(AnkiRefusal::Damaged, std::string(name) + ": broken zstd stream");
    if (status == ZipReader::Status::Missing)
        return fail(AnkiRefusal::NoCollection, std::string(name) + " is missing");
    if (status != ZipReader::Status::Ok)
        return fail(AnkiRefusal::Damaged, std::string(name) + ": broken zip entry");
    return true;
}

bool PackageReader::unpackToString(const char* name, bool zstd, std::string& out) {
    return unpack(name, zstd, kMaxSmallEntryBytes, [&](std::string_view bytes) {
        if (out.size() + bytes.size() > kMaxSmallEntryBytes)
            return false;
        out.append(bytes);
        return true;
    });
}

bool PackageReader::chooseCollection() {
    static constexpr const char* kNames[] = {"collection.anki2", "collection.anki21",
                                             "collection.anki21b"};
    if (zip_.has("meta")) {
        std::string meta;
        if (!unpackToString("meta", false, meta))
            return false;
        ProtoReader in(meta);
        uint32_t field = 0, wire = 0;
        while (in.next(field, wire)) {
            if (field == 1 && wire == 0)
                in.varint(packageVersion_);
            else
                in.skip(wire);
        }
        if (!in.ok())
            return fail(AnkiRefusal::Damaged, "meta is no package description");
        // Anki itself writes 0 for a version it does not know.
        if (packageVersion_ == 0 || packageVersion_ > kLatestPackageVersion)
            return fail(AnkiRefusal::TooNew,
                        "package version " + std::to_string(packageVersion_) + " is newer than 3");
    } else {
        // Without a description the newest collection present is the one meant.
        for (uint64_t v = kLatestPackageVersion; v >= 1 && packageVersion_ == 0; --v) {
            if (zip_.has(kNames[v - 1]))
                packageVersion_ = v;
        }
        if (packageVersion_ == 0)
            return fail(AnkiRefusal::NoCollection, "the package holds no collection");
    }
    collectionName_ = kNames[packageVersion_ - 1];
    if (!zip_.has(collectionName_))
        return fail(AnkiRefusal::NoCollection, collectionName_ + " is missing");
    package_.collectionKind = static_cast<AnkiCollectionKind>(packageVersion_ - 1);
    return true;
}

AnkiReadResult PackageReader::run() {
    AnkiReadResult result;
    bool ok = chooseCollection();
    if (ok) {
        TempFile file("anki");
        if (!file.ok()) {
            ok = fail(AnkiRefusal::CannotUnpack, "cannot make a temporary file");
        } else {
            ok = unpack(collectionName_.c_str(), packageVersion_ == 3, limits_.maxUnpackedBytes,
                        [&](std::string_view bytes) {
                            package_.collectionBytes += bytes.size();
                            return file.write(bytes);
                        });
            if (ok && !file.close())
                ok = fail(AnkiRefusal::CannotUnpack, "cannot write the temporary file");
            ok = ok && readCollection(file.path());
        }
    }
    ok = ok && readMedia();
    if (!ok) {
        result.refusal = failure_ ? failure_->refusal : AnkiRefusal::Damaged;
        result.detail = failure_ ? failure_->detail : std::string();
        return result;
    }
    result.package = std::move(package_);
    return result;
}

bool PackageReader::readCollection(const std::string& path) {
    SqliteDb db;
    if (!db.openUntrusted(path))
        return fail(AnkiRefusal::Damaged, collectionName_ + " is no SQLite database");
    {
        SqliteStatement check(db, "PRAGMA quick_check(1)");
        if (!check.step() || check.text(0) != "ok")
            return dbFailure(db, "database check failed");
    }
    std::string models, decks, dconf;
    {
        SqliteStatement col(db, "SELECT ver, crt, models, decks, dconf FROM col LIMIT 1");
        if (!col.step())
            return dbFailure(db, "no collection row");
        package_.schema = static_cast<int>(std::clamp<int64_t>(col.integer(0), 0, 1000));
        package_.createdSeconds = col.integer(1);
        models = col.text(2);
        decks = col.text(3);
        dconf = col.text(4);
    }
    if (package_.schema < kOldestSchema)
        return fail(AnkiRefusal::TooOld,
                    "collection schema " + std::to_string(package_.schema) + " is older than 11");
    if (package_.schema > kNewestSchema)
        return fail(AnkiRefusal::TooNew,
                    "collection schema " + std::to_string(package_.schema) + " is newer than 18");
    // Views are switched off for files from elsewhere, so each name below is a real table.
    if (package_.schema < 15) {
        json parsedModels = json::parse(models, nullptr, false);
        json parsedDecks = json::parse(decks, nullptr, false);
        json parsedConfigs = json::parse(dconf, nullptr, false);
        if (!parsedModels.is_object() || !parsedDecks.is_object())
            return fail(AnkiRefusal::Damaged, "note types or decks are no JSON objects");
        for (const auto& [key, m] : parsedModels.items()) {
            if (!m.is_object())
                continue;
            AnkiNoteType type;
            type.id = jsonInteger(m, "id", jsonInteger(json{{"id", key}}, "id"));
            type.name = jsonString(m, "name");
            type.cloze = jsonInteger(m, "type") == 1;
            std::vector<std::pair<int64_t, std::string>> fields;
            if (const auto flds = m.find("flds"); flds != m.end() && flds->is_array()) {
                for (const json& f : *flds) {
                    if (f.is_object())
                        fields.emplace_back(
                            jsonInteger(f, "ord", static_cast<int64_t>(fields.size())),
                            jsonString(f, "name"));
                }
            }
            std::stable_sort(fields.begin(), fields.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (auto& f : fields)
                type.fieldNames.push_back(std::move(f.second));
            package_.noteTypes.push_back(std::move(type));
        }
        for (const auto& [key, d] : parsedDecks.items()) {
            if (!d.is_object())
                continue;
            AnkiDeck deck;
            deck.id = jsonInteger(d, "id");
            deck.name = jsonString(d, "name");
            deck.filtered = jsonInteger(d, "dyn") != 0;
            deck.configId = deck.filtered ? 0 : jsonInteger(d, "conf", 1);
            package_.decks.push_back(std::move(deck));
        }
        if (package_.schema < 14 && parsedConfigs.is_object()) {
            for (const auto& [key, c] : parsedConfigs.items()) {
                if (!c.is_object())
                    continue;
                AnkiDeckConfig config;
                config.id = jsonInteger(c, "id");
                config.name = jsonString(c, "name");
                for (const char* k : {"fsrsParams6", "fsrsParams5", "fsrsWeights"}) {
                    if (config.fsrsParameters.empty())
                        config.fsrsParameters = jsonFloats(c, k);
                }
                if (const auto r = c.find("desiredRetention"); r != c.end() && r->is_number())
                    config.desiredRetention = r->get<float>();
                package_.deckConfigs.push_back(std::move(config));
            }
        }
    } else if (!readNoteTypeTables(db) || !readDeckTable(db)) {
        return false;
    }
    if (package_.schema >= 14 && !readDeckConfigTable(db))
        return false;
    return readNotes(db) && readCards(db) && readRevlog(db);
}

bool PackageReader::readNoteTypeTables(const SqliteDb& db) {
    std::unordered_map<int64_t, std::size_t> index;
    SqliteStatement types(db, "SELECT id, name, config FROM notetypes ORDER BY id");
    while (types.step()) {
        AnkiNoteType type;
        type.id = types.integer(0);
        type.name = wellFormed(types.text(1));
        ProtoReader in(types.blob(2));
        uint32_t field = 0, wire = 0;
        while (in.next(field, wire)) {
            uint64_t kind = 0;
            if (field == 1 && wire == 0 && in.varint(kind))
                type.cloze = kind == 1;
            else
                in.skip(wire);
        }
        if (!in.ok())
            return fail(AnkiRefusal::Damaged, "a note type's settings are broken");
        index[type.id] = package_.noteTypes.size();
        package_.noteTypes.push_back(std::move(type));
    }
    if (types.failed())
        return dbFailure(db, "note types");
    SqliteStatement fields(db, "SELECT ntid, name FROM fields ORDER BY ntid, ord");
    while (fields.step()) {
        const auto it = index.find(fields.integer(0));
        if (it != index.end())
            package_.noteTypes[it->second].fieldNames.push_back(wellFormed(fields.text(1)));
    }
    return !fields.failed() || dbFailure(db, "fields");
}

bool PackageReader::readDeckTable(const SqliteDb& db) {
    SqliteStatement decks(db, "SELECT id, name, kind FROM decks");
    while (decks.step()) {
        AnkiDeck deck;
        deck.id = decks.integer(0);
        std::string name = wellFormed(decks.text(1));
        for (std::size_t p = name.find('\x1f'); p != std::string::npos; p = name.find('\x1f', p))
            name.replace(p, 1, "::");
        deck.name = std::move(name);
        ProtoReader in(decks.blob(2));
        uint32_t field = 0, wire = 0;
        while (in.next(field, wire)) {
            std::string_view body;
            if (field == 1 && wire == 2 && in.bytes(body)) {
                ProtoReader normal(body);
                while (normal.next(field, wire)) {
                    uint64_t id = 0;
                    if (field == 1 && wire == 0 && normal.varint(id))
                        deck.configId = static_cast<int64_t>(id);
                    else
                        normal.skip(wire);
                }
            } else if (field == 2 && wire == 2) {
                deck.filtered = true;
                in.skip(wire);
            } else {
                in.skip(wire);
            }
        }
        package_.decks.push_back(std::move(deck));
    }
    return !decks.failed() || dbFailure(db, "decks");
}

bool PackageReader::readDeckConfigTable(const SqliteDb& db) {
    SqliteStatement configs(db, "SELECT id, name, config FROM deck_config");
    while (configs.step()) {
        AnkiDeckConfig config;
        config.id = configs.integer(0);
        config.name = wellFormed(configs.text(1));
        // Fields 3, 5 and 6 hold the FSRS-4.5, FSRS-5 and FSRS-6 parameters, 37 the
        // desired retention.
        std::vector<float> generations[3];
        ProtoReader in(configs.blob(2));
        uint32_t field = 0, wire = 0;
        while (in.next(field, wire)) {
            uint32_t bits = 0;
            if ((field == 3 || field == 5 || field == 6) && (wire == 2 || wire == 5)) {
                readFloats(in, wire, generations[field == 3 ? 0 : field - 4]);
            } else if (field == 37 && wire == 5 && in.fixed32(bits)) {
                config.desiredRetention = floatFromBits(bits);
            } else {
                in.skip(wire);
            }
        }
        if (!in.ok())
            return fail(AnkiRefusal::Damaged, "an options group is broken");
        for (int g = 2; g >= 0 && config.fsrsParameters.empty(); --g)
            config.fsrsParameters = std::move(generations[g]);
        package_.deckConfigs.push_back(std::move(config));
    }
    return !configs.failed() || dbFailure(db, "options groups");
}

bool PackageReader::readNotes(const SqliteDb& db) {
    SqliteStatement notes(db, "SELECT id, guid, mid, tags, flds FROM notes ORDER BY id");
    while (notes.step()) {
        AnkiNote note;
        note.id = notes.integer(0);
        note.guid = wellFormed(notes.text(1));
        note.noteTypeId = notes.integer(2);
        note.tags = splitTags(notes.text(3));
        note.fields = splitFields(notes.text(4));
        package_.notes.push_back(std::move(note));
    }
    return !notes.failed() || dbFailure(db, "notes");
}

bool PackageReader::readCards(const SqliteDb& db) {
    std::unordered_set<int64_t> notes;
    for (const AnkiNote& n : package_.notes)
        notes.insert(n.id);
    SqliteStatement cards(db,
                          "SELECT id, nid, did, ord, type, queue, due, ivl, factor, reps, lapses, "
                          "odid, data FROM cards ORDER BY id");
    while (cards.step()) {
        AnkiCard card;
        card.id = cards.integer(0);
        card.noteId = cards.integer(1);
        const int64_t originalDeck = cards.integer(11);
        card.deckId = originalDeck != 0 ? originalDeck : cards.integer(2);
        const auto small = [&](int column) {
            return static_cast<int32_t>(
                std::clamp<int64_t>(cards.integer(column), INT32_MIN, INT32_MAX));
        };
        card.ordinal = small(3);
        card.type = small(4);
        card.queue = small(5);
        card.due = cards.integer(6);
        card.interval = small(7);
        card.easeFactor = small(8);
        card.reps = small(9);
        card.lapses = small(10);
        if (!notes.count(card.noteId) || card.type < 0 || card.type > 3 || card.queue < -3 ||
            card.queue > 4 || card.ordinal < 0 || card.reps < 0 || card.lapses < 0) {
            ++package_.skippedCards;
            continue;
        }
        // FSRS keeps its memory state in the card's JSON data: "s" stability, "d" difficulty.
        const std::string_view data = cards.text(12);
        if (data.find("\"s\"") != std::string_view::npos) {
            const json parsed = json::parse(data, nullptr, false);
            if (parsed.is_object()) {
                const auto s = parsed.find("s");
                const auto d = parsed.find("d");
                if (s != parsed.end() && d != parsed.end() && s->is_number() && d->is_number() &&
                    s->get<double>() > 0 && d->get<double>() >= 1 && d->get<double>() <= 10)
                    card.memory = AnkiMemoryState{s->get<float>(), d->get<float>()};
            }
        }
        package_.cards.push_back(card);
    }
    return !cards.failed() || dbFailure(db, "cards");
}

bool PackageReader::readRevlog(const SqliteDb& db) {
    std::unordered_set<int64_t> cards;
    for (const AnkiCard& c : package_.cards)
        cards.insert(c.id);
    SqliteStatement log(db,
                        "SELECT id, cid, ease, ivl, lastIvl, factor, time, type FROM revlog "
                        "ORDER BY id");
    while (log.step()) {
        const auto small = [&](int column) {
            return static_cast<int32_t>(
                std::clamp<int64_t>(log.integer(column), INT32_MIN, INT32_MAX));
        };
        AnkiReview review;
        review.id = log.integer(0);
        review.cardId = log.integer(1);
        review.ease = small(2);
        review.interval = small(3);
        review.lastInterval = small(4);
        review.factor = small(5);
        review.takenMs = small(6);
        review.type = small(7);
        if (!cards.count(review.cardId) || review.id <= 0 || review.ease < 0 || review.ease > 4 ||
            review.type < 0 || review.type > 5 || review.takenMs < 0) {
            ++package_.skippedReviews;
            continue;
        }
        package_.revlog.push_back(review);
    }
    return !log.failed() || dbFailure(db, "review log");
}

bool PackageReader::readMedia() {
    if (!zip_.has("media"))
        return true;
    std::string list;
    if (!unpackToString("media", packageVersion_ == 3, list))
        return false;
    if (packageVersion_ == 3) {
        ProtoReader in(list);
        uint32_t field = 0, wire = 0;
        while (in.next(field, wire)) {
            std::string_view entry;
            if (field == 1 && wire == 2 && in.bytes(entry)) {
                ProtoReader e(entry);
                std::string_view name;
                while (e.next(field, wire)) {
                    if (field == 1 && wire == 2 && e.bytes(name))
                        package_.mediaNames.push_back(wellFormed(name));
                    else
                        e.skip(wire);
                }
                if (!e.ok())
                    return fail(AnkiRefusal::Damaged, "the media list is broken");
            } else {
                in.skip(wire);
            }
        }
        if (!in.ok())
            return fail(AnkiRefusal::Damaged, "the media list is broken");
        return true;
    }
    const json parsed = json::parse(list.empty() ? std::string("{}") : list, nullptr, false);
    if (!parsed.is_object())
        return fail(AnkiRefusal::Damaged, "the media list is no JSON object");
    for (const auto& [key, name] : parsed.items()) {
        if (name.is_string())
            package_.mediaNames.push_back(wellFormed(name.get<std::string>()));
    }
    return true;
}

AnkiReadResult refusedOpen(ZipReader::Status status) {
    AnkiReadResult result;
    switch (status) {
        case ZipReader::Status::NotZip:
            result.refusal = AnkiRefusal::NotZip;
            result.detail = "not a zip archive";
            break;
        case ZipReader::Status::Damaged:
            result.refusal = AnkiRefusal::Damaged;
            result.detail = "the zip archive is damaged";
            break;
        default:
            result.refusal = AnkiRefusal::CannotOpen;
            result.detail = "cannot open the file";
    }
    return result;
}

}  // namespace

AnkiReadResult readAnkiPackage(const std::string& path, const AnkiReadLimits& limits) {
    ZipReader zip;
    const ZipReader::Status status = zip.openFile(path);
    if (status != ZipReader::Status::Ok)
        return refusedOpen(status);
    return PackageReader(zip, limits).run();
}

AnkiReadResult readAnkiPackageBytes(std::string_view bytes, const AnkiReadLimits& limits) {
    ZipReader zip;
    const ZipReader::Status status = zip.openBytes(bytes);
    if (status != ZipReader::Status::Ok)
        return refusedOpen(status);
    return PackageReader(zip, limits).run();
}

// ---- what the preview asks ----------------------------------------------------------------

const AnkiNoteType* AnkiPackage::noteType(int64_t id) const {
    for (const AnkiNoteType& t : noteTypes) {
        if (t.id == id)
            return &t;
    }
    return nullptr;
}

const AnkiDeck* AnkiPackage::deck(int64_t id) const {
    for (const AnkiDeck& d : decks) {
        if (d.id == id)
            return &d;
    }
    return nullptr;
}

const AnkiDeckConfig* AnkiPackage::deckConfig(int64_t id) const {
    for (const AnkiDeckConfig& c : deckConfigs) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

std::size_t usableFieldCount(const AnkiNote& note) {
    return static_cast<std::size_t>(
        std::count_if(note.fields.begin(), note.fields.end(),
                      [](const std::string& f) { return !htmlToText(f).empty(); }));
}

AnkiNoteVerdict judgeAnkiNote(const AnkiPackage& package, const AnkiNote& note) {
    const AnkiNoteType* type = package.noteType(note.noteTypeId);
    if (!type)
        return AnkiNoteVerdict::UnknownNoteType;
    if (type->cloze)
        return AnkiNoteVerdict::Cloze;
    return usableFieldCount(note) < 2 ? AnkiNoteVerdict::OneField : AnkiNoteVerdict::Usable;
}
