#pragma once

// The figures of the Progress window, worked out from a list's review history: when cards
// fall due, how much was reviewed on each day, how well reviews were recalled against the
// retention the learner asked for, the time spent, and a daily goal with its streak.
//
// Days are local days: a day begins at local midnight, given as a UTC offset in minutes,
// the same way the memory model counts days. A day is numbered by whole days since
// 1970-01-01 in local time.

#include <cstdint>
#include <span>
#include <vector>

#include "core/fsrs.h"
#include "core/rating.h"

// One review as the figures need it.
struct ProgressReview {
    int64_t cardId = 0;
    int64_t timeMs = 0;  // UTC, milliseconds since 1970
    Rating rating = Rating::Good;
    int32_t durationMs = 0;
};

// Retention measured over one period (a week or a month): the share of reviews not rated
// Again among reviews of cards that had been reviewed before.
struct RetentionPoint {
    int64_t firstDay = 0;  // the local day the period begins on
    int reviews = 0;       // reviews of cards seen before, in the period
    double retention = 0;  // 0..1; 0 when there were no such reviews
};

enum class RetentionPeriod { Week, Month };

struct ProgressSettings {
    int64_t nowMs = 0;
    int utcOffsetMinutes = 0;
    int dueDays = 30;        // days ahead in the due forecast, today included
    int activityDays = 365;  // days back in the calendar and the time spent, today included
    RetentionPeriod retentionPeriod = RetentionPeriod::Week;
    int dailyGoal = 0;  // reviews a day; 0: no goal
};

struct ProgressFigures {
    int64_t today = 0;  // the local day of nowMs
    // dueByDay[i]: reviewed cards falling due on day today + i; cards already overdue count
    // on today.
    std::vector<int> dueByDay;
    // reviewsByDay[i] and secondsByDay[i]: day today - (activityDays - 1) + i.
    std::vector<int> reviewsByDay;
    std::vector<int64_t> secondsByDay;
    std::vector<RetentionPoint> retention;  // oldest period first, periods with reviews only
    double desiredRetention = 0.9;
    // Days in a row, ending today or yesterday, on which at least dailyGoal reviews were
    // given; today counts once its goal is met and does not break the streak before. Zero
    // without a goal.
    int streak = 0;
    int reviewsToday = 0;
    bool goalMetToday = false;
};

// The year, month (1..12) and day (1..31) of a local day.
struct CivilDate {
    int year = 1970, month = 1, day = 1;
};
CivilDate civilDate(int64_t localDay);

// Works out every figure. `reviews` may come in any order; `dueTimesMs` are the times the
// list's reviewed cards fall due (UTC milliseconds; cards never reviewed are left out).
ProgressFigures progressFigures(std::span<const ProgressReview> reviews,
                                std::span<const int64_t> dueTimesMs,
                                const FsrsParameters& parameters, const ProgressSettings& settings);

// When a card with this memory falls due: the moment its recall reaches the desired
// retention, unrounded, as the due list chooses cards.
int64_t dueTimeMs(const Fsrs& fsrs, const CardMemory& card);
