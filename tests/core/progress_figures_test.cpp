#include <gtest/gtest.h>

#include <vector>

#include "core/progress_figures.h"

namespace {

constexpr int64_t kDay = 86'400'000;
constexpr int64_t kMonday = 20794;  // 2026-12-07, a Monday
// Noon UTC on a day relative to that Monday.
int64_t noon(int64_t dayFromMonday) {
    return (kMonday + dayFromMonday) * kDay + kDay / 2;
}

TEST(ProgressFigures, LocalDaysAndDates) {
    struct Row {
        int64_t timeMs;
        int offset;
        int64_t day;
        CivilDate date;
    } rows[] = {
        {0, 0, 0, {1970, 1, 1}},
        {-1, 0, -1, {1969, 12, 31}},
        {11016 * kDay, 0, 11016, {2000, 2, 29}},
        // 23:30 UTC is already the next day one hour east, still the same day west.
        {kMonday * kDay + 23 * 3'600'000 + 1'800'000, 60, kMonday + 1, {2026, 12, 8}},
        {kMonday * kDay + 1'800'000, -60, kMonday - 1, {2026, 12, 6}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.timeMs);
        EXPECT_EQ(localDay(row.timeMs, row.offset), row.day);
        const CivilDate date = civilDate(row.day);
        EXPECT_EQ(date.year, row.date.year);
        EXPECT_EQ(date.month, row.date.month);
        EXPECT_EQ(date.day, row.date.day);
    }
}

TEST(ProgressFigures, DueForecastCountsOverdueCardsToday) {
    FsrsParameters parameters;
    ProgressSettings settings{.nowMs = noon(0)};
    // At 90 % desired retention a card falls due `stability` days after its review.
    const std::vector<CardMemory> cards = {
        {10, 5, noon(0)},   // due in 10 days
        {2, 5, noon(-5)},   // overdue: today
        {0, 0, 0},          // never reviewed: not in the forecast
        {100, 5, noon(0)},  // beyond the 30 days
        {1.5, 5, noon(0)},  // due in a day and a half: the day after tomorrow at midnight
    };
    std::vector<int64_t> due;
    const Fsrs fsrs(parameters);
    for (const CardMemory& card : cards)
        if (card.stability > 0)
            due.push_back(dueTimeMs(fsrs, card));
    const ProgressFigures figures = progressFigures({}, due, parameters, settings);
    ASSERT_EQ(figures.dueByDay.size(), 30u);
    std::vector<int> expected(30, 0);
    expected[0] = 1;
    expected[2] = 1;
    expected[10] = 1;
    EXPECT_EQ(figures.dueByDay, expected);
}

TEST(ProgressFigures, ActivityRetentionAndStreak) {
    const Rating A = Rating::Again, G = Rating::Good;
    // Given out of order: the figures sort by time.
    const std::vector<ProgressReview> reviews = {
        {1, noon(-7), G, 4000},  // first sight of card 1: not in the retention
        {2, noon(-6), A, 2000},  // first sight of card 2
        {1, noon(-3), A, 3000},  // last week: 1 of 2 recalled
        {2, noon(-2), G, 1000},
        {1, noon(-1), G, 1000},
        {2, noon(0), G, 1600},  // this week: 2 of 2
        {1, noon(0) + 1000, G, 1500},
        {3, noon(-400), G, 1000},  // before the calendar year: only in retention and streak
    };
    ProgressSettings settings{.nowMs = noon(0) + 60'000, .dailyGoal = 1};
    const ProgressFigures figures = progressFigures(reviews, {}, FsrsParameters{}, settings);
    ASSERT_EQ(figures.reviewsByDay.size(), 365u);
    EXPECT_EQ(figures.reviewsByDay.back(), 2);
    EXPECT_EQ(figures.reviewsByDay[364 - 3], 1);
    EXPECT_EQ(figures.secondsByDay.back(), 3);  // 3.1 s
    EXPECT_EQ(figures.reviewsToday, 2);

    ASSERT_EQ(figures.retention.size(), 2u);
    EXPECT_EQ(figures.retention[0].firstDay, kMonday - 7);
    EXPECT_EQ(figures.retention[0].reviews, 3);
    EXPECT_DOUBLE_EQ(figures.retention[0].retention, 2.0 / 3.0);
    EXPECT_EQ(figures.retention[1].firstDay, kMonday);
    EXPECT_DOUBLE_EQ(figures.retention[1].retention, 1.0);

    struct Row {
        const char* name;
        int goal;
        int streak;
        bool metToday;
    } rows[] = {
        {"no goal", 0, 0, false},
        // Days -3..0 met; -4 and -5 had none.
        {"goal of one", 1, 4, true},
        // Only today reached two; yesterday missed ends it.
        {"goal of two", 2, 1, true},
        {"goal of three: today not yet met, yesterday missed", 3, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        settings.dailyGoal = row.goal;
        const ProgressFigures f = progressFigures(reviews, {}, FsrsParameters{}, settings);
        EXPECT_EQ(f.streak, row.streak);
        EXPECT_EQ(f.goalMetToday, row.metToday);
    }
}

TEST(ProgressFigures, TodayNotYetMetKeepsTheStreakOfThePastDays) {
    std::vector<ProgressReview> reviews;
    for (int day = -3; day <= -1; ++day)
        reviews.push_back({day, noon(day), Rating::Good, 0});
    ProgressSettings settings{.nowMs = noon(0), .dailyGoal = 1};
    ProgressFigures figures = progressFigures(reviews, {}, FsrsParameters{}, settings);
    EXPECT_EQ(figures.streak, 3);
    EXPECT_FALSE(figures.goalMetToday);
    // Monthly retention groups from the first of the month.
    settings.retentionPeriod = RetentionPeriod::Month;
    reviews.push_back({-1, noon(0), Rating::Good, 0});
    figures = progressFigures(reviews, {}, FsrsParameters{}, settings);
    EXPECT_EQ(figures.streak, 4);
    ASSERT_EQ(figures.retention.size(), 1u);
    EXPECT_EQ(figures.retention[0].firstDay, kMonday - 6);  // 2026-12-01
}

}  // namespace
