#include <QAction>
#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "exam/examination_dialog.h"
#include "session/window_registry.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"

namespace {

const QString kNoCardsOnLevel = QStringLiteral("Sorry: there are no cards on this level.");
const QString kRange = QStringLiteral("Please enter an integer between 0 and 10000.");
const QString kInteger = QStringLiteral("Please enter an integer.");
const QString kNoCards =
    QStringLiteral("You have not opened any cards yet. Please try 'open' or 'new list'");

QLineEdit* levelBox(QDialog* dialog) {
    return dialog->findChild<QLineEdit*>("levelEdit");
}

// Replaces the level box's text by keyboard and presses Enter; true when that ended the
// dialog.
bool enterLevel(QDialog* dialog, const QString& level) {
    QLineEdit* box = levelBox(dialog);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    typeText(box, level);
    QTest::keyClick(box, Qt::Key_Return);
    return !dialog->isVisible();
}

}  // namespace

class TestLevelChooserDialog : public MainWindowTest {
    Q_OBJECT

private:
    Card& card(const std::string& question, int level, CardList* list = nullptr) {
        Card& c = addCard(*store_, list ? *list : store_->unknownList, question,
                          question + "-answer", "-", "-");
        c.level = level;
        return c;
    }

    std::vector<std::string> selectedQuestions() {
        std::vector<std::string> questions;
        store_->levelSelection.forEach([&](Card* c) { questions.emplace_back(c->question()); });
        return questions;
    }

    ExaminationDialog* openWindow() {
        for (auto* window : main_->findChildren<ExaminationDialog*>()) {
            if (window->isVisible())
                return window;
        }
        return nullptr;
    }

    void chooseLevel() { main_->board().action(Command::ChooseLevel)->trigger(); }

    QString states() { return describeDifferences(controlStates(main_->board()), before_); }

private slots:
    void init() {
        startMainWindow();
        main_->board().setCommandEnabled(Command::ChooseLevel, true);
        before_ = controlStates(main_->board());
    }

    void cleanup() { finishMainWindow(); }

    void chosenLevelIsExaminedInListOrder() {
        card("zero", 0);
        card("two-a", 2);
        card("two-b", 2);
        card("known-two", 2, &store_->knownList);

        prompts().dialogHandlers.push_back([](QDialog* dialog) {
            enterLevel(dialog, "2");
            return dialog->result();
        });
        chooseLevel();
        QCOMPARE(prompts().dialogs, QStringList{"Choose a level"});
        QCOMPARE(selectedQuestions(), (std::vector<std::string>{"two-a", "two-b"}));

        ExaminationDialog* window = openWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Examination in order (Level)"));
        // The window greys the command the chooser has just switched on.
        QCOMPARE(states(), QString());
        QStringList asked;
        for (int i = 0; i < 2; ++i) {
            const QString question = window->findChild<QLineEdit*>("questionEdit")->text();
            asked << question;
            typeText(window->findChild<QLineEdit*>("answerEdit"), question + "-answer");
            QTest::keyClick(window->findChild<QLineEdit*>("answerEdit"), Qt::Key_Return);
        }
        QCOMPARE(asked, (QStringList{"two-a", "two-b"}));
        QCOMPARE(prompts().messageTexts(), QStringList{"You reached the end of the list."});
        QCOMPARE(describeDifferences(controlStates(main_->board()),
                                     withChanges(before_, {Command::LevelInOrder}, {})),
                 QString());

        // The selection is the cards chosen then, though both are on level 3 now.
        prompts().clear();
        main_->board().action(Command::LevelInOrder)->trigger();
        window = openWindow();
        QVERIFY(window);
        QCOMPARE(window->findChild<QLineEdit*>("questionEdit")->text(), QString("two-a"));
        QCOMPARE(window->findChild<QLineEdit*>("levelEdit")->text(), QString("3"));
    }

    void emptyLevelKeepsTheDialogOpen() {
        card("zero", 0);
        card("two", 2);
        card("old choice", 5, &store_->levelSelection);
        bool stayedOpen = false;
        std::vector<std::string> selectionMeanwhile;
        QStringList messagesMeanwhile;
        prompts().dialogHandlers.push_back([&](QDialog* dialog) {
            stayedOpen = !enterLevel(dialog, "3");
            selectionMeanwhile = selectedQuestions();
            messagesMeanwhile = prompts().messageTexts();
            enterLevel(dialog, "2");
            return dialog->result();
        });
        chooseLevel();
        QVERIFY(stayedOpen);
        QCOMPARE(messagesMeanwhile, QStringList{kNoCardsOnLevel});
        QCOMPARE(prompts().messages[0].icon, PromptIcon::Error);
        QVERIFY(selectionMeanwhile.empty());
        QCOMPARE(selectedQuestions(), std::vector<std::string>{"two"});
        QVERIFY(openWindow());
    }

    void levelMustBeAnIntegerFrom0To10000_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("selectionKept");
        QTest::newRow("10000 is a level") << "10000" << kNoCardsOnLevel << false;
        QTest::newRow("0 is a level") << "0" << kNoCardsOnLevel << false;
        QTest::newRow("blanks around are allowed") << " 7 " << kNoCardsOnLevel << false;
        QTest::newRow("10001 is too high") << "10001" << kRange << true;
        QTest::newRow("-1 is too low") << "-1" << kRange << true;
        QTest::newRow("words") << "two" << kInteger << true;
        QTest::newRow("nothing") << "" << kInteger << true;
        QTest::newRow("a fraction") << "2.5" << kInteger << true;
        QTest::newRow("beyond 32 bits") << "99999999999" << kInteger << true;
    }
    void levelMustBeAnIntegerFrom0To10000() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(bool, selectionKept);
        card("one", 1);
        card("old choice", 1, &store_->levelSelection);
        bool stayedOpen = false;
        QString selectedText;
        prompts().dialogHandlers.push_back([&](QDialog* dialog) {
            stayedOpen = !enterLevel(dialog, typed);
            selectedText = levelBox(dialog)->selectedText();
            pressKey(dialog, Qt::Key_Escape);
            return dialog->result();
        });
        chooseLevel();
        QVERIFY(stayedOpen);
        QCOMPARE(prompts().messageTexts(), QStringList{message});
        if (message != kNoCardsOnLevel) {
            // The refused text is selected for typing over it.
            QCOMPARE(selectedText, typed);
        }
        QCOMPARE(selectedQuestions(), selectionKept ? std::vector<std::string>{"old choice"}
                                                    : std::vector<std::string>{});
        QVERIFY(!openWindow());
        QCOMPARE(states(), QString());
    }

    void noUnknownCardsIsSaidAndChangesNothing() {
        card("known", 0, &store_->knownList);
        card("old choice", 0, &store_->levelSelection);
        bool stayedOpen = false;
        prompts().dialogHandlers.push_back([&](QDialog* dialog) {
            stayedOpen = !enterLevel(dialog, "0");
            pressKey(dialog, Qt::Key_Escape);
            return dialog->result();
        });
        chooseLevel();
        QVERIFY(stayedOpen);
        QCOMPARE(prompts().messageTexts(), QStringList{kNoCards});
        QCOMPARE(selectedQuestions(), std::vector<std::string>{"old choice"});
        QCOMPARE(states(), QString());
    }

    void leavingWithoutChoosingChangesNothing_data() {
        QTest::addColumn<QString>("handler");
        QTest::newRow("Cancel") << "click:cancelButton";
        QTest::newRow("Escape") << "key:Escape";
        QTest::newRow("close box") << "close";
    }
    void leavingWithoutChoosingChangesNothing() {
        QFETCH(QString, handler);
        card("two", 2);
        card("old choice", 1, &store_->levelSelection);
        prompts().dialogHandlers.push_back([&](QDialog* dialog) {
            // A level typed but not confirmed counts for nothing.
            levelBox(dialog)->selectAll();
            typeText(levelBox(dialog), "2");
            return handlerNamed(handler)(dialog);
        });
        chooseLevel();
        QCOMPARE(selectedQuestions(), std::vector<std::string>{"old choice"});
        QVERIFY(!openWindow());
        QVERIFY(prompts().messages.empty());
        QCOMPARE(states(), QString());
    }

    void everyChoiceStartsAtLevel0() {
        card("two", 2);
        QStringList shown;
        for (int i = 0; i < 2; ++i) {
            prompts().dialogHandlers.push_back([&](QDialog* dialog) {
                shown << levelBox(dialog)->text();
                enterLevel(dialog, "2");
                return dialog->result();
            });
            chooseLevel();
        }
        QCOMPARE(shown, (QStringList{"0", "0"}));
    }
};

QTEST_MAIN(TestLevelChooserDialog)
#include "tst_level_chooser_dialog.moc"
