#pragma once

// Fits the 21 FSRS-6 parameters to one learner's review history, the way fsrs-rs does it
// for Anki: initial stabilities from the first long-term review of each card, then five
// epochs of Adam (learning rate 0.04, batches of 512, cosine annealing, an L2 pull towards
// the starting values) over every review that came a day or more after the previous one,
// with the parameters clipped after each step and the epoch with the lowest loss kept.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/fsrs.h"
#include "core/rating.h"

// One review of one card, as the history hands it over.
struct CardReview {
    int64_t cardId = 0;
    int64_t timeMs = 0;
    Rating rating = Rating::Good;
};

// A review to predict: the card's reviews up to and including it, counted in days. The
// last one is the review whose outcome the model predicts from the ones before it.
struct FsrsItem {
    std::vector<DayReview> reviews;
    int64_t timeMs = 0;  // time of the last review, for ordering and recency
};

// How well parameters predict a history: the mean log loss over all predicted reviews and
// the RMSE over bins of (interval, number of reviews, number of lapses), weighted by the
// reviews in each bin, as the FSRS benchmark measures them. Lower is better.
struct FsrsEvaluation {
    double logLoss = 0;
    double rmseBins = 0;
    size_t reviews = 0;  // predicted reviews
};

// Called with (work done, total work); return false to cancel.
using OptimiserProgress = std::function<bool(size_t done, size_t total)>;

struct OptimiserResult {
    enum class Outcome { Optimised, NotEnoughReviews, Cancelled };
    Outcome outcome = Outcome::NotEnoughReviews;
    FsrsWeights weights = kFsrsDefaultWeights;  // the fitted parameters
    FsrsEvaluation before;                      // the current parameters on the history
    FsrsEvaluation after;                       // the fitted ones on the same history
    // True when the fitted parameters predict the history better (lower log loss and not a
    // higher RMSE); only then should the caller keep them.
    bool better = false;
};

class FsrsOptimizer {
public:
    // The product offers optimisation from this many reviews of a list on.
    static constexpr size_t kMinimumReviews = 1000;
    static bool enoughReviewsToOptimise(size_t reviews) { return reviews >= kMinimumReviews; }

    // Turns a history (any order) into items, ordered by the time of their last review.
    // Days are counted at local midnight for the given UTC offset; only reviews at least a
    // day after the previous one are predicted.
    static std::vector<FsrsItem> itemsFromHistory(std::span<const CardReview> history,
                                                  int utcOffsetMinutes = 0);

    // Measures parameters on items (as the benchmark: every item weighs the same).
    static FsrsEvaluation evaluate(const FsrsWeights& weights, std::span<const FsrsItem> items);

    // Fits parameters to the items; returns the defaults when there are too few to fit.
    // `threads` (1 or 2) share each batch. `cancelled` is set when progress returned false.
    static FsrsWeights computeParameters(std::span<const FsrsItem> items,
                                         const OptimiserProgress& progress = {}, int threads = 2,
                                         bool* cancelled = nullptr);

    // The whole command: checks the amount of history, fits, and measures the current and
    // the fitted parameters on the same history.
    static OptimiserResult optimise(std::span<const CardReview> history, const FsrsWeights& current,
                                    int utcOffsetMinutes = 0,
                                    const OptimiserProgress& progress = {}, int threads = 2);

    // One training batch: the summed, weighted log loss of `items` under `weights`, and its
    // gradient with respect to the 21 parameters. Exposed so the gradient can be checked.
    struct LossAndGradient {
        double loss = 0;
        FsrsWeights gradient{};
    };
    static LossAndGradient lossAndGradient(const FsrsWeights& weights,
                                           std::span<const FsrsItem> items,
                                           std::span<const double> itemWeights);

    // One Adam step with the given learning rate, followed by the clipping of the ranges.
    struct Adam {
        FsrsWeights m{}, v{};
        int steps = 0;
        void step(FsrsWeights& w, const FsrsWeights& gradient, double learningRate);
    };
};
