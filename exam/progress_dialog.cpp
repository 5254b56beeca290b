#include "exam/progress_dialog.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDate>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "exam/calendar_heatmap.h"
#include "platform/settings_store.h"
#include "session/preferences_settings.h"
#include "session/window_registry.h"

namespace {

// Days of time spent shown as bars; the calendar shows the whole year.
constexpr int kTimeDays = 30;
// The daily goal, beside the other preferences.
constexpr const char* kDailyGoalKey = "DailyGoal";

QDate dateOf(int64_t day) {
    const CivilDate date = civilDate(day);
    return {date.year, date.month, date.day};
}

QString shortDate(int64_t day) {
    return QLocale().toString(dateOf(day), QLocale::ShortFormat);
}

// A fresh chart for a view, the old one dropped (a chart view owns its chart).
QChart* resetChart(QChartView* view, const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setVisible(false);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
    return chart;
}

QChartView* makeView(const QString& name, QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFocusPolicy(Qt::StrongFocus);
    view->setAccessibleName(name);
    view->setMinimumHeight(220);
    resetChart(view, name);
    return view;
}

// One bar a day under the named days, on a value axis from nought to at least one.
void addDayBars(QChart* chart, QBarSet* set, const QStringList& days, const QString& valueTitle,
                const QString& labelFormat, qreal maximum) {
    auto* series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto* dayAxis = new QBarCategoryAxis;
    dayAxis->append(days);
    chart->addAxis(dayAxis, Qt::AlignBottom);
    series->attachAxis(dayAxis);
    auto* values = new QValueAxis;
    values->setTitleText(valueTitle);
    values->setLabelFormat(labelFormat);
    values->setRange(0, std::max(maximum, qreal(1)));
    values->applyNiceNumbers();
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
}

QString percent(double share) {
    return QLocale().toString(share * 100, 'f', 0) + QLocale().percent();
}

}  // namespace

ProgressDialog* ProgressDialog::open(const MemoryModelSource& source, WindowRegistry& windows,
                                     QWidget* parent) {
    return windows.raiseOrOpen<ProgressDialog>(WindowKind::Progress, [&] {
        auto* window = new ProgressDialog(parent);
        windows.enter(window, WindowKind::Progress, Command::Progress);
        window->source_ = source;
        window->readReviews();
        const SettingsStore store;
        const int goal = store
                             .readNumber(QString::fromLatin1(PrefsKey::Section),
                                         QString::fromLatin1(kDailyGoalKey))
                             .value_or(0);
        window->setDailyGoal(std::clamp(goal, 0, 9999));
        connect(window, &ProgressDialog::dailyGoalChanged, window, [window](int reviews) {
            SettingsStore settings;
            settings.writeNumber(QString::fromLatin1(PrefsKey::Section),
                                 QString::fromLatin1(kDailyGoalKey), reviews);
            settings.sync();
            window->recompute();
        });
        window->recompute();
        window->show();
        return window;
    });
}

void ProgressDialog::follow(const MemoryModelSource& source) {
    std::optional<std::vector<ReviewEdit>> edits;
    if (source.history != nullptr && source.history == source_.history && source.editsSince)
        edits = source.editsSince(source_.revision);
    source_ = source;
    if (!edits || !applyEdits(*edits))
        readReviews();
    recompute();
}

void ProgressDialog::readReviews() {
    reviews_.clear();
    reviewIds_.clear();
    if (source_.history)
        reviews_ = progressReviews(*source_.history, &reviewIds_);
}

bool ProgressDialog::applyEdits(const std::vector<ReviewEdit>& edits) {
    for (const ReviewEdit& edit : edits) {
        if (edit.added) {
            reviews_.push_back(progressReviewOf(edit.review));
            reviewIds_.push_back(edit.review.id);
        } else if (!reviewIds_.empty() && reviewIds_.back() == edit.review.id) {
            reviews_.pop_back();
            reviewIds_.pop_back();
        } else {
            return false;
        }
    }
    // Reviews written to the history some other way show in its count.
    return source_.history->reviewCount() == static_cast<int64_t>(reviews_.size());
}

void ProgressDialog::recompute() {
    ProgressSettings settings;
    settings.nowMs = source_.nowMs;
    settings.utcOffsetMinutes = source_.utcOffsetMinutes;
    settings.dailyGoal = dailyGoal();
    setFigures(progressFigures(reviews_, source_.dueTimesMs, source_.parameters, settings));
}

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("progressDialog"));
    setWindowTitle(tr("Progress"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);

    dueView_ = makeView(tr("Cards due in the next 30 days"), content);
    dueView_->setObjectName(QStringLiteral("dueChart"));
    layout->addWidget(dueView_);

    auto* calendarBox = new QGroupBox(tr("Reviews per day over the last year"), content);
    auto* calendarLayout = new QVBoxLayout(calendarBox);
    heatmap_ = new CalendarHeatmap(calendarBox);
    heatmap_->setObjectName(QStringLiteral("reviewCalendar"));
    auto* calendarHint = new QLabel(
        tr("Darker days had more reviews. Arrow keys move from day to day."), calendarBox);
    calendarHint->setWordWrap(true);
    calendarLayout->addWidget(heatmap_);
    calendarLayout->addWidget(calendarHint);
    layout->addWidget(calendarBox);

    retentionView_ = makeView(tr("Measured and desired retention"), content);
    retentionView_->setObjectName(QStringLiteral("retentionChart"));
    layout->addWidget(retentionView_);

    timeView_ = makeView(tr("Time spent in the last 30 days"), content);
    timeView_->setObjectName(QStringLiteral("timeChart"));
    layout->addWidget(timeView_);

    auto* goalBox = new QGroupBox(tr("Daily goal"), content);
    auto* goalLayout = new QFormLayout(goalBox);
    goalBox_ = new QSpinBox(goalBox);
    goalBox_->setObjectName(QStringLiteral("dailyGoalBox"));
    goalBox_->setRange(0, 9999);
    goalBox_->setSpecialValueText(tr("No goal"));
    goalBox_->setSuffix(tr(" reviews"));
    auto* goalLabel = new QLabel(tr("Reviews a &day:"), goalBox);
    goalLabel->setBuddy(goalBox_);
    goalBox_->setAccessibleName(tr("Daily goal in reviews"));
    streakLabel_ = new QLabel(goalBox);
    streakLabel_->setObjectName(QStringLiteral("streakLabel"));
    streakLabel_->setWordWrap(true);
    streakLabel_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    streakLabel_->setFocusPolicy(Qt::StrongFocus);
    goalLayout->addRow(goalLabel, goalBox_);
    goalLayout->addRow(streakLabel_);
    layout->addWidget(goalBox);
    connect(goalBox_, &QSpinBox::valueChanged, this, &ProgressDialog::dailyGoalChanged);

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(scroll);
    outer->addWidget(buttons);
    resize(720, 640);
    setFigures(figures_);
}

void ProgressDialog::setFigures(const ProgressFigures& figures) {
    figures_ = figures;
    showDue();
    heatmap_->setDays(figures_.today - int64_t(figures_.reviewsByDay.size()) + 1,
                      figures_.reviewsByDay);
    showRetention();
    showTime();
    showGoal();
}

void ProgressDialog::setDailyGoal(int reviews) {
    const QSignalBlocker blocker(goalBox_);
    goalBox_->setValue(reviews);
}

int ProgressDialog::dailyGoal() const {
    return goalBox_->value();
}

QString ProgressDialog::dueDescription() const {
    const auto& due = figures_.dueByDay;
    int total = 0;
    for (int count : due)
        total += count;
    if (total == 0)
        return tr("No reviewed card falls due in the next 30 days.");
    QStringList days;
    for (size_t i = 0; i < due.size(); ++i) {
        if (due[i] == 0)
            continue;
        const QString when = i == 0   ? tr("today")
                             : i == 1 ? tr("tomorrow")
                                      : shortDate(figures_.today + int64_t(i));
        days << tr("%1: %n card(s)", nullptr, due[i]).arg(when);
    }
    return tr("%n card(s) fall due in the next 30 days.", nullptr, total) + u' ' +
           days.join(QStringLiteral("; ")) + u'.';
}

QString ProgressDialog::retentionDescription() const {
    const QString desired = tr("Desired retention %1.").arg(percent(figures_.desiredRetention));
    if (figures_.retention.empty())
        return desired + u' ' + tr("No card has been reviewed a second time yet.");
    QStringList periods;
    for (const RetentionPoint& point : figures_.retention)
        periods << tr("week of %1: %2 of %n review(s)", nullptr, point.reviews)
                       .arg(shortDate(point.firstDay), percent(point.retention));
    return desired + u' ' + tr("Measured: %1.").arg(periods.join(QStringLiteral("; ")));
}

QString ProgressDialog::timeDescription() const {
    const auto& seconds = figures_.secondsByDay;
    const size_t first = seconds.size() > size_t(kTimeDays) ? seconds.size() - kTimeDays : 0;
    int64_t total = 0;
    int days = 0;
    for (size_t i = first; i < seconds.size(); ++i) {
        total += seconds[i];
        days += seconds[i] > 0 ? 1 : 0;
    }
    const int minutes = int((total + 30) / 60);
    const int today = seconds.empty() ? 0 : int((seconds.back() + 30) / 60);
    return tr("%n minute(s) in the last 30 days", nullptr, minutes) + u' ' +
           tr("on %n day(s);", nullptr, days) + u' ' + tr("%n minute(s) today.", nullptr, today);
}

QString ProgressDialog::streakText() const {
    if (goalBox_->value() <= 0)
        return tr("Set a daily goal to keep a streak of days on which you reached it.");
    QString text = tr("%n review(s) today.", nullptr, figures_.reviewsToday) + u' ';
    text += figures_.goalMetToday ? tr("Today's goal is reached.")
                                  : tr("%n more review(s) reach today's goal.", nullptr,
                                       goalBox_->value() - figures_.reviewsToday);
    text += u' ';
    text += tr("Streak: %n day(s) in a row with the goal reached.", nullptr, figures_.streak);
    return text;
}

void ProgressDialog::showDue() {
    QChart* chart = resetChart(dueView_, dueView_->accessibleName());
    auto* set = new QBarSet(tr("Cards due"));
    QStringList categories;
    int maximum = 0;
    for (size_t i = 0; i < figures_.dueByDay.size(); ++i) {
        *set << figures_.dueByDay[i];
        maximum = std::max(maximum, figures_.dueByDay[i]);
        // Every fifth day named keeps the axis readable.
        categories << (i % 5 == 0 ? shortDate(figures_.today + int64_t(i)) : QString(i, u' '));
    }
    addDayBars(chart, set, categories, tr("Cards"), QStringLiteral("%d"), maximum);
    dueView_->setAccessibleDescription(dueDescription());
}

void ProgressDialog::showRetention() {
    QChart* chart = resetChart(retentionView_, retentionView_->accessibleName());
    chart->legend()->setVisible(true);
    auto* measured = new QLineSeries;
    measured->setName(tr("Measured"));
    measured->setPointsVisible(true);
    auto* desired = new QLineSeries;
    desired->setName(tr("Desired"));
    const auto& points = figures_.retention;
    const qreal firstMs =
        QDateTime(dateOf(points.empty() ? figures_.today - 28 : points.front().firstDay),
                  QTime(0, 0))
            .toMSecsSinceEpoch();
    const qreal lastMs = QDateTime(dateOf(figures_.today), QTime(0, 0)).toMSecsSinceEpoch();
    for (const RetentionPoint& point : points)
        measured->append(QDateTime(dateOf(point.firstDay), QTime(0, 0)).toMSecsSinceEpoch(),
                         point.retention * 100);
    desired->append(firstMs, figures_.desiredRetention * 100);
    desired->append(lastMs, figures_.desiredRetention * 100);
    chart->addSeries(measured);
    chart->addSeries(desired);
    auto* time = new QDateTimeAxis;
    time->setFormat(QLocale().dateFormat(QLocale::ShortFormat));
    time->setRange(QDateTime::fromMSecsSinceEpoch(qint64(firstMs)),
                   QDateTime::fromMSecsSinceEpoch(qint64(std::max(lastMs, firstMs + 86'400'000))));
    chart->addAxis(time, Qt::AlignBottom);
    auto* share = new QValueAxis;
    share->setTitleText(tr("Recalled (%)"));
    share->setLabelFormat(QStringLiteral("%d"));
    share->setRange(0, 100);
    chart->addAxis(share, Qt::AlignLeft);
    for (QLineSeries* series : {measured, desired}) {
        series->attachAxis(time);
        series->attachAxis(share);
    }
    retentionView_->setAccessibleDescription(retentionDescription());
}

void ProgressDialog::showTime() {
    QChart* chart = resetChart(timeView_, timeView_->accessibleName());
    const auto& seconds = figures_.secondsByDay;
    const size_t first = seconds.size() > size_t(kTimeDays) ? seconds.size() - kTimeDays : 0;
    auto* set = new QBarSet(tr("Minutes"));
    QStringList categories;
    double maximum = 0;
    for (size_t i = first; i < seconds.size(); ++i) {
        // Minutes to one decimal: a short session still shows as a bar.
        const double minutes = std::round(double(seconds[i]) / 6.0) / 10.0;
        *set << minutes;
        maximum = std::max(maximum, minutes);
        const int64_t day = figures_.today - int64_t(seconds.size() - 1 - i);
        categories << ((seconds.size() - 1 - i) % 5 == 0 ? shortDate(day)
                                                         : QString(int(i - first), u' '));
    }
    addDayBars(chart, set, categories, tr("Minutes"), QStringLiteral("%.0f"), maximum);
    timeView_->setAccessibleDescription(timeDescription());
}

void ProgressDialog::showGoal() {
    const QString text = streakText();
    streakLabel_->setText(text);
    streakLabel_->setAccessibleName(text);
}
