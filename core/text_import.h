#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/card_candidate.h"

// Vocabulary lists as other programs and spreadsheets write them as text: one row a card,
// fields split by a separator, fields in double quotes holding separators, doubled quotes
// and line breaks (the CSV rules), and the header lines other trainers put in front
// ("#separator:", "#html:", "#columns:"). This is the import path; opening a
// tab-separated list as a document keeps its own, older rules.

enum class TextEncoding : uint8_t { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

// Where the separator in use came from.
enum class SeparatorSource : uint8_t { Option, Header, Detected, Fallback };

// What the caller decides instead of the file; each unset value is taken from the file.
struct TextImportOptions {
    std::optional<TextEncoding> encoding;
    std::optional<char32_t> separator;
    // Texts carry HTML: tags go, entities are decoded, line breaks become " / "
    // (htmlToText).
    std::optional<bool> html;
};

// The columns Anki's header lines give a meaning ("#guid column:3"; counted from 1 in the
// file, from 0 here). The note id, the note type and the tags are no card texts; the deck
// may be a lesson.
struct AnkiColumns {
    std::optional<std::size_t> guid;
    std::optional<std::size_t> notetype;
    std::optional<std::size_t> deck;
    std::optional<std::size_t> tags;

    bool any() const { return guid || notetype || deck || tags; }
    // Whether the column holds no card text: the note id, the note type or the tags.
    bool isMeta(std::size_t column) const {
        return guid == column || notetype == column || tags == column;
    }
};

// Which field of a row goes where. Columns count from 0.
struct ColumnMapping {
    std::size_t question = 0;
    std::size_t answer = 1;
    std::optional<std::size_t> lesson;
    std::optional<std::size_t> addInfo;
    bool firstRowIsHeader = false;

    bool operator==(const ColumnMapping&) const = default;
};

// The rows of a text file in memory, read in one pass that keeps every field in one
// buffer, so that a million rows cost a few allocations. Cards are made from the rows
// only when asked for (candidateAt), so that a preview needs no more than the rows it
// shows.
class TextImport {
public:
    enum class Status : uint8_t { Rows, NotText };

    Status status = Status::Rows;
    TextEncoding encoding = TextEncoding::Utf8;          // the encoding the rows were read in
    TextEncoding detectedEncoding = TextEncoding::Utf8;  // what the bytes themselves say
    bool byteOrderMark = false;
    char32_t separator = '\t';
    SeparatorSource separatorSource = SeparatorSource::Fallback;
    // None when no candidate splits the lines, or when an option or a header line gave it.
    std::optional<char32_t> detectedSeparator;
    bool html = false;
    std::vector<std::string> columnNames;  // from a "#columns:" line
    AnkiColumns ankiColumns;
    std::size_t commentLines = 0;     // lines starting with "#", header lines included
    std::size_t usualFieldCount = 0;  // the field count most rows have

    std::size_t rowCount() const { return rows_.size(); }
    // The line of the file (1-based) on which the row starts.
    std::size_t line(std::size_t row) const { return rows_[row].line; }
    std::size_t fieldCount(std::size_t row) const;
    // The field's text in UTF-8; empty for a column the row does not have.
    std::string_view field(std::size_t row, std::size_t column) const;
    bool hasInvalidBytes(std::size_t row) const { return rows_[row].flags & kInvalidBytes; }
    bool hasUnclosedQuote(std::size_t row) const { return rows_[row].flags & kUnclosedQuote; }

private:
    friend class TextImportBuilder;
    static constexpr uint8_t kInvalidBytes = 1;
    static constexpr uint8_t kUnclosedQuote = 2;
    struct Row {
        std::size_t line;
        std::size_t firstField;
        uint8_t flags;
    };
    std::string text_;                   // every field, one after the other
    std::vector<std::size_t> fieldEnd_;  // where each field ends in text_
    std::vector<Row> rows_;
};

// Reads the bytes of a text file. Encoding: the byte-order mark (UTF-8, UTF-16 LE or BE),
// else UTF-16 when every other byte is zero, else UTF-8 when the bytes are (mostly) valid UTF-8,
// else Windows-1252 (a file of mostly valid UTF-8 with a few stray bytes is UTF-8, the
// stray bytes U+FFFD). Separator: a "#separator:" line, else the candidate (TAB, ";", ",",
// "|", ":", "=") that splits all rows, the first one included, most consistently into the
// same number of fields (preferring one that does so throughout, then one not mostly
// followed by a blank, then the order above), else TAB. Empty lines and rows whose
// fields are all empty are skipped; lines starting with "#" are comments. A file holding
// NUL bytes or many control characters has status NotText and no rows.
TextImport importText(std::string_view bytes, const TextImportOptions& options = {});

// Whether a file whose first bytes (a few KiB are enough) are these is text, as importText
// tells it: read in the encoding the bytes show, it holds no NUL byte and not more than one
// other control character in twenty. Up to `tolerated` NUL bytes and control characters
// never make it binary.
bool looksLikeText(std::string_view firstBytes, std::size_t tolerated = 0);

// The mapping the file suggests: the column names of a "#columns:" line or of a first row
// that names the columns (Question/Front, Answer/Back, Lesson, Additional information,
// Notes, ...), else question and answer in the first two columns. Anki's note id, note type
// and tag columns are left out of both; Anki's deck column is the lesson unless a column
// is named so.
ColumnMapping suggestMapping(const TextImport& import);

// The card the index-th row (after a header row) would give, with its problems. A row is
// not taken when its question is empty. Fields beyond the mapped columns and the usual
// field count that hold text are noted as ExtraFields. A lesson or additional information
// without a column, or empty in its column, is "-", as in a new card. A lesson from Anki's
// deck column is the deck's last level ("Spanish::Unit 3" gives "Unit 3").
CardCandidate candidateAt(const TextImport& import, const ColumnMapping& mapping,
                          std::size_t index);
// Whether the index-th row gives its card exactly as its fields are written: a question,
// and nothing to cut, clean or leave out. Much cheaper than candidateAt, so that a caller
// walking a million rows asks it first.
bool isPlainCandidate(const TextImport& import, const ColumnMapping& mapping, std::size_t index);
