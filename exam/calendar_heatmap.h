#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

// Reviews per day as a calendar: one column a week (Monday at the top), one square a day,
// darker the more reviews. A focused day can be moved with the arrow keys (a day up and
// down, a week left and right, Home and End to the first and the last day); its date and
// count are the widget's accessible description and its tooltip, so a screen reader reads
// the day under the cursor.
class CalendarHeatmap : public QWidget {
    Q_OBJECT
public:
    explicit CalendarHeatmap(QWidget* parent = nullptr);

    // The counts of consecutive local days (days since 1970-01-01), the first at `firstDay`.
    void setDays(int64_t firstDay, std::vector<int> counts);
    // The focused day (an index into the counts) and its text.
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    QString dayText(int index) const;

    QSize sizeHint() const override;

signals:
    void currentIndexChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect cellRect(int index) const;
    int indexAt(QPoint point) const;

    int64_t firstDay_ = 0;
    std::vector<int> counts_;
    int maximum_ = 0;
    int current_ = -1;
};
