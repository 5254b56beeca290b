#include "core/progress_figures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr int64_t kMsPerDay = 86'400'000;

int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// The first day of the period that holds `day`: weeks begin on Monday, months on the 1st.
int64_t periodStart(int64_t day, RetentionPeriod period) {
    if (period == RetentionPeriod::Week)
        return day - ((day + 3) - floorDiv(day + 3, 7) * 7);  // 1970-01-01 was a Thursday
    const CivilDate date = civilDate(day);
    return day - (date.day - 1);
}

}  // namespace

CivilDate civilDate(int64_t localDay) {
    // Howard Hinnant's days-to-civil algorithm.
    const int64_t z = localDay + 719468;
    const int64_t era = floorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int day = int(doy - (153 * mp + 2) / 5 + 1);
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    const int year = int(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

int64_t dueTimeMs(const Fsrs& fsrs, const CardMemory& card) {
    const double interval = fsrs.nextInterval(card.stability, fsrs.parameters().desiredRetention);
    const double due = double(card.lastReviewMs) + interval * double(kMsPerDay);
    return due >= 9.0e18 ? INT64_MAX : int64_t(due);
}

ProgressFigures progressFigures(std::span<const ProgressReview> reviews,
                                std::span<const int64_t> dueTimesMs,
                                const FsrsParameters& parameters,
                                const ProgressSettings& settings) {
    ProgressFigures figures;
    const int offset = settings.utcOffsetMinutes;
    figures.today = localDay(settings.nowMs, offset);
    figures.desiredRetention = Fsrs(parameters).parameters().desiredRetention;

    // Cards already overdue count on today.
    const int dueDays = std::max(settings.dueDays, 1);
    figures.dueByDay.assign(size_t(dueDays), 0);
    for (int64_t dueMs : dueTimesMs) {
        const int64_t index = std::max<int64_t>(localDay(dueMs, offset) - figures.today, 0);
        if (index < dueDays)
            ++figures.dueByDay[size_t(index)];
    }

    const int activityDays = std::max(settings.activityDays, 1);
    const int64_t firstDay = figures.today - (activityDays - 1);
    figures.reviewsByDay.assign(size_t(activityDays), 0);
    figures.secondsByDay.assign(size_t(activityDays), 0);
    std::vector<int64_t> milliseconds(size_t(activityDays), 0);

    // Retention counts a review only when its card was reviewed before; the order of the
    // answers decides that, so sort by time (a stable sort keeps the given order for ties).
    std::vector<const ProgressReview*> ordered;
    ordered.reserve(reviews.size());
    for (const ProgressReview& review : reviews)
        ordered.push_back(&review);
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const ProgressReview* a, const ProgressReview* b) { return a->timeMs < b->timeMs; });
    std::unordered_set<int64_t> seen;
    std::map<int64_t, std::pair<int, int>> periods;  // first day -> (reviews, recalled)
    for (const ProgressReview* review : ordered) {
        const int64_t day = localDay(review->timeMs, offset);
        if (day >= firstDay && day <= figures.today) {
            ++figures.reviewsByDay[size_t(day - firstDay)];
            milliseconds[size_t(day - firstDay)] += std::max(review->durationMs, 0);
        }
        if (!seen.insert(review->cardId).second && day <= figures.today) {
            auto& [count, recalled] = periods[periodStart(day, settings.retentionPeriod)];
            ++count;
            if (review->rating != Rating::Again)
                ++recalled;
        }
    }
    for (const auto& [start, counts] : periods)
        figures.retention.push_back(
            {start, counts.first, double(counts.second) / double(counts.first)});

    for (size_t i = 0; i < milliseconds.size(); ++i)
        figures.secondsByDay[i] = (milliseconds[i] + 500) / 1000;

    figures.reviewsToday = figures.reviewsByDay.back();
    if (settings.dailyGoal > 0) {
        // The streak may reach further back than the calendar: count every day.
        std::unordered_map<int64_t, int> perDay;
        for (const ProgressReview& review : reviews)
            ++perDay[localDay(review.timeMs, offset)];
        auto met = [&](int64_t day) {
            auto it = perDay.find(day);
            return it != perDay.end() && it->second >= settings.dailyGoal;
        };
        figures.goalMetToday = met(figures.today);
        int64_t day = figures.goalMetToday ? figures.today : figures.today - 1;
        while (met(day)) {
            ++figures.streak;
            --day;
        }
    }
    return figures;
}
