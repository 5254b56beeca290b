#include "core/fsrs_optimizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <numeric>
#include <optional>
#include <thread>
#include <tuple>
#include <unordered_map>

#include "core/fsrs_formulas.h"

namespace F = fsrs_formulas;

namespace {

constexpr int kParameters = 21;
constexpr int kEpochs = 5;
constexpr size_t kBatchSize = 512;
constexpr double kLearningRate = 0.04;
constexpr size_t kMaxSequence = 64;
constexpr double kGamma = 1.0;  // weight of the L2 pull towards the starting parameters
constexpr double kInitialStabilityMax = 100;
constexpr uint64_t kShuffleSeed = 2023;

// How far each parameter typically lies from the defaults across learners; the L2 pull is
// scaled by them.
constexpr std::array<double, kParameters> kParameterSpread = {
    6.43, 9.66, 17.58, 27.85, 0.57, 0.28, 0.6,  0.12, 0.39, 0.18, 0.33,
    0.3,  0.09, 0.16,  0.57,  0.25, 1.03, 0.31, 0.32, 0.14, 0.27};

// A number together with its derivatives with respect to the 21 parameters (forward-mode
// automatic differentiation). The model step is a few dozen operations, so carrying 21
// derivatives through it costs less than recording and replaying a tape.
struct Dual {
    double v = 0;
    std::array<double, kParameters> d{};

    Dual() = default;
    Dual(double value) : v(value) {}  // NOLINT: constants mix freely with duals
};

inline Dual scaled(const Dual& a, double value, double factor) {
    Dual r(value);
    for (int i = 0; i < kParameters; ++i) {
        r.d[i] = a.d[i] * factor;
    }
    return r;
}

inline Dual operator+(const Dual& a, const Dual& b) {
    Dual r(a.v + b.v);
    for (int i = 0; i < kParameters; ++i) {
        r.d[i] = a.d[i] + b.d[i];
    }
    return r;
}
inline Dual operator-(const Dual& a, const Dual& b) {
    Dual r(a.v - b.v);
    for (int i = 0; i < kParameters; ++i) {
        r.d[i] = a.d[i] - b.d[i];
    }
    return r;
}
inline Dual operator-(const Dual& a) {
    return scaled(a, -a.v, -1.0);
}
inline Dual operator*(const Dual& a, const Dual& b) {
    Dual r(a.v * b.v);
    for (int i = 0; i < kParameters; ++i) {
        r.d[i] = a.d[i] * b.v + b.d[i] * a.v;
    }
    return r;
}
inline Dual operator/(const Dual& a, const Dual& b) {
    const double q = a.v / b.v;
    Dual r(q);
    for (int i = 0; i < kParameters; ++i) {
        r.d[i] = (a.d[i] - q * b.d[i]) / b.v;
    }
    return r;
}
inline Dual operator+(const Dual& a, double b) {
    return scaled(a, a.v + b, 1.0);
}
inline Dual operator+(double a, const Dual& b) {
    return scaled(b, a + b.v, 1.0);
}
inline Dual operator-(const Dual& a, double b) {
    return scaled(a, a.v - b, 1.0);
}
inline Dual operator-(double a, const Dual& b) {
    return scaled(b, a - b.v, -1.0);
}
inline Dual operator*(const Dual& a, double b) {
    return scaled(a, a.v * b, b);
}
inline Dual operator*(double a, const Dual& b) {
    return scaled(b, a * b.v, a);
}
inline Dual operator/(const Dual& a, double b) {
    return scaled(a, a.v / b, 1.0 / b);
}
inline Dual operator/(double a, const Dual& b) {
    const double q = a / b.v;
    return scaled(b, q, -q / b.v);
}

inline Dual exp(const Dual& a) {
    const double e = std::exp(a.v);
    return scaled(a, e, e);
}
inline Dual log(const Dual& a) {
    return scaled(a, std::log(a.v), 1.0 / a.v);
}
inline Dual pow(const Dual& a, const Dual& b) {
    // a^b = exp(b ln a)
    const double lnA = std::log(a.v);
    const double p = std::exp(b.v * lnA);
    Dual r(p);
    for (int i = 0; i < kParameters; ++i) {
        r.d[i] = p * (b.d[i] * lnA + b.v * a.d[i] / a.v);
    }
    return r;
}

// A clamped value does not move with the parameters, so its derivatives are zero. (Found
// by argument-dependent lookup from the formulas.)
inline Dual clampValue(const Dual& x, double low, double high) {
    if (x.v < low) {
        return Dual(low);
    }
    if (x.v > high) {
        return Dual(high);
    }
    return x;
}
inline Dual minValue(const Dual& a, const Dual& b) {
    return b.v < a.v ? b : a;
}
inline Dual maxValue(const Dual& a, double b) {
    return a.v < b ? Dual(b) : a;
}

using DualWeights = std::array<Dual, kParameters>;

size_t longTermReviews(const FsrsItem& item) {
    return std::count_if(item.reviews.begin(), item.reviews.end(),
                         [](const DayReview& r) { return r.elapsedDays > 0; });
}

int ratingOf(const DayReview& review) {
    return static_cast<int>(review.rating);
}

bool recalled(const FsrsItem& item) {
    return item.reviews.back().rating != Rating::Again;
}

// The predicted recall of an item's last review: the reviews before it replayed from a new
// card, then the forgetting curve at the last review's distance.
template <class T, class W>
T predict(const F::Model<T, W>& model, const FsrsItem& item) {
    const auto& reviews = item.reviews;
    F::State<T> state = model.initialState(ratingOf(reviews.front()));
    for (size_t i = 1; i + 1 < reviews.size(); ++i) {
        state = model.nextState(state, double(reviews[i].elapsedDays), ratingOf(reviews[i]));
    }
    return model.retrievability(state.stability, double(reviews.back().elapsedDays));
}

using DoubleModel = F::Model<double, FsrsWeights>;

// Keeps log(0) out of the loss when a prediction is exactly 0 or 1.
constexpr double kRecallFloor = 1e-9;

double logLossOf(double recall, bool label) {
    recall = std::clamp(recall, kRecallFloor, 1.0 - kRecallFloor);
    return label ? -std::log(recall) : -std::log(1.0 - recall);
}

// Adds the summed weighted loss of items [begin, end) and its gradient.
void accumulate(const FsrsWeights& weights, std::span<const FsrsItem> items,
                std::span<const double> itemWeights, size_t begin, size_t end, double& loss,
                FsrsWeights& gradient) {
    DualWeights w;
    for (int i = 0; i < kParameters; ++i) {
        w[i].v = weights[i];
        w[i].d[i] = 1.0;
    }
    const F::Model<Dual, DualWeights> model(w);
    for (size_t k = begin; k < end; ++k) {
        const Dual r = predict(model, items[k]);
        const bool label = recalled(items[k]);
        const double p = std::clamp(r.v, kRecallFloor, 1.0 - kRecallFloor);
        const double weight = itemWeights.empty() ? 1.0 : itemWeights[k];
        loss += weight * logLossOf(p, label);
        // d(-log p)/dp = -1/p; d(-log(1-p))/dp = 1/(1-p)
        const double outer = weight * (label ? -1.0 / p : 1.0 / (1.0 - p));
        for (int i = 0; i < kParameters; ++i) {
            gradient[i] += outer * r.d[i];
        }
    }
}

double penaltyOf(const FsrsWeights& w, const FsrsWeights& start, double scale) {
    double sum = 0;
    for (int i = 0; i < kParameters; ++i) {
        const double diff = w[i] - start[i];
        sum += diff * diff / (kParameterSpread[i] * kParameterSpread[i]);
    }
    return sum * scale;
}

// ---- Pretraining: initial stabilities from each card's first long-term review ----

using RatingMap = std::map<int, double>;
using CountMap = std::map<int, size_t>;

// Per first rating: the recall at each distance of the first long-term review.
struct RecallAt {
    double days, recall, count;
};

std::map<int, std::vector<RecallAt>> initialisationData(std::span<const FsrsItem> items) {
    std::map<int, std::map<uint32_t, std::pair<double, double>>> groups;  // passed, total
    for (const FsrsItem& item : items) {
        if (longTermReviews(item) != 1) {
            continue;
        }
        const DayReview& first =
            *std::find_if(item.reviews.begin(), item.reviews.end(),
                          [](const DayReview& r) { return r.elapsedDays > 0; });
        auto& group = groups[ratingOf(item.reviews.front())][first.elapsedDays];
        group.first += first.rating != Rating::Again ? 1.0 : 0.0;
        group.second += 1.0;
    }
    std::map<int, std::vector<RecallAt>> data;
    for (const auto& [rating, byDays] : groups) {
        for (const auto& [days, counts] : byDays) {
            data[rating].push_back({double(days), counts.first / counts.second, counts.second});
        }
    }
    return data;
}

RatingMap searchInitialStabilities(const std::map<int, std::vector<RecallAt>>& data,
                                   double averageRecall) {
    const double decay = -kFsrsDefaultWeights[20];
    const double factor = std::pow(0.9, 1.0 / decay) - 1.0;
    RatingMap result;
    for (const auto& [rating, points] : data) {
        const double defaultS = kFsrsDefaultWeights[rating - 1];
        auto loss = [&](double s) {
            double sum = 0;
            for (const RecallAt& p : points) {
                // Laplace smoothing towards the learner's average recall.
                const double recall = (p.recall * p.count + averageRecall) / (p.count + 1.0);
                const double y = std::pow(1.0 + factor * p.days / s, decay);
                sum += -(recall * std::log(y) + (1.0 - recall) * std::log(1.0 - y)) * p.count;
            }
            return sum + std::abs(s - defaultS) / 16.0;
        };
        double low = F::kMinStability;
        double high = kInitialStabilityMax;
        double best = defaultS;
        for (int iteration = 0;
             high - low > std::numeric_limits<double>::epsilon() && iteration < 1000; ++iteration) {
            const double mid1 = low + (high - low) / 3.0;
            const double mid2 = high - (high - low) / 3.0;
            if (loss(mid1) < loss(mid2)) {
                high = mid2;
            } else {
                low = mid1;
            }
            best = (high + low) / 2.0;
        }
        result[rating] = best;
    }
    return result;
}

// Orders the stabilities by rating and fills in ratings without data from the others.
// Returns false when no rating has data.
bool smoothAndFill(RatingMap stability, const CountMap& counts, std::array<double, 4>& out) {
    std::erase_if(stability, [&](const auto& entry) { return !counts.contains(entry.first); });
    for (auto [small, big] : {std::pair{1, 2}, {2, 3}, {3, 4}, {1, 3}, {2, 4}, {1, 4}}) {
        if (stability.contains(small) && stability.contains(big) &&
            stability[small] > stability[big]) {
            if (counts.at(small) > counts.at(big)) {
                stability[big] = stability[small];
            } else {
                stability[small] = stability[big];
            }
        }
    }
    const double w1 = 0.41;
    const double w2 = 0.54;
    std::array<std::optional<double>, 5> s;
    for (const auto& [rating, value] : stability) {
        s[rating] = value;
    }
    auto p = [](double base, double exponent) { return std::pow(base, exponent); };
    switch (stability.size()) {
        case 0:
            return false;
        case 1: {
            const int rating = stability.begin()->first;
            const double factor = stability.begin()->second / kFsrsDefaultWeights[rating - 1];
            for (int r = 1; r <= 4; ++r) {
                s[r] = kFsrsDefaultWeights[r - 1] * factor;
            }
            break;
        }
        case 2:
            if (!s[1] && !s[2]) {
                s[2] = p(*s[3], 1.0 / (1.0 - w2)) * p(*s[4], 1.0 - 1.0 / (1.0 - w2));
                s[1] = p(*s[2], 1.0 / w1) * p(*s[3], 1.0 - 1.0 / w1);
            } else if (!s[1] && !s[3]) {
                s[3] = p(*s[2], 1.0 - w2) * p(*s[4], w2);
                s[1] = p(*s[2], 1.0 / w1) * p(*s[3], 1.0 - 1.0 / w1);
            } else if (!s[1] && !s[4]) {
                s[4] = p(*s[2], 1.0 - 1.0 / w2) * p(*s[3], 1.0 / w2);
                s[1] = p(*s[2], 1.0 / w1) * p(*s[3], 1.0 - 1.0 / w1);
            } else if (!s[2] && !s[3]) {
                const double k = w1 + w2 - w1 * w2;
                s[2] = p(*s[1], w1 / k) * p(*s[4], 1.0 - w1 / k);
                s[3] = p(*s[1], 1.0 - w2 / k) * p(*s[4], w2 / k);
            } else if (!s[2] && !s[4]) {
                s[2] = p(*s[1], w1) * p(*s[3], 1.0 - w1);
                s[4] = p(*s[2], 1.0 - 1.0 / w2) * p(*s[3], 1.0 / w2);
            } else if (!s[3] && !s[4]) {
                s[3] = p(*s[1], 1.0 - 1.0 / (1.0 - w1)) * p(*s[2], 1.0 / (1.0 - w1));
                s[4] = p(*s[2], 1.0 - 1.0 / w2) * p(*s[3], 1.0 / w2);
            }
            break;
        case 3:
            if (!s[1]) {
                s[1] = p(*s[2], 1.0 / w1) * p(*s[3], 1.0 - 1.0 / w1);
            } else if (!s[2]) {
                s[2] = p(*s[1], w1) * p(*s[3], 1.0 - w1);
            } else if (!s[3]) {
                s[3] = p(*s[2], 1.0 - w2) * p(*s[4], w2);
            } else {
                s[4] = p(*s[2], 1.0 - 1.0 / w2) * p(*s[3], 1.0 / w2);
            }
            break;
        default:
            break;
    }
    for (int r = 1; r <= 4; ++r) {
        out[r - 1] = std::clamp(*s[r], F::kMinStability, kInitialStabilityMax);
    }
    return true;
}

// Drops rare or implausibly long first intervals: per first rating, the smallest groups of
// first long-term intervals up to 5 % of the cards (at least 20), and groups of fewer than
// six cards or beyond 100 days (365 after Easy). Items of dropped groups leave training too.
void filterOutliers(std::vector<FsrsItem>& initialisation, std::vector<FsrsItem>& training) {
    std::map<int, std::map<uint32_t, std::vector<size_t>>> groups;
    for (size_t i = 0; i < initialisation.size(); ++i) {
        const FsrsItem& item = initialisation[i];
        groups[ratingOf(item.reviews.front())][item.reviews.back().elapsedDays].push_back(i);
    }
    std::array<std::vector<uint32_t>, 5> removed;
    std::vector<FsrsItem> kept;
    for (auto& [rating, byDays] : groups) {
        std::vector<std::pair<uint32_t, std::vector<size_t>*>> subGroups;
        size_t total = 0;
        for (auto& [days, members] : byDays) {
            subGroups.push_back({days, &members});
            total += members.size();
        }
        // Smallest groups first; among equal sizes, the shorter interval first.
        std::sort(subGroups.begin(), subGroups.end(), [](const auto& a, const auto& b) {
            return a.second->size() != b.second->size() ? a.second->size() < b.second->size()
                                                        : a.first < b.first;
        });
        size_t dropped = 0;
        for (const auto& [days, members] : subGroups) {
            if (dropped + members->size() >= std::max<size_t>(20, total / 20)) {
                const uint32_t limit = rating != 4 ? 100 : 365;
                if (members->size() >= 6 && days <= limit) {
                    for (size_t i : *members) {
                        kept.push_back(std::move(initialisation[i]));
                    }
                } else {
                    removed[rating].push_back(days);
                }
            } else {
                dropped += members->size();
                removed[rating].push_back(days);
            }
        }
    }
    initialisation = std::move(kept);
    std::erase_if(training, [&](const FsrsItem& item) {
        const auto first = std::find_if(item.reviews.begin(), item.reviews.end(),
                                        [](const DayReview& r) { return r.elapsedDays > 0; });
        const auto& list = removed[ratingOf(item.reviews.front())];
        return std::find(list.begin(), list.end(), first->elapsedDays) != list.end();
    });
}

// A small fixed-seed generator for the batch order, so that a fit is reproducible.
class ShuffleRandom {
public:
    explicit ShuffleRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }

private:
    uint64_t state_;
};

// The summed weighted loss of a batch and its gradient. The batch is summed in fixed
// chunks whose sums are added in order, so that one thread or two give the same bits.
FsrsOptimizer::LossAndGradient batchLossAndGradient(const FsrsWeights& w,
                                                    std::span<const FsrsItem> items,
                                                    std::span<const double> weights, int threads) {
    constexpr size_t kChunk = 64;
    const size_t chunks = (items.size() + kChunk - 1) / kChunk;
    std::vector<FsrsOptimizer::LossAndGradient> partial(chunks);
    auto run = [&](size_t first, size_t step) {
        for (size_t c = first; c < chunks; c += step) {
            accumulate(w, items, weights, c * kChunk, std::min(items.size(), (c + 1) * kChunk),
                       partial[c].loss, partial[c].gradient);
        }
    };
    if (threads >= 2 && chunks >= 2) {
        std::thread worker(run, 1, 2);
        run(0, 2);
        worker.join();
    } else {
        run(0, 1);
    }
    FsrsOptimizer::LossAndGradient result;
    for (const auto& p : partial) {
        result.loss += p.loss;
        for (int i = 0; i < kParameters; ++i) {
            result.gradient[i] += p.gradient[i];
        }
    }
    return result;
}

double weightedLoss(const FsrsWeights& w, std::span<const FsrsItem> items,
                    std::span<const double> weights) {
    const DoubleModel model(w);
    double sum = 0;
    for (size_t k = 0; k < items.size(); ++k) {
        sum += weights[k] * logLossOf(predict(model, items[k]), recalled(items[k]));
    }
    return sum;
}

}  // namespace

std::vector<FsrsItem> FsrsOptimizer::itemsFromHistory(std::span<const CardReview> history,
                                                      int utcOffsetMinutes) {
    std::vector<CardReview> sorted(history.begin(), history.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const CardReview& a, const CardReview& b) {
        return std::tie(a.cardId, a.timeMs) < std::tie(b.cardId, b.timeMs);
    });
    std::vector<FsrsItem> items;
    size_t begin = 0;
    while (begin < sorted.size()) {
        size_t end = begin;
        while (end < sorted.size() && sorted[end].cardId == sorted[begin].cardId) {
            ++end;
        }
        std::vector<DayReview> days;
        for (size_t i = begin; i < end; ++i) {
            const uint32_t elapsed =
                i == begin
                    ? 0
                    : Fsrs::elapsedDays(sorted[i - 1].timeMs, sorted[i].timeMs, utcOffsetMinutes);
            days.push_back({elapsed, sorted[i].rating});
            if (i > begin && elapsed > 0) {
                items.push_back({days, sorted[i].timeMs});
            }
        }
        begin = end;
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const FsrsItem& a, const FsrsItem& b) { return a.timeMs < b.timeMs; });
    return items;
}

FsrsEvaluation FsrsOptimizer::evaluate(const FsrsWeights& weights,
                                       std::span<const FsrsItem> items) {
    const DoubleModel model(Fsrs::clipped(weights));
    struct Bin {
        double predicted = 0, actual = 0, count = 0;
    };
    std::map<std::tuple<int, int, int>, Bin> bins;
    double loss = 0;
    for (const FsrsItem& item : items) {
        const double recall = predict(model, item);
        const bool label = recalled(item);
        loss += logLossOf(recall, label);
        // The benchmark's bins: interval, number of long-term reviews, number of lapses,
        // each on a logarithmic scale.
        const double days = item.reviews.back().elapsedDays;
        const int daysBin = int(std::lround(
            2.48 * std::pow(3.62, std::floor(std::log(days) / std::log(3.62))) * 100.0));
        const double length = double(longTermReviews(item)) + 1.0;
        const int lengthBin =
            int(std::lround(1.99 * std::pow(1.89, std::floor(std::log(length) / std::log(1.89)))));
        const auto lapses = std::count_if(
            item.reviews.begin(), item.reviews.end() - 1,
            [](const DayReview& r) { return r.rating == Rating::Again && r.elapsedDays > 0; });
        const int lapseBin =
            lapses == 0
                ? 0
                : int(std::lround(1.65 * std::pow(1.73, std::floor(std::log(double(lapses)) /
                                                                   std::log(1.73)))));
        Bin& bin = bins[{daysBin, lengthBin, lapseBin}];
        bin.predicted += recall;
        bin.actual += label ? 1.0 : 0.0;
        bin.count += 1.0;
    }
    FsrsEvaluation result;
    result.reviews = items.size();
    if (items.empty()) {
        return result;
    }
    double squares = 0;
    for (const auto& [key, bin] : bins) {
        const double diff = bin.predicted / bin.count - bin.actual / bin.count;
        squares += diff * diff * bin.count;
    }
    result.logLoss = loss / double(items.size());
    result.rmseBins = std::sqrt(squares / double(items.size()));
    return result;
}

FsrsOptimizer::LossAndGradient FsrsOptimizer::lossAndGradient(const FsrsWeights& weights,
                                                              std::span<const FsrsItem> items,
                                                              std::span<const double> itemWeights) {
    return batchLossAndGradient(weights, items, itemWeights, 1);
}

void FsrsOptimizer::Adam::step(FsrsWeights& w, const FsrsWeights& gradient, double learningRate) {
    constexpr double beta1 = 0.9;
    constexpr double beta2 = 0.999;
    constexpr double epsilon = 1e-8;
    ++steps;
    const double correction1 = 1.0 - std::pow(beta1, steps);
    const double correction2 = 1.0 - std::pow(beta2, steps);
    for (int i = 0; i < kParameters; ++i) {
        m[i] = beta1 * m[i] + (1.0 - beta1) * gradient[i];
        v[i] = beta2 * v[i] + (1.0 - beta2) * gradient[i] * gradient[i];
        const double mHat = m[i] / correction1;
        const double vHat = v[i] / correction2;
        w[i] -= learningRate * mHat / (std::sqrt(vHat) + epsilon);
    }
    w = Fsrs::clipped(w);
}

FsrsWeights FsrsOptimizer::computeParameters(std::span<const FsrsItem> allItems,
                                             const OptimiserProgress& progress, int threads,
                                             bool* cancelled) {
    if (cancelled) {
        *cancelled = false;
    }
    std::vector<FsrsItem> initialisation;
    for (const FsrsItem& item : allItems) {
        if (longTermReviews(item) == 1) {
            initialisation.push_back(item);
        }
    }
    std::vector<FsrsItem> training(allItems.begin(), allItems.end());
    filterOutliers(initialisation, training);
    if (training.size() < 8) {
        return kFsrsDefaultWeights;
    }
    const double averageRecall =
        double(std::count_if(training.begin(), training.end(), recalled)) / training.size();

    const auto data = initialisationData(initialisation);
    CountMap counts;
    for (const auto& [rating, points] : data) {
        double n = 0;
        for (const RecallAt& p : points) {
            n += p.count;
        }
        counts[rating] = size_t(n);
    }
    std::array<double, 4> initial{};
    if (!smoothAndFill(searchInitialStabilities(data, averageRecall), counts, initial)) {
        return kFsrsDefaultWeights;
    }
    FsrsWeights w = kFsrsDefaultWeights;
    std::copy(initial.begin(), initial.end(), w.begin());
    if (training.size() == initialisation.size() || training.size() < 64) {
        return w;
    }

    // Later reviews count more: weights rise from 0.25 to 1 along the history. Cards with
    // very long histories then leave the batches.
    std::vector<double> weights(training.size());
    const double last = std::max(double(training.size()) - 1.0, 1.0);
    for (size_t i = 0; i < training.size(); ++i) {
        weights[i] = 0.25 + 0.75 * std::pow(double(i) / last, 3);
    }
    size_t kept = 0;
    for (size_t i = 0; i < training.size(); ++i) {
        if (training[i].reviews.size() <= kMaxSequence) {
            if (kept != i) {
                training[kept] = std::move(training[i]);
                weights[kept] = weights[i];
            }
            ++kept;
        }
    }
    training.resize(kept);
    weights.resize(kept);
    const size_t n = training.size();

    const FsrsWeights start = w;
    const size_t batches = (n + kBatchSize - 1) / kBatchSize;
    const double totalSteps = double((n / kBatchSize + 1) * kEpochs);
    std::vector<size_t> order(batches);
    std::iota(order.begin(), order.end(), 0);
    ShuffleRandom random(kShuffleSeed);
    Adam adam;
    int step = 0;
    double bestLoss = std::numeric_limits<double>::infinity();
    FsrsWeights best = w;
    size_t done = 0;
    for (int epoch = 0; epoch < kEpochs; ++epoch) {
        for (size_t i = batches; i > 1; --i) {
            std::swap(order[i - 1], order[random.next() % i]);
        }
        for (size_t b : order) {
            const size_t begin = b * kBatchSize;
            const size_t size = std::min(kBatchSize, n - begin);
            const std::span<const FsrsItem> batch(training.data() + begin, size);
            const std::span<const double> batchWeights(weights.data() + begin, size);
            LossAndGradient lg = batchLossAndGradient(w, batch, batchWeights, threads);
            const double scale = kGamma * double(size) / double(n);
            for (int i = 0; i < kParameters; ++i) {
                lg.gradient[i] +=
                    2.0 * scale * (w[i] - start[i]) / (kParameterSpread[i] * kParameterSpread[i]);
            }
            ++step;
            const double rate =
                0.5 * kLearningRate * (1.0 + std::cos(std::numbers::pi * step / totalSteps));
            adam.step(w, lg.gradient, rate);
            done += size;
            if (progress && !progress(done, n * kEpochs)) {
                if (cancelled) {
                    *cancelled = true;
                }
                return best;
            }
        }
        const double loss = (weightedLoss(w, training, weights) + penaltyOf(w, start, kGamma)) / n;
        if (loss < bestLoss) {
            bestLoss = loss;
            best = w;
        }
    }
    // A fit that left the numbers (data no model can follow) falls back to the start.
    if (!std::all_of(best.begin(), best.end(), [](double x) { return std::isfinite(x); })) {
        return start;
    }
    // The fitted initial stabilities, ordered and filled like the pretrained ones.
    RatingMap fitted;
    for (int r = 1; r <= 4; ++r) {
        fitted[r] = best[r - 1];
    }
    if (smoothAndFill(fitted, counts, initial)) {
        std::copy(initial.begin(), initial.end(), best.begin());
    }
    return best;
}

OptimiserResult FsrsOptimizer::optimise(std::span<const CardReview> history,
                                        const FsrsWeights& current, int utcOffsetMinutes,
                                        const OptimiserProgress& progress, int threads) {
    OptimiserResult result;
    result.weights = current;
    if (!enoughReviewsToOptimise(history.size())) {
        return result;
    }
    const std::vector<FsrsItem> items = itemsFromHistory(history, utcOffsetMinutes);
    result.before = evaluate(current, items);
    bool cancelled = false;
    const FsrsWeights fitted = computeParameters(items, progress, threads, &cancelled);
    if (cancelled) {
        result.outcome = OptimiserResult::Outcome::Cancelled;
        result.after = result.before;
        return result;
    }
    result.outcome = OptimiserResult::Outcome::Optimised;
    result.after = evaluate(fitted, items);
    result.better = result.after.logLoss < result.before.logLoss &&
                    result.after.rmseBins <= result.before.rmseBins;
    if (result.better) {
        result.weights = fitted;
    }
    return result;
}
