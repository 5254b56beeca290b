// Timings of the memory model:
//   kartomatrix-bench fsrs-optimise [REVIEWS] [THREADS]   fit parameters to a simulated history
//   kartomatrix-bench fsrs-replay [REVIEWS]               memory states from histories
//   kartomatrix-bench fsrs-due [CARDS]                    pick the due cards
// The history is simulated: a learner whose memory follows FSRS-6 with parameters unlike
// the defaults reviews cards when they fall due, a little late now and then, and repeats a
// forgotten card once more on the same day.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <time.h>

#include "bench/bench_command.h"
#include "core/fsrs.h"
#include "core/fsrs_optimizer.h"

namespace {

class Random {
public:
    uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    double uniform() { return double(next() >> 11) / 9007199254740992.0; }

private:
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

constexpr int64_t kDayMs = 86'400'000;

Rating passingRating(Random& random) {
    const double u = random.uniform();
    return u < 0.15 ? Rating::Hard : u < 0.9 ? Rating::Good : Rating::Easy;
}

std::vector<CardReview> simulateHistory(size_t reviews) {
    FsrsWeights truth = kFsrsDefaultWeights;
    truth[0] = 0.5;
    truth[2] = 4.0;
    truth[8] = 1.6;
    truth[9] = 0.25;
    truth[11] = 1.8;
    truth[20] = 0.35;
    const Fsrs learner(FsrsParameters{truth, 0.9, 36500, false});
    Random random;
    std::vector<CardReview> history;
    history.reserve(reviews + 64);
    for (int64_t card = 1; history.size() < reviews; ++card) {
        int64_t day = int64_t(random.next() % 730);
        const int perCard = 4 + int(random.next() % 12);
        std::optional<MemoryState> state;
        int64_t lastDay = day;
        for (int i = 0; i < perCard && history.size() < reviews; ++i) {
            Rating rating = Rating::Good;
            if (!state) {
                const double u = random.uniform();
                rating = u < 0.25   ? Rating::Again
                         : u < 0.35 ? Rating::Hard
                         : u < 0.9  ? Rating::Good
                                    : Rating::Easy;
            } else {
                const double recall =
                    learner.retrievability(state->stability, double(day - lastDay));
                rating = random.uniform() < recall ? passingRating(random) : Rating::Again;
            }
            const int64_t time = day * kDayMs + int64_t(random.next() % (kDayMs / 2));
            history.push_back({card, time, rating});
            state = state ? learner.nextState(*state, uint32_t(day - lastDay), rating)
                          : learner.initialState(rating);
            lastDay = day;
            if (rating == Rating::Again) {
                history.push_back({card, time + 600'000, Rating::Good});
                state = learner.nextState(*state, 0, Rating::Good);
            }
            const double interval = learner.nextInterval(state->stability, 0.9);
            day += std::max<int64_t>(1, std::llround(interval)) + int64_t(random.next() % 3);
        }
    }
    history.resize(reviews);
    return history;
}

size_t argument(const std::vector<std::string>& args, size_t index, size_t fallback) {
    return args.size() > index ? std::stoul(args[index]) : fallback;
}

int runOptimise(const std::vector<std::string>& args) {
    const size_t reviews = argument(args, 0, 100'000);
    const int threads = int(argument(args, 1, 2));
    const std::vector<CardReview> history = simulateHistory(reviews);
    const auto start = Clock::now();
    const double cpuStart = cpuMs();
    size_t calls = 0;
    const OptimiserResult result = FsrsOptimizer::optimise(
        history, kFsrsDefaultWeights, 0,
        [&](size_t, size_t) {
            ++calls;
            return true;
        },
        threads);
    const double ms = msSince(start);
    const double cpu = cpuMs() - cpuStart;
    std::printf(
        "fsrs-optimise reviews=%zu threads=%d wall_ms=%.0f cpu_ms=%.0f progress_calls=%zu\n",
        reviews, threads, ms, cpu, calls);
    std::printf("  before: log_loss=%.4f rmse_bins=%.4f (%zu predicted reviews)\n",
                result.before.logLoss, result.before.rmseBins, result.before.reviews);
    std::printf("  after:  log_loss=%.4f rmse_bins=%.4f better=%d\n", result.after.logLoss,
                result.after.rmseBins, result.better);
    std::printf("  w =");
    for (double w : result.weights) {
        std::printf(" %.4f", w);
    }
    std::printf("\n");
    return 0;
}

int runReplay(const std::vector<std::string>& args) {
    const size_t reviews = argument(args, 0, 1'000'000);
    const std::vector<CardReview> history = simulateHistory(reviews);
    std::vector<Review> card;
    const Fsrs fsrs;
    double checksum = 0;
    const auto start = Clock::now();
    const double cpuStart = cpuMs();
    for (size_t i = 0; i < history.size();) {
        card.clear();
        const int64_t id = history[i].cardId;
        for (; i < history.size() && history[i].cardId == id; ++i) {
            card.push_back({history[i].timeMs, history[i].rating});
        }
        checksum += fsrs.memoryState(std::span<const Review>(card))->stability;
    }
    const double ms = msSince(start);
    const double cpu = cpuMs() - cpuStart;
    std::printf(
        "fsrs-replay reviews=%zu wall_ms=%.1f cpu_ms=%.1f reviews_per_cpu_second=%.0f "
        "(checksum %.1f)\n",
        reviews, ms, cpu, reviews / (cpu / 1000.0), checksum);
    return 0;
}

int runDue(const std::vector<std::string>& args) {
    const size_t n = argument(args, 0, 1'000'000);
    Random random;
    const int64_t now = 1000 * kDayMs;
    std::vector<CardMemory> cards(n);
    for (CardMemory& card : cards) {
        card.stability = 0.5 + random.uniform() * 200;
        card.difficulty = 1 + random.uniform() * 9;
        card.lastReviewMs = now - int64_t(random.uniform() * 100 * kDayMs);
    }
    const Fsrs fsrs;
    double bestWall = 1e300, bestCpu = 1e300;
    size_t due = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        const double cpuStart = cpuMs();
        due = fsrs.dueCards(cards, now).size();
        bestCpu = std::min(bestCpu, cpuMs() - cpuStart);
        bestWall = std::min(bestWall, msSince(start));
    }
    std::printf("fsrs-due cards=%zu due=%zu best_of_5: wall_ms=%.1f cpu_ms=%.1f\n", n, due,
                bestWall, bestCpu);
    return 0;
}

const BenchCommand optimiseCommand{"fsrs-optimise", "[REVIEWS] [THREADS]", runOptimise};
const BenchCommand replayCommand{"fsrs-replay", "[REVIEWS]", runReplay};
const BenchCommand dueCommand{"fsrs-due", "[CARDS]", runDue};

}  // namespace
