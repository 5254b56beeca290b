#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "core/list_ops.h"
#include "editing/modify_card_dialog.h"
#include "editing/new_card_dialog.h"
#include "editing/overview_dialog.h"
#include "exam/examination_dialog.h"
#include "session/window_registry.h"
#include "tests/support/main_window_test.h"

// A screen reader can press a window's buttons, or give a menu command, while one of the
// window's modal dialogs is open. Each row does that in the middle of a dialog and checks
// that nothing crashed, nothing was recorded or deleted twice, and the list stayed whole.
class TestModalSteps : public MainWindowTest {
    Q_OBJECT

    static void press(QWidget* window, const char* button) {
        auto* found = window ? window->findChild<QPushButton*>(button) : nullptr;
        QVERIFY2(found, button);
        found->click();
    }
    static void type(QWidget* window, const char* box, const QString& text) {
        auto* found = window->findChild<QLineEdit*>(box);
        QVERIFY2(found, box);
        found->setText(text);
    }
    void closeList() { main_->board().action(Command::CloseList)->trigger(); }
    // Runs `behind` while the next dialog is open, then ends the dialog with `result`.
    void behindDialog(std::function<void()> behind, int result) {
        prompts().dialogHandlers.push_back([behind, result](QDialog*) {
            behind();
            return result;
        });
    }
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    ExaminationDialog* startExamination() {
        main_->runCommand(Command::ExamineInOrder);
        return window<ExaminationDialog>();
    }

private slots:
    void init() {
        startMainWindow();
        for (int i = 0; i < 6; ++i) {
            const std::string n = std::to_string(i);
            addCard(*store_, store_->unknownList, "q" + n, "a" + n, "L1", "-");
        }
        store_->fileName = "list.kmx";
        main_->board().applyListOpened(store_->unknownList.count(), 0);
    }
    void cleanup() {
        flush();
        finishMainWindow();
    }

    void wrongAnswerConfirmation_data() {
        QTest::addColumn<int>("behind");
        QTest::newRow("examination closed") << 0;
        QTest::newRow("Close List") << 1;
        QTest::newRow("OK again") << 2;
    }
    void wrongAnswerConfirmation() {
        QFETCH(int, behind);
        QPointer<ExaminationDialog> exam = startExamination();
        QVERIFY(exam);
        Card* first = exam->currentCard();
        type(exam, "answerEdit", "wrong");
        behindDialog(
            [&] {
                if (behind == 0)
                    press(exam, "closeButton");
                if (behind == 1)
                    closeList();
                if (behind == 2)
                    press(exam, "okButton");
            },
            QDialog::Rejected);
        press(exam, "okButton");
        flush();
        QCOMPARE(prompts().dialogs.size(), 1);  // one confirmation, however often OK came
        QCOMPARE(store_->unknownList.count(), 6);
        if (behind == 0) {
            // Closed before the answer was confirmed: nothing recorded.
            QVERIFY(exam.isNull());
            QCOMPARE(first->timesAsked, 0);
            QCOMPARE(store_->wrongList.count(), 0);
        } else {
            // Close List waited for the answer; the answer counts once and the next card
            // is the second one.
            QCOMPARE(first->timesAsked, 1);
            QCOMPARE(store_->wrongList.count(), 1);
            QVERIFY(exam);
            QCOMPARE(exam->currentCard(), store_->unknownList.slot(1));
        }
        if (exam)
            exam->close();
    }

    void knownCardQuestion_data() {
        QTest::addColumn<bool>("closeListToo");
        QTest::newRow("examination closed") << false;
        QTest::newRow("Close List, then examination closed") << true;
    }
    void knownCardQuestion() {
        QFETCH(bool, closeListToo);
        preferences_.maxLevel = 5;
        store_->unknownList.slot(0)->level = 4;
        QPointer<ExaminationDialog> exam = startExamination();
        Card* first = exam->currentCard();
        type(exam, "answerEdit", "a0");
        behindDialog(
            [&] {
                if (closeListToo)
                    closeList();
                press(exam, "closeButton");
            },
            QDialog::Accepted);  // "Keep It"
        press(exam, "okButton");
        flush();
        QVERIFY(exam.isNull());
        QCOMPARE(first->timesAsked, 1);
        QCOMPARE(first->level, 3);
        QCOMPARE(store_->unknownList.count(), 6);
    }

    void modifyDialog_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("withCard");
        QTest::newRow("search question") << "searchQuestionButton" << false;
        QTest::newRow("search number") << "searchIdButton" << false;
        QTest::newRow("delete card") << "deleteButton" << true;
        QTest::newRow("text the list cannot hold") << "okButton" << true;
        QTest::newRow("search finding nothing") << "searchAnswerButton" << false;
    }
    void modifyDialog() {
        QFETCH(QString, button);
        QFETCH(bool, withCard);
        main_->runCommand(Command::ModifyCards);
        QPointer<ModifyCardDialog> modify = window<ModifyCardDialog>();
        QVERIFY(modify);
        if (withCard)
            ModifyCardDialog::loadCard(main_->board(), main_->windows(),
                                       *store_->unknownList.slot(2));
        auto closeIt = [modify] { press(modify, "closeButton"); };
        if (button == "okButton") {
            type(modify, "questionEdit", QString(QChar(0xD800)));  // no card text
            prompts().actionsBehind.push_back(closeIt);
        } else if (button == "deleteButton") {
            prompts().actionsBehind.push_back(closeIt);
            prompts().answers.push_back(PromptAnswer::Yes);
        } else if (button == "searchAnswerButton") {
            // The search prompt finds nothing; its message is open when the window closes.
            prompts().dialogHandlers.push_back([](QDialog* d) {
                d->findChild<QLineEdit*>()->setText("nothing like it");
                return ScriptedPrompts::clickButton(d, "searchButton");
            });
            prompts().actionsBehind.push_back(closeIt);
        } else {
            behindDialog(closeIt, QDialog::Accepted);
        }
        press(modify, button.toLatin1().constData());
        flush();
        QVERIFY(modify.isNull());
        QCOMPARE(store_->unknownList.count(), 6);  // the question was answered after the close
        QVERIFY(board().isEnabled(Command::ModifyCards));
    }

    void deleteGivenTwiceDeletesOnce() {
        main_->runCommand(Command::ModifyCards);
        QPointer<ModifyCardDialog> modify = window<ModifyCardDialog>();
        ModifyCardDialog::loadCard(main_->board(), main_->windows(), *store_->unknownList.slot(2));
        prompts().actionsBehind.push_back([modify] { press(modify, "deleteButton"); });
        prompts().answers.push_back(PromptAnswer::Yes);
        press(modify, "deleteButton");
        QCOMPARE(store_->unknownList.count(), 5);
        QCOMPARE(prompts().questions.size(), std::size_t(1));
        QVERIFY(prompts().messages.empty());  // no "debug error" for a second delete
        modify->close();
    }

    void overview_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<bool>("closeList");
        QTest::newRow("search, OK") << 0 << false;
        QTest::newRow("search, Close List") << 0 << true;
        QTest::newRow("level not a number, OK") << 1 << false;
        QTest::newRow("level not a number, Close List") << 1 << true;
        QTest::newRow("nothing to sort, OK") << 2 << false;
        QTest::newRow("nothing to sort, Close List") << 2 << true;
    }
    void overview() {
        QFETCH(int, dialog);
        QFETCH(bool, closeList);
        main_->runCommand(Command::Overview);
        QPointer<OverviewDialog> overview = window<OverviewDialog>();
        QVERIFY(overview);
        auto behind = [&, overview] {
            if (closeList)
                this->closeList();
            press(overview, "okButton");
        };
        if (dialog == 0) {
            behindDialog(behind, QDialog::Rejected);
            press(overview, "searchButton");
        } else if (dialog == 1) {
            prompts().actionsBehind.push_back(behind);
            type(overview, "levelEdit", "-");
        } else {
            overview->findChild<QAbstractButton*>("wrongCardsRadio")->click();  // wrong cards
            prompts().actionsBehind.push_back(behind);
            overview->findChild<QAction*>("sortByColumn1")->trigger();
        }
        flush();
        QVERIFY(overview.isNull());
        QCOMPARE(store_->unknownList.count(), 6);  // Close List waited for the dialog
        prompts().messages.clear();
    }

    void newCardMessage() {
        main_->runCommand(Command::NewCards);
        QPointer<NewCardDialog> newCard = window<NewCardDialog>();
        type(newCard, "questionEdit", QString(QChar(0xD800)));  // no card text
        type(newCard, "answerEdit", "answer");
        prompts().actionsBehind.push_back([newCard] { press(newCard, "closeButton"); });
        press(newCard, "enterButton");
        flush();
        QVERIFY(newCard.isNull());
        QCOMPARE(store_->unknownList.count(), 6);
    }

    void overviewChoiceToggledWithoutAClick() {
        main_->runCommand(Command::Overview);
        OverviewDialog* overview = window<OverviewDialog>();
        store_->wrongList.insert(store_->unknownList.slot(3));
        // What a screen reader's "Toggle" does: toggles, never clicks.
        overview->findChild<QAbstractButton*>("wrongCardsRadio")->toggle();
        QCOMPARE(overview->choice(), OverviewDialog::WrongCards);
        overview->findChild<QAbstractButton*>("allCardsRadio")->click();
        QCOMPARE(overview->choice(), OverviewDialog::AllCards);
        overview->close();
    }

private:
    CommandBoard& board() { return main_->board(); }
};

QTEST_MAIN(TestModalSteps)
#include "tst_modal_steps.moc"
