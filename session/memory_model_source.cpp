#include "session/memory_model_source.h"

#include "core/review_history.h"

std::vector<ProgressReview> progressReviews(ReviewHistory& history) {
    std::vector<ProgressReview> reviews;
    const bool complete = history.forEachReview([&](const StoredReview& stored) {
        const ReviewEntry& entry = stored.entry;
        reviews.push_back({int64_t(entry.card), entry.timeMs, entry.rating, entry.durationMs});
        return true;
    });
    if (!complete)
        reviews.clear();
    return reviews;
}
