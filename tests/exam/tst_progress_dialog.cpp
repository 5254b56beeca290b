#include <QAction>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/review_history.h"
#include "editing/overview_dialog.h"
#include "exam/calendar_heatmap.h"
#include "exam/optimise_run.h"
#include "exam/progress_dialog.h"
#include "tests/support/main_window_test.h"

namespace {

constexpr int64_t kDay = 86'400'000;
constexpr int64_t kNow = 20794 * kDay + 12 * 3'600'000;  // Monday 2026-12-07, noon UTC

// A history in memory with `cards` cards reviewed `perCard` times each, two days apart, the
// last review an hour before kNow; every fifth answer forgotten.
std::unique_ptr<ReviewHistory> generatedHistory(int cards, int perCard) {
    auto history = std::make_unique<ReviewHistory>();
    history->openUnsaved();
    for (int c = 0; c < cards; ++c) {
        const std::string question = "q" + std::to_string(c);
        const CardKey key = history->addCard({c + 1, question, "a"});
        for (int r = 0; r < perCard; ++r) {
            ReviewEntry entry;
            entry.card = key;
            entry.timeMs = kNow - 3'600'000 - int64_t(perCard - 1 - r) * 2 * kDay - c * 1000;
            entry.rating = (r + c) % 5 == 4 ? Rating::Again : Rating::Good;
            entry.durationMs = 6000;
            history->append(entry, {});
        }
    }
    return history;
}

}  // namespace

class TestProgressDialog : public MainWindowTest {
    Q_OBJECT

    std::unique_ptr<ReviewHistory> history_;
    bool kept_ = false;

    void useHistory(std::unique_ptr<ReviewHistory> history) {
        history_ = std::move(history);
        main_->setMemoryModelSource([this] {
            MemoryModelSource source;
            source.history = history_.get();
            source.nowMs = kNow;
            source.dueTimesMs = {kNow, kNow + 2 * kDay};
            source.setParameters = [this](const FsrsWeights&) { kept_ = true; };
            source.dueMs = [](const Card& card) -> std::optional<int64_t> {
                if (card.id == 2)
                    return std::nullopt;
                return kNow + (card.id + 1) * kDay;
            };
            source.recall = [](const Card& card) -> std::optional<double> {
                if (card.id == 2)
                    return std::nullopt;
                return 1.0 - (card.id + 1) * 0.126;
            };
            return source;
        });
        main_->board().applyListOpened(store_->unknownList.count(), 0);
    }

private slots:
    void init() {
        startMainWindow();
        kept_ = false;
    }
    void cleanup() {
        finishMainWindow();
        history_.reset();
    }

    void progressWindowDescribesItsChartsAndWalksTheCalendar() {
        useHistory(generatedHistory(2, 3));
        main_->board().action(Command::Progress)->trigger();
        auto* progress = window<ProgressDialog>();
        QVERIFY(progress);
        QVERIFY(!main_->board().action(Command::Progress)->isEnabled());

        const QString due = progress->findChild<QWidget*>("dueChart")->accessibleDescription();
        QVERIFY2(due.contains("2 card(s) fall due") && due.contains("today: 1 card(s)"),
                 qPrintable(due));
        const QString retention =
            progress->findChild<QWidget*>("retentionChart")->accessibleDescription();
        QVERIFY2(
            retention.contains("Desired retention 90%") && retention.contains("of 2 review(s)"),
            qPrintable(retention));
        const QString time = progress->findChild<QWidget*>("timeChart")->accessibleDescription();
        QVERIFY2(time.startsWith("1 minute(s) in the last 30 days on 3 day(s)"), qPrintable(time));

        auto* calendar = progress->findChild<CalendarHeatmap*>("reviewCalendar");
        calendar->setFocus();
        QCOMPARE(calendar->currentIndex(), 364);
        QVERIFY2(calendar->accessibleDescription().contains("2 review(s)"),
                 qPrintable(calendar->accessibleDescription()));
        QTest::keyClick(calendar, Qt::Key_Left);
        QCOMPARE(calendar->currentIndex(), 357);
        QTest::keyClick(calendar, Qt::Key_Right);
        QTest::keyClick(calendar, Qt::Key_Up);
        QTest::keyClick(calendar, Qt::Key_Up);
        QCOMPARE(calendar->currentIndex(), 362);  // two days back: the middle review
        QVERIFY(calendar->accessibleDescription().contains("2 review(s)"));
        QTest::keyClick(calendar, Qt::Key_Up);
        QVERIFY(calendar->accessibleDescription().contains("0 review(s)"));

        auto* goal = progress->findChild<QSpinBox*>("dailyGoalBox");
        goal->setValue(0);  // the preference may hold a goal of an earlier run
        QVERIFY(progress->streakText().startsWith("Set a daily goal"));
        goal->setValue(2);
        QVERIFY2(progress->streakText().contains("goal is reached") &&
                     progress->streakText().contains("Streak: 1 day(s)"),
                 qPrintable(progress->streakText()));
        progress->close();
    }

    void overviewShowsDueDateAndRecall() {
        for (int i = 0; i < 3; ++i)
            addCard(*store_, store_->unknownList, "q", "a", "-", "-");
        useHistory(generatedHistory(1, 1));
        main_->board().action(Command::Overview)->trigger();
        auto* overview = window<OverviewDialog>();
        QVERIFY(overview);
        auto* table = overview->findChild<QTableView*>();
        QAbstractItemModel* model = table->model();
        QCOMPARE(model->columnCount(), 8);
        QCOMPARE(model->headerData(6, Qt::Horizontal).toString(), QString("Due"));
        QCOMPARE(model->headerData(7, Qt::Horizontal).toString(), QString("Recall"));
        // Card 0: due tomorrow, 87 %; card 2 never reviewed: nothing.
        auto cell = [&](int row, int column) {
            return model->index(row, column).data().toString();
        };
        const QString tomorrow = QLocale().toString(
            QDateTime::fromMSecsSinceEpoch(kNow + kDay).date(), QLocale::ShortFormat);
        QCOMPARE(cell(0, 4), QString("0"));
        QCOMPARE(cell(0, 6), tomorrow);
        QCOMPARE(cell(0, 7), QString("87%"));
        QCOMPARE(cell(2, 6), QString());
        QCOMPARE(cell(2, 7), QString());
        // Ctrl+8: lowest recall first, the card never reviewed last; the list keeps its order.
        overview->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(overview));
        QTest::keyClick(table, Qt::Key_8, Qt::ControlModifier);
        QCOMPARE((QStringList{cell(0, 4), cell(1, 4), cell(2, 4)}), (QStringList{"1", "0", "2"}));
        QCOMPARE(store_->unknownList.count(), 3);
        overview->close();
    }

    void optimiseRefusesTooFewReviewsThenRunsAndCancels() {
        useHistory(generatedHistory(2, 5));
        main_->board().action(Command::OptimiseMemoryModel)->trigger();
        QCOMPARE(prompts().messages.size(), size_t(1));
        QVERIFY2(prompts().messages[0].text.contains("990 more"),
                 qPrintable(prompts().messages[0].text));
        prompts().clear();

        useHistory(generatedHistory(120, 10));
        QVERIFY(!OptimiseRun::start(MemoryModelSource{}, main_->windows(), main_.get()));
        QVERIFY(prompts().messageTexts().join("").contains("no review history"));
        for (bool cancel : {true, false}) {
            prompts().clear();
            main_->board().action(Command::OptimiseMemoryModel)->trigger();
            auto* run = main_->findChild<OptimiseRun*>("optimiseRun");
            QVERIFY(run);
            QVERIFY(run->progressWindow()->isVisible());
            QVERIFY(!main_->board().action(Command::OptimiseMemoryModel)->isEnabled());
            if (cancel)
                run->progressWindow()->findChild<QPushButton*>()->click();
            QSignalSpy finished(run, &OptimiseRun::finished);
            QVERIFY(finished.wait(60'000));
            QCOMPARE(prompts().messages.size(), size_t(1));
            const QString text = prompts().messages[0].text;
            if (cancel)
                QVERIFY2(text.startsWith("Cancelled"), qPrintable(text));
            else
                QVERIFY2(text.contains("Log loss") && text.contains("RMSE (bins)"),
                         qPrintable(text));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(main_->board().action(Command::OptimiseMemoryModel)->isEnabled());
        }
    }
};

QTEST_MAIN(TestProgressDialog)
#include "tst_progress_dialog.moc"
