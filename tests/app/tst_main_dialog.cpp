#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSysInfo>
#include <QtTest>
#include <vector>

#include "app/about_dialog.h"
#include "app/main_dialog.h"
#include "app/preferences_dialog.h"
#include "app/trainer_app.h"
#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "editing/new_card_dialog.h"
#include "platform/settings_store.h"
#include "session/preferences_settings.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"
#include "widgets/document_info_dialog.h"

namespace {

QString counter(MainDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(name)->text();
}

// The number of the command whose action has this object name, or -1.
int commandNumberOf(const QString& objectName) {
    std::vector<Command> commands(allCommands());
    commands.insert(commands.end(), {Command::About, Command::UserGuide, Command::DueCards,
                                     Command::Progress, Command::OptimiseMemoryModel,
                                     Command::ListLanguages});
    for (Command command : commands) {
        if (objectNameOf(command) == objectName)
            return static_cast<int>(command);
    }
    return -1;
}

QStringList itemTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator()
                      ? QString("-")
                      : QString("%1=%2").arg(action->text(), QString::number(commandNumberOf(
                                                                 action->objectName()))));
    }
    return texts;
}

}  // namespace

class TestMainDialog : public MainWindowTest {
    Q_OBJECT

private slots:
    void init() { startMainWindow(); }
    void cleanup() { finishMainWindow(); }

    void countersReadTheirNumbersToScreenReaders() {
        addCard(*store_, store_->unknownList, "q", "a", "", "");
        emit main_->session().cardsChanged();
        for (const char* name : {"cardCounter", "knownCounter"}) {
            QAccessibleInterface* counter =
                QAccessible::queryAccessibleInterface(main_->findChild<QLabel*>(name));
            QVERIFY(counter);
            QCOMPARE(counter->text(QAccessible::Name),
                     QString(name == QByteArray("cardCounter") ? "1" : "0"));
            QVERIFY(!counter->text(QAccessible::Description).isEmpty());
        }
    }

    void menusHoldEveryCommandInOrder_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("File") << "menuFile"
                              << QStringList{"&New List...=40001",
                                             "&Open List...=40002",
                                             "&Import...=40030",
                                             "&Close List=40003",
                                             "&Save List...=32771",
                                             "Save List &As...=40004",
                                             "-",
                                             "&Export Cards...=40005",
                                             "Export Question...=40006",
                                             "Export Answer...=40007",
                                             "E&xport...=40031",
                                             "-",
                                             "&Print...=32775",
                                             "-",
                                             "&Preferences...=40008",
                                             "-",
                                             "&Quit=40009"};
        QTest::newRow("Edit") << "menuEdit"
                              << QStringList{"Font of the Question...=40028",
                                             "Font of the Answer...=40029"};
        QTest::newRow("Examination") << "menuExamination"
                                     << QStringList{"Systematic Examination...=40019",
                                                    "-",
                                                    "Examination in &Order...=40016",
                                                    "Examination in &Random Order...=40017",
                                                    "-",
                                                    "Examination of &Wrong Words=40018",
                                                    "-",
                                                    "&Direction=-1",
                                                    "Answer &Form=-1"};
        QTest::newRow("Cards") << "menuCards"
                               << QStringList{"&New Cards...=32776",
                                              "&Modify Cards...=40022",
                                              "-",
                                              "&Sort=40020",
                                              "&Exchange Question and Answer=40021",
                                              "-",
                                              "&Overview...=32777",
                                              "S&tatistics...=32779",
                                              "&Progress...=40051",
                                              "Optimise Memory &Model...=40052",
                                              "-",
                                              "&Languages of the List...=40041"};
        QTest::newRow("Special Examination")
            << "menuSpecialExamination"
            << QStringList{"Examination of the &Known Words...=32772",
                           "-",
                           "&Choose a Lesson...=40023",
                           "-",
                           "Lesson in &Order...=40024",
                           "Lesson in &Random Order...=40025",
                           "Lesson - &Systematic Examination...=32773",
                           "-",
                           "Choose a &Level...=40026",
                           "-",
                           "Level in order...=40027",
                           "-",
                           "&Due Cards...=40050"};
        QTest::newRow("Help") << "menuHelp"
                              << QStringList{"&User Guide=40040",
                                             "About Kartomatrix for Windows=16"};
    }
    void menusHoldEveryCommandInOrder() {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        auto* found = main_->findChild<QMenu*>(menu);
        QVERIFY(found);
        QCOMPARE(itemTexts(found), items);
    }

    void startStateMatchesTheTables() {
        QCOMPARE(main_->windowTitle(), QString("Kartomatrix"));
        QCOMPARE(describeDifferences(controlStates(main_->board()), startStates()), QString());
        QCOMPARE(counter(*main_, "cardCounter"), QString("0"));
        QCOMPARE(counter(*main_, "knownCounter"), QString("0"));
        QCOMPARE(main_->board().button(MainButton::Exchange)->text(),
                 QString(" Question <-> Answer"));
        QVERIFY(main_->board().button(MainButton::CardBox)->isEnabled());
        QVERIFY(main_->board().button(MainButton::Examine)->isEnabled());
        QVERIFY(main_->board().button(MainButton::CardBox)->isDefault());
    }

    void firstPaintSetsPicturesAndFocus() {
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        QTRY_VERIFY(!main_->board().button(MainButton::Examine)->icon().isNull());
        QVERIFY(!main_->board().button(MainButton::CardBox)->icon().isNull());
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(main_->board().button(MainButton::Examine)));
        QVERIFY(env_->prompts().messages.empty());
        // Enter presses the button with the focus: without a list, the examine button
        // beeps, and the card box does not ask for a file.
        QTest::keyClick(main_->board().button(MainButton::Examine), Qt::Key_Return);
        QCOMPARE(env_->prompts().beeps.size(), size_t(1));
        QVERIFY(env_->prompts().openRequests.empty());
    }

    void examineButtonBeepsWithoutAList() {
        main_->board().button(MainButton::Examine)->click();
        QCOMPARE(env_->prompts().beeps.size(), size_t(1));
        QCOMPARE(env_->prompts().beeps[0].hertz, 400);
        QCOMPARE(env_->prompts().beeps[0].milliseconds, 100);
        QCOMPARE(describeDifferences(controlStates(main_->board()), startStates()), QString());
    }

    void escapeLeavesTheWindowAsItWas() {
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        QTest::keyClick(main_.get(), Qt::Key_Escape);
        QVERIFY(main_->isVisible());
        QCOMPARE(describeDifferences(controlStates(main_->board()), startStates()), QString());
    }

    void aboutShowsTheAboutBox() {
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->board().action(Command::About)->trigger();
        QCOMPARE(env_->prompts().dialogs, QStringList{"About Kartomatrix"});
        // The platform it runs on and the version, not another system's name.
        AboutDialog about;
        const QString text = about.findChild<QLabel*>("aboutText")->text();
        QVERIFY2(!text.contains("Windows") && text.contains(TrainerApp::version()) &&
                     text.contains(QSysInfo::kernelType() == "linux" ? "Linux" : ""),
                 qPrintable(text));
    }

    void quitWritesAllPreferencesAndEndsWithZero() {
        preferences_.maxLevel = 7;
        preferences_.strictOrder = true;
        QCOMPARE(exitStatusOf([&] { main_->runCommand(Command::Quit); }), std::optional(0));
        QVERIFY(env_->prompts().questions.empty());
        SettingsStore settings;
        QCOMPARE(settings.readNumber("PrefsSection", "Maxstufe"), std::optional<qint32>(7));
        QCOMPARE(settings.readNumber("PrefsSection", "Mussreihenf"), std::optional<qint32>(1));
        QCOMPARE(settings.readNumber("PrefsSection", "Allebed"), std::optional<qint32>(1));
        QCOMPARE(settings.readNumber("PrefsSection", "Bemzeigen"), std::optional<qint32>(0));
        QCOMPARE(settings.readText("PrefsSection", "ApplicationPath"), std::optional<QString>(""));
    }

    void quitWithUnsavedCardsAsksFirst() {
        addCard(*store_, store_->unknownList, "q", "a", "", "");
        env_->prompts().answers.push_back(PromptAnswer::Cancel);
        main_->show();
        QVERIFY(!main_->close());  // the close box asks too; cancelled: the program goes on
        QVERIFY(main_->isVisible());
        QCOMPARE(env_->prompts().questions.size(), size_t(1));
        const auto& question = env_->prompts().questions[0];
        QCOMPARE(question.caption, QString("Caution:"));
        QVERIFY(question.text.startsWith("You have entered new cards or you have modified"));
        QVERIFY(question.withCancel);
        QCOMPARE(question.icon, PromptIcon::Exclamation);

        env_->prompts().answers.push_back(PromptAnswer::No);
        QCOMPARE(exitStatusOf([&] { main_->runCommand(Command::Quit); }), std::optional(0));
    }

    void cardsTypedIntoANewListSwitchOnTheExaminationsBySize() {
        main_->board().action(Command::NewList)->trigger();
        auto* newCard = main_->findChild<NewCardDialog*>();
        QVERIFY(newCard);
        ControlStates expected = withChanges(
            startStates(), {Command::Overview},
            {Command::OpenList, Command::CloseList, Command::NewList, Command::NewCards});
        QCOMPARE(describeDifferences(controlStates(main_->board()), expected), QString());

        const ControlStates afterFirst = withChanges(
            expected,
            {Command::CloseList, Command::SaveList, Command::SaveListAs, Command::ExportCards,
             Command::ExportQuestions, Command::ExportAnswers, Command::Export, Command::Print,
             Command::ExamineInOrder, Command::Sort, Command::Exchange, Command::ModifyCards,
             Command::Statistics, Command::ChooseLesson, Command::ChooseLevel},
            {}, {MainButton::Overview, MainButton::Exchange, MainButton::InOrder});
        for (int i = 1; i <= 11; ++i) {
            QTest::keyClicks(newCard->findChild<QLineEdit*>("questionEdit"), QString("q%1").arg(i));
            QTest::keyClicks(newCard->findChild<QLineEdit*>("answerEdit"), QString("a%1").arg(i));
            QTest::keyClick(newCard->findChild<QLineEdit*>("answerEdit"), Qt::Key_Return);
            ControlStates want = afterFirst;
            if (i >= 4)
                want = withChanges(want, {Command::ExamineRandom}, {}, {MainButton::Random});
            if (i >= 11) {
                want =
                    withChanges(want, {Command::ExamineSystematic}, {}, {MainButton::Systematic});
            }
            QVERIFY2(
                describeDifferences(controlStates(main_->board()), want).isEmpty(),
                qPrintable(QString("after card %1: %2")
                               .arg(i)
                               .arg(describeDifferences(controlStates(main_->board()), want))));
            QCOMPARE(counter(*main_, "cardCounter"), QString::number(i));
        }
        QCOMPARE(store_->unknownList.count(), 11);
        QCOMPARE(store_->unknownList.slot(10)->question(), "q11");
    }

    void closeListAsksThenEmptiesEverything() {
        main_->board().action(Command::NewList)->trigger();
        auto* newCard = main_->findChild<NewCardDialog*>();
        for (int i = 0; i < 5; ++i) {
            QTest::keyClicks(newCard->findChild<QLineEdit*>("questionEdit"), "q");
            QTest::keyClicks(newCard->findChild<QLineEdit*>("answerEdit"), "a");
            newCard->enterCard();
        }
        env_->prompts().answers.push_back(PromptAnswer::Cancel);
        main_->board().action(Command::CloseList)->trigger();
        QCOMPARE(store_->unknownList.count(), 5);

        env_->prompts().answers.push_back(PromptAnswer::No);
        main_->board().action(Command::CloseList)->trigger();
        QCOMPARE(store_->unknownList.count(), 0);
        QCOMPARE(store_->nextId, 0);
        QVERIFY(!store_->modified);
        QCOMPARE(counter(*main_, "cardCounter"), QString("0"));
        // The new-card window stays open across Close List, so "New Cards" stays grey.
        QVERIFY(main_->findChild<NewCardDialog*>());
        QCOMPARE(describeDifferences(controlStates(main_->board()), startStates()), QString());
    }

    void exchangeTwiceRestoresCardsAndFonts() {
        LogFont bold = defaultDocumentFont();
        bold.lfWeight = 700;
        bold.lfFaceName = "DejaVu Serif";
        env_->prompts().fontChoices.push_back(bold);
        main_->board().action(Command::AnswerFont)->trigger();
        QCOMPARE(main_->session().answerFont(), bold);
        addCard(*store_, store_->unknownList, "house", "Haus", "", "");
        main_->runCommand(Command::Exchange);
        QCOMPARE(store_->unknownList.slot(0)->question(), "Haus");
        QCOMPARE(main_->session().questionFont(), bold);
        QCOMPARE(main_->session().answerFont(), defaultDocumentFont());
        main_->runCommand(Command::Exchange);
        QCOMPARE(store_->unknownList.slot(0)->question(), "house");
        QCOMPARE(main_->session().answerFont(), bold);
    }

    void cancellingTheFontDialogKeepsTheFont() {
        env_->prompts().fontChoices.push_back(std::nullopt);
        main_->board().action(Command::QuestionFont)->trigger();
        QCOMPARE(main_->session().questionFont(), defaultDocumentFont());
        QVERIFY(!store_->modified);
    }

    void everyControlHasAnAccessibleName() {
        QCOMPARE(controlsWithoutAccessibleName(main_.get()), QStringList());
        main_->runCommand(Command::NewCards);
        QCOMPARE(controlsWithoutAccessibleName(main_->findChild<NewCardDialog*>()), QStringList());
        PreferencesDialog preferences(preferences_);
        QCOMPARE(controlsWithoutAccessibleName(&preferences), QStringList());
        DocumentInfoDialog info(DocumentInfo{});
        QCOMPARE(controlsWithoutAccessibleName(&info), QStringList());
        AboutDialog about;
        QCOMPARE(controlsWithoutAccessibleName(&about), QStringList());
    }

private:
};

QTEST_MAIN(TestMainDialog)
#include "tst_main_dialog.moc"
