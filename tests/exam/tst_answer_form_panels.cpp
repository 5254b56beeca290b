#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "exam/answer_form_stack.h"
#include "exam/mixed_letters_panel.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/test_environment.h"

Q_DECLARE_METATYPE(AnswerForm)
Q_DECLARE_METATYPE(Direction)

// Each row asks the first card of a list in a form, inside a dialog with a default button
// as the examination window has, and plays the learner's keys and clicks. Steps: a key
// (Space Enter Back 1-4), again (the card asked anew), click:<button>, tile:<letter>,
// type:<text>; and checks: focus:<button>, shows:<flash-card text>, choices:<names of the
// choice buttons>, says:<part of the announcement>, built:<text so far>, beeps:<count>.
class TestAnswerFormPanels : public QObject {
    Q_OBJECT
private slots:
    void forms_data();
    void forms();

private:
    void play(const QString& step);
    QPushButton* button(const QString& name) { return dialog_->findChild<QPushButton*>(name); }
    // What a screen reader reads as the control's name.
    static QString spoken(QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<QDialog> dialog_;
    std::function<AnswerFormStack::Asked()> askAgain_;
};

void TestAnswerFormPanels::forms_data() {
    QTest::addColumn<QStringList>("answers");  // of the cards "q0", "q1"...; q0 is asked
    QTest::addColumn<AnswerForm>("form");
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<AnswerForm>("asked");  // the form used
    QTest::addColumn<QString>("outcome");   // "right", "wrong" or the text given, '|' between

    const auto flash = AnswerForm::FlashCard;
    const auto choice = AnswerForm::MultipleChoice;
    const auto letters = AnswerForm::MixedLetters;
    const auto typed = AnswerForm::Typed;
    const auto forward = Direction::QuestionToAnswer;
    const auto backward = Direction::AnswerToQuestion;
    const QStringList five = {"a0", "a1", "a2", "Tom & Jerry", "a4"};
    QTest::newRow("typed") << QStringList{"a0"} << typed << forward << QStringList{} << typed
                           << QString();
    QTest::newRow("flash card: no verdict unseen, Space, 1")
        << QStringList{"Haus"} << flash << forward
        << QStringList{"focus:showAnswerButton", "1", "Space", "shows:Haus",
                       "focus:knewItButton",     "1", "2",     "again",
                       "focus:showAnswerButton", "2", "Space", "1"}
        << flash << "right|right";
    QTest::newRow("flash card backwards: Enter, 2")
        << QStringList{"a0"} << flash << backward << QStringList{"Enter", "shows:q0", "2", "1"}
        << flash << "wrong";
    QTest::newRow("flash card by mouse")
        << QStringList{"a0"} << flash << forward
        << QStringList{"click:showAnswerButton", "click:didntKnowButton"} << flash << "wrong";
    QTest::newRow("one card: typed instead")
        << QStringList{"a0"} << choice << forward << QStringList{} << typed << QString();
    QTest::newRow("alike answers: typed instead")
        << QStringList{"a0", "a0"} << choice << forward << QStringList{} << typed << QString();
    QTest::newRow("two cards: two choices, key 3 does nothing")
        << QStringList{"a0", "a1"} << choice << forward
        << QStringList{"choices:1: a0|2: a1", "3", "1"} << choice << "right";
    QTest::newRow("backwards, three cards: questions to choose")
        << QStringList{"a0", "a1", "a1"} << choice << backward
        << QStringList{"choices:1: q0|2: q1|3: q2", "1"} << choice << "right";
    QTest::newRow("wrong by key: announced, right shown, Enter moves on")
        << five << choice << forward
        << QStringList{"2", "says:1: a0", "focus:continueButton", "1", "Enter", "1"} << choice
        << "wrong";
    QTest::newRow("wrong by mouse, '&' kept")
        << five << choice << forward
        << QStringList{"choices:1: a0|2: a1|3: a4|4: Tom & Jerry",
                       "click:choiceButton4",
                       "says:4: Tom & Jerry",
                       "says:1: a0",
                       "click:continueButton",
                       "again",
                       "1"}
        << choice << "wrong|right";
    QTest::newRow("no letters: typed instead")
        << QStringList{"?!"} << letters << forward << QStringList{} << typed << QString();
    QTest::newRow("letters typed and clicked, one taken back")
        << QStringList{"Cafe\u0301, Tee"} << letters << forward
        << QStringList{"type:caf", "built:Caf", "type:x",       "beeps:1",
                       "Back",     "built:Ca",  "type:f\u00E9", "built:Cafe\u0301, ",
                       "tile:T",   "tile:e",    "tile:e",       "focus:checkLettersButton",
                       "Enter",    "again",     "built:",       "type:C",
                       "Enter"}
        << letters << "Cafe\u0301, Tee|C";
}

void TestAnswerFormPanels::forms() {
    QFETCH(QStringList, answers);
    QFETCH(AnswerForm, form);
    QFETCH(Direction, direction);
    QFETCH(QStringList, steps);
    QFETCH(AnswerForm, asked);
    QFETCH(QString, outcome);
    env_ = std::make_unique<TestEnvironment>();
    dialog_ = std::make_unique<QDialog>();
    auto* layout = new QVBoxLayout(dialog_.get());
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog_.get());
    ok->setDefault(true);
    layout->addWidget(ok);
    auto* forms = new AnswerFormStack(dialog_.get());
    layout->addWidget(forms);
    dialog_->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    QSignalSpy okPressed(ok, &QPushButton::clicked);
    QSignalSpy judged(forms, &AnswerFormStack::judged);
    QSignalSpy textGiven(forms, &AnswerFormStack::textGiven);

    CardStore store;
    for (int i = 0; i < answers.size(); ++i)
        addCard(store, store.unknownList, "q" + std::to_string(i), answers[i].toStdString(), "1",
                "");
    const CardList* pools[] = {&store.unknownList, &store.knownList};
    askAgain_ = [&] {
        return forms->ask(*store.unknownList.nthCard(0), direction, form, pools, env_->random());
    };
    const AnswerFormStack::Asked result = askAgain_();
    QCOMPARE(result.form, asked);
    QCOMPARE(result.notice.isEmpty(), asked == form);  // the user is told of a fallback
    QCOMPARE(forms->isVisible(), asked != AnswerForm::Typed);
    if (asked != AnswerForm::Typed)
        QVERIFY(forms->isAncestorOf(QApplication::focusWidget()));

    for (const QString& step : steps) {
        play(step);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable("at step " + step));
    }
    QStringList given;
    for (const QList<QVariant>& signal : judged)
        given << (signal.at(0).toBool() ? "right" : "wrong");
    for (const QList<QVariant>& signal : textGiven)
        given << signal.at(0).toString();
    QCOMPARE(given.join('|'), outcome);
    QCOMPARE(okPressed.count(), 0);
    dialog_.reset();
    env_.reset();
}

void TestAnswerFormPanels::play(const QString& step) {
    const QString arg = step.section(QLatin1Char(':'), 1, -1);
    QWidget* focused = QApplication::focusWidget();
    const QMap<QString, Qt::Key> keys = {
        {"Space", Qt::Key_Space}, {"Enter", Qt::Key_Return}, {"Back", Qt::Key_Backspace},
        {"1", Qt::Key_1},         {"2", Qt::Key_2},          {"3", Qt::Key_3}};
    if (step == "again") {
        askAgain_();  // the next card, after an answer
    } else if (keys.contains(step)) {
        QTest::keyClick(focused, keys[step]);
    } else if (step.startsWith("click:")) {
        QTest::mouseClick(button(arg), Qt::LeftButton);
    } else if (step.startsWith("tile:")) {
        const auto tiles = dialog_->findChildren<QPushButton*>(QRegularExpression("^letterTile"));
        const auto it = std::find_if(tiles.begin(), tiles.end(), [&](QPushButton* b) {
            return b->isEnabled() && spoken(b) == arg;
        });
        QVERIFY(it != tiles.end());
        QTest::mouseClick(*it, Qt::LeftButton);
    } else if (step.startsWith("type:")) {
        typeText(focused, arg);
    } else if (step.startsWith("focus:")) {
        QCOMPARE(focused, button(arg));
    } else if (step.startsWith("shows:")) {
        QCOMPARE(dialog_->findChild<QLabel*>("flashCardAnswer")->text(), arg);
    } else if (step.startsWith("choices:")) {
        QStringList names;
        for (int i = 1; i <= 4; ++i) {
            if (QPushButton* b = button(QStringLiteral("choiceButton%1").arg(i)); b->isVisible())
                names << spoken(b);
        }
        QCOMPARE(names.join('|'), arg);
    } else if (step.startsWith("says:")) {
        QVERIFY(spoken(dialog_->findChild<QWidget*>("choiceFeedbackLine")).contains(arg));
    } else if (step.startsWith("built:")) {
        QCOMPARE(dialog_->findChild<MixedLettersPanel*>()->builtText(), arg);
    } else if (step.startsWith("beeps:")) {
        QCOMPARE(int(env_->prompts().beeps.size()), arg.toInt());
    } else {
        QFAIL(qPrintable("unknown step " + step));
    }
}

QTEST_MAIN(TestAnswerFormPanels)
#include "tst_answer_form_panels.moc"
