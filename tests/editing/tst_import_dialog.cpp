#include <sys/stat.h>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "editing/import_dialog.h"
#include "session/list_session.h"
#include "session/review_schedule.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_files.h"

namespace {

// The cards of a list as "question|answer|lesson|additional information|level".
QStringList cardsOf(const CardList& list) {
    QStringList cards;
    list.forEach([&](const Card* card) {
        QStringList fields;
        for (std::string_view text :
             {card->question(), card->answer(), card->lesson(), card->addInfo()}) {
            fields << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        cards << fields.join('|') + '|' + QString::number(card->level);
    });
    return cards;
}

QString counter(MainDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(name)->text();
}

QStringList problemLines(QDialog* dialog) {
    QStringList lines;
    const QAbstractItemModel* model = dialog->findChild<QListView*>("problemList")->model();
    for (int row = 0; row < model->rowCount(); ++row)
        lines << model->index(row, 0).data().toString();
    return lines;
}

QString summaryOf(QDialog* dialog) {
    return dialog->findChild<QLabel*>("summaryLabel")->text();
}

// What a preview showed before it ended.
struct Seen {
    QString summary;
    QStringList problems;
    bool importEnabled = false;
    QStringList focusPath;
    QStringList unnamed;
};

ScriptedPrompts::DialogHandler noteThen(Seen& seen, ScriptedPrompts::DialogHandler finish) {
    return inspectThen(
        [&seen](QDialog* dialog) {
            seen.summary = summaryOf(dialog);
            seen.problems = problemLines(dialog);
            seen.importEnabled = dialog->findChild<QPushButton*>("importButton")->isEnabled();
            seen.unnamed = controlsWithoutAccessibleName(dialog);
            for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
                if (box->accessibleName().isEmpty())
                    seen.unnamed << box->objectName();
            }
        },
        std::move(finish));
}

}  // namespace

class TestImportDialog : public MainWindowTest {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    void importFile(const QString& path, ScriptedPrompts::DialogHandler handler) {
        prompts().openChoices.push_back({path, 0});
        if (handler)
            prompts().dialogHandlers.push_back(std::move(handler));
        main_->board().action(Command::Import)->trigger();
    }

    // A list of two cards, as if opened from a file.
    void openTwoCards() {
        addCard(*store_, store_->unknownList, "eins", "one", "-", "-");
        addCard(*store_, store_->unknownList, "zwei", "two", "-", "-");
        store_->fileName = dir_.filePath("list.kmx").toStdString();
        store_->modified = false;
        main_->board().applyListOpened(2, 0);
        emit main_->session().cardsChanged();
    }

private slots:
    void init() {
        startMainWindow();
        QVERIFY(dir_.isValid());
    }
    void cleanup() { finishMainWindow(); }

    void importsASemicolonFileByKeyboard() {
        QByteArray bytes;
        for (int i = 1; i <= 13; ++i) {
            bytes += i == 5 ? QByteArray(";lost;L1\n")
                            : QString("frage%1;answer%1;L%2\n").arg(i).arg(i % 2).toUtf8();
        }
        const QString path = writeTestFile(dir_, "words.csv", bytes);
        Seen seen;
        importFile(path, noteThen(seen, [&seen](QDialog* dialog) {
                       // Tab to the lesson's column and choose the last one: the third.
                       for (int i = 0; i < 10; ++i) {
                           seen.focusPath << dialog->focusWidget()->objectName();
                           if (dialog->focusWidget()->objectName() == "lessonColumnBox")
                               break;
                           pressKey(dialog, Qt::Key_Tab);
                       }
                       pressKey(dialog, Qt::Key_End);
                       pressKey(dialog, Qt::Key_Return);
                       return dialog->isVisible() ? int(QDialog::Rejected) : dialog->result();
                   }));

        QCOMPARE(prompts().openRequests.at(0).title, QString("Import cards from:"));
        QCOMPARE(seen.focusPath.last(), QString("lessonColumnBox"));
        QCOMPARE(seen.unnamed, QStringList());
        QCOMPARE(seen.summary, QString("12 of 13 rows become cards. 1 cannot be taken."));
        QCOMPARE(seen.problems, QStringList{"Line 5: not taken: the question is empty"});
        const QStringList cards = cardsOf(store_->unknownList);
        QCOMPARE(cards.size(), 12);
        QCOMPARE(cards.first(), QString("frage1|answer1|L1|-|0"));
        QCOMPARE(cards.last(), QString("frage13|answer13|L1|-|0"));
        QVERIFY(store_->modified);
        QCOMPARE(counter(*main_, "cardCounter"), QString("12"));
        QCOMPARE(counter(*main_, "knownCounter"), QString("0"));
        // A list begun by the import, with twelve cards as if each had been typed: every
        // examination whose size was passed is on, as after opening such a list.
        const ControlStates expected = withChanges(
            startStates(),
            {Command::CloseList, Command::SaveList, Command::SaveListAs, Command::ExportCards,
             Command::ExportQuestions, Command::ExportAnswers, Command::Export, Command::Print,
             Command::NewCards, Command::Overview, Command::ExamineInOrder, Command::ExamineRandom,
             Command::ExamineSystematic, Command::Sort, Command::Exchange, Command::ModifyCards,
             Command::Statistics, Command::ChooseLesson, Command::ChooseLevel},
            {Command::OpenList, Command::NewList},
            {MainButton::NewCard, MainButton::Overview, MainButton::Exchange, MainButton::InOrder,
             MainButton::Random, MainButton::Systematic});
        QCOMPARE(describeDifferences(controlStates(main_->board()), expected), QString());
    }

    void importedCardsSwitchOnWhatTypingThemWould_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("0 to 3: in order") << 0 << 3;
        QTest::newRow("0 to 4: and random") << 0 << 4;
        QTest::newRow("0 to 30: all three") << 0 << 30;
        QTest::newRow("3 to 4: random") << 3 << 4;
        QTest::newRow("4 to 10: none") << 4 << 10;
        QTest::newRow("10 to 11: systematic") << 10 << 11;
        QTest::newRow("11 to 40: none") << 11 << 40;
    }
    void importedCardsSwitchOnWhatTypingThemWould() {
        QFETCH(int, before);
        QFETCH(int, after);
        CommandBoard& board = main_->board();
        board.applyNoList();
        board.applyCardsImported(before, after, false);
        const ControlStates imported = controlStates(board);
        board.applyNoList();
        for (int count = before + 1; count <= after; ++count)
            board.applyCardEntered(count);
        QCOMPARE(describeDifferences(imported, controlStates(board)), QString());
    }

    void importsKvtmlWithLevelsIntoTheOpenList() {
        openTwoCards();
        Seen seen;
        importFile(QFINDTESTDATA("../core/data/kvtml/parley_feature_test_document.kvtml"),
                   noteThen(seen, [](QDialog* dialog) {
                       // The cards of a KVTML document are fixed: nothing to choose.
                       if (dialog->findChild<QComboBox*>() != nullptr)
                           return int(QDialog::Rejected);
                       return ScriptedPrompts::clickButton(dialog, "importButton");
                   }));

        QCOMPARE(seen.summary,
                 QString("22 of 26 entries become cards. 8 of them are cut or cleaned. 4 cannot "
                         "be taken."));
        const QStringList cards = cardsOf(store_->unknownList);
        QCOMPARE(cards.size(), 2 + 22);
        QCOMPARE(cards.at(0), QString("eins|one|-|-|0"));
        QVERIFY2(cards.contains("Baum|tree|Pronunciat|-|0"), qPrintable(cards.join('\n')));
        QVERIFY2(cards.filter("general LaTeX test|LaTeX|-|1").size() == 1,
                 qPrintable(cards.join('\n')));
        QCOMPARE(QString::fromStdString(store_->fileName), dir_.filePath("list.kmx"));
        QVERIFY(store_->modified);
        QCOMPARE(counter(*main_, "cardCounter"), QString("24"));
        // The list reached four and eleven cards on the way: the examinations of those
        // sizes switch on, as they do when the cards are typed.
        QVERIFY(main_->board().isEnabled(Command::ExamineRandom));
        QVERIFY(main_->board().isEnabled(Command::ExamineSystematic));
        QVERIFY(main_->board().button(MainButton::Systematic)->isEnabled());
    }

    void cancelChangesNothing_data() {
        QTest::addColumn<QString>("end");
        QTest::newRow("Cancel") << "click:cancelButton";
        QTest::newRow("Escape") << "key:Escape";
        QTest::newRow("close box") << "close";
    }
    void cancelChangesNothing() {
        QFETCH(QString, end);
        openTwoCards();
        const ControlStates before = controlStates(main_->board());
        importFile(writeTestFile(dir_, "words.txt", "Haus\thouse\nBaum\ttree\n"),
                   handlerNamed(end));
        QCOMPARE(prompts().dialogs, QStringList{"Import Cards"});
        QCOMPARE(cardsOf(store_->unknownList), (QStringList{"eins|one|-|-|0", "zwei|two|-|-|0"}));
        QVERIFY(!store_->modified);
        QCOMPARE(counter(*main_, "cardCounter"), QString("2"));
        QCOMPARE(describeDifferences(controlStates(main_->board()), before), QString());
    }

    void filesThatGiveNoCardsAreRefusedWithAReason_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("NUL bytes")
            << "words.csv" << QByteArray("PK\x03\x04\0\0\x14\0\x08\0word", 14)
            << "words.csv is not a text file: it holds NUL bytes";
        QTest::newRow("empty") << "empty.txt" << QByteArray() << "empty.txt holds no cards";
        QTest::newRow("comments only")
            << "notes.txt" << QByteArray("#separator:tab\n# none\n") << "notes.txt holds no cards";
        QTest::newRow("KVTML that is no XML")
            << "broken.kvtml" << QByteArray("<kvtml version=\"2.0\"><entries>")
            << "broken.kvtml cannot be imported: ";
        QTest::newRow("folder") << "folder" << QByteArray()
                                << "folder cannot be imported: it is a folder";
    }
    // An Anki package with its review log and an older deck's FSRS parameters: the
    // import says what it brought and asks before the list is scheduled with them.
    void ankiImportOffersTheDecksWeights() {
        AnkiExport deck;
        deck.deckName = "Deck";
        deck.nowSeconds = 1'700'000'000;
        deck.cards = {{"Haus", "house", "", "note 1", "", AnkiExportState{}}};
        deck.reviews = {{0, 1'699'000'000'000, 3, 4, 0, 2500, 7000, 1}};
        deck.fsrsParameters.assign(kFsrsDefaultWeights.begin(), kFsrsDefaultWeights.begin() + 19);
        deck.fsrsParameters[0] = 0.5f;
        const QString path = dir_.filePath("deck.apkg");
        QVERIFY(writeAnkiPackage(QFile::encodeName(path).toStdString(), deck).ok());
        prompts().answers.push_back(PromptAnswer::Yes);
        importFile(path, ScriptedPrompts::acceptDialog());
        QCOMPARE(prompts().questions.size(), size_t(1));
        QVERIFY2(prompts().questions[0].text.contains("review history: 1."),
                 qPrintable(prompts().questions[0].text));
        const FsrsParameters& now = main_->session().schedule().parameters();
        QCOMPARE(float(now.w[0]), 0.5f);
        QCOMPARE(now.w[20], 0.5);  // FSRS-5's decay
        QVERIFY(main_->session().schedule().dueMs(*store_->unknownList.nthCard(0)));
    }

    void filesThatGiveNoCardsAreRefusedWithAReason() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QString path = dir_.filePath(name);
        if (name == "folder")
            QVERIFY(QDir(dir_.path()).mkdir(name));
        else
            writeTestFile(dir_, name, bytes);
        importFile(path, nullptr);
        QCOMPARE(prompts().messages.size(), size_t(1));
        QVERIFY2(prompts().messages[0].text.startsWith(message),
                 qPrintable(prompts().messages[0].text));
        QVERIFY(prompts().dialogs.isEmpty());
        QCOMPARE(store_->cardCount(), size_t(0));
        QCOMPARE(describeDifferences(controlStates(main_->board()), startStates()), QString());
    }

    void thePreviewSaysWhatHappensToEachRow_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("mixed rows")
            << ("Haus;house\n;leer\nBaum;\n\xE6\x97\xA5\xE6\x9C\xAC;Japan\nKatze;cat;extra\n" +
                QByteArray(150, 'x') + ";long\n")
            << "4 of 6 rows become cards. 2 of them are cut or cleaned. 2 cannot be taken."
            << QStringList{
                   "Line 2: not taken: the question is empty",
                   "Line 3: not taken: the answer is empty",
                   "Line 5: fields beyond the columns left out: \u201C"
                   "extra\u201D",
                   "Line 6: the question is cut after 100 characters, leaving out 50 more: \u201C" +
                       QString(50, 'x') + "\u201D"};
        QTest::newRow("one enormous line")
            << QByteArray(5'000'000, 'x') << "0 of 1 rows become cards. 1 cannot be taken."
            << QStringList{
                   "Line 1: not taken: the answer is empty; the question is cut after "
                   "100 characters, leaving out 4999900 more: \u201C" +
                   QString(60, 'x') + "\u2026\u201D"};
    }
    void thePreviewSaysWhatHappensToEachRow() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, summary);
        QFETCH(QStringList, problems);
        Seen seen;
        // Read the file with another separator and back: both tables follow through every
        // reset, and the second reading says what the first did.
        const auto readAgain = [](QDialog* dialog) {
            QAbstractItemModelTester table(dialog->findChild<QTableView*>("previewTable")->model(),
                                           QAbstractItemModelTester::FailureReportingMode::QtTest);
            QAbstractItemModelTester list(dialog->findChild<QListView*>("problemList")->model(),
                                          QAbstractItemModelTester::FailureReportingMode::QtTest);
            auto* separator = dialog->findChild<QComboBox*>("separatorBox");
            const int first = separator->currentIndex();
            separator->setCurrentIndex(separator->findText("Comma ,"));
            separator->setCurrentIndex(first);
        };
        importFile(writeTestFile(dir_, "rows.txt", bytes),
                   inspectThen(readAgain, noteThen(seen, ScriptedPrompts::rejectDialog())));
        QCOMPARE(seen.summary, summary);
        QCOMPARE(seen.problems, problems);
        QCOMPARE(seen.importEnabled, summary.front() != '0');
        QCOMPARE(store_->cardCount(), size_t(0));
    }

    void htmlChoiceLabelsAndHeadersAreThere() {
        QString tagged, plain, otherName, buddyText;
        bool checked = false;
        bool headersFit = true;
        const auto inspect = [&](QDialog* dialog) {
            const QAbstractItemModel* preview =
                dialog->findChild<QTableView*>("previewTable")->model();
            const auto answer = [&] { return preview->index(0, 2).data().toString(); };
            auto* html = dialog->findChild<QCheckBox*>("htmlCheck");
            checked = html->isChecked();
            plain = answer();
            html->click();
            tagged = answer();
            auto* other = dialog->findChild<QLineEdit*>("otherSeparatorEdit");
            otherName = other->accessibleName();
            for (QLabel* label : dialog->findChildren<QLabel*>()) {
                if (label->buddy() == other)
                    buddyText = label->text();
            }
            QHeaderView* header =
                dialog->findChild<QTableView*>("previewTable")->horizontalHeader();
            for (int column = 0; column < header->count() - 1; ++column)
                headersFit &= header->isSectionHidden(column) ||
                              header->sectionSize(column) >= header->sectionSizeHint(column);
        };
        importFile(writeTestFile(dir_, "anki.txt", "#html:true\n<b>Haus</b>;house<br>home\n"),
                   inspectThen(inspect, ScriptedPrompts::acceptDialog()));
        QVERIFY(checked);
        QCOMPARE(plain, QString("house / home"));
        QCOMPARE(tagged, QString("house<br>home"));
        QCOMPARE(otherName, QString("Other character"));
        QCOMPARE(buddyText, QString("O&ther character:"));
        QVERIFY(headersFit);
        QCOMPARE(cardsOf(store_->unknownList), QStringList{"<b>Haus</b>|house<br>home|-|-|0"});
    }

    void exportedCardsComeBackAsTheyWere_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("levels");
        QTest::newRow("text for other trainers") << "cards.txt" << false;
        QTest::newRow("KVTML") << "cards.kvtml" << true;
    }
    void exportedCardsComeBackAsTheyWere() {
        QFETCH(QString, name);
        QFETCH(bool, levels);
        const std::string cafe = "caf\xC3\xA9 \xE2\x82\xAC";
        addCard(*store_, store_->unknownList, "Haus", "house; home", "L1", "das").level = 2;
        addCard(*store_, store_->unknownList, cafe, "coffee, \"strong\"", "-", "-");
        addCard(*store_, store_->unknownList, "#hash", "<b>&amp;</b>", "-", "-").level = 4;
        Card& known = addCard(*store_, store_->unknownList, "Baum", "tree", "L2", "-");
        store_->unknownList.removeById(known.id);
        store_->knownList.insert(&known);
        known.level = 5;
        main_->board().applyListOpened(3, 1);
        const QStringList exported = cardsOf(store_->unknownList) + cardsOf(store_->knownList);

        const QString path = dir_.filePath(name);
        prompts().saveChoices.push_back({path, 0, levels ? 1 : 0});
        main_->board().action(Command::Export)->trigger();
        QCOMPARE(prompts().saveRequests.at(0).filters.size(), qsizetype(3));
        QVERIFY(QFile::exists(path));
        prompts().answers.push_back(PromptAnswer::No);  // close without saving
        main_->runCommand(Command::CloseList);
        QCOMPARE(store_->cardCount(), size_t(0));

        importFile(path, ScriptedPrompts::acceptDialog());
        QStringList expected = exported;
        if (!levels)
            expected.replaceInStrings(QRegularExpression("\\|\\d+$"), "|0");
        QCOMPARE(cardsOf(store_->unknownList), expected);
    }

    void aFailedExportSaysSoAndKeepsTheFile() {
        addCard(*store_, store_->unknownList, "Haus", "house", "-", "-");
        main_->board().applyListOpened(1, 0);
        const QString path = writeTestFile(dir_, "kept.kvtml", "old");
        QVERIFY(chmod(QFile::encodeName(path).constData(), 0444) == 0);
        prompts().saveChoices.push_back({path, 0});
        main_->board().action(Command::Export)->trigger();
        QCOMPARE(prompts().messageTexts(),
                 QStringList{path + " is read-only. The cards were not exported."});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old"));
    }
};

QTEST_MAIN(TestImportDialog)
#include "tst_import_dialog.moc"
