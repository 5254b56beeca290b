#pragma once

#include <QWidget>

#include "core/statistics.h"

class QLabel;

// The two bar charts of the statistics window with their captions beside them. The bars
// and frames are drawn at fixed pixel positions from the widget's top left, which the
// window keeps at the top left of its own area.
class StatisticsWidget : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsWidget(QWidget* parent = nullptr);

    // The counts to draw; repaints.
    void setFigures(const StatisticsFigures& figures);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StatisticsFigures figures_;
    QLabel* levelCaption_ = nullptr;
    QLabel* successCaption_ = nullptr;
};
