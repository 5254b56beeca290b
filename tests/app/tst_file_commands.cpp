#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <memory>

#include "app/main_dialog.h"
#include "app/trainer_app.h"
#include "core/card_store.h"
#include "core/document_info.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "editing/new_card_dialog.h"
#include "exam/examination_dialog.h"
#include "session/file_failure_text.h"
#include "session/window_registry.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"
#include "tests/support/test_files.h"

namespace {

// A version 2.0 list with the given numbers of unknown and known cards.
QByteArray listFile(int unknown, int known) {
    QByteArray bytes(
        "\x80#File fuer Mnemprogramm\r\n#Format Version 2.0, PC\r\n"
        "frage\tantwort\tstufe\tlektion\tkarte_id\r\n");
    for (int font = 0; font < 2; ++font) {
        bytes +=
            "-21\r\n0\r\n0\r\n0\r\n400\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\nDejaVu Sans\r\n";
    }
    int id = 0;
    for (int i = 0; i < unknown; ++i, ++id) {
        bytes += QString("q%1\ta%1\t1\t-\t0\t%1\r\n").arg(id).toLatin1();
    }
    bytes += "\r\n";
    for (int i = 0; i < known; ++i, ++id) {
        bytes += QString("q%1\ta%1\t1\t-\t5\t%1\r\n").arg(id).toLatin1();
    }
    return bytes;
}

QString counter(MainDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(name)->text();
}

// What "list opened" switches on for a list with that many unknown cards.
ControlStates openedStates(int unknown) {
    ControlStates states =
        withChanges(startStates(),
                    {Command::CloseList, Command::SaveList, Command::SaveListAs,
                     Command::ExportCards, Command::ExportQuestions, Command::ExportAnswers,
                     Command::Export, Command::NewCards, Command::Overview},
                    {Command::OpenList, Command::NewList}, {MainButton::NewCard});
    if (unknown > 0) {
        states = withChanges(
            states,
            {Command::Print, Command::ExamineInOrder, Command::ExamineRandom, Command::Statistics,
             Command::Sort, Command::Exchange, Command::ModifyCards, Command::ChooseLesson,
             Command::ChooseLevel},
            {},
            {MainButton::InOrder, MainButton::Random, MainButton::Exchange, MainButton::Overview});
    }
    if (unknown > 10) {
        states = withChanges(states, {Command::ExamineSystematic}, {}, {MainButton::Systematic});
    }
    return states;
}

}  // namespace

class TestFileCommands : public MainWindowTest {
    Q_OBJECT

private slots:
    void init() {
        startMainWindow();
        QVERIFY(dir_.isValid());
    }
    void cleanup() { finishMainWindow(); }

    void openingStartsTheExaminationTheListSizeCalls_data() {
        QTest::addColumn<int>("unknown");
        QTest::addColumn<int>("known");
        QTest::addColumn<QString>("examination");
        QTest::newRow("21 cards: systematic") << 21 << 0 << "Systematic examination";
        QTest::newRow("20 cards: in order") << 20 << 2 << "Examination in order";
        QTest::newRow("11 cards: in order") << 11 << 0 << "Examination in order";
        QTest::newRow("4 cards: in order") << 4 << 0 << "Examination in order";
        QTest::newRow("3 cards: none") << 3 << 1 << "";
        QTest::newRow("no cards") << 0 << 0 << "";
    }
    void openingStartsTheExaminationTheListSizeCalls() {
        QFETCH(int, unknown);
        QFETCH(int, known);
        QFETCH(QString, examination);
        const QString path = writeTestFile(dir_, "list.kmx", listFile(unknown, known));
        env_->prompts().openChoices.push_back({path, 0});
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->board().action(Command::OpenList)->trigger();

        QCOMPARE(env_->prompts().openRequests.size(), size_t(1));
        QCOMPARE(env_->prompts().openRequests[0].title, QString("Open a list:"));
        QCOMPARE(env_->prompts().openRequests[0].defaultSuffix, QString("kmx"));
        QCOMPARE(env_->prompts().dialogs.value(0), QString("Document - Information"));
        QCOMPARE(counter(*main_, "cardCounter"), QString::number(unknown + known));
        QCOMPARE(counter(*main_, "knownCounter"), QString::number(known));
        QCOMPARE(QString::fromStdString(store_->fileName), path);
        QVERIFY(!store_->modified);

        QStringList open;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window != main_.get() &&
                window->windowTitle().startsWith(examination.isEmpty() ? "\x01" : examination)) {
                open << window->windowTitle();
            }
        }
        QCOMPARE(open.size(), examination.isEmpty() ? 0 : 1);
        QCOMPARE(main_->windows().listWindowCount(), examination.isEmpty() ? 0 : 1);

        ControlStates expected = openedStates(unknown);
        if (known > 0)
            expected = withChanges(expected, {Command::ExamineKnownWords}, {});
        // The examination window that opened greys its own command and button.
        if (unknown > 20) {
            expected = withChanges(expected, {}, {Command::ExamineSystematic}, {},
                                   {MainButton::Systematic});
        } else if (unknown > 3) {
            expected =
                withChanges(expected, {}, {Command::ExamineInOrder}, {}, {MainButton::InOrder});
        }
        QCOMPARE(describeDifferences(controlStates(main_->board()), expected), QString());
    }

    void theCommandLineListOpensAtTheFirstPaint() {
        QCOMPARE(TrainerApp::commandLineList({"kartomatrix", "/tmp/my", "words.kmx"}),
                 QString("/tmp/my words.kmx"));
        QCOMPARE(TrainerApp::commandLineList({"kartomatrix"}), QString());
        QCOMPARE(TrainerApp::commandLineList({"kartomatrix", "--empty"}), QString());
        QCOMPARE(TrainerApp::commandLineList({"kartomatrix", "--help", "me"}),
                 QString("--help me"));
        QVERIFY(TrainerApp::commandLineAnswer({"/usr/bin/kartomatrix", "--help"})
                    .startsWith("Usage: kartomatrix [LIST FILE"));
        QCOMPARE(TrainerApp::commandLineAnswer({"kartomatrix", "--version"}),
                 QString("Kartomatrix %1\n").arg(TrainerApp::version()));

        const QString path = writeTestFile(dir_, "my words.kmx", listFile(2, 1));
        main_->setStartupList(TrainerApp::commandLineList(
            {"kartomatrix", path.section(' ', 0, 0), path.section(' ', 1)}));
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        QVERIFY(env_->prompts().dialogs.isEmpty());
        main_->show();
        QTRY_COMPARE(env_->prompts().dialogs, QStringList{"Document - Information"});
        QCOMPARE(counter(*main_, "cardCounter"), QString("3"));
        QCOMPARE(QString::fromStdString(store_->fileName), path);
    }

    void aListOfKnownCardsOnlyOffersTheKnownWords() {
        const QString path = writeTestFile(dir_, "known.kmx", listFile(0, 2));
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().openList(path);
        const ControlStates expected =
            withChanges(openedStates(0), {Command::ExamineKnownWords}, {});
        QCOMPARE(describeDifferences(controlStates(main_->board()), expected), QString());
    }

    void aFileThatCannotBeReadChangesNothing() {
        addCard(*store_, store_->unknownList, "kept", "card", "", "");
        main_->session().openList(dir_.filePath("missing.kmx"));
        // One box that names the file and the reason.
        QCOMPARE(env_->prompts().messageTexts(),
                 QStringList{dir_.filePath("missing.kmx") +
                             " could not be read: there is no such file."});
        QCOMPARE(store_->unknownList.count(), 1);
        QCOMPARE(store_->fileName, std::string("UNTITLED"));
        QCOMPARE(describeDifferences(controlStates(main_->board()), startStates()), QString());
    }

    void cancellingTheOpenDialogDoesNothing() {
        env_->prompts().openChoices.push_back({QString(), 0});
        main_->board().action(Command::OpenList)->trigger();
        QVERIFY(env_->prompts().messages.empty());
        env_->prompts().openChoices.push_back({QString(), 3});
        main_->board().action(Command::OpenList)->trigger();
        QCOMPARE(
            env_->prompts().messageTexts(),
            QStringList{"An error occured while opening a file. No vocabulary has been read."});
    }

    void saveOfAnUntitledListAsksForAName() {
        addCard(*store_, store_->unknownList, "house", "Haus", "", "");
        const QString path = dir_.filePath("saved.kmx");
        env_->prompts().saveChoices.push_back({path, 0});
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->board().button(MainButton::CardBox)->click();  // holds cards: Save
        QCOMPARE(env_->prompts().saveRequests.size(), size_t(1));
        QCOMPARE(env_->prompts().saveRequests[0].title, QString("Save this file as:"));
        QCOMPARE(env_->prompts().saveRequests[0].initialName, QString("UNTITLED"));
        QCOMPARE(QString::fromStdString(store_->fileName), path);
        QVERIFY(!store_->modified);
        QVERIFY(QFile::exists(path));

        // A named list is saved without asking.
        store_->modified = true;
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->runCommand(Command::SaveList);
        QCOMPARE(env_->prompts().saveRequests.size(), size_t(1));
        QVERIFY(!store_->modified);
    }

    // Each failed save says which file and why, shows no document information, and keeps
    // the changes.
    void aFailedSaveSaysWhyAndKeepsTheChanges_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder gone") << "no/such/folder/list.kmx"
                                     << "its folder does not exist.";
        QTest::newRow("read-only file") << "readonly.kmx"
                                        << "the file is read-only.";
    }
    void aFailedSaveSaysWhyAndKeepsTheChanges() {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        const QString path = dir_.filePath(target);
        if (target == "readonly.kmx") {
            writeTestFile(dir_, target, "old");
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        }
        addCard(*store_, store_->unknownList, "house", "Haus", "", "");
        store_->fileName = path.toStdString();
        main_->runCommand(Command::SaveList);
        QCOMPARE(env_->prompts().messageTexts(),
                 QStringList{"There was an error while saving cards.\n" + path +
                             " was not saved: " + reason});
        QVERIFY(env_->prompts().dialogs.isEmpty());
        QVERIFY(store_->modified);
        env_->prompts().clear();
    }

    // Reasons a test cannot bring about here: a full disk, a read-only disk.
    void reasonsFromTheSystemAreNamed() {
        DocumentInfo info;
        info.failure = FileFailure::CannotWrite;
        for (auto [error, reason] : {std::pair{ENOSPC, "there is no space left on the disk."},
                                     std::pair{EROFS, "the disk is read-only."}}) {
            info.systemError = error;
            QCOMPARE(FileFailureText::saving(info, "/x"), QString("/x was not saved: ") + reason);
        }
    }

    // Save As onto a file it cannot write leaves the list as it was: its name, its lock,
    // its stamp; the target gets no lock.
    void aFailedSaveAsChangesNothing() {
        const QString path = writeTestFile(dir_, "mine.kmx", listFile(2, 0));
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().openList(path);
        const QString target = writeTestFile(dir_, "readonly.kmx", "old");
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner));
        addCard(*store_, store_->unknownList, "new", "card", "", "");
        env_->prompts().clear();
        env_->prompts().saveChoices.push_back({target, 0});
        main_->runCommand(Command::SaveListAs);
        QCOMPARE(env_->prompts().messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(store_->fileName), path);
        QLockFile mine(dir_.filePath(".mine.kmx.lock"));
        QVERIFY(!mine.tryLock(0));
        QLockFile theirs(dir_.filePath(".readonly.kmx.lock"));
        QVERIFY(theirs.tryLock(0));
        theirs.unlock();
        // The stamp is still that of the list as read: Save asks nothing.
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->runCommand(Command::SaveList);
        QVERIFY(env_->prompts().questions.empty());
        QVERIFY(!store_->modified);
    }

    // Save As onto a list another program has open asks first, as opening it does.
    void saveAsOntoAListOpenElsewhereAsks() {
        const QString target = writeTestFile(dir_, "theirs.kmx", "theirs");
        QLockFile other(dir_.filePath(".theirs.kmx.lock"));
        QVERIFY(other.tryLock(0));
        addCard(*store_, store_->unknownList, "new", "card", "", "");
        for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
            env_->prompts().saveChoices.push_back({target, 0});
            env_->prompts().answers.push_back(answer);
            const bool yes = answer == PromptAnswer::Yes;
            if (yes)
                env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
            main_->runCommand(Command::SaveListAs);
            QVERIFY(env_->prompts().questions.back().text.contains("is already open in another"));
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll() == "theirs", !yes);  // No: nothing written, name kept
            QCOMPARE(store_->fileName == target.toStdString(), yes);
        }
    }

    void exportsKeepTheListsName_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("cards") << int(Command::ExportCards) << QByteArray("q\ta\r\nk\tb\r\n");
        QTest::newRow("questions") << int(Command::ExportQuestions) << QByteArray("q\r\nk\r\n");
        QTest::newRow("answers") << int(Command::ExportAnswers) << QByteArray("a\r\nb\r\n");
    }
    void exportsKeepTheListsName() {
        QFETCH(int, command);
        QFETCH(QByteArray, content);
        addCard(*store_, store_->unknownList, "q", "a", "", "");
        Card& known = addCard(*store_, store_->unknownList, "k", "b", "", "");
        store_->unknownList.removeById(known.id);
        store_->knownList.insert(&known);
        store_->fileName = "list.kmx";
        const QString path = dir_.filePath("export.txt");
        env_->prompts().saveChoices.push_back({path, 0});
        main_->runCommand(static_cast<Command>(command));
        QCOMPARE(env_->prompts().saveRequests[0].title, QString("Export this file as:"));
        QCOMPARE(env_->prompts().saveRequests[0].defaultSuffix, QString("txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        QCOMPARE(store_->fileName, std::string("list.kmx"));
        QVERIFY(store_->modified);
        QVERIFY(env_->prompts().dialogs.isEmpty());
    }

    void closeListWithYesAlwaysAsksForAName() {
        const QString path = writeTestFile(dir_, "named.kmx", listFile(2, 0));
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().openList(path);
        const ControlStates opened = controlStates(main_->board());
        addCard(*store_, store_->unknownList, "new", "card", "", "");
        env_->prompts().answers.push_back(PromptAnswer::Yes);
        env_->prompts().saveChoices.push_back({QString(), 0});  // the user cancels Save As
        main_->board().action(Command::CloseList)->trigger();
        QCOMPARE(env_->prompts().saveRequests.size(), size_t(1));
        // Preset to the list's own name and folder, where its progress belongs.
        QCOMPARE(env_->prompts().saveRequests[0].initialName, path);
        // Not saved, so not closed: the new card is still there to be saved.
        QCOMPARE(store_->unknownList.count(), 3);
        QVERIFY(store_->modified);
        QCOMPARE(QString::fromStdString(store_->fileName), path);
        QCOMPARE(describeDifferences(controlStates(main_->board()), opened), QString());

        // Saved under another name, it closes.
        const QString other = dir_.filePath("other.kmx");
        env_->prompts().answers.push_back(PromptAnswer::Yes);
        env_->prompts().saveChoices.push_back({other, 0});
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->board().action(Command::CloseList)->trigger();
        QCOMPARE(store_->unknownList.count(), 0);
        QCOMPARE(store_->fileName, std::string("UNTITLED"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), listFile(2, 0));
        QFile saved(other);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("new\tcard"));
        QCOMPARE(describeDifferences(controlStates(main_->board()), startStates()), QString());
    }

    void quitWithYesSavesANamedListWithoutAsking() {
        const QString path = writeTestFile(dir_, "named.kmx", listFile(2, 0));
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().openList(path);
        addCard(*store_, store_->unknownList, "new", "card", "", "");
        env_->prompts().answers.push_back(PromptAnswer::Yes);
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        QCOMPARE(exitStatusOf([&] { main_->runCommand(Command::Quit); }), std::optional(0));
        QVERIFY(env_->prompts().saveRequests.empty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("new\tcard\t\t\t0\t"));
    }

    void quitWhoseSaveFailsKeepsTheProgramAndTheCards() {
        const QString path = writeTestFile(dir_, "named.kmx", listFile(2, 0));
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().openList(path);
        addCard(*store_, store_->unknownList, "new", "card", "", "");
        // The list's place is taken by a folder with something in it: no file can be
        // written there.
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path + "/inside"));
        env_->prompts().answers.push_back(PromptAnswer::Yes);
        env_->prompts().answers.push_back(PromptAnswer::Yes);  // replace what is there now
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        // The program goes on.
        QCOMPARE(exitStatusOf([&] { main_->runCommand(Command::Quit); }), std::nullopt);
        QCOMPARE(env_->prompts().messageTexts(),
                 QStringList{"There was an error while saving cards.\n" + path +
                             " was not saved: it is not a regular file but a folder, a device "
                             "or a pipe."});
        QCOMPARE(store_->unknownList.count(), 3);
        QVERIFY(store_->modified);

        env_->prompts().answers.push_back(PromptAnswer::No);
        QCOMPARE(exitStatusOf([&] { main_->runCommand(Command::Quit); }), std::optional(0));
    }

    // What stands between Save and a file it must not silently replace.
    void saveAsksBeforeReplacing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("changed on disk, Cancel") << 0;
        QTest::newRow("changed on disk, Yes") << 1;
        QTest::newRow("cut in a card, No offers Save As") << 2;
        QTest::newRow("unchanged file, no question") << 3;
    }
    void saveAsksBeforeReplacing() {
        QFETCH(int, how);
        QByteArray bytes = listFile(3, 0);
        if (how == 2)
            bytes.chop(4);  // the last card loses its number and line end
        const QString path = writeTestFile(dir_, "guarded.kmx", bytes);
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().openList(path);
        QCOMPARE(env_->prompts().messages.size(), std::size_t(how == 2 ? 1 : 0));
        env_->prompts().clear();
        const QByteArray other = listFile(5, 0);
        if (how < 2)
            writeTestFile(dir_, "guarded.kmx", other);
        store_->modified = true;
        env_->prompts().answers.push_back(how == 1   ? PromptAnswer::Yes
                                          : how == 2 ? PromptAnswer::No
                                                     : PromptAnswer::Cancel);
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->runCommand(Command::SaveList);
        QCOMPARE(env_->prompts().questions.size(), std::size_t(how == 3 ? 0 : 1));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray now = file.readAll();
        if (how == 0)
            QCOMPARE(now, other);
        if (how == 1 || how == 3)
            QVERIFY(now.contains("q2\ta2") && !now.contains("q4\ta4"));  // this list's cards
        if (how == 2) {
            QCOMPARE(now, bytes);
            QCOMPARE(env_->prompts().saveRequests.size(), std::size_t(1));  // Save As offered
        }
        env_->prompts().clear();
    }

    void refusedFilesLeaveNothingOpen_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("folder") << "folder";
        QTest::newRow("named pipe") << "pipe";
        QTest::newRow("device") << "/dev/zero";
        QTest::newRow("held by another program, not opened") << "locked";
        QTest::newRow("held under the file's other name") << "link";
    }
    void refusedFilesLeaveNothingOpen() {
        QFETCH(QString, what);
        QString path = dir_.filePath(what);
        std::unique_ptr<QLockFile> other;
        if (what == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (what == "pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (what == "locked" || what == "link") {
            path = writeTestFile(dir_, "shared.kmx", listFile(2, 0));
            if (what == "link") {
                QVERIFY(QDir().mkpath(dir_.filePath("elsewhere")));
                QVERIFY(QFile::link(path, dir_.filePath("elsewhere/mine.kmx")));
                path = dir_.filePath("elsewhere/../elsewhere/mine.kmx");
            }
            other = std::make_unique<QLockFile>(dir_.filePath(".shared.kmx.lock"));
            QVERIFY(other->tryLock(0));
            env_->prompts().answers.push_back(PromptAnswer::No);
        } else {
            path = what;
        }
        main_->session().openList(path);
        QCOMPARE(store_->unknownList.count(), 0);
        QCOMPARE(controlStates(main_->board()), startStates());
        QCOMPARE(env_->prompts().messages.size() + env_->prompts().questions.size(),
                 std::size_t(1));
        env_->prompts().clear();
    }

    void savedFontsComeBackWithTheList() {
        LogFont chosen = defaultDocumentFont();
        chosen.lfFaceName = "Some Face Not Installed";
        chosen.lfWeight = 700;
        env_->prompts().fontChoices.push_back(chosen);
        main_->board().action(Command::QuestionFont)->trigger();
        addCard(*store_, store_->unknownList, "q", "a", "", "");
        const QString path = dir_.filePath("fonts.kmx");
        env_->prompts().saveChoices.push_back({path, 0});
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->runCommand(Command::SaveListAs);

        CardStore other;
        Preferences preferences;
        MainDialog reopened(other, preferences, defaultDocumentFont());
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        // The first window still has the list open: the second is asked, and opens it.
        env_->prompts().answers.push_back(PromptAnswer::Yes);
        reopened.session().openList(path);
        QCOMPARE(env_->prompts().questions.size(), std::size_t(1));
        QCOMPARE(reopened.session().questionFont(), chosen);
        QCOMPARE(reopened.session().answerFont(), defaultDocumentFont());
    }

    // A new user's first list, by keyboard alone: New List, twelve cards, Save, Close List,
    // Open List, and the first answer of the examination that opening starts.
    void aFirstListByKeyboardAlone() {
        auto typeInto = [](const QString& text) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            QTest::keyClicks(focus, text);
        };
        auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            QTest::keyClick(focus, key, modifiers);
        };
        // A window that closes gives the activation back to the main window: the window
        // manager's part, which offscreen has not.
        auto backToMain = [this] {
            main_->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(main_.get()));
        };
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
        // The first paint puts the focus on the examine button.
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(main_->board().button(MainButton::Examine)));

        press(Qt::Key_N, Qt::ControlModifier);
        auto* newCard = main_->findChild<NewCardDialog*>();
        QVERIFY(newCard);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(newCard));
        for (int i = 1; i <= 12; ++i) {
            typeInto(QString("q%1").arg(i));
            press(Qt::Key_Tab);
            typeInto(QString("a%1").arg(i));
            press(Qt::Key_Return);
        }
        QCOMPARE(store_->unknownList.count(), 12);
        press(Qt::Key_Escape);
        QTRY_VERIFY(!main_->findChild<NewCardDialog*>() ||
                    !main_->findChild<NewCardDialog*>()->isVisible());

        const QString path = dir_.filePath("first.kmx");
        env_->prompts().saveChoices.push_back({path, 0});
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        backToMain();
        press(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(path));
        backToMain();
        press(Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(store_->unknownList.count(), 0);
        backToMain();

        env_->prompts().openChoices.push_back({path, 0});
        env_->prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        press(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(store_->unknownList.count(), 12);
        auto* examination = main_->findChild<ExaminationDialog*>();
        QVERIFY(examination);
        QCOMPARE(examination->windowTitle(), QString("Examination in order"));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(examination));
        typeInto("a1");
        press(Qt::Key_Return);
        QCOMPARE(store_->unknownList.slot(0)->question(), "q1");
        QCOMPARE(store_->unknownList.slot(0)->level, 1);
        QCOMPARE(env_->prompts().saveRequests.size(), size_t(1));
        QCOMPARE(env_->prompts().openRequests.size(), size_t(1));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
