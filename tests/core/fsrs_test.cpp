// The published test vectors of the reference implementations. Where a row names fsrs-rs
// it is open-spaced-repetition/fsrs-rs, src/inference.rs or src/model.rs (the FSRS-6
// version with the defaults 0.212, 1.2931, ...); py-fsrs is open-spaced-repetition/py-fsrs,
// tests/test_basic.py. The references compute in single precision; this model in double,
// hence tolerances of a few units in the sixth digit.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/fsrs.h"
#include "core/fsrs_optimizer.h"
#include "tests/support/fixed_random.h"

namespace {

constexpr Rating A = Rating::Again, H = Rating::Hard, G = Rating::Good, E = Rating::Easy;

// fsrs-rs src/inference.rs, test PARAMETERS: a 19-parameter (FSRS-5) set, filled to 21 as
// fsrs-rs fills it (w19 = 0, decay 0.5).
constexpr FsrsWeights kFsrs5Weights = {
    0.6845422,    1.6790825,  4.7349424, 10.042885,  7.4410233,   0.64219797, 1.071918,
    0.0025195254, 1.432437,   0.1544,    0.8692766,  2.0696752,   0.0953,     0.2975,
    2.4691248,    0.19542035, 3.201072,  0.18046261, 0.121442534, 0.0,        0.5};

FsrsParameters noFuzz(const FsrsWeights& w = kFsrsDefaultWeights) {
    FsrsParameters p;
    p.w = w;
    p.enableFuzz = false;
    return p;
}

MemoryState replay(const Fsrs& fsrs, std::vector<DayReview> reviews) {
    return *fsrs.memoryState(std::span<const DayReview>(reviews));
}

TEST(Fsrs, MemoryStatesOfReferenceHistories) {
    FsrsWeights noSameDay = kFsrsDefaultWeights;
    noSameDay[17] = noSameDay[18] = noSameDay[19] = 0;
    struct Row {
        const char* source;
        FsrsWeights w;
        std::vector<DayReview> reviews;
        double stability, difficulty;
    };
    const std::vector<Row> rows = {
        // fsrs-rs inference.rs test_memory_state; py-fsrs test_basic.py test_memo_state
        {"defaults",
         kFsrsDefaultWeights,
         {{0, A}, {0, G}, {1, G}, {3, G}, {8, G}, {21, G}},
         53.62691,
         6.3574867},
        {"same-day terms off",
         noSameDay,
         {{0, A}, {0, G}, {1, G}, {3, G}, {8, G}, {21, G}},
         53.335106,
         6.3574867},
        // fsrs-rs inference.rs test_memo_state
        {"FSRS-5 set",
         kFsrs5Weights,
         {{0, A}, {1, G}, {3, G}, {8, G}, {21, G}},
         31.722992,
         7.382128},
        // fsrs-rs model.rs test_forward: two reviews, the second 1 or 2 days later
        {"again, again", kFsrsDefaultWeights, {{0, A}, {1, A}}, 0.10088589, 8.806304},
        {"hard, hard", kFsrsDefaultWeights, {{0, H}, {1, H}}, 3.2494123, 6.7404594},
        {"good, good", kFsrsDefaultWeights, {{0, G}, {1, G}}, 7.3153, 2.1112142},
        {"easy, easy", kFsrsDefaultWeights, {{0, E}, {1, E}}, 18.014914, 1.0},
        {"again, again 2 days", kFsrsDefaultWeights, {{0, A}, {2, A}}, 0.112798266, 8.806304},
        {"hard, hard 2 days", kFsrsDefaultWeights, {{0, H}, {2, H}}, 4.4694576, 6.7404594},
    };
    for (const Row& row : rows) {
        const MemoryState s = replay(Fsrs(noFuzz(row.w)), row.reviews);
        EXPECT_NEAR(s.stability, row.stability, 2e-5 * row.stability) << row.source;
        EXPECT_NEAR(s.difficulty, row.difficulty, 2e-5 * row.difficulty) << row.source;
    }
}

TEST(Fsrs, NextStatesOfReferenceCard) {
    // fsrs-rs inference.rs test_next_states: the state after four reviews, then every
    // rating 21 days later; with 90 % retention the interval equals the stability.
    const Fsrs fsrs(noFuzz(kFsrs5Weights));
    const MemoryState state = replay(fsrs, {{0, A}, {1, G}, {3, G}, {8, G}});
    const NextStates next = fsrs.nextStates(state, 21);
    struct Row {
        Rating rating;
        double stability, difficulty;
        int days;
    };
    for (const Row& row : {Row{A, 2.9691455, 8.000659, 3}, Row{H, 17.091452, 7.6913934, 17},
                           Row{G, 31.722992, 7.382128, 32}, Row{E, 71.7502, 7.0728626, 72}}) {
        const ScheduledState& s = next[row.rating];
        EXPECT_NEAR(s.memory.stability, row.stability, 2e-5 * row.stability);
        EXPECT_NEAR(s.memory.difficulty, row.difficulty, 2e-5 * row.difficulty);
        EXPECT_NEAR(s.interval, row.stability, 2e-5 * row.stability);
        EXPECT_EQ(s.days, row.days);
    }
    // fsrs-rs model.rs test_next_stability, same-day part: stability 5 reviewed again the
    // same day; a pass never lowers it.
    const Fsrs defaults(noFuzz());
    const NextStates sameDayDefaults = defaults.nextStates(MemoryState{5, 3}, 0);
    const double expectedSameDay[] = {1.596818, 5.0, 5.0, 8.12961};
    for (Rating r : {A, H, G, E}) {
        EXPECT_NEAR(sameDayDefaults[r].memory.stability, expectedSameDay[int(r) - 1], 1e-5);
    }
    // fsrs-rs inference.rs test_memo_state, second part
    const MemoryState good = fsrs.nextStates(MemoryState{20.925528, 7.005062}, 21).good.memory;
    EXPECT_NEAR(good.stability, 40.87456, 1e-3);
    EXPECT_NEAR(good.difficulty, 6.9913807, 1e-4);
}

TEST(Fsrs, RetrievabilityAndIntervalsOfReference) {
    // fsrs-rs model.rs test_power_forgetting_curve (defaults)
    const Fsrs fsrs(noFuzz());
    const double days[] = {0, 1, 2, 3, 4, 5}, stability[] = {1, 2, 3, 4, 4, 2},
                 recall[] = {1.0, 0.9403443, 0.9253786, 0.9185229, 0.9, 0.8261359};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(fsrs.retrievability(stability[i], days[i]), recall[i], 1e-6) << i;
    }
    // fsrs-rs inference.rs test_current_retrievability (decay 0.2)
    FsrsWeights w = kFsrsDefaultWeights;
    w[20] = 0.2;
    const Fsrs decay02(noFuzz(w));
    const double recall02[] = {1.0, 0.9, 0.84028935, 0.7985001};
    for (int t = 0; t < 4; ++t) {
        EXPECT_NEAR(decay02.retrievability(1.0, t), recall02[t], 1e-6) << t;
    }
    // fsrs-rs inference.rs test_next_interval: stability 1, retention 0.1 .. 1.0, rounded
    // (the first one, over three million days, differs in single precision by 3 days)
    const double expected[] = {3116766, 34793, 2508, 387, 90, 27, 9, 3, 1, 1};
    for (int i = 1; i <= 10; ++i) {
        const double interval = fsrs.nextInterval(1.0, i / 10.0);
        EXPECT_NEAR(std::max(1.0, std::round(interval)), expected[i - 1], 1e-6 * expected[i - 1])
            << i;
    }
    // fsrs-rs inference.rs test_next_states: next_interval(121.01552, 0.9) = 121.01551
    EXPECT_NEAR(Fsrs(noFuzz(kFsrs5Weights)).nextInterval(121.01552, 0.9), 121.01551, 1e-4);
}

TEST(Fsrs, ReviewTimesCountWholeDaysAtLocalMidnight) {
    constexpr int64_t hour = 3'600'000, day = 24 * hour;
    const Fsrs fsrs(noFuzz());
    // 23:00 to 01:00 is the next day; 01:00 to 23:00 the same day; at UTC+2 the first
    // pair is on the same day; a clock set back counts as the same day.
    EXPECT_EQ(Fsrs::elapsedDays(23 * hour, day + hour), 1u);
    EXPECT_EQ(Fsrs::elapsedDays(hour, 23 * hour), 0u);
    EXPECT_EQ(Fsrs::elapsedDays(21 * hour, day + 20 * hour, 120), 1u);
    EXPECT_EQ(Fsrs::elapsedDays(20 * hour, 23 * hour, 120), 1u);
    EXPECT_EQ(Fsrs::elapsedDays(5 * day, 2 * day), 0u);
    EXPECT_EQ(Fsrs::elapsedDays(-day - hour, hour), 2u);
    // The py-fsrs memo-state history, as times 12:30 UTC on consecutive review days.
    const int64_t start = 19325 * day + 12 * hour + 30 * 60'000;
    std::vector<Review> reviews;
    int64_t t = start;
    for (auto [gap, rating] : {std::pair{0, A}, {0, G}, {1, G}, {3, G}, {8, G}, {21, G}}) {
        t += gap * day;
        reviews.push_back({t, rating});
    }
    const MemoryState s = *fsrs.memoryState(std::span<const Review>(reviews));
    EXPECT_NEAR(s.stability, 53.62691, 1e-3);
    EXPECT_FALSE(fsrs.memoryState(std::span<const Review>()).has_value());
}

TEST(Fsrs, FuzzStaysInAnkisRangeAndKeepsTheOrder) {
    struct Row {
        double interval;
        int lower, upper;
    };
    // Anki's fuzz: 1 day plus 15 % of the days in 2.5..7, 10 % in 7..20, 5 % beyond.
    for (const Row& row : {Row{1.4, 1, 1}, Row{2.4, 2, 2}, Row{3, 2, 4}, Row{7, 5, 9},
                           Row{20, 17, 23}, Row{100, 93, 107}, Row{36490, 34664, 36500}}) {
        const FuzzRange r = fuzzRange(row.interval, 1, 36500);
        EXPECT_EQ(r.lower, row.lower) << row.interval;
        EXPECT_EQ(r.upper, row.upper) << row.interval;
    }
    FsrsParameters p;  // fuzz on
    const Fsrs fsrs(p);
    FixedRandom lowest({0, 0, 0, 0}), highest({32767, 32767, 32767, 32767});
    const MemoryState state{30.0, 5.0};
    const NextStates low = fsrs.nextStates(state, 30, &lowest);
    const NextStates high = fsrs.nextStates(state, 30, &highest);
    const NextStates plain = Fsrs(noFuzz()).nextStates(state, 30);
    EXPECT_EQ(lowest.draws, 4);
    for (Rating r : {A, H, G, E}) {
        const FuzzRange range = fuzzRange(plain[r].interval, 1, 36500);
        EXPECT_GE(low[r].days, std::min(range.lower, plain[r].days));
        EXPECT_LE(high[r].days, std::max(range.upper, plain[r].days));
        EXPECT_LE(low[r].days, high[r].days);
    }
    for (const NextStates* n : {&low, &high, &plain}) {
        EXPECT_LT(n->hard.days, n->good.days);
        EXPECT_LT(n->good.days, n->easy.days);
    }
    // The maximum interval caps every rating, fuzz or not.
    p.maximumInterval = 10;
    const NextStates capped = Fsrs(p).nextStates(MemoryState{400, 5}, 400, &highest);
    EXPECT_EQ(capped.easy.days, 10);
}

TEST(Fsrs, DamagedParametersStaySane) {
    FsrsParameters p = noFuzz();
    p.w[8] = std::nan("");
    p.w[20] = 5.0;  // beyond the decay's range
    p.desiredRetention = 1.5;
    p.maximumInterval = -3;
    const Fsrs fsrs(p);
    EXPECT_EQ(fsrs.parameters().w[8], kFsrsDefaultWeights[8]);
    EXPECT_EQ(fsrs.parameters().w[20], 0.8);
    EXPECT_EQ(fsrs.parameters().desiredRetention, 0.99);
    const NextStates next = fsrs.nextStates(MemoryState{5, 5}, 3);
    EXPECT_EQ(next.easy.days, 1);  // maximum interval raised to 1 day
    EXPECT_TRUE(std::isfinite(next.good.memory.stability));
}

TEST(Fsrs, DueCardsAreThoseBelowTheRetentionLowestFirst) {
    constexpr int64_t day = 86'400'000;
    const Fsrs fsrs(noFuzz());
    const int64_t now = 100 * day;
    const std::vector<CardMemory> cards = {
        {10, 5, now - 5 * day},   // recall above 90 %
        {10, 5, now - 30 * day},  // well below
        {0, 0, now - 90 * day},   // never reviewed
        {2, 5, now - 3 * day},    // below
        {10, 5, now - 11 * day},  // just below
        {10, 5, now + 5 * day},   // reviewed "later" (clock set back): not due
    };
    EXPECT_EQ(fsrs.dueCards(cards, now), (std::vector<uint32_t>{1, 3, 4}));
    EXPECT_LT(fsrs.retrievabilityAt(cards[4], now), 0.9);
    EXPECT_EQ(fsrs.retrievabilityAt(cards[5], now), 1.0);
}

// fsrs-rs src/training.rs test_loss_and_grad (the FSRS-6 version with today's defaults):
// four review sequences, their summed log loss and its gradient, an Adam step at rate 0.04
// with clipping, and the same again from there.
TEST(FsrsOptimizer, LossGradientAndAdamStepOfReference) {
    FsrsWeights w = kFsrsDefaultWeights;
    auto item = [](std::vector<uint32_t> days, std::vector<int> ratings) {
        FsrsItem it;
        for (size_t i = 0; i < days.size(); ++i) {
            it.reviews.push_back({days[i], static_cast<Rating>(ratings[i])});
        }
        return it;
    };
    const std::vector<FsrsItem> items = {
        item({0, 0, 0, 0, 1, 3, 4}, {1, 3, 1, 4, 3, 2, 3}),
        item({0, 0, 0, 1, 3, 6, 11}, {2, 4, 4, 3, 1, 3, 3}),
        item({0, 0, 0, 1, 3, 6, 12}, {3, 2, 4, 3, 3, 3, 3}),
        item({0, 0, 1, 3, 5, 12, 23}, {4, 4, 3, 3, 3, 4, 1}),
    };
    struct Step {
        double loss;
        FsrsWeights gradient, after;
    };
    const Step steps[] = {
        {4.0466027,
         {-0.095688485, -0.0051607806, -0.0012249565, 0.007462064,  0.03650761, -0.082112335,
          0.0593964,    -2.1474836,    0.57626534,    -2.8751316,   0.7154875,  -0.028993709,
          0.0099172965, -0.2189217,    -0.0017800558, -0.089381434, 0.299141,   0.068104014,
          -0.011605468, -0.25398168,   0.27700496},
         {0.252,       1.3331,     2.3464994,  8.2556, 6.3733,     0.87340003,  2.9794,
          0.040999997, 1.8322,     0.20660001, 0.756,  1.5235,     0.021400042, 0.3029,
          1.6882998,   0.64140004, 1.8329,     0.5025, 0.13119997, 0.1058,      0.1142}},
        {3.767796,
         {-0.040530164, -0.0041278866, -0.0010157757, 0.007239434,  0.009321215, -0.120117955,
          0.039143264,  -0.8628009,    0.5794302,     -2.5713828,   0.7669307,   -0.024242667,
          0.0,          -0.16912507,   -0.0017008218, -0.061857328, 0.28093633,  0.064058185,
          0.0063592787, -0.1903223,    0.6257775},
         {0.2882918,  1.3726242, 2.3861322, 8.215636,   6.339965,   0.9130969,  2.940639,
          0.07696985, 1.7921946, 0.2464217, 0.71595186, 1.5631561,  0.001,      0.34230903,
          1.7282416,  0.68038,   1.7929853, 0.46258268, 0.14039303, 0.14509967, 0.1}},
    };
    FsrsOptimizer::Adam adam;
    for (const Step& step : steps) {
        const auto lg = FsrsOptimizer::lossAndGradient(w, items, {});
        EXPECT_NEAR(lg.loss, step.loss, 1e-5);
        for (int i = 0; i < 21; ++i) {
            EXPECT_NEAR(lg.gradient[i], step.gradient[i], 1e-4 + 1e-4 * std::abs(step.gradient[i]))
                << "gradient " << i;
        }
        adam.step(w, lg.gradient, 0.04);
        for (int i = 0; i < 21; ++i) {
            EXPECT_NEAR(w[i], step.after[i], 1e-5) << "parameter " << i;
        }
    }
}

// A learner whose memory follows FSRS-6 with other parameters than the defaults, reviewing
// each card between half and three times its interval after the last review.
std::vector<CardReview> simulatedHistory(size_t reviews) {
    FsrsWeights truth = kFsrsDefaultWeights;
    truth[0] = 0.6, truth[8] = 1.5, truth[20] = 0.4;
    const Fsrs learner(noFuzz(truth));
    uint64_t seed = 12345;
    auto uniform = [&] {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return double(seed >> 11) / 9007199254740992.0;
    };
    std::vector<CardReview> history;
    for (int64_t card = 1; history.size() < reviews; ++card) {
        int64_t day = int64_t(uniform() * 300), last = day;
        const Rating first = static_cast<Rating>(1 + int(uniform() * 4));
        MemoryState state = learner.initialState(first);
        history.push_back({card, day * 86'400'000, first});
        for (int i = 0; i < 8; ++i) {
            const double interval = learner.nextInterval(state.stability, 0.9);
            day += std::max<int64_t>(1, std::llround(interval * (0.5 + 2.5 * uniform())));
            const bool recall = uniform() < learner.retrievability(state.stability, day - last);
            const Rating rating = recall ? (uniform() < 0.2 ? E : G) : A;
            history.push_back({card, day * 86'400'000, rating});
            state = learner.nextState(state, uint32_t(day - last), rating);
            last = day;
        }
    }
    return history;
}

TEST(FsrsOptimizer, FitsASimulatedLearnerReproduciblyAndCanBeCancelled) {
    const std::vector<CardReview> history = simulatedHistory(6000);
    size_t calls = 0, lastDone = 0, total = 0;
    const OptimiserResult two = FsrsOptimizer::optimise(
        history, kFsrsDefaultWeights, 0,
        [&](size_t done, size_t all) {
            EXPECT_GT(done, lastDone);
            lastDone = done, total = all, ++calls;
            return true;
        },
        2);
    EXPECT_EQ(two.outcome, OptimiserResult::Outcome::Optimised);
    EXPECT_TRUE(two.better);
    EXPECT_LT(two.after.logLoss, two.before.logLoss);
    EXPECT_GT(calls, 5u);
    EXPECT_EQ(lastDone, total);
    // fsrs-rs 6.5.0 compute_parameters (through ts-fsrs's Node binding) on the items of this
    // history. Its batches come in another random order, hence the tolerance; both fits
    // score alike (log loss 0.4080 and 0.4081 by fsrs-rs's own evaluation).
    const FsrsWeights fsrsRs = {0.5744, 1.2034, 2.6606, 6.1007, 6.5937, 0.7191, 2.9851,
                                0.0035, 1.8033, 0.1767, 0.7532, 1.4779, 0.0649, 0.2342,
                                1.6571, 0.6014, 2.0080, 0.5425, 0.0912, 0.0658, 0.3047};
    for (int i = 0; i < 21; ++i) {
        EXPECT_NEAR(two.weights[i], fsrsRs[i], 0.15) << i;
    }
    // The same fit on one thread; in any order of the history.
    std::vector<CardReview> reversed(history.rbegin(), history.rend());
    const OptimiserResult one = FsrsOptimizer::optimise(reversed, kFsrsDefaultWeights, 0, {}, 1);
    EXPECT_EQ(one.weights, two.weights);

    int allowed = 2;
    const OptimiserResult stopped = FsrsOptimizer::optimise(
        history, kFsrsDefaultWeights, 0, [&](size_t, size_t) { return --allowed > 0; });
    EXPECT_EQ(stopped.outcome, OptimiserResult::Outcome::Cancelled);
    EXPECT_EQ(stopped.weights, kFsrsDefaultWeights);
    EXPECT_FALSE(stopped.better);
}

TEST(FsrsOptimizer, RefusesTooLittleHistoryAndSurvivesDegenerateOnes) {
    // Below 1,000 reviews the command is not offered and changes nothing.
    const std::vector<CardReview> few = simulatedHistory(999);
    EXPECT_FALSE(FsrsOptimizer::enoughReviewsToOptimise(few.size()));
    const OptimiserResult refused = FsrsOptimizer::optimise(few, kFsrs5Weights);
    EXPECT_EQ(refused.outcome, OptimiserResult::Outcome::NotEnoughReviews);
    EXPECT_EQ(refused.weights, kFsrs5Weights);
    // Without any review a day after another there is nothing to fit.
    EXPECT_EQ(FsrsOptimizer::computeParameters({}), kFsrsDefaultWeights);

    // py-fsrs tests/test_optimizer.py test_optimize_review_logs_with_difficulty_1_cards:
    // 100 cards rated Easy every day for 100 days must not break the fit.
    std::vector<CardReview> easy;
    for (int64_t card = 0; card < 100; ++card) {
        for (int64_t day = 0; day < 100; ++day) {
            easy.push_back({card, 19325 * 86'400'000LL + day * 86'400'000LL, E});
        }
    }
    const OptimiserResult result = FsrsOptimizer::optimise(easy, kFsrsDefaultWeights);
    EXPECT_EQ(result.outcome, OptimiserResult::Outcome::Optimised);
    for (int i = 0; i < 21; ++i) {
        EXPECT_TRUE(std::isfinite(result.weights[i])) << i;
        EXPECT_EQ(Fsrs::clipped(result.weights)[i], result.weights[i]) << i;
    }
}

}  // namespace
