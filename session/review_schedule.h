#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>
#include "core/card_map.h"
#include "core/fsrs.h"
#include "core/review_history.h"
#include "session/memory_model_source.h"

class Card;
struct AnswerOutcome;
class CardStore;
class RandomSource;

// The review schedule of the open list: its review history (the SQLite file beside the
// list) and the FSRS-6 model that tells, for each card, how likely the learner still
// recalls it and when it falls due. The list session owns it and moves it along with the
// list: opened after the list's lock is taken, carried by Save As, told about saves,
// edits and deletions, closed with the list.
//
// Each card of the list has a key in the history and, once reviewed, a memory state; both
// are kept here per card, found by the card's address. A card the history has not seen
// yet is new: it has no recall and no due time.
//
// When no history is available (no list, a history written by a newer program, a folder
// that may not be written) every question answers "nothing" and answers are not recorded;
// the list works as without a schedule. unavailableReason() says why, for the user.
class ReviewSchedule : public QObject {
    Q_OBJECT
public:
    explicit ReviewSchedule(CardStore& store, QObject* parent = nullptr);
    ~ReviewSchedule() override;

    // A history is open and answers are recorded.
    bool available() const;
    // Why there is no history (empty when there is one or no list is open).
    QString unavailableReason() const;

    // The chance (0..1) that the learner recalls the card at `nowMs` (UTC milliseconds);
    // nothing for a new card or without a history.
    std::optional<double> recall(const Card& card, int64_t nowMs) const;
    // When the card falls due (UTC milliseconds); nothing for a new card or without a history.
    std::optional<int64_t> dueMs(const Card& card) const;
    // Reviewed cards whose recall falls below the desired retention before the end of the
    // local day of `nowMs`.
    int dueTodayCount(int64_t nowMs) const;
    // The cards to ask in "Due Cards": those whose recall at `nowMs` has fallen below the
    // desired retention, lowest recall first, then up to `newLimit` new cards in list order.
    std::vector<const Card*> dueCards(int64_t nowMs, int newLimit) const;
    // How many of `limit` new cards may still be started today: each card answered for the
    // first time on the learner's day counts against it (kept in the history, so it holds
    // across runs of the program).
    int newCardsLeftToday(int64_t nowMs, int limit) const;
    // The earliest due time after `nowMs` among reviewed cards, for the summary.
    std::optional<int64_t> nextDueMs(int64_t nowMs) const;

    // The card's key in the history and its memory state (kNoCardKey and none for a card
    // the history has not seen, and without a history).
    CardKey keyOf(const Card& card) const;
    std::optional<StoredCardState> stateOf(const Card& card) const;

    // A card brought from another trainer with the answers given there.
    struct ImportedCard {
        const Card* card = nullptr;
        std::vector<ReviewEntry> reviews;  // in time order
        std::optional<StoredCardState> state;
    };
    // Brings the cards, their answers and memory states and values of the list's own into
    // the history in one transaction (ReviewHistory::importReviews: answers already there
    // are skipped). Returns the answers added; -1 without a history or when it could not
    // be written (nothing written then; the history's lastError says why).
    int64_t importCards(std::vector<ImportedCard> cards,
                        std::span<const std::pair<std::string, std::string>> values);

    const ReviewHistory* history() const;
    ReviewHistory* history();
    const FsrsParameters& parameters() const;
    // Keeps optimised weights in the history ("fsrs-weights") and schedules with them.
    void setParameters(const FsrsWeights& weights);
    // Desired retention, maximum interval (from the preferences).
    void setLimits(double desiredRetention, int maximumInterval);

    // The card was shown in an examination: the time its answer takes starts now.
    void cardShown(const Card& card);
    // Records one finally judged answer, from what the answer step did: the rating from
    // the outcome (ratingOf), the time since the card was shown, the examination kind.
    // Returns the review id for undo, 0 when nothing was recorded.
    int64_t recordAnswer(const AnswerOutcome& outcome);
    // The id of the review recordAnswer added last (0: none).
    int64_t lastReviewId() const { return lastReviewId_; }
    // The same with everything given.
    int64_t record(const Card& card, Rating rating, int64_t nowMs, int32_t durationMs, uint8_t kind,
                   uint8_t direction = 0);
    // Takes back the answer `reviewId` (undo of the last answer).
    bool undo(int64_t reviewId, const Card& card);
    // Whether undo would take `reviewId` back: the history takes back only its newest
    // review, so not after an answer given since in another window.
    bool canUndo(int64_t reviewId) const;

    // For windows that show every review: a number that grows with each review recorded
    // or taken back and with each history opened or closed, and the reviews recorded and
    // taken back since an earlier number, oldest first. Nothing when they are not all
    // kept any more (another history since, or very many changes): read the history again.
    uint64_t revision() const { return revision_; }
    std::optional<std::vector<ReviewEdit>> editsSince(uint64_t revision) const;

    // What the Progress window, the optimise command and the overview's memory columns
    // read: the history, the parameters, and reading and setting them through this
    // schedule; with `withDueTimes` the due time of every reviewed card, in list order.
    MemoryModelSource memoryModelSource(bool withDueTimes);

    // Following the list (called by the list session).
    struct OpenReport {
        HistoryOpenStatus status = HistoryOpenStatus::Failed;
        QString message;  // for the user, empty when nothing needs saying
    };
    OpenReport openFor(const QString& listPath, int64_t nowMs);
    void openUnsaved();
    bool carryTo(const QString& newListPath, int64_t nowMs);
    void listSaved();
    void close();
    // The card's texts or number changed / it was deleted. Call cardDeleted before the card
    // is destroyed.
    void cardChanged(const Card& card);
    void cardDeleted(const Card& card);
    // Every card may have moved (sort, exchange): keeps the keys, tells the history the new
    // numbers and texts.
    void cardsRearranged();

    // The clock (UTC milliseconds since 1970); tests set their own.
    int64_t now() const { return clock_(); }
    void setClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }

    // For tests: the random source that draws the interval fuzz (nullptr: no fuzz).
    void setRandomSource(RandomSource* random) { random_ = random; }
    // Minutes east of UTC for counting day boundaries (tests set it; default: the system's).
    void setUtcOffsetMinutes(int minutes) { utcOffsetMinutes_ = minutes; }

signals:
    // A card's schedule changed, a history was opened or closed, the parameters changed.
    void changed();

private:
    struct Entry {
        CardKey key = kNoCardKey;
        std::optional<StoredCardState> state;
        int32_t number = 0;  // the card's number the history was last told
    };
    Entry* entryOf(const Card& card);
    const Entry* entryOf(const Card& card) const;
    void resolve();
    void loadWeights();
    // The learner's day (days since 1970, local time) of a time.
    int64_t dayOf(int64_t ms) const;
    // How many cards were answered for the first time on the learner's day of `nowMs`.
    int newCardsStartedToday(int64_t nowMs) const;
    void countNewCard(int64_t nowMs);
    void noteEdit(const ReviewEdit& edit);
    // Another history (or none): no earlier revision can be followed any more.
    void forgetEdits();

    CardStore& store_;
    std::unique_ptr<ReviewHistory> history_;
    FsrsParameters parameters_;
    CardMap<Entry> entries_;
    QString unavailableReason_;
    RandomSource* random_ = nullptr;
    int utcOffsetMinutes_ = 0;
    std::function<int64_t()> clock_;
    std::unordered_map<const Card*, int64_t> shownAtMs_;
    int64_t lastReviewId_ = 0;
    // For undo: each recent review's card state before it, oldest first.
    std::map<int64_t, std::optional<StoredCardState>> statesBefore_;
    // The recent reviews recorded and taken back: edits_[i] made revision editsStart_ + i + 1.
    std::deque<ReviewEdit> edits_;
    uint64_t editsStart_ = 0;
    uint64_t revision_ = 0;
};

// The rating an answer earns: wrong -> Again; right only after the user overruled the
// judgement, or right with a tolerated case or accent difference -> Hard; right -> Good.
// Easy is never given: see the user guide (a fast answer measures the keyboard).
Rating ratingOf(const AnswerOutcome& outcome);
