#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "core/list_ops.h"
#include "core/orders.h"
#include "editing/overview_dialog.h"
#include "exam/calendar_heatmap.h"
#include "exam/examination_dialog.h"
#include "exam/progress_dialog.h"
#include "session/review_schedule.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_test.h"

// Due Cards and undo as the learner meets them in the windows: a list with a history, the
// keys, the menus, the counters and the windows that show the schedule.
class TestDueCards : public MainWindowTest {
    Q_OBJECT

    static constexpr int64_t kDay = 86'400'000;
    static constexpr int64_t kNow = 20794 * kDay + 12 * 3'600'000;  // noon UTC
    QTemporaryDir dir_;
    int64_t now_ = kNow;

    ReviewSchedule& schedule() { return main_->session().schedule(); }
    QString label(const char* name) { return main_->findChild<QLabel*>(name)->text(); }
    int64_t reviews() { return schedule().history()->reviewCount(); }

    // The store's cards saved and opened again, so that a history sits beside them.
    void openWithHistory() {
        const QString path = dir_.filePath("words.kmx");
        prompts().saveChoices.push_back({path, 0});
        prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().saveListAs();
        main_->session().closeList();
        prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().openList(path);
        QVERIFY(schedule().available());
    }
    void activate(QWidget* window) {
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window);
    }
    ExaminationDialog* examination(ExaminationKind kind) {
        for (auto* window : main_->findChildren<ExaminationDialog*>())
            if (window->isVisible() && window->kind() == kind)
                return window;
        return nullptr;
    }
    // Types the answer and presses Enter; a differing answer is left wrong.
    void answer(ExaminationDialog* window, const QString& text, bool differs) {
        if (differs)
            prompts().dialogHandlers.push_back(ScriptedPrompts::rejectDialog());
        auto* box = window->findChild<QLineEdit*>("answerEdit");
        typeText(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void undo(ExaminationDialog* window) {
        activate(window);
        QTest::keyClick(window->findChild<QLineEdit*>("answerEdit"), Qt::Key_Z,
                        Qt::ControlModifier);
    }

private slots:
    void init() {
        std::vector<int> random;
        for (int i = 0; i < 100; ++i)
            random.push_back((i * 7919) % 32768);
        startMainWindow(random);
        now_ = kNow;
        schedule().setClock([this] { return now_; });
        schedule().setUtcOffsetMinutes(0);
        schedule().setRandomSource(nullptr);
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
    }
    void cleanup() { finishMainWindow(); }

    // Ctrl+D asks the due cards lowest recall first, then new cards up to what is left of
    // the day's limit; the open overview and Progress window follow every answer.
    void dueCardsFromTheMainWindow() {
        for (const char* q : {"alpha", "gamma", "delta"})
            addCard(*store_, store_->unknownList, q, std::string(q) + "-en", "-", "-");
        for (const char* q : {"beta", "epsilon"})
            addCard(*store_, store_->knownList, q, std::string(q) + "-en", "-", "-");
        openWithHistory();
        const auto find = [this](std::string_view q) {
            Card* found = nullptr;
            for (CardList* list : {&store_->unknownList, &store_->knownList})
                list->forEach([&](Card* c) { found = c->question() == q ? c : found; });
            return found;
        };
        // Alpha and beta have fallen due; gamma, reviewed an hour ago, uses up one of
        // today's two new cards.
        schedule().record(*find("alpha"), Rating::Good, kNow - 10 * kDay, 4000, 0);
        schedule().record(*find("beta"), Rating::Good, kNow - 5 * kDay, 4000, 0);
        schedule().record(*find("gamma"), Rating::Good, kNow - 3'600'000, 4000, 0);
        preferences_.newCardsPerDay = 2;
        QTRY_COMPARE(label("dueCounter"), QString("2"));

        main_->board().action(Command::Overview)->trigger();
        auto* table = window<OverviewDialog>()->findChild<QTableView*>();
        table->selectRow(1);
        QCOMPARE(table->currentIndex().row(), 1);
        main_->board().action(Command::Progress)->trigger();
        auto* calendar = window<ProgressDialog>()->findChild<CalendarHeatmap*>();
        calendar->setCurrentIndex(357);  // a week ago
        QVERIFY(table->model()->index(0, 7).data().toString() != "100%");

        activate(main_.get());
        QTest::keyClick(main_.get(), Qt::Key_D, Qt::ControlModifier);
        ExaminationDialog* due = examination(ExaminationKind::DueCards);
        QVERIFY(due);
        QStringList asked;
        for (const auto& [text, differs] :
             {std::pair{"alpha-en", false}, {"wrong", true}, {"delta-en", false}}) {
            asked << due->findChild<QLineEdit*>("questionEdit")->text();
            answer(due, text, differs);
            QVERIFY(asked.size() == 3 || !main_->board().isEnabled(Command::DueCards));
        }
        QCOMPARE(asked, (QStringList{"alpha", "beta", "delta"}));
        QVERIFY2(prompts().messageTexts().last().startsWith(
                     "You reviewed 3 card(s), 66 % of them right. The next cards fall due on"),
                 qPrintable(prompts().messageTexts().join("|")));
        QTRY_VERIFY(!examination(ExaminationKind::DueCards));
        QVERIFY(main_->board().isEnabled(Command::DueCards));

        // The answers are in the history; beta, a known card answered wrong, is learnt again.
        std::vector<ReviewEntry> entries;
        schedule().history()->forEachReview([&](const StoredReview& r) {
            entries.push_back(r.entry);
            return true;
        });
        QCOMPARE(entries.size(), std::size_t{6});
        for (std::size_t i = 3; i < 6; ++i)
            QCOMPARE(entries[i].kind, uint8_t(ExaminationKind::DueCards));
        QCOMPARE(entries[4].rating, Rating::Again);
        QVERIFY(store_->wrongList.containsId(find("beta")->id));
        QVERIFY(main_->board().isEnabled(Command::ExamineWrongWords));
        QTRY_COMPARE(label("dueCounter"), QString::number(schedule().dueTodayCount(now_)));
        QVERIFY(schedule().dueTodayCount(now_) < 2);

        QCOMPARE(table->currentIndex().row(), 1);
        QCOMPARE(table->model()->index(0, 7).data().toString(), QString("100%"));
        QCOMPARE(calendar->currentIndex(), 357);
        QVERIFY2(calendar->dayText(364).contains("4 review(s)"),
                 qPrintable(calendar->dayText(364)));
    }

    // Ctrl+Z takes the last answer back with everything it changed, menus included, once;
    // not after another window has answered since.
    void undoTakesTheAnswerBack() {
        for (int level : {2, 4, 0, 0})
            addCard(*store_, store_->unknownList, "q" + std::to_string(store_->unknownList.count()),
                    "a", "-", "-")
                .level = level;
        openWithHistory();
        ExaminationDialog* first = examination(ExaminationKind::InOrder);  // started by itself
        QVERIFY(first);
        Card* card = store_->unknownList.nthCard(0);
        const ControlStates before = controlStates(main_->board());

        answer(first, "wrong", true);
        QCOMPARE(card->level, 0);
        QVERIFY(main_->board().isEnabled(Command::ExamineWrongWords));
        QCOMPARE(reviews(), int64_t{1});
        undo(first);
        QCOMPARE(card->level, 2);
        QCOMPARE(card->timesAsked + card->timesWrong, 0);
        QVERIFY(store_->wrongList.empty());
        QCOMPARE(describeDifferences(controlStates(main_->board()), before), QString());
        QCOMPARE(reviews(), int64_t{0});
        undo(first);
        QCOMPARE(prompts().beeps.size(), std::size_t{2});  // the differing answer, the refusal

        // The known-card side: level 4 answered right reaches the maximum and is made known.
        prompts().dialogHandlers.push_back(ScriptedPrompts::rejectDialog());
        answer(first, "a", false);
        QCOMPARE(label("knownCounter"), QString("1"));
        QVERIFY(main_->board().isEnabled(Command::ExamineKnownWords));
        undo(first);
        QCOMPARE(label("knownCounter"), QString("0"));
        QCOMPARE(describeDifferences(controlStates(main_->board()), before), QString());

        answer(first, "wrong", true);
        main_->board().action(Command::ExamineRandom)->trigger();
        answer(examination(ExaminationKind::Random), "wrong", true);
        undo(first);
        QCOMPARE(reviews(), int64_t{2});
        QVERIFY(store_->wrongList.containsId(store_->unknownList.nthCard(2)->id));
        QCOMPARE(prompts().beeps.size(), std::size_t{5});
    }
};

QTEST_MAIN(TestDueCards)
#include "tst_due_cards.moc"
