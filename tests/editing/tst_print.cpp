#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/preferences.h"
#include "editing/print_list_chooser.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_test.h"
#include "tests/support/test_environment.h"

namespace {

// The pages of a PDF file as Qt writes it: one page object each.
int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b"));
    return int(QString::fromLatin1(file.readAll()).count(page));
}

// Picks a list in the chooser by keyboard and mouse as a user would, then presses Print.
ScriptedPrompts::DialogHandler choose(const QString& radio, const QString& level = "0",
                                      const QString& lesson = {}) {
    return [=](QDialog* dialog) {
        if (!radio.isEmpty())
            dialog->findChild<QRadioButton*>(radio)->click();
        auto* levelBox = dialog->findChild<QLineEdit*>("levelEdit");
        levelBox->selectAll();
        typeText(levelBox, level);
        typeText(dialog->findChild<QLineEdit*>("lessonEdit"), lesson);
        return ScriptedPrompts::clickButton(dialog, "printButton");
    };
}

}  // namespace

class TestPrint : public MainWindowTest {
    Q_OBJECT

private:
    QTemporaryDir folder_;

    void addCards(CardList& list, int count, const std::string& prefix, int level = 0,
                  const std::string& lesson = "L1") {
        for (int i = 0; i < count; ++i) {
            Card& card = addCard(*store_, list, prefix + std::to_string(i), "answer", lesson, "-");
            card.level = level;
        }
    }

    // The chooser's print sequence, by question, when it ends with Print.
    QStringList chosenQuestions(ScriptedPrompts::DialogHandler handler, int* result) {
        PrintListChooser chooser(*store_, main_.get());
        prompts().dialogHandlers.push_back(handler);
        *result = prompts().execDialog(&chooser);
        QStringList questions;
        for (const Card* card : chooser.sequence())
            questions << QString::fromLatin1(card->question());
        return questions;
    }

private slots:
    void init() {
        startMainWindow();
        main_->board().setCommandEnabled(Command::Print, true);
        addCards(store_->unknownList, 2, "zero", 0, "L1");
        addCards(store_->unknownList, 2, "two", 2, "l1");
        addCards(store_->unknownList, 1, "nolesson", 0, "");
        addCards(store_->knownList, 1, "known", 2, "L1");
        store_->wrongList.insert(store_->unknownList.slot(2));
    }

    void cleanup() { finishMainWindow(); }

    void chooserPicksTheCardsToPrint_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        QTest::newRow("all cards are the unknown ones")
            << "allCardsRadio"
            << "0"
            << "" << QStringList{"zero0", "zero1", "two0", "two1", "nolesson0"} << none;
        QTest::newRow("level 2") << "levelCardsRadio"
                                 << "2"
                                 << "" << QStringList{"two0", "two1"} << none;
        QTest::newRow("lesson compared with its case")
            << "lessonCardsRadio"
            << "0"
            << "L1" << QStringList{"zero0", "zero1"} << none;
        QTest::newRow("empty lesson") << "lessonCardsRadio"
                                      << "0"
                                      << "" << QStringList{"nolesson0"} << none;
        QTest::newRow("wrong cards") << "wrongCardsRadio"
                                     << "0"
                                     << "" << QStringList{"two0"} << none;
        QTest::newRow("known cards") << "knownCardsRadio"
                                     << "0"
                                     << "" << QStringList{"known0"} << none;
        QTest::newRow("no radio button")
            << ""
            << "0"
            << "" << none << QStringList{"Please choose a radio button."};
        QTest::newRow("level without cards")
            << "levelCardsRadio"
            << "7"
            << "" << none << QStringList{"The selected list does not contain any cards."};
        QTest::newRow("level above 100")
            << "allCardsRadio"
            << "101"
            << "" << none << QStringList{"Please enter an integer between 0 and 100."};
    }
    void chooserPicksTheCardsToPrint() {
        QFETCH(QString, radio);
        QFETCH(QString, level);
        QFETCH(QString, lesson);
        QFETCH(QStringList, questions);
        QFETCH(QStringList, messages);
        int result = -1;
        QCOMPARE(chosenQuestions(choose(radio, level, lesson), &result), questions);
        QCOMPARE(result, int(questions.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(prompts().messageTexts(), messages);
    }

    void printCommandRunsTheWholeJob_data() {
        QTest::addColumn<bool>("chooserCancelled");
        QTest::addColumn<QString>("printer");  // "cancel", "pdf" or a file to print to
        QTest::addColumn<int>("pages");        // -1: no file written
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("70 one-line cards on two pages") << false << "pdf" << 2 << QStringList{};
        QTest::newRow("chooser cancelled") << true << "" << -1 << QStringList{};
        QTest::newRow("print dialog cancelled") << false << "cancel" << -1 << QStringList{};
        QTest::newRow("file printer without a file")
            << false << "" << -1
            << QStringList{
                   "There was an error while building a 'Device Context'. Check your "
                   "printer/driver."};
        QTest::newRow("document cannot begin")
            << false << "/nonexistent-folder/cards.pdf" << -1
            << QStringList{
                   "There was an error while beginning a new page. Check: memory, "
                   "disk space, printer and printer driver."};
    }
    void printCommandRunsTheWholeJob() {
        QFETCH(bool, chooserCancelled);
        QFETCH(QString, printer);
        QFETCH(int, pages);
        QFETCH(QStringList, messages);
        addCards(store_->knownList, 69, "k");
        prompts().dialogHandlers.push_back(chooserCancelled ? clickIn("cancelButton")
                                                            : choose("knownCardsRadio"));
        const QString pdf = folder_.filePath(QTest::currentDataTag() + QString(".pdf"));
        const QString output = printer == "pdf" ? pdf : printer;
        if (!chooserCancelled) {
            prompts().printChoices.push_back([=](QPrinter& chosen) {
                chosen.setOutputFormat(QPrinter::PdfFormat);
                chosen.setOutputFileName(output);
                return output != "cancel";
            });
        }
        main_->board().action(Command::Print)->trigger();
        QCOMPARE(prompts().printDialogs, chooserCancelled ? 0 : 1);
        QCOMPARE(prompts().messageTexts(), messages);
        QCOMPARE(pdfPageCount(pdf), pages);
        if (pages > 0)
            QVERIFY(QFileInfo(pdf).size() > 1000);
    }

    void chooserIsUsableByKeyboardAndScreenReader() {
        PrintListChooser chooser(*store_, main_.get());
        chooser.show();
        QApplication::setActiveWindow(&chooser);
        QVERIFY(QTest::qWaitForWindowActive(&chooser));
        QCOMPARE(controlsWithoutAccessibleName(&chooser), QStringList());
        // Arrow keys move through the choices, Space checks one and Enter prints.
        QTest::keyClick(chooser.focusWidget(), Qt::Key_Down);
        QTest::keyClick(chooser.focusWidget(), Qt::Key_Space);
        QVERIFY(chooser.findChild<QRadioButton*>("levelCardsRadio")->isChecked());
        QTest::keyClick(chooser.focusWidget(), Qt::Key_Return);
        QVERIFY(!chooser.isVisible());
        QCOMPARE(chooser.sequence().size(), size_t(3));  // level 0
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
