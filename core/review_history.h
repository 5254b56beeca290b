#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/card_key.h"
#include "core/huge_page_allocator.h"
#include "core/rating.h"

struct sqlite3;

// One judged answer as the history keeps it.
struct ReviewEntry {
    CardKey card = kNoCardKey;
    int64_t timeMs = 0;  // when it was judged: UTC, milliseconds since 1970
    Rating rating = Rating::Good;
    int32_t durationMs = 0;  // how long the answer took
    uint8_t kind = 0;        // the examination it was given in
    uint8_t direction = 0;   // 0: question asked, answer typed; 1: the other way round
};

struct StoredReview {
    int64_t id = 0;  // ascending in the order the answers were given
    ReviewEntry entry;
};

// The memory state of a card after its latest review, worked out by the caller from the
// card's reviews and kept here so that opening a list needs no replay of every review.
struct StoredCardState {
    double stability = 0;  // days
    double difficulty = 0;
    int64_t lastReviewMs = 0;  // UTC, milliseconds since 1970
    int64_t dueMs = 0;
    bool operator==(const StoredCardState&) const = default;
};

// A card of the list as the history knows it: its key (kNoCardKey: none yet) and, when it
// has been reviewed, its memory state.
struct ResolvedCard {
    CardKey key = kNoCardKey;
    std::optional<StoredCardState> state;
};

using ResolvedCards = std::vector<ResolvedCard, HugePageAllocator<ResolvedCard>>;

// A card brought from another trainer with the answers given there (see importReviews).
struct ImportedCardHistory {
    CardKey key = kNoCardKey;          // kNoCardKey: a card the history does not know yet
    CardText text;                     // the card as the list holds it now
    std::vector<ReviewEntry> reviews;  // in time order; entry.card is not looked at
    std::optional<StoredCardState> state;
};

enum class HistoryOpenStatus : uint8_t {
    Created,           // there was no history: a new, empty one was started
    Opened,            // the list's history was opened
    DamagedKeptAside,  // the history was damaged: kept aside (keptAsidePath), new one started
    ForeignKeptAside,  // the file was not a history of this program (another database,
                       // other bytes): kept aside (keptAsidePath), new one started
    NewerSchema,       // written by a newer version of the program: left alone, no history
    ReadOnly,          // the folder or the file may not be written: no history
    Failed,            // any other failure (in use by another program, disk full): no history
};

struct HistoryOpenResult {
    HistoryOpenStatus status = HistoryOpenStatus::Failed;
    std::string keptAsidePath;  // where the old file went, for the two KeptAside
    std::string detail;         // the database's own words on a failure, for a log
    bool hasHistory() const {
        return status != HistoryOpenStatus::NewerSchema && status != HistoryOpenStatus::ReadOnly &&
               status != HistoryOpenStatus::Failed;
    }
};

// The review history of one list: every judged answer, the memory state of each reviewed
// card, and a few values of the list's own (such as its speech languages). It lives in an
// SQLite database beside the list, "<list file name>.history" ("Words.kmx" keeps
// "Words.kmx.history"): visible, so that copying the list's folder takes the history along,
// and named after the whole file name, so that "Words.kmx" and "Words.txt" in one folder
// keep separate histories. The list file itself is never touched.
//
// Locking: the history has no lock of its own. Open it only while holding the list's lock
// (the list session's lock file); that lock is what keeps a second program away. The
// database is also opened in SQLite's exclusive locking mode, so that a second program
// that opened it anyway fails at once instead of writing beside this one, and so that no
// shared-memory file appears beside the list.
//
// Crash safety: write-ahead log, one transaction for each answer (the review, the card's
// new memory state and what undoing it needs). A killed program loses at most the answer
// it was writing. Commits are not synced to the disk one by one (synchronous=NORMAL): the
// log is synced at each checkpoint, so a power cut may lose the last few answers but never
// leaves a broken history. Syncing each answer costs several milliseconds on an ordinary
// disk, more than a learner should wait after pressing OK; syncEachAnswer turns it on.
//
// Card identity (see card_identity.h): the caller names cards by CardKey. At opening it
// hands every card of the list (number and texts) to resolveCards and keeps the key each
// card gets; a card without a key gets one from addCard before its first answer is
// appended. Afterwards it reports what happens to cards with a key: cardChanged after an
// edit of the texts or a new number (the sort gives new numbers to cards that share one),
// cardDeleted when a card is deleted, and listSaved after each successful save of the list.
// Exchange Question/Answer and moving cards to and from the known cards need no call.
//
// A deleted card leaves its reviews in the history, but its key is retired once the list
// is saved without the card, so that a later card with the same number and texts never
// takes its history. Until then (the list closed without saving) the card comes back with
// its history when the list is opened again.
//
// Failures: every call that can fail returns false (or 0, or nothing) and leaves the
// reason in lastError(). A damaged database found while working stops every further
// write; closing then keeps the file aside, so the next opening starts a new history.
// All calls run on one thread.
class ReviewHistory {
public:
    ReviewHistory();
    ~ReviewHistory();
    ReviewHistory(const ReviewHistory&) = delete;
    ReviewHistory& operator=(const ReviewHistory&) = delete;

    // The history file of a list file.
    static std::string pathFor(const std::string& listPath);
    // The statements that make the tables of a history as the first version wrote them,
    // without setting its version number; opening such a history brings it up to date. For
    // tools that make old histories.
    static const char* firstVersionSchema();

    // Opens the history of the list at `listPath`, making one when there is none. `nowMs`
    // (UTC, milliseconds since 1970) dates the name of a file kept aside, e.g.
    // "Words.kmx.history.damaged-2026-12-07T22-30-00". Closes a history open before.
    HistoryOpenResult open(const std::string& listPath, int64_t nowMs);
    // A history in memory for a list that has no file yet (a new list); the first Save As
    // writes it beside the list with carryTo.
    HistoryOpenResult openUnsaved();
    // Closes the history; nothing is lost, since every change is committed at once (but a
    // history in memory is gone).
    void close();
    bool isOpen() const { return db_ != nullptr; }
    // The history file, empty when none is open or the history is in memory.
    const std::string& path() const { return path_; }
    const std::string& lastError() const { return error_; }
    // Syncs every answer to the disk before append returns (synchronous=FULL), so that
    // not even a power cut loses one; off by default (see above). For the open history.
    bool syncEachAnswer(bool on);

    // Gives each card of the list its key and memory state; cards the history does not
    // know, or cannot tell apart from another card, get kNoCardKey. Call once after open,
    // with every card of the list (unknown and known cards). Reads the memory state of each
    // card once and no review. Returns nothing when the history could not be read.
    std::optional<ResolvedCards> resolveCards(std::span<const CardText> cards);

    // A key for a card that has none, before its first answer is appended; 0 on failure.
    CardKey addCard(const CardText& card);
    // The card's number or texts changed (edit, answer added in an examination, sort).
    bool cardChanged(CardKey key, const CardText& card);
    // The card was deleted from the list.
    bool cardDeleted(CardKey key);
    // The list was saved (also after Save As, after carryTo): changes and deletions told
    // since the last save are now in the list file.
    bool listSaved();

    // Adds one answer and sets the card's memory state to `after`, in one transaction.
    // Returns the review's id, 0 on failure (nothing written then).
    int64_t append(const ReviewEntry& entry, const StoredCardState& after);
    // Takes back the answer `reviewId` when it is the latest one: the review goes and the
    // card's memory state is what it was before. Answers can be taken back one after
    // another, newest first, up to kUndoDepth of them.
    bool undo(int64_t reviewId);
    static constexpr int kUndoDepth = 1000;

    // The reviews of one card in the order they were given (a clock that jumped back shows
    // as a time earlier than the one before).
    std::vector<StoredReview> reviewsOf(CardKey key);
    // Every review of the list in the order they were given, for replaying the memory
    // model or fitting its parameters. Stops early when `visit` returns false. Returns
    // false when the history could not be read to the end.
    bool forEachReview(const std::function<bool(const StoredReview&)>& visit);
    int64_t reviewCount();

    // Values of the list's own, kept in the history so that the list file stays as it is.
    bool setValue(const std::string& key, const std::string& value);
    std::optional<std::string> value(const std::string& key);
    // Every value whose key begins with `prefix`, ordered by key.
    std::vector<std::pair<std::string, std::string>> valuesStartingWith(const std::string& prefix);

    // Brings cards from another trainer, their answers and memory states, and values of the
    // list's own in one transaction: an import of 150,000 answers costs one commit. A card
    // without a key gets one (its key is set in `cards`); a known card's texts are taken as
    // changed, as after cardChanged. An answer at a time the card already has an answer at
    // is skipped, so importing the same answers again adds nothing; a known card's memory
    // state is replaced only by one of a later (or the same) last review, so answers given
    // here since are not forgotten. Imported answers cannot be undone one by one. Returns
    // how many answers were added, -1 on failure (nothing written then).
    int64_t importReviews(std::span<ImportedCardHistory> cards,
                          std::span<const std::pair<std::string, std::string>> values);

    // Save As: copies the history to the history of `newListPath` and goes on with the
    // copy; the old history stays with the old list. A history already at the new name
    // (of the list that Save As replaces) is kept aside as "....history.replaced-<time>".
    // On failure the old history stays open.
    bool carryTo(const std::string& newListPath, int64_t nowMs);

private:
    struct Statements;
    HistoryOpenResult openFile(int64_t nowMs, bool retried);
    bool fail(const char* what);
    // Inside a transaction: the key the next new card gets; kNoCardKey (the transaction
    // rolled back) when the history cannot be read or its cards are damaged.
    CardKey nextCardKey();
    bool exec(const char* sql);
    bool begin();
    bool commit();
    void rollback();
    bool migrate(int from);
    void closeDatabase();

    sqlite3* db_ = nullptr;
    std::unique_ptr<Statements> statements_;
    std::string path_;
    std::string error_;
    bool damaged_ = false;
    int64_t damagedAtMs_ = 0;
    // Keys changed or deleted since the list was last opened or saved.
    std::unordered_set<CardKey> unsaved_;
};
