#include <QAction>
#include <QListWidget>
#include <QPointer>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "editing/lesson_chooser.h"
#include "exam/examination_dialog.h"
#include "session/window_registry.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"

namespace {

const QString kNoCardsOfLesson = QStringLiteral("Sorry: There are no cards of this lesson.");

QListWidget* lessonList(LessonChooser* chooser) {
    return chooser->findChild<QListWidget*>("lessonList");
}

void select(LessonChooser* chooser, const QStringList& lessons) {
    for (const QString& lesson : lessons) {
        const auto items = lessonList(chooser)->findItems(lesson, Qt::MatchExactly);
        QVERIFY2(items.size() == 1, qPrintable(lesson));
        items[0]->setSelected(true);
    }
}

}  // namespace

class TestLessonChooser : public MainWindowTest {
    Q_OBJECT

private:
    void addCards(const std::string& lesson, int count, CardList* list = nullptr) {
        for (int i = 0; i < count; ++i) {
            const std::string question = lesson + "-" + std::to_string(i);
            addCard(*store_, list ? *list : store_->unknownList, question, "answer", lesson, "-");
        }
    }

    LessonChooser* openChooser() {
        main_->board().action(Command::ChooseLesson)->trigger();
        const auto choosers = main_->findChildren<LessonChooser*>();
        return choosers.isEmpty() ? nullptr : choosers.last();
    }

    QStringList visibleExaminations() {
        QStringList titles;
        for (auto* window : main_->findChildren<ExaminationDialog*>()) {
            if (window->isVisible())
                titles << window->windowTitle();
        }
        return titles;
    }

    QStringList selectedQuestions() {
        QStringList questions;
        store_->lessonSelection.forEach(
            [&](Card* card) { questions << QString::fromLatin1(card->question()); });
        return questions;
    }

private slots:
    void init() {
        std::vector<int> randomNumbers;
        for (int i = 0; i < 100; ++i)
            randomNumbers.push_back((i * 7919) % 32768);
        startMainWindow(randomNumbers);
        main_->board().setCommandEnabled(Command::ChooseLesson, true);
        main_->board().setCommandEnabled(Command::CloseList, true);
        before_ = controlStates(main_->board());
    }

    void cleanup() { finishMainWindow(); }

    void lessonsAreListedLastMetFirstAndOnceWhateverTheirCase() {
        addCards("L1", 1);
        addCards("L2", 1);
        addCards("L1", 1);
        addCards("L3", 1);
        addCards("l2", 1, &store_->knownList);
        addCards("Known", 1, &store_->knownList);
        LessonChooser* chooser = openChooser();
        QVERIFY(chooser && chooser->isVisible());
        QCOMPARE(chooser->windowTitle(), QString("Choose a lesson..."));
        QCOMPARE(chooser->lessons(), (QStringList{"Known", "L3", "L2", "L1"}));
        QCOMPARE(lessonList(chooser)->selectionMode(), QAbstractItemView::ExtendedSelection);
    }

    // "Café" with é as one character and as e with a combining accent is one lesson.
    void bothSpellingsOfALessonAreOneLesson() {
        addCards("Caf\xC3\xA9", 2);
        addCards("Cafe\xCC\x81", 2);
        LessonChooser* chooser = openChooser();
        QCOMPARE(chooser->lessons().size(), qsizetype(1));
        select(chooser, chooser->lessons());
        QTest::keyClick(lessonList(chooser), Qt::Key_Return);
        QCOMPARE(countCards(store_->lessonSelection), 4);
    }

    void choiceStartsTheExaminationThatSuitsItsSize_data() {
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("examination");  // empty: the chooser stays open
        QTest::addColumn<bool>("systematicOffered");
        QTest::newRow("3 cards: in order")
            << QStringList{"A"} << 3 << "Examination in order (Lesson)" << false;
        QTest::newRow("3 and 5 cards: random")
            << QStringList{"A", "B"} << 8 << "Examination in random order (Lesson)" << false;
        QTest::newRow("6 and 5 cards: systematic")
            << QStringList{"C", "B"} << 11 << "Systematic examination (Lesson)" << true;
        QTest::newRow("same text in another case is not chosen")
            << QStringList{"mixed"} << 2 << "Examination in order (Lesson)" << false;
        QTest::newRow("nothing selected") << QStringList{} << 0 << "" << false;
        QTest::newRow("only known cards") << QStringList{"K"} << 0 << "" << false;
    }
    void choiceStartsTheExaminationThatSuitsItsSize() {
        QFETCH(QStringList, chosen);
        QFETCH(int, selected);
        QFETCH(QString, examination);
        QFETCH(bool, systematicOffered);
        addCards("A", 3);
        addCards("mixed", 2);
        addCards("B", 5);
        addCards("MIXED", 1);
        addCards("C", 6);
        addCards("K", 2, &store_->knownList);
        addCards("A", 1, &store_->knownList);
        addCards("old", 1);
        store_->lessonSelection.insert(store_->unknownList.cards().back());

        QPointer<LessonChooser> chooser = openChooser();
        select(chooser, chosen);
        QTest::keyClick(lessonList(chooser), Qt::Key_Return);
        QCOMPARE(countCards(store_->lessonSelection), selected);
        QCOMPARE(visibleExaminations(),
                 examination.isEmpty() ? QStringList{} : QStringList{examination});

        if (examination.isEmpty()) {
            QVERIFY(chooser->isVisible());
            QCOMPARE(prompts().messageTexts(), QStringList{kNoCardsOfLesson});
            QCOMPARE(describeDifferences(controlStates(main_->board()), before_), QString());
            return;
        }
        QVERIFY(prompts().messages.empty());
        flushDeletes();
        QVERIFY(chooser.isNull());
        ControlStates expected =
            withChanges(before_, {Command::LessonInOrder, Command::LessonRandom}, {});
        if (systematicOffered)
            expected = withChanges(expected, {Command::LessonSystematic}, {});
        // The examination just opened greys its own command again.
        const Command running = selected > 10  ? Command::LessonSystematic
                                : selected > 3 ? Command::LessonRandom
                                               : Command::LessonInOrder;
        expected = withChanges(expected, {}, {running});
        QCOMPARE(describeDifferences(controlStates(main_->board()), expected), QString());
    }

    void cancelLeavesSelectionAndMenusAsTheyWere_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "click:cancelButton";
        QTest::newRow("Escape") << "key:Escape";
        QTest::newRow("close box") << "close";
    }
    void cancelLeavesSelectionAndMenusAsTheyWere() {
        QFETCH(QString, how);
        addCards("A", 3);
        store_->lessonSelection.insert(store_->unknownList.slot(1));
        QPointer<LessonChooser> chooser = openChooser();
        select(chooser, {"A"});
        handlerNamed(how)(chooser);
        flushDeletes();
        QVERIFY(chooser.isNull());
        QCOMPARE(selectedQuestions(), QStringList{"A-1"});
        QCOMPARE(describeDifferences(controlStates(main_->board()), before_), QString());
        QVERIFY(visibleExaminations().isEmpty());
    }

    void choosersStayOpenAcrossCloseList() {
        addCards("A", 3);
        store_->modified = false;
        QPointer<LessonChooser> first = openChooser();
        QPointer<LessonChooser> second = openChooser();
        QVERIFY(first != second);
        main_->board().action(Command::CloseList)->trigger();
        flushDeletes();
        QVERIFY(first && first->isVisible() && second && second->isVisible());
        select(first, {"A"});
        QTest::keyClick(lessonList(first), Qt::Key_Return);
        QVERIFY(first->isVisible());
        QCOMPARE(prompts().messageTexts(),
                 QStringList{"You have not opened any cards yet. Please try 'open' or 'new list'"});
    }

    void keyboardChoosesLessonsAndAgainBringsTheRunningWindowBack() {
        addCards("A", 2);
        addCards("B", 2);
        addCards("C", 2);
        LessonChooser* chooser = openChooser();
        QApplication::setActiveWindow(chooser);
        QVERIFY(QTest::qWaitForWindowActive(chooser));
        QCOMPARE(controlsWithoutAccessibleName(chooser), QStringList());
        QVERIFY(!lessonList(chooser)->accessibleName().isEmpty());
        QCOMPARE(chooser->focusWidget(), lessonList(chooser));
        QTest::keyClick(lessonList(chooser), Qt::Key_Home);
        QTest::keyClick(lessonList(chooser), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(lessonList(chooser), Qt::Key_Return);
        QCOMPARE(selectedQuestions(), (QStringList{"C-0", "C-1", "B-0", "B-1"}));
        QCOMPARE(visibleExaminations(), QStringList{"Examination in random order (Lesson)"});

        LessonChooser* again = openChooser();
        select(again, {"A", "B"});
        QTest::keyClick(lessonList(again), Qt::Key_Return);
        QCOMPARE(selectedQuestions(), (QStringList{"B-0", "B-1", "A-0", "A-1"}));
        QCOMPARE(visibleExaminations(), QStringList{"Examination in random order (Lesson)"});
    }
};

QTEST_MAIN(TestLessonChooser)
#include "tst_lesson_chooser.moc"
