#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "editing/card_table_model.h"
#include "editing/modify_card_dialog.h"
#include "editing/overview_dialog.h"
#include "platform/text_codec.h"
#include "session/window_registry.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"

namespace {

struct TestCard {
    const char* question;
    const char* answer;
    const char* addInfo;
    const char* lesson;
    int32_t id;
    int32_t level;
};

QTableView* table(QWidget* overview) {
    return overview->findChild<QTableView*>("cardTable");
}

QStringList column(QWidget* overview, int column = 0) {
    QAbstractItemModel* model = table(overview)->model();
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, column).data().toString();
    return out;
}

QStringList questions(const CardList& list) {
    QStringList out;
    list.forEach([&](Card* card) { out << fromCardText(card->question()); });
    return out;
}

// A double-click as the window system delivers it: a click, then the second press.
void doubleClick(QWidget* viewport, QPoint at) {
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
}

void clickTitle(QWidget* overview, int section) {
    QHeaderView* header = table(overview)->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

ScriptedPrompts::DialogHandler searchFor(const QString& typed, QStringList* initialTexts) {
    return [typed, initialTexts](QDialog* prompt) {
        auto* field = prompt->findChild<QLineEdit*>("searchEdit");
        *initialTexts << field->text();
        field->selectAll();
        typeText(field, typed);
        return clickIn("searchButton")(prompt);
    };
}

}  // namespace

class TestOverviewDialog : public MainWindowTest {
    Q_OBJECT

private:
    void add(CardList& list, const TestCard& s) {
        Card& card = addCard(*store_, list, s.question, s.answer, s.lesson, s.addInfo);
        setCardId(card, s.id);
        card.level = s.level;
    }

    // Three unknown cards, two known ones, the second unknown card answered wrong. Two
    // lessons differ only in case.
    void addSampleCards() {
        add(store_->unknownList, {"u0", "a0", "-", "L1", 10, 0});
        add(store_->unknownList, {"u1", "a1", "-", "L2", 11, 1});
        add(store_->unknownList, {"u2", "a2", "-", "l1", 12, 12});
        add(store_->knownList, {"k0", "b0", "-", "L1", 20, 5});
        add(store_->knownList, {"k1", "b1", "-", "L2", 21, 6});
        store_->wrongList.insert(store_->unknownList.nthCard(1));
    }

    OverviewDialog* openOverview() {
        main_->board().action(Command::Overview)->trigger();
        const auto all = main_->findChildren<OverviewDialog*>();
        return all.size() == 1 ? all.first() : nullptr;
    }

    QString states(const ControlStates& expected) {
        return describeDifferences(controlStates(main_->board()), expected);
    }

private slots:
    void init() {
        startMainWindow();
        for (Command command : {Command::Overview, Command::ModifyCards, Command::CloseList})
            main_->board().setCommandEnabled(command, true);
        main_->board().setButtonEnabled(MainButton::Overview, true);
        before_ = controlStates(main_->board());
    }

    void cleanup() { finishMainWindow(); }

    void openingAndClosingGiveBackMenuAndButton_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "ok";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("Enter after typing a level") << "enter";
        QTest::newRow("Enter on the table") << "enter on table";
        QTest::newRow("close box") << "close";
        QTest::newRow("Close List") << "close list";
    }
    void openingAndClosingGiveBackMenuAndButton() {
        QFETCH(QString, how);
        addSampleCards();
        store_->modified = false;
        QPointer<OverviewDialog> overview = openOverview();
        QVERIFY(overview && overview->isVisible());
        QCOMPARE(overview->windowTitle(), QString("Contents of your vocabulary list:"));
        QVERIFY(overview->findChild<QRadioButton*>("unknownCardsRadio")->isChecked());
        QCOMPARE(column(overview), (QStringList{"u0", "u1", "u2"}));
        QCOMPARE(states(withChanges(before_, {}, {Command::Overview}, {}, {MainButton::Overview})),
                 QString());
        QVERIFY(main_->windows().contains(overview));
        QCOMPARE(controlsWithoutAccessibleName(overview), QStringList());
        QVERIFY(!table(overview)->accessibleName().isEmpty());
        QVERIFY(!overview->findChild<QListView*>("lessonList")->accessibleName().isEmpty());
        // The button can come back on while the overview is open (typing cards does
        // that); the command then brings up the same overview.
        main_->runCommand(Command::Overview);
        QCOMPARE(main_->findChildren<OverviewDialog*>().size(), 1);

        QLineEdit* level = overview->findChild<QLineEdit*>("levelEdit");
        if (how == "ok") {
            overview->findChild<QPushButton*>("okButton")->click();
        } else if (how == "escape") {
            pressKey(overview, Qt::Key_Escape);
        } else if (how == "enter") {
            level->selectAll();
            typeText(level, "1");
            QTest::keyClick(level, Qt::Key_Return);
        } else if (how == "enter on table") {
            QTest::keyClick(table(overview), Qt::Key_Return);
        } else if (how == "close") {
            overview->close();
        } else {
            main_->board().action(Command::CloseList)->trigger();
            QVERIFY(!overview);
        }
        if (how == "close list") {
            QCOMPARE(states(startStates()), QString());
        } else {
            QVERIFY(!overview->isVisible());
            QCOMPARE(states(before_), QString());
        }
        QCOMPARE(main_->windows().listWindowCount(), 0);
        flushDeletes();
        QVERIFY(!overview);
        QVERIFY(prompts().messages.empty());
    }

    void choicesShowTheirCards_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("All cards, unknown first")
            << "allCardsRadio" << QStringList{"u0", "u1", "u2", "k0", "k1"};
        QTest::newRow("Known Cards") << "knownCardsRadio" << QStringList{"k0", "k1"};
        QTest::newRow("Wrong Cards") << "wrongCardsRadio" << QStringList{"u1"};
        QTest::newRow("Unknown Cards") << "unknownCardsRadio" << QStringList{"u0", "u1", "u2"};
        QTest::newRow("Cards of lesson, none chosen") << "lessonCardsRadio" << QStringList{};
        QTest::newRow("Cards on level 0") << "levelCardsRadio" << QStringList{"u0"};
    }
    void choicesShowTheirCards() {
        QFETCH(QString, radio);
        QFETCH(QStringList, rows);
        addSampleCards();
        OverviewDialog* overview = openOverview();
        // From another choice, so that each row really switches.
        overview->findChild<QRadioButton*>("wrongCardsRadio")->click();
        overview->findChild<QRadioButton*>(radio)->click();
        QCOMPARE(column(overview), rows);
        QVERIFY(overview->findChild<QRadioButton*>(radio)->isChecked());
        QVERIFY(prompts().messages.empty());
    }

    void lessonsAreListedOnceAndChosenExactly() {
        addSampleCards();
        OverviewDialog* overview = openOverview();
        auto* lessons = overview->findChild<QListView*>("lessonList");
        QAbstractItemModel* model = lessons->model();
        QStringList items;
        for (int row = 0; row < model->rowCount(); ++row)
            items << model->index(row, 0).data().toString();
        QCOMPARE(items, (QStringList{"L2", "L1"}));

        lessons->selectionModel()->select(model->index(1, 0), QItemSelectionModel::Select);
        QVERIFY(overview->findChild<QRadioButton*>("lessonCardsRadio")->isChecked());
        QCOMPARE(overview->choice(), OverviewDialog::CardsOfLessons);
        QCOMPARE(column(overview), (QStringList{"u0", "k0"}));
        lessons->selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select);
        QCOMPARE(column(overview), (QStringList{"u1", "k1", "u0", "k0"}));

        // Clicks choose: one that takes a lesson out of the selection, and one on the lesson
        // that is already the only one selected.
        QTest::mouseClick(lessons->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          lessons->visualRect(model->index(0, 0)).center());
        QTRY_COMPARE(column(overview), (QStringList{"u0", "k0"}));
        overview->findChild<QRadioButton*>("allCardsRadio")->click();
        QCOMPARE(overview->choice(), OverviewDialog::AllCards);
        QTest::mouseClick(lessons->viewport(), Qt::LeftButton, Qt::NoModifier,
                          lessons->visualRect(model->index(1, 0)).center());
        QTRY_COMPARE(overview->choice(), OverviewDialog::CardsOfLessons);
        QVERIFY(overview->findChild<QRadioButton*>("lessonCardsRadio")->isChecked());
        QCOMPARE(column(overview), (QStringList{"u0", "k0"}));
        // A click below the last lesson selects none, and shows no cards.
        overview->findChild<QRadioButton*>("allCardsRadio")->click();
        QTest::mouseClick(lessons->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(5, lessons->viewport()->height() - 3));
        QTRY_COMPARE(overview->choice(), OverviewDialog::CardsOfLessons);
        QCOMPARE(column(overview), QStringList{});
        QVERIFY(prompts().messages.empty());
    }

    void levelBoxIsReadAtEveryChange() {
        addSampleCards();
        OverviewDialog* overview = openOverview();
        QLineEdit* level = overview->findChild<QLineEdit*>("levelEdit");
        level->clear();  // an empty box keeps the level in force (0)
        QCOMPARE(column(overview), (QStringList{"u0"}));
        QVERIFY(overview->findChild<QRadioButton*>("levelCardsRadio")->isChecked());
        const std::pair<Qt::Key, QStringList> steps[] = {
            {Qt::Key_1, {"u1"}},         {Qt::Key_2, {"u2"}},     {Qt::Key_Backspace, {"u1"}},
            {Qt::Key_Backspace, {"u1"}}, {Qt::Key_Minus, {"u1"}},
        };
        for (const auto& [key, rows] : steps) {
            QTest::keyClick(level, key);
            QCOMPARE(column(overview), rows);
        }
        QCOMPARE(prompts().messageTexts(), QStringList{"Please enter an integer."});
        QCOMPARE(overview->level(), 1);
        // Known cards are never part of this choice.
        level->setText("5");
        QCOMPARE(column(overview), QStringList{});
    }

    void sortingByColumnReordersTheListShown_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<int>("section");  // -1: by keyboard, Ctrl+1
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("unknownAfter");
        const QStringList unsorted{"b", "c", "a"};
        QTest::newRow("Question") << "unknownCardsRadio" << 0 << QStringList{"a", "b", "c"}
                                  << QStringList{"a", "b", "c"};
        QTest::newRow("Answer") << "unknownCardsRadio" << 1 << QStringList{"c", "a", "b"}
                                << QStringList{"c", "a", "b"};
        QTest::newRow("Add. Information sorts nothing")
            << "unknownCardsRadio" << 2 << unsorted << unsorted;
        QTest::newRow("Lesson") << "unknownCardsRadio" << 3 << QStringList{"c", "a", "b"}
                                << QStringList{"c", "a", "b"};
        QTest::newRow("id") << "unknownCardsRadio" << 4 << QStringList{"c", "b", "a"}
                            << QStringList{"c", "b", "a"};
        QTest::newRow("Level") << "unknownCardsRadio" << 5 << QStringList{"c", "a", "b"}
                               << QStringList{"c", "a", "b"};
        QTest::newRow("Question by keyboard")
            << "unknownCardsRadio" << -1 << QStringList{"a", "b", "c"}
            << QStringList{"a", "b", "c"};
        QTest::newRow("All cards sorts only the overview's own list")
            << "allCardsRadio" << 0 << QStringList{"a", "b", "c"} << unsorted;
    }
    void sortingByColumnReordersTheListShown() {
        QFETCH(QString, radio);
        QFETCH(int, section);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, unknownAfter);
        add(store_->unknownList, {"b", "z", "m", "C", 7, 2});
        add(store_->unknownList, {"c", "x", "n", "A", 5, 0});
        add(store_->unknownList, {"a", "y", "o", "B", 9, 1});
        OverviewDialog* overview = openOverview();
        overview->findChild<QRadioButton*>(radio)->click();

        if (section < 0) {
            overview->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(overview));
        }
        if (section < 0)
            QTest::keyClick(table(overview), Qt::Key_1, Qt::ControlModifier);
        else
            clickTitle(overview, section);
        QCOMPARE(column(overview), rows);
        QCOMPARE(questions(store_->unknownList), unknownAfter);
        // A second click sorts ascending again.
        if (section >= 0)
            clickTitle(overview, section);
        QCOMPARE(column(overview), rows);
        QVERIFY(prompts().messages.empty());
    }

    void sortingAnEmptyListSaysSo() {
        add(store_->unknownList, {"a", "b", "-", "-", 1, 0});
        OverviewDialog* overview = openOverview();
        overview->findChild<QRadioButton*>("knownCardsRadio")->click();
        clickTitle(overview, 0);
        QCOMPARE(prompts().messageTexts(), QStringList{"There are no cards to sort"});
        QCOMPARE(column(overview), QStringList{});
    }

    void searchCyclesThroughMatchingRows() {
        for (const TestCard& s :
             {TestCard{"x0", "y", "-", "-", 0, 0}, TestCard{"x1", "y", "-", "-", 1, 0},
              TestCard{"xab2", "y", "-", "-", 2, 0}, TestCard{"x3", "y", "-", "ab", 3, 0},
              TestCard{"x4", "AB", "-", "-", 4, 0}, TestCard{"x5", "y", "grab", "-", 5, 0}}) {
            add(store_->unknownList, s);
        }
        OverviewDialog* overview = openOverview();
        QStringList initialTexts;
        // Not finding anything starts the next search at the first row.
        prompts().dialogHandlers.push_back(searchFor("nowhere", &initialTexts));
        overview->findChild<QPushButton*>("searchButton")->click();
        QCOMPARE(prompts().messageTexts(), QStringList{"The card was not found."});
        prompts().messages.clear();

        QList<int> selected;
        for (int i = 0; i < 4; ++i) {
            prompts().dialogHandlers.push_back(searchFor("ab", &initialTexts));
            overview->findChild<QPushButton*>("searchButton")->click();
            QCOMPARE(table(overview)->selectionModel()->selectedRows().size(), 1);
            selected << table(overview)->selectionModel()->selectedRows().first().row();
            QCOMPARE(overview->focusWidget(), table(overview));
        }
        QCOMPARE(selected, (QList<int>{2, 5, 2, 5}));
        QCOMPARE(initialTexts.mid(1, 2), (QStringList{"nowhere", "ab"}));
        QVERIFY(prompts().messages.empty());
        QCOMPARE(prompts().dialogs.first(), QString("Search for..."));
    }

    void doubleClickAndF2OpenTheCardForChanging() {
        addSampleCards();
        OverviewDialog* overview = openOverview();
        QTableView* view = table(overview);
        doubleClick(view->viewport(), view->visualRect(view->model()->index(1, 0)).center());
        ModifyCardDialog* dialog = main_->windows().find<ModifyCardDialog>(WindowKind::ModifyCard);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(fromCardText(dialog->currentCard()->question()), QString("u1"));
        QCOMPARE(states(withChanges(before_, {}, {Command::Overview, Command::ModifyCards}, {},
                                    {MainButton::Overview})),
                 QString());

        view->setCurrentIndex(view->model()->index(2, 3));
        QTest::keyClick(view, Qt::Key_F2);
        QCOMPARE(main_->windows().find<ModifyCardDialog>(WindowKind::ModifyCard), dialog);
        QCOMPARE(fromCardText(dialog->currentCard()->question()), QString("u2"));
        QVERIFY(overview->isVisible());

        // A changed card keeps its old texts in the table until "Refresh List".
        auto* question = dialog->findChild<QLineEdit*>("questionEdit");
        question->setText("changed");
        dialog->findChild<QPushButton*>("okButton")->click();
        QCOMPARE(column(overview), (QStringList{"u0", "u1", "u2"}));
        overview->findChild<QPushButton*>("refreshButton")->click();
        QCOMPARE(column(overview), (QStringList{"u0", "u1", "changed"}));

        // Below the last row there is no card to open.
        dialog->close();
        doubleClick(view->viewport(), QPoint(10, view->viewport()->height() - 3));
        QVERIFY(!main_->windows().find<ModifyCardDialog>(WindowKind::ModifyCard));
    }

    void tableModelIsSoundThroughEveryChoice() {
        addSampleCards();
        add(store_->unknownList, {"neg", "n", "-", "-", 30, -4});
        OverviewDialog* overview = openOverview();
        QAbstractItemModel* model = table(overview)->model();
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const char* radio :
             {"allCardsRadio", "knownCardsRadio", "wrongCardsRadio", "unknownCardsRadio"})
            overview->findChild<QRadioButton*>(radio)->click();
        clickTitle(overview, 4);

        QStringList titles;
        for (int section = 0; section < model->columnCount(); ++section)
            titles << model->headerData(section, Qt::Horizontal).toString();
        QCOMPARE(titles,
                 (QStringList{"Question", "Answer", "Add. Information", "Lesson", "id", "Level"}));
        QCOMPARE(column(overview, 4), (QStringList{"10", "11", "12", "30"}));
        QCOMPARE(column(overview, 5), (QStringList{"0", "1", "12", "-4"}));
        const QModelIndex first = model->index(0, 0);
        QCOMPARE(first.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
                 int(Qt::AlignLeft));
        QCOMPARE(model->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
                 int(Qt::AlignRight));
        // Level 0 carries a marker; a level far below 0 points past the strip and has none.
        QVERIFY(!first.data(Qt::DecorationRole).value<QPixmap>().isNull());
        QVERIFY(!model->index(3, 0).data(Qt::DecorationRole).isValid());
        QVERIFY(!model->index(0, 1).data(Qt::DecorationRole).isValid());
    }
};

QTEST_MAIN(TestOverviewDialog)
#include "tst_overview_dialog.moc"
