#pragma once

#include <QDialog>

#include <vector>

#include "core/progress_figures.h"
#include "session/memory_model_source.h"

class CalendarHeatmap;
class WindowRegistry;
class QChartView;
class QLabel;
class QSpinBox;

// The Progress window: cards due in the coming days, reviews per day over the last year,
// measured against desired retention, the time spent, and the daily goal with its streak.
// It shows figures it is given; whoever opens it works them out from the list's history
// (progressFigures) and gives them again when the history or the goal changes.
class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    // Opens the window for the open list (or raises the one open) through the registry,
    // which greys "Progress..." meanwhile. The daily goal is a preference ("DailyGoal").
    static ProgressDialog* open(const MemoryModelSource& source, WindowRegistry& windows,
                                QWidget* parent);

    // The list's history or schedule changed: shows the figures of `source`. Reviews
    // recorded and taken back since are added and removed one by one when the source can
    // tell them, without reading the whole history again; the calendar keeps its focused day.
    void follow(const MemoryModelSource& source);

    void setFigures(const ProgressFigures& figures);
    // The daily goal in reviews (0: none), shown in the spin box.
    void setDailyGoal(int reviews);
    int dailyGoal() const;

    // The texts a screen reader reads for each chart, also for tests.
    QString dueDescription() const;
    QString retentionDescription() const;
    QString timeDescription() const;
    QString streakText() const;

signals:
    // The learner changed the daily goal (0: no goal).
    void dailyGoalChanged(int reviews);

private:
    void showDue();
    void showRetention();
    void showTime();
    void showGoal();

    void recompute();
    void readReviews();
    // Applies the edits to the reviews read; false when they do not fit them.
    bool applyEdits(const std::vector<ReviewEdit>& edits);

    ProgressFigures figures_;
    MemoryModelSource source_;
    std::vector<ProgressReview> reviews_;
    std::vector<int64_t> reviewIds_;  // of reviews_, ascending
    QChartView* dueView_ = nullptr;
    CalendarHeatmap* heatmap_ = nullptr;
    QChartView* retentionView_ = nullptr;
    QChartView* timeView_ = nullptr;
    QSpinBox* goalBox_ = nullptr;
    QLabel* streakLabel_ = nullptr;
};
