#include "exam/calendar_heatmap.h"

#include <QAccessible>
#include <QDate>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "core/progress_figures.h"

namespace {
constexpr int kCell = 12;
constexpr int kGap = 2;

// Monday 0 .. Sunday 6; 1970-01-01 was a Thursday.
int weekdayOf(int64_t day) {
    return int(((day + 3) % 7 + 7) % 7);
}
}  // namespace

CalendarHeatmap::CalendarHeatmap(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Reviews per day"));
    setMouseTracking(false);
}

void CalendarHeatmap::setDays(int64_t firstDay, std::vector<int> counts) {
    // New counts keep the focused day, also when the calendar moved on by a day; the last
    // day stays focused as the last day.
    const int64_t last = firstDay + int64_t(counts.size()) - 1;
    int keep = int(counts.size()) - 1;
    if (current_ >= 0 && current_ + 1 < int(counts_.size())) {
        const int64_t focused = firstDay_ + current_;
        if (focused >= firstDay && focused <= last)
            keep = int(focused - firstDay);
    }
    const QString focusedText = current_ >= 0 ? dayText(current_) : QString();
    const int focusedBefore = current_;
    firstDay_ = firstDay;
    counts_ = std::move(counts);
    maximum_ = counts_.empty() ? 0 : *std::max_element(counts_.begin(), counts_.end());
    current_ = -1;
    // A screen reader hears the focused day again only when what it says changed.
    if (keep == focusedBefore && !counts_.empty() && dayText(keep) == focusedText)
        current_ = keep;
    else
        setCurrentIndex(keep);
    updateGeometry();
    update();
}

void CalendarHeatmap::setCurrentIndex(int index) {
    if (counts_.empty())
        return;
    index = std::clamp(index, 0, int(counts_.size()) - 1);
    if (index == current_)
        return;
    current_ = index;
    const QString text = dayText(index);
    setAccessibleDescription(text);
    setToolTip(text);
    update();
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
    emit currentIndexChanged(index);
}

QString CalendarHeatmap::dayText(int index) const {
    if (index < 0 || index >= int(counts_.size()))
        return {};
    const CivilDate date = civilDate(firstDay_ + index);
    const QString when =
        QLocale().toString(QDate(date.year, date.month, date.day), QLocale::LongFormat);
    return tr("%1: %n review(s)", nullptr, counts_[size_t(index)]).arg(when);
}

QRect CalendarHeatmap::cellRect(int index) const {
    const int column = (weekdayOf(firstDay_) + index) / 7;
    const int row = weekdayOf(firstDay_ + index);
    return {kGap + column * (kCell + kGap), kGap + row * (kCell + kGap), kCell, kCell};
}

int CalendarHeatmap::indexAt(QPoint point) const {
    const int column = (point.x() - kGap) / (kCell + kGap);
    const int row = (point.y() - kGap) / (kCell + kGap);
    if (point.x() < kGap || point.y() < kGap || row > 6)
        return -1;
    const int index = column * 7 + row - weekdayOf(firstDay_);
    return index >= 0 && index < int(counts_.size()) ? index : -1;
}

QSize CalendarHeatmap::sizeHint() const {
    const int columns = (weekdayOf(firstDay_) + int(counts_.size()) + 6) / 7;
    return {kGap + std::max(columns, 1) * (kCell + kGap), kGap + 7 * (kCell + kGap)};
}

void CalendarHeatmap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor empty = palette().color(QPalette::AlternateBase);
    const QColor full = palette().color(QPalette::Highlight);
    for (int i = 0; i < int(counts_.size()); ++i) {
        const int count = counts_[size_t(i)];
        QColor colour = empty;
        if (count > 0 && maximum_ > 0) {
            // Four steps from a light to the full colour, so that a few reviews still show.
            const double share = 0.25 + 0.75 * double(count) / double(maximum_);
            colour =
                QColor::fromRgbF(float(empty.redF() + (full.redF() - empty.redF()) * share),
                                 float(empty.greenF() + (full.greenF() - empty.greenF()) * share),
                                 float(empty.blueF() + (full.blueF() - empty.blueF()) * share));
        }
        painter.fillRect(cellRect(i), colour);
    }
    if (current_ >= 0 && hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Text), 2));
        painter.drawRect(cellRect(current_).adjusted(-1, -1, 1, 1));
    }
}

void CalendarHeatmap::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            setCurrentIndex(current_ - 1);
            break;
        case Qt::Key_Down:
            setCurrentIndex(current_ + 1);
            break;
        case Qt::Key_Left:
            setCurrentIndex(current_ - 7);
            break;
        case Qt::Key_Right:
            setCurrentIndex(current_ + 7);
            break;
        case Qt::Key_Home:
            setCurrentIndex(0);
            break;
        case Qt::Key_End:
            setCurrentIndex(int(counts_.size()) - 1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void CalendarHeatmap::mousePressEvent(QMouseEvent* event) {
    const int index = indexAt(event->position().toPoint());
    if (index >= 0)
        setCurrentIndex(index);
    setFocus(Qt::MouseFocusReason);
}

bool CalendarHeatmap::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = indexAt(help->pos());
        if (index >= 0)
            QToolTip::showText(help->globalPos(), dayText(index), this, cellRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
