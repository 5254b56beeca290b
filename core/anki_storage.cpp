#include "core/anki_storage.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

// ---- TempFile --------------------------------------------------------------------------

TempFile::TempFile(std::string_view tag) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec)
        return;
    std::string pattern = (folder / ("kartomatrix-" + std::string(tag) + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ >= 0)
        path_ = name.data();
}

TempFile::~TempFile() {
    close();
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        // What SQLite may leave beside a database it wrote.
        ::unlink((path_ + "-journal").c_str());
    }
}

bool TempFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool TempFile::close() {
    if (fd_ < 0)
        return true;
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
}

// ---- SqliteDb --------------------------------------------------------------------------

namespace {

// Anki declares its name columns with this collation; comparing by bytes after ASCII case
// folding is enough for reading them.
int compareUnicase(void*, int lengthA, const void* a, int lengthB, const void* b) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    const int n = lengthA < lengthB ? lengthA : lengthB;
    for (int i = 0; i < n; ++i) {
        int cx = x[i], cy = y[i];
        if (cx >= 'A' && cx <= 'Z')
            cx += 32;
        if (cy >= 'A' && cy <= 'Z')
            cy += 32;
        if (cx != cy)
            return cx - cy;
    }
    return lengthA - lengthB;
}

}  // namespace

SqliteDb::~SqliteDb() {
    if (db_)
        sqlite3_close_v2(db_);
}

bool SqliteDb::configure() {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_create_collation(db_, "unicase", SQLITE_UTF8, nullptr, compareUnicase);
    return true;
}

bool SqliteDb::openUntrusted(const std::string& path) {
    // immutable: no locks, no journal and no -shm file, so a database written in WAL mode
    // opens read-only as well.
    std::string uri = "file:";
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789abcdef";
            uri += '%';
            uri += kHex[static_cast<unsigned char>(c) >> 4];
            uri += kHex[c & 15];
        } else {
            uri += c;
        }
    }
    uri += "?immutable=1";
    if (sqlite3_open_v2(uri.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
        SQLITE_OK)
        return false;
    configure();
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    // The header alone does not prove a database; reading the schema does.
    return exec("SELECT count(*) FROM sqlite_master");
}

bool SqliteDb::create(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        return false;
    return configure();
}

bool SqliteDb::exec(const char* sql) {
    return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string SqliteDb::error() const {
    return db_ ? sqlite3_errmsg(db_) : "out of memory";
}

bool SqliteDb::damaged() const {
    if (!db_)
        return true;
    const int code = sqlite3_errcode(db_) & 0xFF;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB || code == SQLITE_FORMAT ||
           code == SQLITE_RANGE || code == SQLITE_MISMATCH;
}

// ---- SqliteStatement -------------------------------------------------------------------

SqliteStatement::SqliteStatement(const SqliteDb& db, const char* sql) {
    if (db.handle() && sqlite3_prepare_v2(db.handle(), sql, -1, &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
    failed_ = stmt_ == nullptr;
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

bool SqliteStatement::step() {
    if (!stmt_)
        return false;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        failed_ = true;
    return false;
}

bool SqliteStatement::reset() {
    return stmt_ && sqlite3_reset(stmt_) == SQLITE_OK;
}

int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string_view SqliteStatement::text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string_view();
}

std::string_view SqliteStatement::blob(int column) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string_view();
}

void SqliteStatement::bind(int index, int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}

void SqliteStatement::bind(int index, double value) {
    sqlite3_bind_double(stmt_, index, value);
}

void SqliteStatement::bind(int index, std::string_view text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}
