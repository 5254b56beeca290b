#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "exam/statistics_dialog.h"
#include "exam/statistics_widget.h"
#include "session/window_registry.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"

namespace {

QString figure(QWidget* window, const char* box) {
    return window->findChild<QLineEdit*>(box)->text();
}

// The figures that do not depend on the clock, in the window's order.
QStringList steadyFigures(QWidget* window) {
    QStringList texts;
    for (const char* box : {"numberOfCardsEdit", "knownCardsEdit", "wrongCardsEdit",
                            "averagelyAskedEdit", "totalAskedEdit", "percentWrongEdit",
                            "wrongPerAnswerEdit", "remainingExaminationsEdit"}) {
        texts << figure(window, box);
    }
    return texts;
}

}  // namespace

class TestStatisticsDialog : public MainWindowTest {
    Q_OBJECT

private:
    Card& add(CardList& list, int level, int right, int wrong) {
        Card& card = addCard(*store_, list, "q", "a", "-", "-");
        card.level = level;
        card.timesRight = right;
        card.timesWrong = wrong;
        card.timesAsked = right + wrong;
        return card;
    }

    StatisticsDialog* openStatistics() {
        main_->board().action(Command::Statistics)->trigger();
        return main_->findChild<StatisticsDialog*>();
    }

    QString states() { return describeDifferences(controlStates(main_->board()), before_); }

private slots:
    void init() {
        startMainWindow();
        for (Command command : {Command::Statistics, Command::CloseList, Command::Overview})
            main_->board().setCommandEnabled(command, true);
        before_ = controlStates(main_->board());
    }

    void cleanup() { finishMainWindow(); }

    void openWindowGreysItsCommandUntilItCloses_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "click:okButton";
        QTest::newRow("Escape") << "key:Escape";
        QTest::newRow("close box") << "close";
    }
    void openWindowGreysItsCommandUntilItCloses() {
        QFETCH(QString, how);
        QPointer<StatisticsDialog> window = openStatistics();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QString("Statistics"));
        QCOMPARE(controlsWithoutAccessibleName(window), QStringList());
        QVERIFY(main_->windows().contains(window));
        QCOMPARE(describeDifferences(controlStates(main_->board()),
                                     withChanges(before_, {}, {Command::Statistics})),
                 QString());

        handlerNamed(how)(window);
        flushDeletes();
        QVERIFY(window.isNull());
        QCOMPARE(states(), QString());
        QCOMPARE(main_->windows().listWindowCount(), 0);
    }

    void closeListClosesTheWindow() {
        QPointer<StatisticsDialog> window = openStatistics();
        main_->board().action(Command::CloseList)->trigger();
        QVERIFY(window.isNull());
        QCOMPARE(main_->windows().listWindowCount(), 0);
        QCOMPARE(describeDifferences(controlStates(main_->board()), startStates()), QString());
    }

    void figuresShowInTheirBoxesAndFollowTheAnswers() {
        Card& asked = add(store_->unknownList, 1, 2, 5);
        add(store_->unknownList, 3, 0, 0);
        add(store_->knownList, 6, 4, 0);
        store_->wrongList.insert(&asked);
        StatisticsDialog* window = openStatistics();
        // Known cards count in the answers but not among the cards or in the remaining
        // examinations; % wrong shares all wrong answers among the unknown cards.
        QCOMPARE(steadyFigures(window), (QStringList{"2", "1", "1", "3.66666666666667", "11", "250",
                                                     "0.454545454545455", "6"}));
        QVERIFY(QRegularExpression("^\\d+$").match(figure(window, "timeTotalEdit")).hasMatch());

        // An answer given elsewhere shows after Refresh.
        asked.timesRight = 3;
        asked.timesAsked = 8;
        ScriptedPrompts::clickButton(window, "refreshButton");
        QVERIFY(window->isVisible());
        QCOMPARE(steadyFigures(window).mid(3, 2), (QStringList{"4", "12"}));

        // ... and within a second by itself, with the window already active.
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window));
        QTest::qWait(20);
        asked.timesAsked = 11;
        QCOMPARE(steadyFigures(window).mid(3, 2), (QStringList{"4", "12"}));
        QTRY_COMPARE(steadyFigures(window).mid(3, 2), (QStringList{"5", "15"}));
    }

    void chartsAreDrawnWhereTheirPixelsBelong() {
        add(store_->unknownList, 0, 0, 0);
        add(store_->unknownList, 0, 0, 0);
        add(store_->unknownList, 2, 1, 0);
        StatisticsDialog* window = openStatistics();
        auto* charts = window->findChild<StatisticsWidget*>();
        QCOMPARE(charts->mapTo(window, QPoint(0, 0)), QPoint(0, 0));
        const QImage image = charts->grab().toImage();
        auto colour = [&](int x, int y) { return image.pixelColor(x, y).rgb(); };
        QCOMPARE(colour(20, 25), QColor(0, 0, 0).rgb());       // frame corner
        QCOMPARE(colour(26, 26), QColor(255, 0, 0).rgb());     // level 0: full height
        QCOMPARE(colour(116, 66), QColor(255, 100, 0).rgb());  // level 2: half height
        QVERIFY(colour(116, 64) != QColor(255, 100, 0).rgb());
        QCOMPARE(colour(160, 126), QColor(255, 255, 50).rgb());  // balance 0: two cards
        QCOMPARE(colour(205, 166), QColor(255, 255, 0).rgb());   // balance 1: one card
        QVERIFY(colour(65, 103) != QColor(255, 0, 0).rgb());     // right of bar 0
    }
};

QTEST_MAIN(TestStatisticsDialog)
#include "tst_statistics_dialog.moc"
