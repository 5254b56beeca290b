#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Anki's packages (.apkg for decks, .colpkg for a whole collection) as plain data: a zip
// holding an SQLite collection, a list of media files and the media themselves. The
// reader takes the newest collection the package holds and returns everything the
// import and the review history need; the writer makes a package Anki and AnkiDroid open.

// Which collection file inside the package was read.
enum class AnkiCollectionKind : uint8_t {
    Anki2,    // collection.anki2: schema 11, the oldest packages
    Anki21,   // collection.anki21: schema 11
    Anki21b,  // collection.anki21b: zstd-compressed, schema 18
};

struct AnkiNoteType {
    int64_t id = 0;
    std::string name;
    bool cloze = false;  // cloze notes hide parts of one text; they have no question/answer
    std::vector<std::string> fieldNames;
};

struct AnkiDeckConfig {
    int64_t id = 0;
    std::string name;
    // The FSRS parameters of the newest generation set (21 for FSRS-6, 19 for FSRS-5,
    // 17 for FSRS-4.5); empty when the options group has none.
    std::vector<float> fsrsParameters;
    std::optional<float> desiredRetention;
};

struct AnkiDeck {
    int64_t id = 0;
    std::string name;  // the full name, levels joined by "::" ("Spanish::Verbs")
    int64_t configId = 0;
    bool filtered = false;
};

struct AnkiNote {
    int64_t id = 0;
    std::string guid;  // stable across exports; recognises a note imported before
    int64_t noteTypeId = 0;
    std::vector<std::string> fields;  // HTML as Anki keeps it, made well-formed UTF-8
    std::vector<std::string> tags;
};

// Anki's card type and queue numbers.
enum class AnkiCardType : int8_t { New = 0, Learning = 1, Review = 2, Relearning = 3 };

struct AnkiMemoryState {
    float stability = 0;   // days
    float difficulty = 0;  // 1..10
};

struct AnkiCard {
    int64_t id = 0;
    int64_t noteId = 0;
    int64_t deckId = 0;  // the card's home deck, also while it sits in a filtered deck
    int32_t ordinal = 0;
    int32_t type = 0;        // AnkiCardType
    int32_t queue = 0;       // -3..4: buried, suspended, new, learning, review, ...
    int64_t due = 0;         // new: position; review: day number; learning: epoch seconds
    int32_t interval = 0;    // days; negative: seconds (learning)
    int32_t easeFactor = 0;  // permille (2500 = 250 %)
    int32_t reps = 0;
    int32_t lapses = 0;
    std::optional<AnkiMemoryState> memory;  // FSRS state, when Anki kept one
};

struct AnkiReview {
    int64_t id = 0;  // the time of the review, milliseconds since 1970
    int64_t cardId = 0;
    int32_t ease = 0;          // 1 again, 2 hard, 3 good, 4 easy; 0 for a manual change
    int32_t interval = 0;      // days; negative: seconds
    int32_t lastInterval = 0;  // as interval
    int32_t factor = 0;        // permille, or FSRS difficulty in Anki's newer logs
    int32_t takenMs = 0;
    int32_t type = 0;  // 0 learn, 1 review, 2 relearn, 3 filtered, 4 manual, 5 rescheduled
};

struct AnkiPackage {
    AnkiCollectionKind collectionKind = AnkiCollectionKind::Anki2;
    int schema = 0;
    int64_t createdSeconds = 0;    // the collection's day zero (col.crt)
    uint64_t collectionBytes = 0;  // the size of the collection database, unpacked
    std::vector<AnkiNoteType> noteTypes;
    std::vector<AnkiDeck> decks;
    std::vector<AnkiDeckConfig> deckConfigs;
    std::vector<AnkiNote> notes;
    std::vector<AnkiCard> cards;
    std::vector<AnkiReview> revlog;
    std::vector<std::string> mediaNames;  // the pictures and sounds the package carries
    // Rows left out because they pointed nowhere or held impossible values.
    std::size_t skippedCards = 0;
    std::size_t skippedReviews = 0;

    const AnkiNoteType* noteType(int64_t id) const;
    const AnkiDeck* deck(int64_t id) const;
    const AnkiDeckConfig* deckConfig(int64_t id) const;
};

enum class AnkiRefusal : uint8_t {
    None,
    CannotOpen,       // missing or unreadable file
    NotZip,           // not a zip archive at all
    TooLarge,         // unpacks to more than the limit
    SuspiciousRatio,  // compressed far beyond what a real collection allows
    TooNew,           // package or collection made by a newer Anki than this reader knows
    TooOld,           // collection schema older than 11
    NoCollection,     // no collection file inside
    Damaged,          // broken zip entry, zstd stream, database or JSON
    CannotUnpack,     // no room or permission for the temporary copy
};

// How much a package may make the reader unpack. Media files are only listed, never
// unpacked, so they do not count.
struct AnkiReadLimits {
    uint64_t maxUnpackedBytes = 2ull << 30;
    // An entry whose unpacked size passes the floor may not be more than this many times
    // its packed size: a real collection shrinks perhaps tenfold, a zip bomb a
    // thousandfold and more.
    uint32_t maxCompressionRatio = 200;
    uint64_t ratioFloorBytes = 1u << 20;
};

struct AnkiReadResult {
    AnkiRefusal refusal = AnkiRefusal::None;
    std::string detail;  // English, for a log or a bug report; not for the user
    AnkiPackage package;

    bool ok() const { return refusal == AnkiRefusal::None; }
};

AnkiReadResult readAnkiPackage(const std::string& path, const AnkiReadLimits& limits = {});
// The same from a package already in memory (the bytes must outlive the call only).
AnkiReadResult readAnkiPackageBytes(std::string_view bytes, const AnkiReadLimits& limits = {});

// Why a note cannot become a card.
enum class AnkiNoteVerdict : uint8_t {
    Usable,
    Cloze,            // of a cloze note type
    OneField,         // fewer than two fields with text
    UnknownNoteType,  // its note type is not in the package
};

// Judges a note by its note type and by how many of its fields hold text once the HTML
// is gone.
AnkiNoteVerdict judgeAnkiNote(const AnkiPackage& package, const AnkiNote& note);

// How many fields of the note hold text once the HTML is gone.
std::size_t usableFieldCount(const AnkiNote& note);

// ---- Writing -----------------------------------------------------------------------

// A card's scheduling state as Anki keeps it; a card without one is new.
struct AnkiExportState {
    int32_t type = 2;   // AnkiCardType
    int32_t queue = 2;  // 2: review
    int64_t due = 0;    // day number counted from AnkiExport::createdSeconds
    int32_t interval = 0;
    int32_t easeFactor = 2500;
    int32_t reps = 0;
    int32_t lapses = 0;
    std::optional<AnkiMemoryState> memory;
};

struct AnkiExportCard {
    std::string question;  // plain UTF-8 text; written as HTML
    std::string answer;
    std::string lesson;  // becomes a tag (spaces turned into '_'); empty: no tag
    // What identifies the card across exports (the list's file name and the card's
    // number, say): the note's guid is derived from it, so that Anki updates the note
    // when the list is exported again instead of adding it twice.
    std::string identity;
    std::string guid;  // when set, used as it is (a note that came from Anki keeps its own)
    std::optional<AnkiExportState> state;
};

struct AnkiExportReview {
    std::size_t card = 0;  // index into AnkiExport::cards
    int64_t timeMs = 0;
    int32_t ease = 3;
    int32_t interval = 0;
    int32_t lastInterval = 0;
    int32_t factor = 0;
    int32_t takenMs = 0;
    int32_t type = 1;
};

struct AnkiExport {
    std::string deckName;
    int64_t nowSeconds = 0;      // time stamps and the ids of new objects derive from it
    int64_t createdSeconds = 0;  // the collection's day zero; 0: nowSeconds
    std::vector<AnkiExportCard> cards;
    std::vector<AnkiExportReview> reviews;
    std::vector<float> fsrsParameters;  // written into the deck's options when not empty
    std::optional<float> desiredRetention;
};

enum class AnkiWriteFailure : uint8_t { None, CannotWrite, BadInput };

struct AnkiWriteResult {
    AnkiWriteFailure failure = AnkiWriteFailure::None;
    std::string detail;

    bool ok() const { return failure == AnkiWriteFailure::None; }
};

// Writes an .apkg with a schema 11 collection.anki2 (the layout every Anki and AnkiDroid
// still reads), one "Basic" note type with the fields Front and Back, one deck, and an
// empty media list. The file at `path` is replaced only when the package is complete.
AnkiWriteResult writeAnkiPackage(const std::string& path, const AnkiExport& data);

// The guid a card's identity gives (10 characters of Anki's guid alphabet).
std::string ankiGuidFor(std::string_view identity);
