#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "exam/answer_form_stack.h"
#include "exam/examination_dialog.h"
#include "exam/mixed_letters_panel.h"
#include "platform/speaker.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_speech.h"

namespace {

std::vector<int> someRandomNumbers() {
    std::vector<int> values;
    for (int i = 0; i < 400; ++i)
        values.push_back((i * 7919) % 32768);
    return values;
}

// Lets the speech thread log what it was asked.
void settleSpeech() {
    if (!Speaker::sharedExists())
        return;
    Speaker& speaker = Speaker::shared();
    if (speaker.status() == Speaker::Status::Starting) {
        QSignalSpy started(&speaker, &Speaker::statusChanged);
        started.wait(5000);
    }
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
        if (found == nullptr)
            qFatal("no %s", qPrintable(name));
        return found;
    }

    // Answers the shown card through the form it is asked in, rightly or not.
    void answer(ExaminationDialog* window, const QString& expected, bool right) {
        switch (window->askedForm()) {
            case AnswerForm::Typed:
                if (!right)
                    prompts().dialogHandlers.push_back(ScriptedPrompts::rejectDialog());
                typeText(child<QLineEdit>(window, "answerEdit"), right ? expected : "xyz");
                QTest::keyClick(child<QLineEdit>(window, "answerEdit"), Qt::Key_Return);
                break;
            case AnswerForm::FlashCard:
                child<QPushButton>(window, "showAnswerButton")->click();
                child<QPushButton>(window, right ? "knewItButton" : "didntKnowButton")->click();
                break;
            case AnswerForm::MultipleChoice:
                for (int i = 1; i <= 4; ++i) {
                    auto* button =
                        child<QPushButton>(window, QStringLiteral("choiceButton%1").arg(i));
                    if (button->isVisible() && button->text().endsWith(": " + expected) == right) {
                        button->click();
                        break;
                    }
                }
                if (!right)
                    child<QPushButton>(window, "continueButton")->click();
                break;
            case AnswerForm::MixedLetters: {
                QWidget* panel = window->answerForms()->mixedLettersPanel();
                if (right)
                    QTest::keyClicks(panel, expected);
                else
                    prompts().dialogHandlers.push_back(ScriptedPrompts::rejectDialog());
                child<QPushButton>(window, "checkLettersButton")->click();
                break;
            }
        }
    }

private slots:
    void initTestCase() { useTestSpeechEngine(); }
    void init() { startMainWindow(someRandomNumbers()); }
    void cleanup() {
        finishMainWindow();
        settleSpeech();
        SpeechLog::clear();
    }

    void everyFormAndDirection_data() {
        QTest::addColumn<QString>("direction");  // the menu item's object name
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("cards");
        QTest::addColumn<bool>("oneLesson");
        QTest::addColumn<bool>("right");
        QTest::addColumn<int>("askedForm");
        QTest::addColumn<QString>("shown");
        const QString forward = "directionQuestionAction";
        const QString backward = "directionAnswerAction";
        const QStringList three{"дом=Haus", "cat=Katze", "sun=Sonne"};
        const int typed = int(AnswerForm::Typed);
        QTest::newRow("typed backwards")
            << backward << "formTypedAction" << three << false << true << typed << "Haus";
        QTest::newRow("typed backwards, wrong")
            << backward << "formTypedAction" << three << false << false << typed << "Haus";
        QTest::newRow("flash card, 1 card")
            << forward << "formFlashCardAction" << QStringList{"a=b"} << true << true
            << int(AnswerForm::FlashCard) << "a";
        QTest::newRow("flash card backwards, wrong")
            << backward << "formFlashCardAction" << three << true << false
            << int(AnswerForm::FlashCard) << "Haus";
        QTest::newRow("choice of 1 card falls back to typing")
            << forward << "formMultipleChoiceAction" << QStringList{"a=b"} << true << true << typed
            << "a";
        QTest::newRow("choice of 2 cards, one lesson")
            << forward << "formMultipleChoiceAction" << QStringList{"a=b", "c=d"} << true << true
            << int(AnswerForm::MultipleChoice) << "a";
        QTest::newRow("choice backwards, mixed scripts, wrong")
            << backward << "formMultipleChoiceAction" << three << false << false
            << int(AnswerForm::MultipleChoice) << "Haus";
        QTest::newRow("choice of four")
            << forward << "formMultipleChoiceAction"
            << QStringList{"Haus=house", "Katze=cat", "Sonne=sun", "Baum=tree", "Wasser=water"}
            << true << true << int(AnswerForm::MultipleChoice) << "Haus";
        QTest::newRow("mixed letters") << forward << "formMixedLettersAction" << three << true
                                       << true << int(AnswerForm::MixedLetters) << "дом";
        QTest::newRow("mixed letters backwards, wrong")
            << backward << "formMixedLettersAction" << QStringList{"Haus=house", "x=y"} << false
            << false << int(AnswerForm::MixedLetters) << "house";
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
        const QString expected =
            QString::fromStdString(std::string(backwards ? card->question() : card->answer()));
        answer(window, expected, right);
        QCOMPARE(card->level, right ? 1 : 0);
        QCOMPARE(store_->wrongList.count(), right ? 0 : 1);
        QCOMPARE(main_->session().backwardAnswers(), backwards ? 1 : 0);
        if (cards.size() > 1)
            QCOMPARE(window->currentCard() == card, false);
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
            prompts().dialogHandlers.push_back([](QDialog* dialog) {
                dialog->accept();
                return int(QDialog::Accepted);
            });
        ExaminationDialog* window = startInOrder({"дом=Haus", "кот=Katze"});
        QVERIFY(window);
        QCOMPARE(window->findChild<QWidget*>("speakQuestionButton") != nullptr, on);
        typeText(child<QLineEdit>(window, "answerEdit"), "Haus");
        QTest::keyClick(child<QLineEdit>(window, "answerEdit"), Qt::Key_Return);
        settleSpeech();
        if (on) {
            // The keys are the window's shortcuts: they need it to have the focus.
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            // A button's key clicks it as the mouse would, a moment later.
            QTest::keyClick(window, Qt::Key_F7);
            QTest::qWait(150);
            settleSpeech();
            QTest::keyClick(window, Qt::Key_F8);
            QTest::qWait(150);
            settleSpeech();
        }
        // The dialog's guess of the answers' language is its own affair.
        QCOMPARE(languagesChosen ? spoken() : spoken().mid(0, 1), said);
        QCOMPARE(prompts().dialogs.size(), on && !languagesChosen ? 1 : 0);
        pressKey(window, Qt::Key_Escape);
    }
};

QTEST_MAIN(TestExaminationForms)
#include "tst_examination_forms.moc"
