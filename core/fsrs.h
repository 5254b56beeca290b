#pragma once

// The FSRS-6 memory model: how stable a card's memory is, how difficult the card is, how
// likely the learner recalls it after a given time, and when to ask it next.
//
// Where the published implementations differ, this one follows fsrs-rs (the one Anki
// uses):
// - Time is counted in whole days: the elapsed days between two reviews are the number of
//   day boundaries between them (local midnight, given as a UTC offset), not hours / 24.
// - A review on the same day as the previous one uses the same-day formula (w17..w19);
//   there a pass (Hard or better) never lowers the stability, as in current fsrs-rs.
// - Stability stays within [0.001, 36500] days and difficulty within [1, 10]; the
//   parameters are clipped to the ranges the optimiser keeps them in.
// - The interval is computed unrounded; the scheduled number of days is that interval
//   rounded to whole days, at least 1 and at most the maximum interval, or, with fuzz on,
//   drawn from Anki's fuzz range around it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/rating.h"

class RandomSource;

// The 21 parameters of FSRS-6: w0..w3 initial stability per first rating, w4..w7
// difficulty, w8..w10 stability after success, w11..w14 after a lapse, w15 hard penalty,
// w16 easy bonus, w17..w19 same-day reviews, w20 the decay of the forgetting curve.
using FsrsWeights = std::array<double, 21>;

// The published FSRS-6 defaults, fitted to the reviews of many learners.
inline constexpr FsrsWeights kFsrsDefaultWeights = {
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

struct FsrsParameters {
    FsrsWeights w = kFsrsDefaultWeights;
    double desiredRetention = 0.9;  // the recall probability at which a card falls due
    int maximumInterval = 36500;    // days
    bool enableFuzz = true;         // spread intervals so cards learnt together part
};

struct MemoryState {
    double stability = 0;   // days until recall falls to 90 %
    double difficulty = 0;  // 1 (easy) to 10 (hard)
};

// One review as the history keeps it: when (UTC, milliseconds) and how well.
struct Review {
    int64_t timeMs = 0;
    Rating rating = Rating::Good;
};

// One review counted in days: whole days since the previous review (0 for the first one
// and for reviews on the same day).
struct DayReview {
    uint32_t elapsedDays = 0;
    Rating rating = Rating::Good;
};

// What one rating would lead to: the new memory state, the unrounded interval in days and
// the days actually scheduled (rounded, clamped, fuzzed when fuzz is on).
struct ScheduledState {
    MemoryState memory;
    double interval = 0;
    int days = 1;
};

struct NextStates {
    ScheduledState again, hard, good, easy;
    const ScheduledState& operator[](Rating rating) const;
};

// A card as the due list sees it: its memory and the time of its last review.
struct CardMemory {
    double stability = 0;
    double difficulty = 0;
    int64_t lastReviewMs = 0;
};

class Fsrs {
public:
    static constexpr double kMinStability = 0.001;
    static constexpr double kMaxStability = 36500;
    static constexpr double kMinDifficulty = 1;
    static constexpr double kMaxDifficulty = 10;

    // Parameters out of range are clipped, ones that are not finite numbers replaced by the
    // defaults, a desired retention outside [0.7, 0.99] (the range Anki offers) clamped
    // into it, and a maximum interval below 1 raised to 1: a damaged setting never makes
    // the scheduler produce nonsense.
    explicit Fsrs(const FsrsParameters& parameters = {});

    const FsrsParameters& parameters() const { return parameters_; }

    // The state after the first review of a new card.
    MemoryState initialState(Rating rating) const;
    // The state after a review `elapsedDays` after the previous one (0: the same day).
    MemoryState nextState(MemoryState state, uint32_t elapsedDays, Rating rating) const;
    // The state after a whole history; nullopt when the history is empty.
    std::optional<MemoryState> memoryState(std::span<const DayReview> reviews) const;
    // The same for reviews with times. Day boundaries are local midnight at the given UTC
    // offset. A review dated before the previous one (the clock was set back) counts as on
    // the same day; the order of the history is kept.
    std::optional<MemoryState> memoryState(std::span<const Review> reviews,
                                           int utcOffsetMinutes = 0) const;

    // Probability of recall `elapsedDays` after the last review (may be fractional).
    double retrievability(double stability, double elapsedDays) const;
    // The same between two times; a `nowMs` before the last review counts as no time.
    double retrievabilityAt(const CardMemory& card, int64_t nowMs) const;

    // Days until recall falls to `desiredRetention` (unrounded, not clamped to the maximum).
    double nextInterval(double stability, double desiredRetention) const;
    // The days to schedule for an unrounded interval: rounded, clamped to
    // [1, maximumInterval] and, with fuzz on, fuzzed with one draw from `random`.
    int scheduledDays(double interval, RandomSource* random) const;

    // What each rating would lead to, for a card in `current` (nullopt: a new card) reviewed
    // `elapsedDays` after its last review. As in Anki, Good is scheduled at least a day after
    // Hard and Easy at least a day after Good. With fuzz on, one draw per rating.
    NextStates nextStates(std::optional<MemoryState> current, uint32_t elapsedDays,
                          RandomSource* random = nullptr) const;

    // Indices of the cards whose recall at `nowMs` has fallen below the desired retention,
    // lowest recall first (ties: lower index first). Cards without a memory (stability 0)
    // are not due here; new cards are chosen elsewhere.
    std::vector<uint32_t> dueCards(std::span<const CardMemory> cards, int64_t nowMs) const;

    // The whole days between two times, counted at local midnight; never negative.
    static uint32_t elapsedDays(int64_t fromMs, int64_t toMs, int utcOffsetMinutes = 0);

    // Clips parameters into the ranges the optimiser keeps them in.
    static FsrsWeights clipped(const FsrsWeights& w);

private:
    int scheduledDays(double interval, int minimum, RandomSource* random) const;

    FsrsParameters parameters_;
    double decay_ = 0;   // -w20
    double factor_ = 0;  // 0.9^(1/decay) - 1, so that recall is 90 % after `stability` days
};

// The local day (days since 1970-01-01 at the given UTC offset) of a UTC time.
int64_t localDay(int64_t timeMs, int utcOffsetMinutes);

// Anki's fuzz range for an unrounded interval: the whole days [lower, upper] an interval
// may be moved to, kept within [minimum, maximum].
struct FuzzRange {
    int lower = 1;
    int upper = 1;
};
FuzzRange fuzzRange(double interval, int minimum, int maximum);
