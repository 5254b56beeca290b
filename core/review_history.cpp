#include "core/review_history.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <type_traits>

#include "core/card_identity.h"
#include "core/huge_page_allocator.h"

namespace {

// "KmxH" in the database header: tells our histories from other SQLite databases.
constexpr int32_t kApplicationId = 0x4B6D7848;
// The schema this program writes. Version 1 is made by SQL alone; version 2 keeps the cards
// packed into blocks (see CardRecord) and is made from version 1 by migrateToBlocks.
constexpr int kSchemaVersion = 2;
const char kSchema1[] =
    // The cards the history knows (card_identity.h): number and text fingerprints as in the
    // list file, and as changed since the list was last saved (NULL when unchanged); status
    // 0 alive, 1 deleted since the last save, 2 deleted for good; the memory state after the
    // latest review (NULL before the first).
    "CREATE TABLE cards(key INTEGER PRIMARY KEY, number INTEGER NOT NULL,"
    " text1 INTEGER NOT NULL, text2 INTEGER NOT NULL, changed_number INTEGER,"
    " changed1 INTEGER, changed2 INTEGER, status INTEGER NOT NULL DEFAULT 0,"
    " stability REAL, difficulty REAL, last_review_ms INTEGER, due_ms INTEGER);"
    "CREATE TABLE reviews(id INTEGER PRIMARY KEY, card INTEGER NOT NULL,"
    " time_ms INTEGER NOT NULL, rating INTEGER NOT NULL, duration_ms INTEGER NOT NULL,"
    " kind INTEGER NOT NULL, direction INTEGER NOT NULL);"
    "CREATE INDEX reviews_by_card ON reviews(card);"
    // The card's memory state before each of the latest answers, for taking them back.
    "CREATE TABLE undo(id INTEGER PRIMARY KEY, card INTEGER NOT NULL, stability REAL,"
    " difficulty REAL, last_review_ms INTEGER, due_ms INTEGER);"
    "CREATE TABLE list_values(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;"
    "PRAGMA application_id = 1265465416;";
const char kSchema2[] =
    // Card k lives in block (k - 1) / kCardsPerBlock, at record (k - 1) % kCardsPerBlock: a
    // million cards are some fifteen thousand rows, read at opening in a few milliseconds,
    // where a row per card cost a third of a second. The fingerprints a card has since
    // its change, until the list is saved, are few and kept in a table of their own.
    "CREATE TABLE card_blocks(block INTEGER PRIMARY KEY, records BLOB NOT NULL);"
    "CREATE TABLE card_changes(key INTEGER PRIMARY KEY, number INTEGER NOT NULL,"
    " text1 INTEGER NOT NULL, text2 INTEGER NOT NULL);";
static_assert(kApplicationId == 1265465416);

// Below this size a history is checked page by page at opening; above it the check would
// cost more than opening the list, and damage shows when it is met.
constexpr std::uintmax_t kCheckedAtOpeningBytes = 16 * 1024 * 1024;

const char kSqliteMagic[] = "SQLite format 3";  // and its terminating zero: 16 bytes

sqlite3_int64 asStored(uint64_t fingerprint) {
    sqlite3_int64 out;
    std::memcpy(&out, &fingerprint, sizeof out);
    return out;
}
uint64_t asFingerprint(sqlite3_int64 stored) {
    uint64_t out;
    std::memcpy(&out, &stored, sizeof out);
    return out;
}

// Whether this program may write there: judged from the mode bits as well, since root may
// write anything and a folder marked read-only should still be left alone.
bool writable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) != 0 &&
           ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::string folderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

int64_t systemNowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Renames the file and the database's companion files to "<path>.<why>-<UTC time>", with
// "-2", "-3" ... when that name is taken. Returns the new name, empty on failure.
std::string keepAside(const std::string& path, const char* why, int64_t nowMs) {
    const std::time_t seconds = static_cast<std::time_t>(nowMs / 1000);
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H-%M-%S", &utc);
    const std::string base = path + "." + why + "-" + stamp;
    std::string aside = base;
    for (int n = 2; exists(aside) || exists(aside + "-wal"); ++n)
        aside = base + "-" + std::to_string(n);
    if (std::rename(path.c_str(), aside.c_str()) != 0)
        return {};
    for (const char* companion : {"-wal", "-journal", "-shm"}) {
        if (exists(path + companion))
            std::rename((path + companion).c_str(), (aside + companion).c_str());
    }
    return aside;
}

class Statement {
public:
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt_); }
    bool prepare(sqlite3* db, const char* sql) {
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) ==
               SQLITE_OK;
    }
    // Binds the values to ?1, ?2, ... and makes the statement ready to step.
    template <typename... Values>
    Statement& bind(const Values&... values) {
        sqlite3_reset(stmt_);
        int i = 0;
        (bindOne(++i, values), ...);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return sqlite3_step(stmt_); }
    // Runs a statement that returns no rows.
    bool run() {
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        return rc == SQLITE_DONE;
    }
    void reset() { sqlite3_reset(stmt_); }
    sqlite3_int64 integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    double real(int column) const { return sqlite3_column_double(stmt_, column); }
    bool null(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    std::vector<unsigned char> blob(int column) const {
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_, column));
        return bytes
                   ? std::vector<unsigned char>(bytes, bytes + sqlite3_column_bytes(stmt_, column))
                   : std::vector<unsigned char>();
    }
    // The column's bytes, valid until the next step or reset.
    std::span<const unsigned char> blobView(int column) const {
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_, column));
        return {bytes, bytes ? static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)) : 0};
    }
    std::string text(int column) const {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return bytes ? std::string(bytes, sqlite3_column_bytes(stmt_, column)) : std::string();
    }

private:
    template <typename Value>
    void bindOne(int i, const Value& v) {
        if constexpr (std::is_same_v<Value, std::nullptr_t>)
            sqlite3_bind_null(stmt_, i);
        else if constexpr (std::is_same_v<Value, std::string>)
            sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        else if constexpr (std::is_same_v<Value, std::vector<unsigned char>>)
            v.empty()
                ? sqlite3_bind_zeroblob(stmt_, i, 0)
                : sqlite3_bind_blob(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
        else if constexpr (std::is_floating_point_v<Value>)
            sqlite3_bind_double(stmt_, i, v);
        else
            sqlite3_bind_int64(stmt_, i, static_cast<sqlite3_int64>(v));
    }
    sqlite3_stmt* stmt_ = nullptr;
};

// A card as the blocks keep it: 56 bytes, little-endian,
//   0 number (int32)  4 flags (bit 0: a card has this key, bit 1: it has a memory state)
//   5 status (0 alive, 1 deleted since the last save, 2 deleted for good)  6 zero (2 bytes)
//   8 text1  16 text2 (fingerprints as in the list file last saved or opened)
//  24 stability  32 difficulty (doubles)  40 last review  48 due (int64, ms since 1970)
constexpr std::size_t kRecordBytes = 56;
constexpr int64_t kCardsPerBlock = 64;  // a block of 3584 bytes fills one 4 KiB page
constexpr std::size_t kBlockBytes = kCardsPerBlock * kRecordBytes;
// Blocks above this one would hold keys beyond int64: only a broken file has them.
constexpr int64_t kLastBlock = INT64_MAX / kCardsPerBlock - 1;

struct CardRecord {
    CardFingerprint print;
    bool used = false;
    bool hasState = false;
    uint8_t status = 0;
    StoredCardState state;
};

template <typename T>
T loadAt(const unsigned char* p) {
    static_assert(sizeof(T) == 4 || sizeof(T) == 8);
    using Bits = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
    Bits bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bits |= Bits{p[i]} << (8 * i);
    T out;
    std::memcpy(&out, &bits, sizeof out);
    return out;
}
template <typename T>
void storeAt(unsigned char* p, T value) {
    static_assert(sizeof(T) == 4 || sizeof(T) == 8);
    using Bits = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<unsigned char>(bits >> (8 * i));
}

CardRecord decodeRecord(const unsigned char* p) {
    CardRecord r;
    r.print = {loadAt<int32_t>(p), loadAt<uint64_t>(p + 8), loadAt<uint64_t>(p + 16)};
    r.used = (p[4] & 1) != 0;
    r.hasState = (p[4] & 2) != 0;
    r.status = p[5];
    if (r.hasState)
        r.state = {loadAt<double>(p + 24), loadAt<double>(p + 32), loadAt<int64_t>(p + 40),
                   loadAt<int64_t>(p + 48)};
    return r;
}
void encodeRecord(const CardRecord& r, unsigned char* p) {
    std::memset(p, 0, kRecordBytes);
    storeAt(p, r.print.number);
    p[4] = static_cast<unsigned char>((r.used ? 1 : 0) | (r.hasState ? 2 : 0));
    p[5] = r.status;
    storeAt(p + 8, r.print.text1);
    storeAt(p + 16, r.print.text2);
    if (r.hasState) {
        storeAt(p + 24, r.state.stability);
        storeAt(p + 32, r.state.difficulty);
        storeAt(p + 40, r.state.lastReviewMs);
        storeAt(p + 48, r.state.dueMs);
    }
}

int64_t blockOf(CardKey key) {
    return (key - 1) / kCardsPerBlock;
}
std::size_t slotOf(CardKey key) {
    return static_cast<std::size_t>((key - 1) % kCardsPerBlock) * kRecordBytes;
}

// Reads, changes and writes card records one block at a time: changes to cards of one
// block in a row cost one write. Call flush() before the transaction commits.
class BlockEditor {
public:
    BlockEditor(Statement& read, Statement& write) : read_(read), write_(write) {}
    // The record of `key`; nothing when the history has no card with that key. `ok` turns
    // false when the history could not be read.
    std::optional<CardRecord> get(CardKey key, bool& ok) {
        if (key <= 0 || !load(blockOf(key), ok) || slotOf(key) + kRecordBytes > bytes_.size())
            return std::nullopt;
        CardRecord r = decodeRecord(bytes_.data() + slotOf(key));
        return r.used ? std::optional(r) : std::nullopt;
    }
    // Sets the record of `key`, a new card's as well (records before it stay unused).
    bool put(CardKey key, const CardRecord& record) {
        bool ok = true;
        if (key <= 0 || (!load(blockOf(key), ok) && !ok))
            return false;
        if (bytes_.size() < slotOf(key) + kRecordBytes)
            bytes_.resize(slotOf(key) + kRecordBytes, 0);
        encodeRecord(record, bytes_.data() + slotOf(key));
        dirty_ = true;
        exists_ = true;  // from the next flush on
        return true;
    }
    bool flush() {
        if (!dirty_)
            return true;
        dirty_ = false;
        return write_.bind(block_, bytes_).run();
    }

private:
    // Makes `block` the current one; false when it has no row yet (or, with ok false, when
    // it could not be read).
    bool load(int64_t block, bool& ok) {
        if (block == block_)
            return exists_;
        if (!flush()) {
            ok = false;
            return false;
        }
        block_ = block;
        bytes_.clear();
        Statement& s = read_.bind(block);
        const int rc = s.step();
        if (rc == SQLITE_ROW)
            bytes_ = s.blob(0);
        s.reset();
        exists_ = rc == SQLITE_ROW;
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            ok = false;
            block_ = -1;
        }
        return exists_;
    }

    Statement& read_;
    Statement& write_;
    int64_t block_ = -1;
    bool exists_ = false;
    bool dirty_ = false;
    std::vector<unsigned char> bytes_;
};

// Version 1 to 2: moves the rows of `cards` into blocks and card_changes, inside the
// caller's transaction.
bool packCardsIntoBlocks(sqlite3* db, std::string& error) {
    Statement rows, write, change;
    if (!rows.prepare(db,
                      "SELECT key, number, text1, text2, changed_number, changed1, changed2,"
                      " status, stability, difficulty, last_review_ms, due_ms FROM cards"
                      " ORDER BY key") ||
        !write.prepare(db, "INSERT INTO card_blocks(block, records) VALUES (?1, ?2)") ||
        !change.prepare(db,
                        "INSERT INTO card_changes(key, number, text1, text2)"
                        " VALUES (?1, ?2, ?3, ?4)")) {
        error = sqlite3_errmsg(db);
        return false;
    }
    int64_t block = -1;
    std::vector<unsigned char> bytes;
    const auto flush = [&] { return bytes.empty() || write.bind(block, bytes).run(); };
    int rc = SQLITE_DONE;
    bool ok = true;
    while (ok && (rc = rows.step()) == SQLITE_ROW) {
        const CardKey key = rows.integer(0);
        if (key <= 0)  // never given by this program
            continue;
        if (blockOf(key) != block) {
            ok = flush();
            block = blockOf(key);
            bytes.clear();
        }
        CardRecord r;
        r.used = true;
        r.print = {static_cast<int32_t>(rows.integer(1)), asFingerprint(rows.integer(2)),
                   asFingerprint(rows.integer(3))};
        r.status = static_cast<uint8_t>(std::clamp<sqlite3_int64>(rows.integer(7), 0, 2));
        r.hasState = !rows.null(8);
        if (r.hasState)
            r.state = {rows.real(8), rows.real(9), rows.integer(10), rows.integer(11)};
        bytes.resize(slotOf(key) + kRecordBytes, 0);
        encodeRecord(r, bytes.data() + slotOf(key));
        if (!rows.null(4))
            ok = ok && change.bind(key, rows.integer(4), rows.integer(5), rows.integer(6)).run();
    }
    rows.reset();
    ok = ok && rc == SQLITE_DONE && flush();
    if (!ok)
        error = sqlite3_errmsg(db);
    return ok;
}

}  // namespace

struct ReviewHistory::Statements {
    Statement begin, commit, rollback;
    Statement insertReview, insertUndo, pruneUndo;
    Statement latestUndo, deleteReview, deleteUndo;
    Statement readBlock, writeBlock, lastBlock, allBlocks;
    Statement changeOf, setChange, dropChange, allChanges;
    Statement reviewsOf, allReviews, reviewCount;
    Statement setValue, value;

    BlockEditor blocks() { return BlockEditor(readBlock, writeBlock); }

    bool prepare(sqlite3* db) {
        return begin.prepare(db, "BEGIN IMMEDIATE") && commit.prepare(db, "COMMIT") &&
               rollback.prepare(db, "ROLLBACK") &&
               insertReview.prepare(db,
                                    "INSERT INTO reviews(card, time_ms, rating, duration_ms, kind,"
                                    " direction) VALUES (?1, ?2, ?3, ?4, ?5, ?6)") &&
               insertUndo.prepare(db,
                                  "INSERT INTO undo(id, card, stability, difficulty,"
                                  " last_review_ms, due_ms) VALUES (?1, ?2, ?3, ?4, ?5, ?6)") &&
               pruneUndo.prepare(db, "DELETE FROM undo WHERE id <= ?1") &&
               latestUndo.prepare(db,
                                  "SELECT id, card, stability, difficulty, last_review_ms, due_ms"
                                  " FROM undo ORDER BY id DESC LIMIT 1") &&
               deleteReview.prepare(db, "DELETE FROM reviews WHERE id = ?1") &&
               deleteUndo.prepare(db, "DELETE FROM undo WHERE id = ?1") &&
               readBlock.prepare(db, "SELECT records FROM card_blocks WHERE block = ?1") &&
               writeBlock.prepare(db,
                                  "INSERT INTO card_blocks(block, records) VALUES (?1, ?2)"
                                  " ON CONFLICT(block) DO UPDATE SET records = excluded.records") &&
               lastBlock.prepare(db,
                                 "SELECT block, length(records) FROM card_blocks"
                                 " ORDER BY block DESC LIMIT 1") &&
               allBlocks.prepare(db, "SELECT block, records FROM card_blocks ORDER BY block") &&
               changeOf.prepare(db,
                                "SELECT number, text1, text2 FROM card_changes WHERE key = ?1") &&
               setChange.prepare(db,
                                 "INSERT OR REPLACE INTO card_changes(key, number, text1, text2)"
                                 " VALUES (?1, ?2, ?3, ?4)") &&
               dropChange.prepare(db, "DELETE FROM card_changes WHERE key = ?1") &&
               allChanges.prepare(db,
                                  "SELECT key, number, text1, text2 FROM card_changes"
                                  " ORDER BY key") &&
               reviewsOf.prepare(db,
                                 "SELECT id, card, time_ms, rating, duration_ms, kind, direction"
                                 " FROM reviews WHERE card = ?1 ORDER BY id") &&
               allReviews.prepare(db,
                                  "SELECT id, card, time_ms, rating, duration_ms, kind, direction"
                                  " FROM reviews ORDER BY id") &&
               reviewCount.prepare(db, "SELECT count(*) FROM reviews") &&
               setValue.prepare(db,
                                "INSERT OR REPLACE INTO list_values(key, value) VALUES (?1, ?2)") &&
               value.prepare(db, "SELECT value FROM list_values WHERE key = ?1");
    }
};

ReviewHistory::ReviewHistory() = default;
ReviewHistory::~ReviewHistory() {
    close();
}

std::string ReviewHistory::pathFor(const std::string& listPath) {
    return listPath + ".history";
}

const char* ReviewHistory::firstVersionSchema() {
    return kSchema1;
}

HistoryOpenResult ReviewHistory::open(const std::string& listPath, int64_t nowMs) {
    close();
    path_ = pathFor(listPath);
    error_.clear();
    damaged_ = false;
    unsaved_.clear();
    HistoryOpenResult result = openFile(nowMs, false);
    if (!result.hasHistory()) {
        error_ = result.detail;
        path_.clear();
    }
    return result;
}

HistoryOpenResult ReviewHistory::openFile(int64_t nowMs, bool retried) {
    HistoryOpenResult result;
    const bool existed = exists(path_);
    if (!writable(folderOf(path_)) || (existed && !writable(path_))) {
        result.status = HistoryOpenStatus::ReadOnly;
        result.detail = path_ + ": the folder or the file may not be written";
        return result;
    }
    // A history is made by one transaction, so a file of no bytes is one whose making was
    // cut short: nothing in it to keep.
    std::error_code ec;
    const bool empty = !existed || std::filesystem::file_size(path_, ec) == 0;
    if (existed && !empty) {
        char magic[sizeof kSqliteMagic] = {};
        std::ifstream in(path_, std::ios::binary);
        in.read(magic, sizeof magic);
        if (!std::filesystem::is_regular_file(path_, ec)) {
            result.detail = path_ + ": not a file";
            return result;
        }
        if (std::memcmp(magic, kSqliteMagic, sizeof magic) != 0) {
            result.status = HistoryOpenStatus::ForeignKeptAside;
            result.detail = "not an SQLite database";
        }
    }

    const auto damaged = [&](HistoryOpenStatus why, std::string detail) {
        closeDatabase();
        if (retried) {  // the new history failed too: give up rather than loop
            result.status = HistoryOpenStatus::Failed;
            result.detail = std::move(detail);
            return result;
        }
        const char* name = why == HistoryOpenStatus::ForeignKeptAside ? "foreign" : "damaged";
        const std::string aside = keepAside(path_, name, nowMs);
        if (aside.empty()) {
            result.status = HistoryOpenStatus::Failed;
            result.detail = path_ + ": could not be renamed: " + std::strerror(errno);
            return result;
        }
        HistoryOpenResult fresh = openFile(nowMs, true);
        if (!fresh.hasHistory())
            return fresh;
        fresh.status = why;
        fresh.keptAsidePath = aside;
        fresh.detail = std::move(detail);
        return fresh;
    };
    if (result.status == HistoryOpenStatus::ForeignKeptAside)
        return damaged(result.status, result.detail);

    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        result.detail = db_ ? sqlite3_errmsg(db_) : "out of memory";
        closeDatabase();
        return result;
    }
    // Exclusive before the first read, so that no shared-memory file is ever made.
    exec("PRAGMA locking_mode = EXCLUSIVE");

    // Which file is it? A read that fails as damaged sets it aside; one that fails otherwise
    // (another program holds it) leaves it alone.
    const auto readInteger = [&](const char* sql, int64_t& out) {
        Statement s;
        if (!s.prepare(db_, sql))
            return false;
        const int rc = s.step();
        if (rc == SQLITE_ROW)
            out = s.integer(0);
        return rc == SQLITE_ROW;
    };
    const auto isDamage = [&] {
        const int code = sqlite3_errcode(db_) & 0xff;
        return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
    };
    // A step that fails as damage sets the file aside; any other failure leaves it alone.
    const auto failed = [&](std::string detail) {
        if (isDamage())
            return damaged(HistoryOpenStatus::DamagedKeptAside, std::move(detail));
        closeDatabase();
        result.detail = std::move(detail);
        return result;
    };
    int64_t applicationId = 0;
    int64_t version = 0;
    int64_t tables = 0;
    if (!readInteger("PRAGMA application_id", applicationId) ||
        !readInteger("PRAGMA user_version", version) ||
        !readInteger("SELECT count(*) FROM sqlite_schema", tables)) {
        std::string detail = sqlite3_errmsg(db_);
        if (isDamage())
            return damaged(HistoryOpenStatus::DamagedKeptAside, detail);
        closeDatabase();
        result.detail = path_ + ": " + detail;
        return result;
    }
    const bool fresh = applicationId == 0 && tables == 0;
    if (!fresh && applicationId != kApplicationId)
        return damaged(HistoryOpenStatus::ForeignKeptAside, "another program's database");
    if (version > kSchemaVersion) {
        closeDatabase();
        result.status = HistoryOpenStatus::NewerSchema;
        result.detail = path_ + ": made by a newer version (schema " + std::to_string(version) +
                        ", this version knows " + std::to_string(kSchemaVersion) + ")";
        return result;
    }

    // The log is brought into the file every 4000 pages (about a thousand answers): rarely
    // enough that almost no answer waits for it.
    if (!exec("PRAGMA journal_mode = WAL") || !exec("PRAGMA synchronous = NORMAL") ||
        !exec("PRAGMA cache_size = -8192") || !exec("PRAGMA wal_autocheckpoint = 4000") ||
        !migrate(static_cast<int>(version))) {
        return failed(error_);
    }
    // Bring the log into the file, so that a file cut short shows: it is smaller than its
    // pages.
    int64_t pages = 0;
    int64_t pageSize = 0;
    if (!exec("PRAGMA wal_checkpoint(TRUNCATE)") || !readInteger("PRAGMA page_count", pages) ||
        !readInteger("PRAGMA page_size", pageSize)) {
        return failed(sqlite3_errmsg(db_));
    }
    const std::uintmax_t bytes = std::filesystem::file_size(path_, ec);
    if (ec || bytes < static_cast<std::uintmax_t>(pages * pageSize))
        return damaged(HistoryOpenStatus::DamagedKeptAside, "the file is shorter than its pages");
    if (bytes <= kCheckedAtOpeningBytes) {
        Statement check;
        if (!check.prepare(db_, "PRAGMA quick_check") || check.step() != SQLITE_ROW ||
            check.text(0) != "ok") {
            std::string detail = check.text(0);
            return damaged(HistoryOpenStatus::DamagedKeptAside,
                           detail.empty() ? sqlite3_errmsg(db_) : detail);
        }
    }
    statements_ = std::make_unique<Statements>();
    if (!statements_->prepare(db_))
        return failed(sqlite3_errmsg(db_));
    result.status = fresh ? HistoryOpenStatus::Created : HistoryOpenStatus::Opened;
    return result;
}

HistoryOpenResult ReviewHistory::openUnsaved() {
    close();
    error_.clear();
    HistoryOpenResult result;
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
            SQLITE_OK ||
        !migrate(0) || !(statements_ = std::make_unique<Statements>())->prepare(db_)) {
        result.detail = error_.empty() && db_ ? sqlite3_errmsg(db_) : error_;
        error_ = result.detail;
        closeDatabase();
        return result;
    }
    result.status = HistoryOpenStatus::Created;
    return result;
}

bool ReviewHistory::migrate(int from) {
    if (from >= kSchemaVersion)
        return true;
    // All steps in one transaction: a history is never left between two versions.
    if (!exec("BEGIN IMMEDIATE"))
        return false;
    bool ok = true;
    for (int version = from; ok && version < kSchemaVersion; ++version) {
        if (version == 0)
            ok = exec(kSchema1);
        else if (version == 1)
            ok = exec(kSchema2) && packCardsIntoBlocks(db_, error_) && exec("DROP TABLE cards");
    }
    const std::string setVersion = "PRAGMA user_version = " + std::to_string(kSchemaVersion);
    if (!ok || !exec(setVersion.c_str())) {
        const std::string why = error_;
        exec("ROLLBACK");
        error_ = why;
        return false;
    }
    return exec("COMMIT");
}

void ReviewHistory::closeDatabase() {
    statements_.reset();
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void ReviewHistory::close() {
    const bool keep = damaged_ && db_ && !path_.empty();
    closeDatabase();
    // A history found damaged while working goes aside now, so the next opening starts anew
    // instead of meeting the damage again.
    if (keep)
        keepAside(path_, "damaged", systemNowMs());
    damaged_ = false;
    path_.clear();
    unsaved_.clear();
}

bool ReviewHistory::syncEachAnswer(bool on) {
    if (!db_)
        return fail("no history is open");
    return exec(on ? "PRAGMA synchronous = FULL" : "PRAGMA synchronous = NORMAL");
}

bool ReviewHistory::fail(const char* what) {
    error_ = std::string(what) + ": " + (db_ ? sqlite3_errmsg(db_) : "no history is open");
    if (db_) {
        const int code = sqlite3_errcode(db_) & 0xff;
        if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB)
            damaged_ = true;
    }
    return false;
}

bool ReviewHistory::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error_ = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return false;
}

bool ReviewHistory::begin() {
    if (!db_ || !statements_)
        return fail("no history is open");
    if (damaged_) {
        error_ = path_ + " is damaged; it is kept aside when the list is closed";
        return false;
    }
    return statements_->begin.bind().run() || fail("cannot write the history");
}

bool ReviewHistory::commit() {
    if (statements_->commit.bind().run())
        return true;
    fail("cannot write the history");
    rollback();
    return false;
}

void ReviewHistory::rollback() {
    if (!sqlite3_get_autocommit(db_))
        statements_->rollback.bind().run();
}

std::optional<ResolvedCards> ReviewHistory::resolveCards(std::span<const CardText> cards) {
    if (!db_ || !statements_) {
        fail("no history is open");
        return std::nullopt;
    }
    Statements& st = *statements_;
    // The few cards changed since the last save, ascending by key.
    std::vector<std::pair<CardKey, CardFingerprint>> changes;
    {
        Statement& s = st.allChanges.bind();
        int rc;
        while ((rc = s.step()) == SQLITE_ROW)
            changes.emplace_back(s.integer(0), CardFingerprint{static_cast<int32_t>(s.integer(1)),
                                                               asFingerprint(s.integer(2)),
                                                               asFingerprint(s.integer(3))});
        s.reset();
        if (rc != SQLITE_DONE) {
            fail("cannot read the history");
            return std::nullopt;
        }
    }
    // What the matching needs, and apart from it, in one place, what a matched card needs.
    struct Row {
        CardKey key;
        StoredCardState state;
        bool hasState;
        bool deleted;
        bool changed;
    };
    std::vector<CardFingerprint, HugePageAllocator<CardFingerprint>> saved;
    std::vector<ChangedFingerprint> changed;
    std::vector<Row, HugePageAllocator<Row>> rows;
    {
        Statement& last = st.lastBlock.bind();
        const std::size_t count =
            last.step() == SQLITE_ROW ? std::size_t(last.integer(0) + 1) * kCardsPerBlock : 0;
        last.reset();
        // Usually as many as the list has; a broken file may name any number.
        saved.reserve(std::min(count, 2 * cards.size() + kCardsPerBlock));
        rows.reserve(std::min(count, 2 * cards.size() + kCardsPerBlock));
    }
    // The blocks are read straight from the file's pages mapped into memory, not copied page
    // by page through the page cache: that halves the reading. Opening has made sure that
    // the file is no shorter than its pages, and nothing writes while they are read.
    exec("PRAGMA mmap_size = 4294967296");
    Statement& s = st.allBlocks.bind();
    auto change = changes.begin();
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
        const int64_t block = s.integer(0);
        if (block < 0 || block > kLastBlock)
            continue;
        const CardKey first = block * kCardsPerBlock + 1;
        const std::span<const unsigned char> bytes = s.blobView(1);
        const std::size_t size = std::min(bytes.size(), kBlockBytes);
        for (std::size_t at = 0; at + kRecordBytes <= size; at += kRecordBytes) {
            const unsigned char* p = bytes.data() + at;
            if (!(p[4] & 1) || p[5] >= 2)  // no card, or deleted for good
                continue;
            const CardRecord r = decodeRecord(p);
            const CardKey key = first + static_cast<CardKey>(at / kRecordBytes);
            while (change != changes.end() && change->first < key)
                ++change;
            const bool isChanged = change != changes.end() && change->first == key;
            if (isChanged)
                changed.push_back({saved.size(), change->second});
            saved.push_back(r.print);
            rows.push_back(Row{key, r.state, r.hasState, r.status == 1, isChanged});
        }
    }
    s.reset();
    if (rc != SQLITE_DONE) {
        fail("cannot read the history");
        exec("PRAGMA mmap_size = 0");
        return std::nullopt;
    }
    exec("PRAGMA mmap_size = 0");

    std::vector<CardFingerprint, HugePageAllocator<CardFingerprint>> prints(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i)
        prints[i] = fingerprintOf(cards[i]);
    const CardMatches match = matchCards(prints, saved, changed);

    ResolvedCards out(cards.size());
    std::vector<bool> taken(rows.size(), false);
    // What the list file holds now becomes what the history expects of it next time.
    std::vector<std::pair<CardKey, std::size_t>> settle;  // (key, card)
    for (std::size_t i = 0; i < cards.size(); ++i) {
        // The known cards are met in the order of the list, which may be any order: fetching
        // ahead lets the memory work on several at once.
        if (i + 16 < cards.size() && match[i + 16] != kNoMatch) {
            __builtin_prefetch(&rows[match[i + 16]]);
            __builtin_prefetch(&saved[match[i + 16]]);
        }
        const std::size_t k = match[i];
        if (k == kNoMatch)
            continue;
        const Row& row = rows[k];
        taken[k] = true;
        out[i].key = row.key;
        if (row.hasState)
            out[i].state = row.state;
        if (row.deleted || row.changed || !(saved[k] == prints[i]))
            settle.emplace_back(row.key, i);
    }
    saved = {};
    std::vector<CardKey> retire;  // deleted, and the list no longer has them
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (rows[k].deleted && !taken[k])
            retire.push_back(rows[k].key);
    }
    if (!settle.empty() || !retire.empty()) {
        // Only a failure to read the history fails the call; what is not settled now is
        // settled at the next opening. Both lists ascend by key: one write per block.
        std::sort(settle.begin(), settle.end());
        if (begin()) {
            BlockEditor blocks = st.blocks();
            bool ok = true;
            auto retired = retire.begin();
            const auto edit = [&](CardKey key, const CardFingerprint* print) {
                std::optional<CardRecord> r = blocks.get(key, ok);
                if (!r)
                    return false;
                if (print) {
                    r->print = *print;
                    r->status = 0;
                } else {
                    r->status = 2;
                }
                return blocks.put(key, *r) && st.dropChange.bind(key).run();
            };
            for (const auto& [key, i] : settle) {
                for (; ok && retired != retire.end() && *retired < key; ++retired)
                    ok = edit(*retired, nullptr);
                ok = ok && edit(key, &prints[i]);
            }
            for (; ok && retired != retire.end(); ++retired)
                ok = edit(*retired, nullptr);
            if (ok && blocks.flush())
                commit();
            else {
                fail("cannot write the history");
                rollback();
            }
        }
    }
    unsaved_.clear();
    return out;
}

CardKey ReviewHistory::nextCardKey() {
    // Keys are given in ascending order and never taken back: the next one follows the last
    // record of the last block.
    Statement& last = statements_->lastBlock.bind();
    const int rc = last.step();
    const int64_t block = rc == SQLITE_ROW ? last.integer(0) : -1;
    const int64_t used = rc == SQLITE_ROW
                             ? std::min<int64_t>(last.integer(1) / kRecordBytes, kCardsPerBlock)
                             : kCardsPerBlock;
    last.reset();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        fail("cannot read the history");
        rollback();
        return kNoCardKey;
    }
    if (block < -1 || block > kLastBlock || (block == kLastBlock && used == kCardsPerBlock)) {
        rollback();
        damaged_ = true;
        error_ = path_ + " is damaged (card block " + std::to_string(block) + ")";
        return kNoCardKey;
    }
    return block * kCardsPerBlock + used + 1;
}

CardKey ReviewHistory::addCard(const CardText& card) {
    if (!begin())
        return kNoCardKey;
    const CardKey key = nextCardKey();
    if (key == kNoCardKey)
        return kNoCardKey;
    CardRecord r;
    r.used = true;
    r.print = fingerprintOf(card);
    BlockEditor blocks = statements_->blocks();
    if (!blocks.put(key, r) || !blocks.flush()) {
        fail("cannot write the history");
        rollback();
        return kNoCardKey;
    }
    return commit() ? key : kNoCardKey;
}

bool ReviewHistory::cardChanged(CardKey key, const CardText& card) {
    if (!begin())
        return false;
    const CardFingerprint print = fingerprintOf(card);
    BlockEditor blocks = statements_->blocks();
    bool ok = true;
    const std::optional<CardRecord> r = blocks.get(key, ok);
    if (!ok || (r && r->status < 2 &&
                !statements_->setChange
                     .bind(key, print.number, asStored(print.text1), asStored(print.text2))
                     .run())) {
        fail("cannot write the history");
        rollback();
        return false;
    }
    unsaved_.insert(key);
    return commit();
}

bool ReviewHistory::cardDeleted(CardKey key) {
    if (!begin())
        return false;
    BlockEditor blocks = statements_->blocks();
    bool ok = true;
    std::optional<CardRecord> r = blocks.get(key, ok);
    if (ok && r && r->status == 0) {
        r->status = 1;
        ok = blocks.put(key, *r) && blocks.flush();
    }
    if (!ok) {
        fail("cannot write the history");
        rollback();
        return false;
    }
    unsaved_.insert(key);
    return commit();
}

bool ReviewHistory::listSaved() {
    if (unsaved_.empty())
        return isOpen();
    if (!begin())
        return false;
    Statements& st = *statements_;
    std::vector<CardKey> keys(unsaved_.begin(), unsaved_.end());
    std::sort(keys.begin(), keys.end());  // one write per block
    BlockEditor blocks = st.blocks();
    bool ok = true;
    for (const CardKey key : keys) {
        std::optional<CardRecord> r = blocks.get(key, ok);
        if (!ok)
            break;
        if (!r)
            continue;
        Statement& change = st.changeOf.bind(key);
        const int rc = change.step();
        if (rc == SQLITE_ROW)
            r->print = {static_cast<int32_t>(change.integer(0)), asFingerprint(change.integer(1)),
                        asFingerprint(change.integer(2))};
        change.reset();
        if (r->status == 1)
            r->status = 2;
        ok = (rc == SQLITE_ROW || rc == SQLITE_DONE) && blocks.put(key, *r) &&
             st.dropChange.bind(key).run();
        if (!ok)
            break;
    }
    if (!ok || !blocks.flush()) {
        fail("cannot write the history");
        rollback();
        return false;
    }
    if (!commit())
        return false;
    unsaved_.clear();
    return true;
}

int64_t ReviewHistory::append(const ReviewEntry& entry, const StoredCardState& after) {
    if (!begin())
        return 0;
    Statements& st = *statements_;
    const auto failed = [&](const char* what) {
        fail(what);
        rollback();
        return int64_t{0};
    };
    BlockEditor blocks = st.blocks();
    bool ok = true;
    std::optional<CardRecord> card = blocks.get(entry.card, ok);
    if (!ok)
        return failed("cannot read the history");
    if (!card) {
        rollback();
        error_ = "the history knows no card with key " + std::to_string(entry.card);
        return 0;
    }
    if (!st.insertReview
             .bind(entry.card, entry.timeMs, static_cast<int>(entry.rating), entry.durationMs,
                   static_cast<int>(entry.kind), static_cast<int>(entry.direction))
             .run())
        return failed("cannot write the history");
    const int64_t id = sqlite3_last_insert_rowid(db_);
    const StoredCardState& s = card->state;
    const bool undoKept =
        card->hasState
            ? st.insertUndo.bind(id, entry.card, s.stability, s.difficulty, s.lastReviewMs, s.dueMs)
                  .run()
            : st.insertUndo.bind(id, entry.card, nullptr, nullptr, nullptr, nullptr).run();
    card->hasState = true;
    card->state = after;
    if (!undoKept || !st.pruneUndo.bind(id - kUndoDepth).run() || !blocks.put(entry.card, *card) ||
        !blocks.flush())
        return failed("cannot write the history");
    return commit() ? id : 0;
}

bool ReviewHistory::undo(int64_t reviewId) {
    if (!begin())
        return false;
    Statements& st = *statements_;
    Statement& latest = st.latestUndo.bind();
    const int rc = latest.step();
    if (rc != SQLITE_ROW || latest.integer(0) != reviewId) {
        latest.reset();
        rollback();
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            return fail("cannot read the history");
        error_ = "answer " + std::to_string(reviewId) + " is not the latest that can be undone";
        return false;
    }
    const CardKey key = latest.integer(1);
    const bool hadState = !latest.null(2);
    const StoredCardState before{latest.real(2), latest.real(3), latest.integer(4),
                                 latest.integer(5)};
    latest.reset();
    BlockEditor blocks = st.blocks();
    bool ok = true;
    std::optional<CardRecord> card = blocks.get(key, ok);
    if (card) {
        card->hasState = hadState;
        card->state = hadState ? before : StoredCardState{};
        ok = blocks.put(key, *card) && blocks.flush();
    }
    if (!ok || !st.deleteReview.bind(reviewId).run() || !st.deleteUndo.bind(reviewId).run()) {
        fail("cannot write the history");
        rollback();
        return false;
    }
    return commit();
}

namespace {
StoredReview reviewFrom(const Statement& s) {
    StoredReview r;
    r.id = s.integer(0);
    r.entry.card = s.integer(1);
    r.entry.timeMs = s.integer(2);
    const auto rating = s.integer(3);
    r.entry.rating = rating >= 1 && rating <= 4 ? static_cast<Rating>(rating) : Rating::Again;
    r.entry.durationMs = static_cast<int32_t>(s.integer(4));
    r.entry.kind = static_cast<uint8_t>(s.integer(5));
    r.entry.direction = static_cast<uint8_t>(s.integer(6));
    return r;
}
}  // namespace

std::vector<StoredReview> ReviewHistory::reviewsOf(CardKey key) {
    std::vector<StoredReview> out;
    if (!db_ || !statements_) {
        fail("no history is open");
        return out;
    }
    Statement& s = statements_->reviewsOf.bind(key);
    int rc;
    while ((rc = s.step()) == SQLITE_ROW)
        out.push_back(reviewFrom(s));
    s.reset();
    if (rc != SQLITE_DONE)
        fail("cannot read the history");
    return out;
}

bool ReviewHistory::forEachReview(const std::function<bool(const StoredReview&)>& visit) {
    if (!db_ || !statements_)
        return fail("no history is open");
    Statement& s = statements_->allReviews.bind();
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
        if (!visit(reviewFrom(s))) {
            s.reset();
            return true;
        }
    }
    s.reset();
    return rc == SQLITE_DONE || fail("cannot read the history");
}

int64_t ReviewHistory::reviewCount() {
    if (!db_ || !statements_)
        return 0;
    Statement& s = statements_->reviewCount.bind();
    const int64_t n = s.step() == SQLITE_ROW ? s.integer(0) : 0;
    s.reset();
    return n;
}

bool ReviewHistory::setValue(const std::string& key, const std::string& value) {
    if (!begin())
        return false;
    if (!statements_->setValue.bind(key, value).run()) {
        fail("cannot write the history");
        rollback();
        return false;
    }
    return commit();
}

std::optional<std::string> ReviewHistory::value(const std::string& key) {
    if (!db_ || !statements_)
        return std::nullopt;
    Statement& s = statements_->value.bind(key);
    std::optional<std::string> out;
    if (s.step() == SQLITE_ROW)
        out = s.text(0);
    s.reset();
    return out;
}

std::vector<std::pair<std::string, std::string>> ReviewHistory::valuesStartingWith(
    const std::string& prefix) {
    std::vector<std::pair<std::string, std::string>> out;
    if (!db_ || !statements_)
        return out;
    Statement s;
    if (!s.prepare(db_,
                   "SELECT key, value FROM list_values WHERE substr(key, 1, length(?1)) = ?1 "
                   "ORDER BY key")) {
        fail("cannot read the history");
        return out;
    }
    s.bind(prefix);
    while (s.step() == SQLITE_ROW)
        out.emplace_back(s.text(0), s.text(1));
    return out;
}

bool ReviewHistory::carryTo(const std::string& newListPath, int64_t nowMs) {
    if (!db_ || !statements_)
        return fail("no history is open");
    const std::string target = pathFor(newListPath);
    if (target == path_)
        return true;
    if (!writable(folderOf(target))) {
        error_ = target + ": the folder may not be written";
        return false;
    }
    // The copy is made beside its place and renamed there only when complete.
    const std::string part = target + ".part";
    std::remove(part.c_str());
    sqlite3* copy = nullptr;
    bool copied = sqlite3_open_v2(part.c_str(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                  nullptr) == SQLITE_OK;
    if (copied) {
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", db_, "main");
        copied = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
        copied = sqlite3_backup_finish(backup) == SQLITE_OK && copied;
    }
    if (!copied)
        error_ = target + ": " + (copy ? sqlite3_errmsg(copy) : "out of memory");
    sqlite3_close_v2(copy);
    if (!copied) {
        std::remove(part.c_str());
        std::remove((part + "-journal").c_str());
        return false;
    }
    if (exists(target) && keepAside(target, "replaced", nowMs).empty()) {
        error_ = target + ": could not be renamed: " + std::strerror(errno);
        std::remove(part.c_str());
        return false;
    }
    if (std::rename(part.c_str(), target.c_str()) != 0) {
        error_ = target + ": " + std::strerror(errno);
        std::remove(part.c_str());
        return false;
    }
    const std::string oldPath = path_;
    auto unsaved = std::move(unsaved_);
    closeDatabase();
    path_ = target;
    HistoryOpenResult result = openFile(nowMs, true);
    if (result.status != HistoryOpenStatus::Opened) {
        // Go on with the old history rather than none.
        error_ = result.detail;
        closeDatabase();
        path_ = oldPath;
        openFile(nowMs, true);
        unsaved_ = std::move(unsaved);
        return false;
    }
    unsaved_ = std::move(unsaved);
    return true;
}

int64_t ReviewHistory::importReviews(std::span<ImportedCardHistory> cards,
                                     std::span<const std::pair<std::string, std::string>> values) {
    if (!begin())
        return -1;
    Statements& st = *statements_;
    std::vector<CardKey> assigned;  // keys given here, taken back when the import fails
    const auto forgetKeys = [&] {
        for (std::size_t i = 0, k = 0; i < cards.size() && k < assigned.size(); ++i) {
            if (cards[i].key == assigned[k]) {
                cards[i].key = kNoCardKey;
                ++k;
            }
        }
    };
    const auto failed = [&](const char* what) {
        fail(what);
        rollback();
        forgetKeys();
        return int64_t{-1};
    };
    // New cards get keys as addCard gives them.
    CardKey nextKey = nextCardKey();
    if (nextKey == kNoCardKey)
        return -1;

    BlockEditor blocks = st.blocks();
    int64_t added = 0;
    std::vector<CardKey> changed;
    std::unordered_set<int64_t> known;
    for (ImportedCardHistory& card : cards) {
        const CardFingerprint print = fingerprintOf(card.text);
        CardRecord record;
        known.clear();
        bool ok = true;
        if (card.key == kNoCardKey) {
            card.key = nextKey++;
            assigned.push_back(card.key);
            record.used = true;
            record.print = print;
        } else {
            const std::optional<CardRecord> stored = blocks.get(card.key, ok);
            if (!ok)
                return failed("cannot read the history");
            if (!stored)
                return failed("the history knows no such card");
            record = *stored;
            if (record.status < 2 &&
                !st.setChange
                     .bind(card.key, print.number, asStored(print.text1), asStored(print.text2))
                     .run())
                return failed("cannot write the history");
            changed.push_back(card.key);
            Statement& reviews = st.reviewsOf.bind(card.key);
            int rc = SQLITE_DONE;
            while ((rc = reviews.step()) == SQLITE_ROW)
                known.insert(reviews.integer(2));
            reviews.reset();
            if (rc != SQLITE_DONE)
                return failed("cannot read the history");
        }
        for (const ReviewEntry& r : card.reviews) {
            if (!known.insert(r.timeMs).second)
                continue;
            if (!st.insertReview
                     .bind(card.key, r.timeMs, static_cast<int>(r.rating), r.durationMs,
                           static_cast<int>(r.kind), static_cast<int>(r.direction))
                     .run())
                return failed("cannot write the history");
            ++added;
        }
        // The newer state wins: answers given here since an earlier import are not forgotten.
        if (card.state &&
            (!record.hasState || card.state->lastReviewMs >= record.state.lastReviewMs)) {
            record.hasState = true;
            record.state = *card.state;
        } else {
            card.state = record.hasState ? std::optional(record.state) : std::nullopt;
        }
        if (!blocks.put(card.key, record))
            return failed("cannot write the history");
    }
    if (!blocks.flush())
        return failed("cannot write the history");
    for (const auto& [key, value] : values) {
        if (!st.setValue.bind(key, value).run())
            return failed("cannot write the history");
    }
    if (!commit()) {
        forgetKeys();
        return -1;
    }
    unsaved_.insert(changed.begin(), changed.end());
    return added;
}
