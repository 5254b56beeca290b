#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// The pieces the Anki reader and writer share: a temporary file that is removed again,
// and thin owners of an SQLite connection and statement.

// A new, empty file in the system's temporary folder, removed when this goes away.
class TempFile {
public:
    explicit TempFile(std::string_view tag);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    // Appends bytes; false when the disk refused them.
    bool write(std::string_view bytes);
    // Flushes and closes the file so that another reader sees all of it.
    bool close();

private:
    std::string path_;
    int fd_ = -1;
};

class SqliteDb {
public:
    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    // Opens a database that nobody else touches meanwhile, for reading only, with the
    // defences for files from elsewhere turned on (no writable schema, no untrusted
    // functions from views or triggers). False when it is no SQLite database.
    bool openUntrusted(const std::string& path);
    // Creates a new database.
    bool create(const std::string& path);
    bool exec(const char* sql);
    sqlite3* handle() const { return db_; }
    std::string error() const;
    // Whether the last failure says the file is damaged or no database at all.
    bool damaged() const;

private:
    bool configure();
    sqlite3* db_ = nullptr;
};

class SqliteStatement {
public:
    SqliteStatement(const SqliteDb& db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    // True while there is a row; false at the end and on an error (see failed()).
    bool step();
    bool failed() const { return failed_; }
    bool reset();

    int64_t integer(int column) const;
    std::string_view text(int column) const;
    std::string_view blob(int column) const;

    void bind(int index, int64_t value);
    void bind(int index, double value);
    void bind(int index, std::string_view text);

private:
    sqlite3_stmt* stmt_ = nullptr;
    bool failed_ = false;
};
