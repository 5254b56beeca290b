#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "exam/answer_form_stack.h"
#include "exam/examination_dialog.h"
#include "exam/mixed_letters_panel.h"
#include "exam/multiple_choice_panel.h"
#include "platform/speaker.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_speech.h"

namespace {

// Lets the speech thread start and log what it was asked.
void settleSpeech() {
    if (Speaker::sharedExists() && Speaker::shared().status() == Speaker::Status::Starting)
        QSignalSpy(&Speaker::shared(), &Speaker::statusChanged).wait(5000);
    QTest::qWait(50);
}

QStringList spoken() {
    QStringList lines;
    for (const SpeechEvent& event : SpeechLog::events())
        if (event.kind == SpeechEvent::Say)
            lines << event.language.name().left(2) + QLatin1Char(' ') + event.text;
    return lines;
}

}  // namespace

class TestExaminationForms : public MainWindowTest {
    Q_OBJECT

    ExaminationDialog* startInOrder(const QStringList& cards, const QString& lesson = "L1") {
        for (const QString& pair : cards) {
            const QStringList sides = pair.split('=');
            addCard(*store_, store_->unknownList, sides[0].toStdString(), sides[1].toStdString(),
                    lesson.isEmpty() ? sides[1].toStdString() : lesson.toStdString(), "-");
        }
        main_->board().setCommandEnabled(Command::ExamineInOrder, true);
        main_->board().action(Command::ExamineInOrder)->trigger();
        return window<ExaminationDialog>();
    }

    template <typename T>
    T* child(QWidget* window, const QString& name) {
        T* found = window->findChild<T*>(name);
        return found ? found : (qFatal("no %s", qPrintable(name)), nullptr);
    }

    // Answers the shown card through the form it is asked in, rightly or not.
    void answer(ExaminationDialog* window, const QString& expected, bool right) {
        const auto click = [&](const char* name) { child<QPushButton>(window, name)->click(); };
        const AnswerForm form = window->askedForm();
        if (!right && (form == AnswerForm::Typed || form == AnswerForm::MixedLetters))
            prompts().dialogHandlers.push_back(ScriptedPrompts::rejectDialog());  // "No"
        if (form == AnswerForm::Typed) {
            typeText(child<QLineEdit>(window, "answerEdit"), right ? expected : "xyz");
            QTest::keyClick(child<QLineEdit>(window, "answerEdit"), Qt::Key_Return);
        } else if (form == AnswerForm::FlashCard) {
            click("showAnswerButton");
            click(right ? "knewItButton" : "didntKnowButton");
        } else if (form == AnswerForm::MultipleChoice) {
            for (QPushButton* choice :
                 window->answerForms()->multipleChoicePanel()->findChildren<QPushButton*>()) {
                if (choice->isVisible() && choice->objectName().startsWith("choiceButton") &&
                    choice->text().endsWith(": " + expected) == right) {
                    choice->click();
                    break;
                }
            }
            if (!right)
                click("continueButton");
        } else {
            if (right)
                QTest::keyClicks(window->answerForms()->mixedLettersPanel(), expected);
            click("checkLettersButton");
        }
    }

private slots:
    void initTestCase() { useTestSpeechEngine(); }
    void init() { startMainWindow({1234, 77, 30000, 5, 999, 12000, 42, 8000, 3, 21000, 610, 17}); }
    void cleanup() {
        finishMainWindow();
        settleSpeech();
        SpeechLog::clear();
    }

    void everyFormAndDirection_data() {
        QTest::addColumn<QString>("direction");  // the menu items' object names
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("cards");  // all in one lesson, or each its own
        QTest::addColumn<bool>("oneLesson");
        QTest::addColumn<bool>("right");
        QTest::addColumn<int>("askedForm");
        QTest::addColumn<QString>("shown");
        const QString fwd = "directionQuestionAction", back = "directionAnswerAction";
        const QStringList one{"a=b"}, three{"дом=Haus", "cat=Katze", "sun=Sonne"};
        const QStringList five{"Haus=house", "Katze=cat", "Sonne=sun", "Baum=tree", "Wasser=w"};
        // clang-format off
        QTest::newRow("typed backwards, wrong") << back << "formTypedAction" << three << false << false << 0 << "Haus";
        QTest::newRow("flash card, 1 card") << fwd << "formFlashCardAction" << one << true << true << 1 << "a";
        QTest::newRow("flash card backwards") << back << "formFlashCardAction" << three << true << false << 1 << "Haus";
        QTest::newRow("choice, 1 card: typed") << fwd << "formMultipleChoiceAction" << one << true << true << 0 << "a";
        QTest::newRow("choice, 2 cards") << fwd << "formMultipleChoiceAction" << QStringList{"a=b", "c=d"} << true << true << 2 << "a";
        QTest::newRow("choice backwards, mixed scripts") << back << "formMultipleChoiceAction" << three << false << false << 2 << "Haus";
        QTest::newRow("choice of four") << fwd << "formMultipleChoiceAction" << five << true << true << 2 << "Haus";
        QTest::newRow("mixed letters") << fwd << "formMixedLettersAction" << three << true << true << 3 << "дом";
        QTest::newRow("mixed letters backwards") << back << "formMixedLettersAction" << QStringList{"Haus=house", "x=y"} << false << false << 3 << "house";
        // clang-format on
    }
    void everyFormAndDirection() {
        QFETCH(QString, direction);
        QFETCH(QString, form);
        QFETCH(QStringList, cards);
        QFETCH(bool, oneLesson);
        QFETCH(bool, right);
        QFETCH(int, askedForm);
        QFETCH(QString, shown);
        main_->findChild<QAction*>(direction)->trigger();
        main_->findChild<QAction*>(form)->trigger();
        ExaminationDialog* window = startInOrder(cards, oneLesson ? "L1" : QString());
        QVERIFY(window);
        QCOMPARE(int(window->askedForm()), askedForm);
        QCOMPARE(child<QLineEdit>(window, "questionEdit")->text(), shown);
        QCOMPARE(child<QLineEdit>(window, "answerEdit")->isVisible(), askedForm == 0);

        const QString folder = qEnvironmentVariable("KARTOMATRIX_SCREENSHOTS");
        if (!folder.isEmpty() && cards.size() >= 4 && askedForm == 2)
            QVERIFY(window->grab().save(QDir(folder).filePath("multiple-choice.png")));

        Card* card = window->currentCard();
        const bool backwards = direction != "directionQuestionAction";
        answer(window,
               QString::fromStdString(std::string(backwards ? card->question() : card->answer())),
               right);
        QCOMPARE(card->level, right ? 1 : 0);
        QCOMPARE(store_->wrongList.count(), right ? 0 : 1);
        QCOMPARE(main_->session().backwardAnswers(), backwards ? 1 : 0);
        if (ExaminationDialog* still = this->window<ExaminationDialog>())
            pressKey(still, Qt::Key_Escape);
        QVERIFY(prompts().unexpected.isEmpty());
    }

    void speaksTheCardsInTheListsLanguages_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("languagesChosen");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("off") << false << true << QStringList{};
        QTest::newRow("Russian question, German answer, F7 and F8")
            << true << true << QStringList{"ru дом", "de Haus", "ru кот", "ru кот", "de Katze"};
        QTest::newRow("first use asks for the languages") << true << false << QStringList{"ru дом"};
    }
    void speaksTheCardsInTheListsLanguages() {
        QFETCH(bool, on);
        QFETCH(bool, languagesChosen);
        QFETCH(QStringList, said);
        preferences_.speechControls = preferences_.speakQuestion = preferences_.speakAnswer = on;
        if (languagesChosen)
            main_->session().setListLanguages({"ru", "de"});
        else
            prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        ExaminationDialog* window = startInOrder({"дом=Haus", "кот=Katze"});
        QVERIFY(window);
        QCOMPARE(window->findChild<QWidget*>("speakQuestionButton") != nullptr, on);
        typeText(child<QLineEdit>(window, "answerEdit"), "Haus");
        QTest::keyClick(child<QLineEdit>(window, "answerEdit"), Qt::Key_Return);
        settleSpeech();
        // The next card's question waits until the right answer has been said, and does
        // not stop it.
        if (on && languagesChosen) {
            QTRY_COMPARE(spoken().size(), 3);
            const QList<SpeechEvent> events = SpeechLog::events();
            QCOMPARE(events.at(events.size() - 2).text, QStringLiteral("Haus"));
        }
        if (on) {
            // The keys are the window's shortcuts: they need it to have the focus.
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            for (Qt::Key key : {Qt::Key_F7, Qt::Key_F8}) {
                QTest::keyClick(window, key);
                QTest::qWait(150);  // a button's key clicks it a moment later
                settleSpeech();
            }
        }
        // The dialog's guess of the answers' language is its own affair.
        QCOMPARE(languagesChosen ? spoken() : spoken().mid(0, 1), said);
        QCOMPARE(prompts().dialogs.size(), on && !languagesChosen ? 1 : 0);
        pressKey(window, Qt::Key_Escape);
    }
};

QTEST_MAIN(TestExaminationForms)
#include "tst_examination_forms.moc"
