#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "editing/modify_card_dialog.h"
#include "exam/examination_dialog.h"
#include "platform/fonts.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"
#include "session/window_registry.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"

namespace {

const QString kNotFound = QStringLiteral("The card was not found.");
const QString kNoCardToModify =
    QStringLiteral("There is no card selected to modify. Please choose 'close' or 'search ...'");
const QString kNoCardChosen = QStringLiteral(
    "There is no card chosen. Before you can delete a card, you have to search for it.");

QLineEdit* box(QWidget* window, const char* name) {
    auto* found = window->findChild<QLineEdit*>(name);
    if (!found)
        qFatal("no box %s", name);
    return found;
}

QString text(std::string_view bytes) {
    return fromCardText(bytes);
}

// A question of 70 characters: more than the search prompt lets anyone type.
const QString kLong = QString(70, 'q');

// Types into the search prompt and presses "Search", or leaves it with Escape; records
// the prompt's text and the text it opened with.
ScriptedPrompts::DialogHandler answerSearch(const QString& typed, QStringList* seen = nullptr) {
    return [typed, seen](QDialog* prompt) {
        if (seen) {
            *seen << prompt->findChild<QLabel*>("promptLabel")->text()
                  << box(prompt, "searchEdit")->text();
            if (!controlsWithoutAccessibleName(prompt).isEmpty())
                *seen << "control without a name";
        }
        if (typed == QLatin1String("<Escape>"))
            return pressKeyIn(Qt::Key_Escape)(prompt);
        QLineEdit* field = box(prompt, "searchEdit");
        if (typed != QLatin1String("<as opened>")) {
            field->selectAll();
            typeText(field, typed);
        }
        return clickIn("searchButton")(prompt);
    };
}

}  // namespace

class TestModifyCardDialog : public MainWindowTest {
    Q_OBJECT

private:
    Card& card(const char* question, const char* answer, int32_t id, bool known = false) {
        Card& c = addCard(*store_, known ? store_->knownList : store_->unknownList, question,
                          answer, "L1", "note");
        setCardId(c, id);
        return c;
    }

    ModifyCardDialog* openDialog() {
        main_->board().action(Command::ModifyCards)->trigger();
        return openedDialog();
    }

    ModifyCardDialog* openedDialog() {
        return main_->windows().find<ModifyCardDialog>(WindowKind::ModifyCard);
    }

    QString shownQuestion() { return box(openedDialog(), "questionEdit")->text(); }

    QString states(ControlStates expected) {
        return describeDifferences(controlStates(main_->board()), expected);
    }

private slots:
    void init() {
        startMainWindow();
        for (Command command : {Command::ModifyCards, Command::CloseList, Command::ExamineInOrder,
                                Command::Overview}) {
            main_->board().setCommandEnabled(command, true);
        }
        before_ = controlStates(main_->board());
    }

    void cleanup() { finishMainWindow(); }

    void oneWindowGreysModifyCardsUntilItCloses_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close button") << "click";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void oneWindowGreysModifyCardsUntilItCloses() {
        QFETCH(QString, how);
        ModifyCardDialog* dialog = openDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(states(withChanges(before_, {}, {Command::ModifyCards})), QString());
        QCOMPARE(controlsWithoutAccessibleName(dialog), QStringList());
        QCOMPARE(box(dialog, "cardNumberEdit")->text(), QString("0"));
        QCOMPARE(box(dialog, "levelEdit")->text(), QString("0"));

        // The command again (as loading a card does) shows the same window.
        main_->runCommand(Command::ModifyCards);
        QCOMPARE(openedDialog(), dialog);
        QCOMPARE(main_->findChildren<ModifyCardDialog*>().size(), 1);

        if (how == "click")
            dialog->findChild<QPushButton*>("closeButton")->click();
        else if (how == "escape")
            pressKey(dialog, Qt::Key_Escape);
        else
            dialog->close();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(openedDialog(), nullptr);
        QCOMPARE(states(before_), QString());
        flushDeletes();
        QVERIFY(main_->findChildren<ModifyCardDialog*>().isEmpty());
        QCOMPARE(states(before_), QString());
    }

    void searchFindsByEachKey_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("shownBefore");  // number of the card loaded first, -1 none
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expectedId");  // -1: not found
        QTest::addColumn<QStringList>("promptAndInitial");
        const QString byQuestion = stringText(Msg::SearchQuestion);
        const QString byAnswer = stringText(Msg::SearchAnswer);
        const QString byId = stringText(Msg::SearchId);
        QTest::newRow("question") << "searchQuestionButton" << -1 << "house" << 3
                                  << QStringList{byQuestion, ""};
        QTest::newRow("question again moves to the next card with it")
            << "searchQuestionButton" << 3 << "house" << 7 << QStringList{byQuestion, "house"};
        QTest::newRow("question again after the last starts over")
            << "searchQuestionButton" << 7 << "house" << 3 << QStringList{byQuestion, "house"};
        QTest::newRow("question differing in case")
            << "searchQuestionButton" << -1 << "House" << -1 << QStringList{byQuestion, ""};
        QTest::newRow("Escape searches the text the prompt opened with")
            << "searchQuestionButton" << 3 << "<Escape>" << 7 << QStringList{byQuestion, "house"};
        QTest::newRow("question longer than can be typed, searched as opened")
            << "searchQuestionButton" << 20 << "<as opened>" << 20
            << QStringList{byQuestion, kLong};
        QTest::newRow("typing stops at 59 characters")
            << "searchQuestionButton" << -1 << kLong << -1 << QStringList{byQuestion, ""};
        QTest::newRow("answer of a known card")
            << "searchAnswerButton" << -1 << "Baum" << 9 << QStringList{byAnswer, ""};
        QTest::newRow("answer not there")
            << "searchAnswerButton" << -1 << "Boot" << -1 << QStringList{byAnswer, ""};
        QTest::newRow("number of a known card")
            << "searchIdButton" << -1 << "9" << 9 << QStringList{byId, "0"};
        QTest::newRow("number followed by letters")
            << "searchIdButton" << 3 << "12abc" << 12 << QStringList{byId, "3"};
        QTest::newRow("number starting with a letter is 0")
            << "searchIdButton" << 3 << "x12" << 0 << QStringList{byId, "3"};
        QTest::newRow("number past 32 bits")
            << "searchIdButton" << -1 << "4294967296" << -1 << QStringList{byId, "0"};
        QTest::newRow("number not there")
            << "searchIdButton" << -1 << "77" << -1 << QStringList{byId, "0"};
    }
    void searchFindsByEachKey() {
        QFETCH(QString, button);
        QFETCH(int, shownBefore);
        QFETCH(QString, typed);
        QFETCH(int, expectedId);
        QFETCH(QStringList, promptAndInitial);
        card("cat", "Katze", 0);
        Card& house3 = card("house", "Haus", 3);
        Card& house7 = card("house", "Heim", 7);
        card("dog", "Hund", 12);
        card("tree", "Baum", 9, true);
        Card& long20 = card(kLong.toLatin1().constData(), "lang", 20);

        ModifyCardDialog* dialog = openDialog();
        if (shownBefore >= 0) {
            ModifyCardDialog::loadCard(main_->board(), main_->windows(),
                                       shownBefore == 3   ? house3
                                       : shownBefore == 7 ? house7
                                                          : long20);
        }
        const QString questionBefore = shownQuestion();
        QStringList seen;
        prompts().dialogHandlers.push_back(answerSearch(typed, &seen));
        dialog->findChild<QPushButton*>(button)->click();

        QCOMPARE(prompts().dialogs, QStringList{"Search for..."});
        QCOMPARE(seen, promptAndInitial);
        if (expectedId < 0) {
            QCOMPARE(prompts().messageTexts(), QStringList{kNotFound});
            QCOMPARE(dialog->currentCard(), nullptr);
            QCOMPARE(shownQuestion(), questionBefore);
            return;
        }
        QVERIFY(prompts().messages.empty());
        Card* found = dialog->currentCard();
        QVERIFY(found);
        QCOMPARE(found->id, expectedId);
        QCOMPARE(shownQuestion(), text(found->question()));
        QCOMPARE(box(dialog, "answerEdit")->text(), text(found->answer()));
        QCOMPARE(box(dialog, "cardNumberEdit")->text(), QString::number(found->id));
        QCOMPARE(box(dialog, "levelEdit")->text(), QString::number(found->level));
        QCOMPARE(box(dialog, "lessonEdit")->text(), QString("L1"));
        QCOMPARE(box(dialog, "addInfoEdit")->text(), QString("note"));
        // Questions and answers appear in the document's fonts at the editing height.
        QCOMPARE(box(dialog, "questionEdit")->font(),
                 toQFont(withCharacterHeight(main_->session().questionFont(), 12)));
    }

    void okWritesTheTextsBackAndKeepsLevelAndNumber() {
        Card& target = card("house", "Haus", 4);
        target.level = 3;
        store_->modified = false;
        ModifyCardDialog* dialog = openDialog();

        QTest::keyClick(box(dialog, "questionEdit"), Qt::Key_Return);
        QCOMPARE(prompts().messageTexts(), QStringList{kNoCardToModify});
        QVERIFY(!store_->modified);
        prompts().clear();

        ModifyCardDialog::loadCard(main_->board(), main_->windows(), target);
        for (auto [name, typed] :
             {std::pair{"questionEdit", "Hütte"}, std::pair{"answerEdit", "hut"},
              std::pair{"lessonEdit", "L2"}, std::pair{"addInfoEdit", ""}}) {
            box(dialog, name)->clear();
            box(dialog, name)
                ->insert(QString::fromUtf8(typed));  // as typing, through the validator
        }
        QTest::keyClick(box(dialog, "addInfoEdit"), Qt::Key_Return);

        QCOMPARE(text(target.question()), QString("Hütte"));
        QCOMPARE(text(target.answer()), QString("hut"));
        QCOMPARE(text(target.lesson()), QString("L2"));
        QCOMPARE(text(target.addInfo()), QString());
        QCOMPARE(target.level, 3);
        QCOMPARE(target.id, 4);
        QVERIFY(store_->modified);
        QCOMPARE(prompts().beeps.size(), std::size_t(1));
        QCOMPARE(prompts().beeps[0].hertz, 440);
        QCOMPARE(prompts().beeps[0].milliseconds, 50);
        QVERIFY(prompts().messages.empty());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->currentCard(), &target);
        // A lesson longer than a card holds cannot be typed.
        typeText(box(dialog, "lessonEdit"), "123456789012");
        QCOMPARE(box(dialog, "lessonEdit")->text().size(), 10);
    }

    void deleteAsksAndRemovesTheCardShown_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("known");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("Yes, unknown card") << int(PromptAnswer::Yes) << false << true;
        QTest::newRow("Yes, known card") << int(PromptAnswer::Yes) << true << true;
        QTest::newRow("No") << int(PromptAnswer::No) << false << false;
    }
    void deleteAsksAndRemovesTheCardShown() {
        QFETCH(int, answer);
        QFETCH(bool, known);
        QFETCH(bool, deleted);
        // Two cards share number 5; the one shown is the later one, and only it may go.
        Card& first = card("first", "a", 5);
        Card& shown = card("second", "b", 5, known);
        store_->wrongList.insert(&shown);
        store_->modified = false;
        ModifyCardDialog* dialog = openDialog();

        dialog->findChild<QPushButton*>("deleteButton")->click();
        QCOMPARE(prompts().messageTexts(), QStringList{kNoCardChosen});
        QVERIFY(prompts().questions.empty());
        prompts().clear();

        ModifyCardDialog::loadCard(main_->board(), main_->windows(), shown);
        prompts().answers.push_back(PromptAnswer(answer));
        dialog->findChild<QPushButton*>("deleteButton")->click();

        QCOMPARE(prompts().questions.size(), std::size_t(1));
        const ScriptedPrompts::Question& asked = prompts().questions[0];
        QCOMPARE(asked.caption, QString("Caution:"));
        QCOMPARE(asked.text,
                 QString("You are trying to delete a card. Do you really want to delete it?"));
        QCOMPARE(asked.icon, PromptIcon::Exclamation);
        QVERIFY(!asked.withCancel);
        QVERIFY(prompts().messages.empty());
        QVERIFY(store_->unknownList.cards().front() == &first);
        const int countBefore = 2;
        QCOMPARE(store_->unknownList.count() + store_->knownList.count(),
                 deleted ? countBefore - 1 : countBefore);
        QCOMPARE(store_->modified, deleted);
        if (deleted) {
            QCOMPARE(dialog->currentCard(), nullptr);
            QCOMPARE(shownQuestion(), QString());
            QCOMPARE(box(dialog, "cardNumberEdit")->text(), QString("0"));
            // Taken out of the document, the card still exists for the wrong words.
            QVERIFY(store_->wrongList.containsId(5));
        } else {
            QCOMPARE(dialog->currentCard(), &shown);
            QCOMPARE(shownQuestion(), QString("second"));
        }
    }

    void closingTheListDropsTheCardShown() {
        Card& target = card("house", "Haus", 1);
        ModifyCardDialog::loadCard(main_->board(), main_->windows(), target);
        ModifyCardDialog* dialog = openedDialog();
        QVERIFY(dialog);
        store_->modified = false;
        main_->board().action(Command::CloseList)->trigger();

        QCOMPARE(openedDialog(), dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->currentCard(), nullptr);
        QCOMPARE(shownQuestion(), QString());
        dialog->findChild<QPushButton*>("okButton")->click();
        QCOMPARE(prompts().messageTexts(), QStringList{kNoCardToModify});
    }

    void editCardInTheExaminationChangesTheNextComparison() {
        card("Haus", "house", 0);
        card("Heim", "home", 1);
        main_->board().action(Command::ExamineInOrder)->trigger();
        auto windows = main_->findChildren<ExaminationDialog*>();
        QCOMPARE(windows.size(), 1);
        ExaminationDialog* exam = windows.first();

        exam->findChild<QPushButton*>("editCardButton")->click();
        ModifyCardDialog* dialog = openedDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->currentCard(), exam->currentCard());
        QCOMPARE(states(withChanges(before_, {}, {Command::ModifyCards, Command::ExamineInOrder})),
                 QString());
        QLineEdit* answerBox = box(dialog, "answerEdit");
        answerBox->clear();
        typeText(answerBox, "building");
        QTest::keyClick(answerBox, Qt::Key_Return);

        // A second "Edit Card" brings the same window with the same card.
        exam->findChild<QPushButton*>("editCardButton")->click();
        QCOMPARE(openedDialog(), dialog);
        QCOMPARE(main_->findChildren<ModifyCardDialog*>().size(), 1);

        QLineEdit* typed = box(exam, "answerEdit");
        typeText(typed, "building");
        QTest::keyClick(typed, Qt::Key_Return);
        QVERIFY(prompts().dialogs.isEmpty());  // judged right, no confirmation asked
        QCOMPARE(box(exam, "questionEdit")->text(), QString("Heim"));
        QCOMPARE(store_->unknownList.cards().front()->level, 1);
    }
};

QTEST_MAIN(TestModifyCardDialog)
#include "tst_modify_card_dialog.moc"
