#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/fsrs.h"
#include "core/progress_figures.h"
#include "core/review_history.h"

class Card;

// One review added to the history or taken back from it (only review.id is set then).
struct ReviewEdit {
    bool added = false;
    StoredReview review;
};

// What the Progress window and the optimise command read from the open list's review
// schedule, as plain values, so that both can be shown and tested without a list.
struct MemoryModelSource {
    ReviewHistory* history = nullptr;  // nullptr: the list has no history
    FsrsParameters parameters;
    std::vector<int64_t> dueTimesMs;  // of every reviewed card
    int64_t nowMs = 0;
    int utcOffsetMinutes = 0;
    // Keeps fitted parameters (the schedule stores them in the history and reschedules).
    std::function<void(const FsrsWeights&)> setParameters;
    // For the overview's columns: when a card falls due (UTC milliseconds) and its chance of
    // recall now (0..1); nothing for a card never reviewed.
    std::function<std::optional<int64_t>(const Card&)> dueMs;
    std::function<std::optional<double>(const Card&)> recall;
    // For a window that follows the history while it grows: the history's revision now, and
    // the reviews added and taken back since an earlier revision, oldest first; nothing when
    // they are no longer all known (then the history is read again).
    uint64_t revision = 0;
    std::function<std::optional<std::vector<ReviewEdit>>(uint64_t)> editsSince;
};

// Every review of the history, for the figures, and with `ids` the id of each; empty when
// it cannot be read.
std::vector<ProgressReview> progressReviews(ReviewHistory& history,
                                            std::vector<int64_t>* ids = nullptr);
ProgressReview progressReviewOf(const StoredReview& stored);
