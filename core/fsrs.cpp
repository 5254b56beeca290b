#include "core/fsrs.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/fsrs_formulas.h"
#include "core/random_source.h"

namespace F = fsrs_formulas;

namespace {

constexpr int64_t kDayMs = 86'400'000;

int ratingIndex(Rating rating) {
    return static_cast<int>(rating);
}

// Anki's fuzz: one day, plus 15 % of the interval's days between 2.5 and 7, 10 % of
// those between 7 and 20 and 5 % of those beyond 20, in each direction.
double fuzzDelta(double interval) {
    if (interval < 2.5) {
        return 0;
    }
    struct Band {
        double start, end, factor;
    };
    static constexpr Band bands[] = {{2.5, 7.0, 0.15}, {7.0, 20.0, 0.1}, {20.0, 1e300, 0.05}};
    double delta = 1.0;
    for (const Band& band : bands) {
        delta += band.factor * std::max(std::min(interval, band.end) - band.start, 0.0);
    }
    return delta;
}

}  // namespace

const ScheduledState& NextStates::operator[](Rating rating) const {
    switch (rating) {
        case Rating::Again:
            return again;
        case Rating::Hard:
            return hard;
        case Rating::Good:
            return good;
        case Rating::Easy:
            break;
    }
    return easy;
}

FuzzRange fuzzRange(double interval, int minimum, int maximum) {
    minimum = std::min(minimum, maximum);
    interval = std::clamp(interval, double(minimum), double(maximum));
    const double delta = fuzzDelta(interval);
    int lower = static_cast<int>(std::lround(interval - delta));
    int upper = static_cast<int>(std::lround(interval + delta));
    lower = std::clamp(lower, minimum, maximum);
    upper = std::clamp(upper, minimum, maximum);
    if (upper == lower && upper > 2 && upper < maximum) {
        upper = lower + 1;
    }
    return {lower, upper};
}

FsrsWeights Fsrs::clipped(const FsrsWeights& w) {
    struct Range {
        double low, high;
    };
    // The optimiser's ranges; w17 and w18 as for one relearning step.
    static constexpr Range ranges[21] = {
        {0.001, 100},  {0.001, 100},  {0.001, 100}, {0.001, 100}, {1, 10},      {0.001, 4},
        {0.001, 4},    {0.001, 0.75}, {0, 4.5},     {0, 0.8},     {0.001, 3.5}, {0.001, 5},
        {0.001, 0.25}, {0.001, 0.9},  {0, 4},       {0, 1},       {1, 6},       {0, 2},
        {0, 2},        {0, 0.8},      {0.1, 0.8}};
    FsrsWeights out = w;
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = std::clamp(out[i], ranges[i].low, ranges[i].high);
    }
    return out;
}

Fsrs::Fsrs(const FsrsParameters& parameters) : parameters_(parameters) {
    FsrsWeights& w = parameters_.w;
    for (size_t i = 0; i < w.size(); ++i) {
        if (!std::isfinite(w[i])) {
            w[i] = kFsrsDefaultWeights[i];
        }
    }
    w = clipped(w);
    double& retention = parameters_.desiredRetention;
    retention = std::isfinite(retention) ? std::clamp(retention, 0.7, 0.99) : 0.9;
    parameters_.maximumInterval = std::max(parameters_.maximumInterval, 1);
    decay_ = -w[20];
    factor_ = std::pow(0.9, 1.0 / decay_) - 1.0;
}

namespace {
using DoubleModel = F::Model<double, FsrsWeights>;
}

MemoryState Fsrs::initialState(Rating rating) const {
    const auto s = DoubleModel(parameters_.w).initialState(ratingIndex(rating));
    return {s.stability, s.difficulty};
}

MemoryState Fsrs::nextState(MemoryState state, uint32_t elapsedDays, Rating rating) const {
    const auto s = DoubleModel(parameters_.w)
                       .nextState({state.stability, state.difficulty}, double(elapsedDays),
                                  ratingIndex(rating));
    return {s.stability, s.difficulty};
}

std::optional<MemoryState> Fsrs::memoryState(std::span<const DayReview> reviews) const {
    if (reviews.empty()) {
        return std::nullopt;
    }
    const DoubleModel model(parameters_.w);
    auto state = model.initialState(ratingIndex(reviews.front().rating));
    for (const DayReview& review : reviews.subspan(1)) {
        state = model.nextState(state, double(review.elapsedDays), ratingIndex(review.rating));
    }
    return MemoryState{state.stability, state.difficulty};
}

std::optional<MemoryState> Fsrs::memoryState(std::span<const Review> reviews,
                                             int utcOffsetMinutes) const {
    if (reviews.empty()) {
        return std::nullopt;
    }
    const DoubleModel model(parameters_.w);
    auto state = model.initialState(ratingIndex(reviews.front().rating));
    for (size_t i = 1; i < reviews.size(); ++i) {
        const uint32_t days =
            elapsedDays(reviews[i - 1].timeMs, reviews[i].timeMs, utcOffsetMinutes);
        state = model.nextState(state, double(days), ratingIndex(reviews[i].rating));
    }
    return MemoryState{state.stability, state.difficulty};
}

double Fsrs::retrievability(double stability, double elapsedDays) const {
    if (!(stability > 0)) {
        return 0;
    }
    elapsedDays = std::max(elapsedDays, 0.0);
    return std::pow(1.0 + factor_ * elapsedDays / stability, decay_);
}

double Fsrs::retrievabilityAt(const CardMemory& card, int64_t nowMs) const {
    const double days = double(std::max<int64_t>(nowMs - card.lastReviewMs, 0)) / kDayMs;
    return retrievability(card.stability, days);
}

double Fsrs::nextInterval(double stability, double desiredRetention) const {
    stability = std::max(stability, kMinStability);
    return stability / factor_ * (std::pow(desiredRetention, 1.0 / decay_) - 1.0);
}

int Fsrs::scheduledDays(double interval, RandomSource* random) const {
    return scheduledDays(interval, 1, random);
}

int Fsrs::scheduledDays(double interval, int minimum, RandomSource* random) const {
    const int maximum = parameters_.maximumInterval;
    minimum = std::clamp(minimum, 1, maximum);
    if (!std::isfinite(interval)) {
        return maximum;
    }
    if (parameters_.enableFuzz && random) {
        const FuzzRange range = fuzzRange(interval, minimum, maximum);
        const double fraction = double(random->next()) / (RandomSource::kMax + 1.0);
        const int days = range.lower + int(fraction * (1 + range.upper - range.lower));
        return std::min(days, range.upper);
    }
    return static_cast<int>(std::clamp(std::round(interval), double(minimum), double(maximum)));
}

NextStates Fsrs::nextStates(std::optional<MemoryState> current, uint32_t elapsedDays,
                            RandomSource* random) const {
    NextStates next;
    ScheduledState* states[] = {&next.again, &next.hard, &next.good, &next.easy};
    for (int rating = 1; rating <= 4; ++rating) {
        const Rating r = static_cast<Rating>(rating);
        ScheduledState& out = *states[rating - 1];
        out.memory = current ? nextState(*current, elapsedDays, r) : initialState(r);
        out.interval = nextInterval(out.memory.stability, parameters_.desiredRetention);
    }
    // As in Anki, each passing rating waits at least a day longer than the one below it.
    next.again.days = scheduledDays(next.again.interval, 1, random);
    next.hard.days = scheduledDays(next.hard.interval, 1, random);
    next.good.days = scheduledDays(next.good.interval, next.hard.days + 1, random);
    next.easy.days = scheduledDays(next.easy.interval, next.good.days + 1, random);
    return next;
}

std::vector<uint32_t> Fsrs::dueCards(std::span<const CardMemory> cards, int64_t nowMs) const {
    // Recall falls as elapsed time / stability grows, so the cards below the target are
    // those whose ratio exceeds the target's, and the lowest recall has the largest ratio:
    // no power needs taking per card.
    const double target = parameters_.desiredRetention;
    const double limit = (std::pow(target, 1.0 / decay_) - 1.0) / factor_;
    struct Due {
        double ratio;
        uint32_t index;
    };
    std::vector<Due> due;
    for (size_t i = 0; i < cards.size(); ++i) {
        const CardMemory& card = cards[i];
        if (!(card.stability > 0)) {
            continue;
        }
        const double ratio = double(nowMs - card.lastReviewMs) / kDayMs / card.stability;
        if (ratio > limit) {
            due.push_back({ratio, uint32_t(i)});
        }
    }
    std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
        return a.ratio != b.ratio ? a.ratio > b.ratio : a.index < b.index;
    });
    std::vector<uint32_t> indices(due.size());
    std::transform(due.begin(), due.end(), indices.begin(), [](const Due& d) { return d.index; });
    return indices;
}

int64_t localDay(int64_t timeMs, int utcOffsetMinutes) {
    const int64_t local = timeMs + int64_t(utcOffsetMinutes) * 60'000;
    return local >= 0 ? local / kDayMs : -((-local + kDayMs - 1) / kDayMs);
}

uint32_t Fsrs::elapsedDays(int64_t fromMs, int64_t toMs, int utcOffsetMinutes) {
    const int64_t days = localDay(toMs, utcOffsetMinutes) - localDay(fromMs, utcOffsetMinutes);
    return days > 0 ? static_cast<uint32_t>(std::min<int64_t>(days, UINT32_MAX)) : 0;
}
