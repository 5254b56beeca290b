#include "exam/statistics_widget.h"

#include <QLabel>
#include <QPainter>

namespace {

constexpr int kChartsWidth = 405;
constexpr int kChartsHeight = 215;
constexpr int kCaptionLeft = 400;
constexpr int kCaptionWidth = 270;
constexpr int kRightMargin = 12;

// A line of one pixel along each edge, inside the frame as the bars are. Filled rather than
// stroked, so that on a scaled screen it grows with the bars and still covers their edges.
void outlineFrame(QPainter& painter, const ChartFrame& frame, const QColor& colour) {
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    painter.fillRect(QRect(frame.left, frame.top, width, 1), colour);
    painter.fillRect(QRect(frame.left, frame.bottom - 1, width, 1), colour);
    painter.fillRect(QRect(frame.left, frame.top, 1, height), colour);
    painter.fillRect(QRect(frame.right - 1, frame.top, 1, height), colour);
}

}  // namespace

StatisticsWidget::StatisticsWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("statisticsCharts"));
    levelCaption_ =
        new QLabel(tr("Cards on level 0,1,2,3,4,5,6,7 and more. Known cards included."), this);
    successCaption_ = new QLabel(tr("Learning success: improvement of the level of "
                                    "your cards of -3, -2, -1, 0, 1, 2, 3, 4 and "
                                    "more."),
                                 this);
    for (QLabel* caption : {levelCaption_, successCaption_}) {
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    levelCaption_->setGeometry(kCaptionLeft, kLevelChartFrame.top, kCaptionWidth,
                               kLevelChartFrame.bottom - kLevelChartFrame.top);
    successCaption_->setGeometry(kCaptionLeft, kSuccessChartFrame.top, kCaptionWidth,
                                 kSuccessChartFrame.bottom - kSuccessChartFrame.top);
    setFixedSize(sizeHint());
}

QSize StatisticsWidget::sizeHint() const {
    return QSize(kCaptionLeft + kCaptionWidth + kRightMargin, kChartsHeight)
        .expandedTo({kChartsWidth, 0});
}

void StatisticsWidget::setFigures(const StatisticsFigures& figures) {
    figures_ = figures;
    update();
}

void StatisticsWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const auto& bars :
         {levelChartBars(figures_.levelCounts), successChartBars(figures_.successCounts)}) {
        for (const ChartBar& bar : bars) {
            if (bar.top >= bar.bottom)
                continue;
            const BarColour& colour = kBarColours[bar.colour];
            painter.fillRect(
                QRect(QPoint(bar.left, bar.top), QPoint(bar.right - 1, bar.bottom - 1)),
                QColor(colour.red, colour.green, colour.blue));
        }
    }
    // The frames go over the bars, so a full bar's top edge is the frame's. They take the
    // colour of text, which is black in a light colour scheme and stays visible in a dark one.
    const QColor frameColour = palette().color(QPalette::WindowText);
    outlineFrame(painter, kLevelChartFrame, frameColour);
    outlineFrame(painter, kSuccessChartFrame, frameColour);
}
