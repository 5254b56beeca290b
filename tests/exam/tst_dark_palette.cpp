#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/statistics.h"
#include "editing/card_table_model.h"
#include "exam/statistics_widget.h"

// The charts and markers drawn by the program itself, under a dark colour scheme and on a
// screen scaled to twice the pixels: what separates them from the background has to stay
// visible, and their lines have to grow with the scale.

namespace {

QPalette darkPalette() {
    QPalette palette;
    const QColor window(53, 53, 53);
    const QColor base(42, 42, 42);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, Qt::white);
    return palette;
}

// WCAG contrast ratio: 1 for equal colours, 21 for black on white; 3 is the least that
// graphics and large text need to be seen.
double contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& colour) {
        auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QImage render(QWidget& widget, qreal pixelRatio) {
    QImage image(widget.size() * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    widget.render(&image);
    return image;
}

// Every device pixel of one widget pixel, for the scale of the image.
QList<QColor> devicePixels(const QImage& image, int x, int y) {
    const int ratio = qRound(image.devicePixelRatio());
    QList<QColor> colours;
    for (int dy = 0; dy < ratio; ++dy) {
        for (int dx = 0; dx < ratio; ++dx)
            colours << image.pixelColor(x * ratio + dx, y * ratio + dy);
    }
    return colours;
}

}  // namespace

class TestDarkPalette : public QObject {
    Q_OBJECT

private slots:
    void chartsStandOutFromADarkBackground_data() {
        QTest::addColumn<qreal>("pixelRatio");
        QTest::newRow("scale 1") << qreal(1);
        QTest::newRow("scale 2") << qreal(2);
    }
    void chartsStandOutFromADarkBackground() {
        QFETCH(qreal, pixelRatio);
        StatisticsWidget charts;
        charts.setPalette(darkPalette());
        StatisticsFigures figures;
        figures.levelCounts = {8, 1, 2, 3, 4, 5, 6, 7};
        figures.successCounts = figures.levelCounts;
        charts.setFigures(figures);
        const QImage image = render(charts, pixelRatio);
        const QColor background = image.pixelColor(2, 2);
        QCOMPARE(background, darkPalette().color(QPalette::Window));

        for (const auto& bars :
             {levelChartBars(figures.levelCounts), successChartBars(figures.successCounts)}) {
            for (const ChartBar& bar : bars) {
                const QPoint centre((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2);
                const QColor colour = devicePixels(image, centre.x(), centre.y()).first();
                QVERIFY2(contrast(colour, background) >= 3,
                         qPrintable(QString("bar at x %1: %2 on %3")
                                        .arg(bar.left)
                                        .arg(colour.name(), background.name())));
            }
        }

        // The frame lies over the bars' outer edges, the top of the full first bar and the
        // bottom of the bars, in every device pixel.
        for (const ChartFrame& frame : {kLevelChartFrame, kSuccessChartFrame}) {
            const QList<QPoint> edge = {{30, frame.top},
                                        {30, frame.bottom - 1},
                                        {frame.left, 60 + frame.top},
                                        {frame.right - 1, 60 + frame.top}};
            for (const QPoint& point : edge) {
                for (const QColor& colour : devicePixels(image, point.x(), point.y())) {
                    QVERIFY2(contrast(colour, background) >= 3,
                             qPrintable(QString("frame at %1,%2: %3 on %4")
                                            .arg(point.x())
                                            .arg(point.y())
                                            .arg(colour.name(), background.name())));
                }
            }
        }

        for (QLabel* caption : charts.findChildren<QLabel*>()) {
            double strongest = 1;
            const QRect area(caption->geometry().topLeft() * pixelRatio,
                             caption->geometry().size() * pixelRatio);
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x)
                    strongest = std::max(strongest, contrast(image.pixelColor(x, y), background));
            }
            QVERIFY2(strongest >= 4.5, qPrintable(caption->text()));
        }
    }

    void levelMarkersAreDrawnForTheScreenAndStandOutFromADarkTable() {
        QCOMPARE(qApp->devicePixelRatio(), qreal(2));
        CardStore store;
        addCard(store, store.unknownList, "q", "a", "-", "-").level = 0;
        addCard(store, store.unknownList, "q", "a", "-", "-").level = 5;
        CardTableModel model;
        model.fill(store.unknownList);
        const QColor base = darkPalette().color(QPalette::Base);
        for (int row = 0; row < model.rowCount(); ++row) {
            const auto marker =
                model.data(model.index(row, CardTableModel::QuestionColumn), Qt::DecorationRole)
                    .value<QPixmap>();
            QCOMPARE(marker.deviceIndependentSize(), QSizeF(16, 16));
            QCOMPARE(marker.devicePixelRatio(), qreal(2));
            // The patch behind the diamond, near its top left corner.
            const QColor patch = marker.toImage().pixelColor(6, 6);
            QVERIFY2(contrast(patch, base) >= 3, qPrintable(patch.name()));
        }
    }
};

int main(int argc, char** argv) {
    // As on a high-resolution screen with the desktop scaled to twice the pixels.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    TestDarkPalette test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dark_palette.moc"
