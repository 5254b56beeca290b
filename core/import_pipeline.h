#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/import_source.h"

// Import, from a file's name to the cards it gives: the one way every caller (the import
// window, the tests, the bench, the fuzz target) reads a file to import.

// The largest file Import reads. Its text is held twice while the preview is open (as read
// and as split into fields), and a list of a million cards takes far less.
inline constexpr int64_t kMaxImportFileBytes = 256 * 1024 * 1024;

struct ImportOptions {
    // What the caller decides instead of a text file; each unset value is taken from the file.
    TextImportOptions text;
    // Which column goes where in a text file; unset, the file suggests it.
    std::optional<ColumnMapping> mapping;
    // KVTML grades are stretched onto the levels 0 to this.
    int32_t maxLevel = 5;
};

// Why a file gives no source.
struct ImportRefusal {
    enum class Reason : uint8_t {
        None,
        NotRegularFile,  // a folder, a device, a pipe or a socket
        TooLarge,        // more than kMaxImportFileBytes
        CannotRead,      // missing, not allowed, or a read error
        NotText,         // a text file holding NUL bytes or many control characters
        BrokenKvtml,     // no well-formed XML, no KVTML, or KVTML 1; `detail` says where
        NoCards,         // read, but without a row or entry that would be a card
        // An Anki package (named so, or a zip) that cannot be read:
        NotPackage,       // not a zip, or a zip holding no collection
        PackageTooLarge,  // unpacks to more than AnkiReadLimits allows, or absurdly compressed
        PackageTooNew,    // made by a newer Anki than this reader knows
        PackageTooOld,    // a collection schema older than 11
        PackageDamaged,   // a broken zip entry, compressed stream, database or settings
        CannotUnpack,     // no room or permission for the temporary copy of the collection
    };
    Reason reason = Reason::None;
    std::string detail;  // BrokenKvtml: one line saying what is wrong, in English; packages:
                         // the reader's English detail, for a log
};

// Either the source a file gives, or why it gives none.
struct ImportReadResult {
    std::optional<ImportSource> source;
    ImportRefusal refusal;  // Reason::None exactly when there is a source
};

// Reads the file at `path` (a regular file of at most kMaxImportFileBytes) as the bytes
// overload does. A file named as an Anki package is read from its place, within the larger
// limits of AnkiReadLimits.
ImportReadResult readImportSource(const std::string& path, const ImportOptions& options);

// Reads a file's bytes as an Anki package when its name ends in ".apkg" or ".colpkg" or
// it starts as a zip, as a KVTML document when its name ends in ".kvtml" or it starts as
// XML with a <kvtml> element, and as text otherwise.
ImportReadResult readImportSource(std::string bytes, const std::string& name,
                                  const ImportOptions& options);
