#include "session/memory_model_source.h"

ProgressReview progressReviewOf(const StoredReview& stored) {
    const ReviewEntry& entry = stored.entry;
    return {int64_t(entry.card), entry.timeMs, entry.rating, entry.durationMs};
}

std::vector<ProgressReview> progressReviews(ReviewHistory& history, std::vector<int64_t>* ids) {
    std::vector<ProgressReview> reviews;
    if (ids != nullptr)
        ids->clear();
    const bool complete = history.forEachReview([&](const StoredReview& stored) {
        reviews.push_back(progressReviewOf(stored));
        if (ids != nullptr)
            ids->push_back(stored.id);
        return true;
    });
    if (!complete) {
        reviews.clear();
        if (ids != nullptr)
            ids->clear();
    }
    return reviews;
}
