#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/mixed_letters.h"
#include "exam/answer_form_stack.h"
#include "exam/flash_card_panel.h"
#include "exam/mixed_letters_panel.h"
#include "exam/multiple_choice_panel.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/test_environment.h"

// The panels sit in a dialog with a default button, as in the examination window: keys
// must reach the panel and not press that button.
class TestAnswerFormPanels : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void flashCard_data();
    void flashCard();
    void multipleChoice_data();
    void multipleChoice();
    void mixedLetters();
    void stack_data();
    void stack();

private:
    template <typename Panel>
    Panel* host() {
        auto* panel = new Panel(dialog_.get());
        dialog_->layout()->addWidget(panel);
        dialog_->show();
        dialog_->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog_.get()))
            qWarning("dialog not active");
        return panel;
    }
    QPushButton* button(const char* name) { return dialog_->findChild<QPushButton*>(name); }
    // What a screen reader reads as the control's name.
    static QString spoken(QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }
    // Sends a key to whatever has the focus, as a user's keyboard does.
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<QDialog> dialog_;
    QPushButton* ok_ = nullptr;
};

void TestAnswerFormPanels::init() {
    env_ = std::make_unique<TestEnvironment>();
    dialog_ = std::make_unique<QDialog>();
    auto* layout = new QVBoxLayout(dialog_.get());
    ok_ = new QPushButton(QStringLiteral("OK"), dialog_.get());
    ok_->setDefault(true);
    layout->addWidget(ok_);
}

void TestAnswerFormPanels::cleanup() {
    dialog_.reset();
    env_.reset();
}

void TestAnswerFormPanels::flashCard_data() {
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<int>("showKey");
    QTest::addColumn<int>("verdictKey");
    QTest::addColumn<bool>("right");
    QTest::newRow("Space, 1") << false << int(Qt::Key_Space) << int(Qt::Key_1) << true;
    QTest::newRow("Enter, 2") << false << int(Qt::Key_Return) << int(Qt::Key_2) << false;
    QTest::newRow("mouse, I didn't") << true << 0 << 0 << false;
}

void TestAnswerFormPanels::flashCard() {
    QFETCH(bool, byMouse);
    QFETCH(int, showKey);
    QFETCH(int, verdictKey);
    QFETCH(bool, right);
    auto* panel = host<FlashCardPanel>();
    QSignalSpy answered(panel, &FlashCardPanel::answered);
    QSignalSpy okPressed(ok_, &QPushButton::clicked);
    panel->setCard(QStringLiteral("Haus"));
    QVERIFY(!panel->answerShown());
    key(Qt::Key_1);  // no verdict before the answer was seen
    QCOMPARE(answered.count(), 0);

    if (byMouse)
        QTest::mouseClick(button("showAnswerButton"), Qt::LeftButton);
    else
        key(Qt::Key(showKey));
    QVERIFY(panel->answerShown());
    QVERIFY(button("knewItButton")->hasFocus());
    QCOMPARE(spoken(button("knewItButton")), QStringLiteral("1: I knew it"));
    QVERIFY(button("knewItButton")->accessibleDescription().contains(QStringLiteral("Haus")));
    if (byMouse)
        QTest::mouseClick(button("didntKnowButton"), Qt::LeftButton);
    else
        key(Qt::Key(verdictKey));
    key(Qt::Key_1);  // once a card
    QCOMPARE(answered.count(), 1);
    QCOMPARE(answered.at(0).at(0).toBool(), right);
    QCOMPARE(okPressed.count(), 0);

    panel->setCard(QStringLiteral("Baum"));
    QVERIFY(!panel->answerShown());
    QVERIFY(button("showAnswerButton")->hasFocus());
}

void TestAnswerFormPanels::multipleChoice_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("chosen");  // 1-based key; negative: click that button
    QTest::addColumn<bool>("wasRight");
    const QStringList four = {"Haus", "Tom & Jerry", "Baum", "Hund"};
    QTest::newRow("key 3, right") << four << 2 << 3 << true;
    QTest::newRow("key 2, wrong") << four << 0 << 2 << false;
    QTest::newRow("click 4, wrong") << four << 1 << -4 << false;
    QTest::newRow("two choices, key 2") << QStringList{"A", "B"} << 1 << 2 << true;
}

void TestAnswerFormPanels::multipleChoice() {
    QFETCH(QStringList, texts);
    QFETCH(int, right);
    QFETCH(int, chosen);
    QFETCH(bool, wasRight);
    auto* panel = host<MultipleChoicePanel>();
    QSignalSpy answered(panel, &MultipleChoicePanel::answered);
    panel->setChoices(texts, right);
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = button(QStringLiteral("choiceButton%1").arg(i + 1).toLatin1());
        QCOMPARE(b->isVisible(), i < texts.size());
        if (i < texts.size())
            QCOMPARE(spoken(b), QStringLiteral("%1: %2").arg(i + 1).arg(texts[i]));
    }
    key(Qt::Key(Qt::Key_1 + texts.size()));  // a key without a choice does nothing
    QCOMPARE(answered.count(), 0);

    if (chosen > 0)
        key(Qt::Key(Qt::Key_0 + chosen));
    else
        QTest::mouseClick(button(QStringLiteral("choiceButton%1").arg(-chosen).toLatin1()),
                          Qt::LeftButton);
    if (!wasRight) {
        // The right choice is shown and announced before the answer goes out.
        QCOMPARE(answered.count(), 0);
        auto* feedback = dialog_->findChild<QWidget*>("choiceFeedbackLine");
        QVERIFY(feedback->isVisible());
        QVERIFY(spoken(feedback).contains(MultipleChoicePanel::labelOf(right, texts[right])));
        QVERIFY(button("continueButton")->hasFocus());
        key(Qt::Key_1);
        key(Qt::Key_Return);
    }
    key(Qt::Key_Return);
    QCOMPARE(answered.count(), 1);
    QCOMPARE(answered.at(0).at(0).toBool(), wasRight);
}

void TestAnswerFormPanels::mixedLetters() {
    auto* panel = host<MixedLettersPanel>();
    QSignalSpy answered(panel, &MixedLettersPanel::answered);
    // "Café, Tee" with the é in two code points; the fixed random source gives a shuffle
    // that the panel may show in any order.
    FixedRandom random({0});
    const MixedLetters puzzle("Cafe\xCC\x81, Tee", random);
    panel->setPuzzle(puzzle);
    QCOMPARE(int(dialog_->findChildren<QPushButton*>(QRegularExpression("^letterTile")).size()), 7);

    typeText(QApplication::focusWidget(), QStringLiteral("caf"));
    QCOMPARE(panel->builtText(), QStringLiteral("Caf"));
    typeText(QApplication::focusWidget(), QStringLiteral("x"));  // no such tile
    QCOMPARE(env_->prompts().beeps.size(), std::size_t(1));
    key(Qt::Key_Backspace);
    QCOMPARE(panel->builtText(), QStringLiteral("Ca"));
    typeText(QApplication::focusWidget(), QStringLiteral("f\u00E9"));
    QCOMPARE(panel->builtText(), QString::fromUtf8("Cafe\xCC\x81, "));
    // The rest by mouse, in the order of the text.
    for (const QString letter : {"T", "e", "e"}) {
        QPushButton* tile = nullptr;
        for (auto* b : dialog_->findChildren<QPushButton*>(QRegularExpression("^letterTile")))
            if (b->isEnabled() && spoken(b) == letter)
                tile = b;
        QVERIFY(tile);
        QTest::mouseClick(tile, Qt::LeftButton);
    }
    QVERIFY(button("checkLettersButton")->hasFocus());
    QCOMPARE(answered.count(), 0);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    QCOMPARE(answered.count(), 1);
    QCOMPARE(answered.at(0).at(0).toString(), QString::fromUtf8("Cafe\xCC\x81, Tee"));
}

void TestAnswerFormPanels::stack_data() {
    QTest::addColumn<QStringList>("answers");  // of the cards "q0", "q1"...; q0 is asked
    QTest::addColumn<int>("form");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("asked");      // the form used
    QTest::addColumn<QString>("shown");  // the flash card's text, or the choices joined
    const int typed = int(AnswerForm::Typed);
    const int flash = int(AnswerForm::FlashCard);
    const int choice = int(AnswerForm::MultipleChoice);
    const int letters = int(AnswerForm::MixedLetters);
    const int forward = int(Direction::QuestionToAnswer);
    const int backward = int(Direction::AnswerToQuestion);
    QTest::newRow("typed") << QStringList{"a0"} << typed << forward << typed << QString();
    QTest::newRow("flash card backwards")
        << QStringList{"a0"} << flash << backward << flash << QStringLiteral("q0");
    QTest::newRow("one card: typed instead")
        << QStringList{"a0"} << choice << forward << typed << QString();
    QTest::newRow("alike answers: typed instead")
        << QStringList{"a0", "a0"} << choice << forward << typed << QString();
    QTest::newRow("two cards: two choices")
        << QStringList{"a0", "a1"} << choice << forward << choice << QStringLiteral("a0 a1");
    QTest::newRow("backwards: questions to choose")
        << QStringList{"a0", "a1", "a2"} << choice << backward << choice
        << QStringLiteral("q0 q1 q2");
    QTest::newRow("no letters: typed instead")
        << QStringList{"?!"} << letters << forward << typed << QString();
    QTest::newRow("letters") << QStringList{"a0"} << letters << forward << letters << QString();
}

void TestAnswerFormPanels::stack() {
    QFETCH(QStringList, answers);
    QFETCH(int, form);
    QFETCH(int, direction);
    QFETCH(int, asked);
    QFETCH(QString, shown);
    CardStore store;
    for (int i = 0; i < answers.size(); ++i)
        addCard(store, store.unknownList, "q" + std::to_string(i), answers[i].toStdString(), "1",
                "");
    auto* forms = host<AnswerFormStack>();
    const CardList* pools[] = {&store.unknownList, &store.knownList};
    const AnswerFormStack::Asked result =
        forms->ask(*store.unknownList.nthCard(0), Direction(direction), AnswerForm(form), pools,
                   env_->random());
    QCOMPARE(int(result.form), asked);
    QCOMPARE(result.notice.isEmpty(), asked == form);
    QCOMPARE(forms->isVisible(), asked != int(AnswerForm::Typed));
    if (asked == int(AnswerForm::Typed))
        return;
    QVERIFY(forms->isAncestorOf(QApplication::focusWidget()));
    QSignalSpy judged(forms, &AnswerFormStack::judged);
    QSignalSpy textGiven(forms, &AnswerFormStack::textGiven);
    QStringList choices;
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = button(QStringLiteral("choiceButton%1").arg(i + 1).toLatin1());
        if (b->isVisible())
            choices << spoken(b).mid(3);
    }
    switch (AnswerForm(asked)) {
        case AnswerForm::FlashCard:
            key(Qt::Key_Space);
            QCOMPARE(dialog_->findChild<QLabel*>("flashCardAnswer")->text(), shown);
            key(Qt::Key_2);
            break;
        case AnswerForm::MultipleChoice:
            choices.sort();
            QCOMPARE(choices.join(' '), shown);
            key(Qt::Key_1);
            key(Qt::Key_Return);
            break;
        default:
            typeText(QApplication::focusWidget(), answers[0]);
            key(Qt::Key_Return);
            QCOMPARE(textGiven.value(0).value(0).toString(), answers[0]);
            return;
    }
    QCOMPARE(judged.count(), 1);
}

QTEST_MAIN(TestAnswerFormPanels)
#include "tst_answer_form_panels.moc"
