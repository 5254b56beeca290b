#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "editing/new_card_dialog.h"
#include "editing/overview_dialog.h"
#include "exam/examination_dialog.h"
#include "platform/text_codec.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_window_test.h"

namespace {

struct Entry {
    const char* question;
    const char* answer;
    const char* lesson;
};

// One card a script, and one text beyond the first 65,536 characters.
const Entry kEntries[] = {
    {"дом", "house", "Русский"},    {"σπίτι", "house", "Ελληνικά"},
    {"źdźbło", "blade", "Polski"},  {"ışık", "light", "Türkçe"},
    {"كتاب", "book", "عربي"},       {"שלום", "peace", "עברית"},
    {"水", "water", "中文"},        {"ありがとう", "thank you", "日本語"},
    {"music", "𝄞 clef", "Symbols"}, {"night", "ночь", "Русский"},
    {"day", "день", "Русский"},     {"cat", "猫", "日本語"},
};

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

// A list in many scripts, typed in, examined, sorted, searched, printed, saved and opened
// again, all by keyboard.
class TestScripts : public MainWindowTest {
    Q_OBJECT

    QTemporaryDir dir_;

    QStringList questions(const CardList& list) {
        QStringList out;
        list.forEach([&](const Card* c) { out << fromCardText(c->question()); });
        return out;
    }

private slots:
    void init() { startMainWindow({11, 222, 3333, 4444, 555, 66, 7777, 888, 99, 1010, 1111}); }
    void cleanup() {
        flushDeletes();
        finishMainWindow();
    }

    void everyScriptRoundTrips() {
        main_->board().action(Command::NewList)->trigger();
        NewCardDialog* newCard = window<NewCardDialog>();
        QVERIFY(newCard);
        for (const Entry& e : kEntries) {
            newCard->findChild<QLineEdit*>("questionEdit")->setFocus();
            typeText(newCard->findChild<QLineEdit*>("questionEdit"), q(e.question));
            typeText(newCard->findChild<QLineEdit*>("answerEdit"), q(e.answer));
            auto* lesson = newCard->findChild<QLineEdit*>("lessonEdit");
            lesson->clear();
            typeText(lesson, q(e.lesson));
            pressKey(newCard, Qt::Key_Return);
        }
        QCOMPARE(store_->unknownList.count(), int(std::size(kEntries)));
        QCOMPARE(fromCardText(store_->unknownList.slot(8)->answer()), q("𝄞 clef"));
        newCard->close();
        flushDeletes();

        // Examined: every answer typed right is judged right.
        main_->runCommand(Command::ExamineInOrder);
        ExaminationDialog* exam = window<ExaminationDialog>();
        QVERIFY(exam);
        // KARTOMATRIX_SCREENSHOTS=<folder> keeps a picture of it for the documentation.
        if (const QString folder = qEnvironmentVariable("KARTOMATRIX_SCREENSHOTS");
            !folder.isEmpty()) {
            typeText(exam->findChild<QLineEdit*>("answerEdit"), "hou");
            exam->grab().save(folder + "/examination-cyrillic.png");
            exam->findChild<QLineEdit*>("answerEdit")->clear();
        }
        for (std::size_t i = 0; i < std::size(kEntries); ++i) {
            const Card* card = exam->currentCard();
            QVERIFY(card);
            typeText(exam->findChild<QLineEdit*>("answerEdit"), fromCardText(card->answer()));
            pressKey(exam, Qt::Key_Return);
        }
        QVERIFY(prompts().dialogs.isEmpty());  // no "Is your answer right?"
        store_->unknownList.forEach([](const Card* c) { QCOMPARE(c->level, 1); });
        flushDeletes();
        prompts().clear();

        // Sorted: Latin first, then by character, Cyrillic before Greek-less scripts...
        main_->runCommand(Command::Sort);
        const QStringList sorted = questions(store_->unknownList);
        QCOMPARE(sorted.mid(0, 4), (QStringList{"cat", "day", "music", "night"}));
        QCOMPARE(sorted.last(), q("水"));

        // Searched in the overview.
        main_->runCommand(Command::Overview);
        OverviewDialog* overview = window<OverviewDialog>();
        prompts().dialogHandlers.push_back([](QDialog* prompt) {
            typeText(prompt->findChild<QLineEdit*>("searchEdit"), q("ありが"));
            pressKey(prompt, Qt::Key_Return);
            return prompt->result();
        });
        overview->findChild<QPushButton*>("searchButton")->click();
        auto* table = overview->findChild<QTableView*>("cardTable");
        QCOMPARE(table->currentIndex().data().toString(), q("ありがとう"));
        overview->close();
        flushDeletes();

        // Printed to PDF.
        const QString pdf = dir_.filePath("cards.pdf");
        prompts().dialogHandlers.push_back([](QDialog* chooser) {
            chooser->findChild<QRadioButton*>("allCardsRadio")->click();
            return ScriptedPrompts::clickButton(chooser, "printButton");
        });
        prompts().printChoices.push_back([pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        main_->board().action(Command::Print)->trigger();
        QVERIFY(QFileInfo(pdf).size() > 1000);

        // Saved (as a Unicode list, said once), closed, opened again: the same cards.
        const QString path = dir_.filePath("languages.kmx");
        prompts().saveChoices.push_back({path, 0});
        prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->board().action(Command::SaveListAs)->trigger();
        QCOMPARE(prompts().messages.size(), std::size_t(1));
        QVERIFY(!store_->modified);
        const QStringList before = questions(store_->unknownList);
        main_->board().action(Command::CloseList)->trigger();
        QCOMPARE(store_->unknownList.count(), 0);
        prompts().clear();
        prompts().dialogHandlers.push_back(ScriptedPrompts::acceptDialog());
        main_->session().openList(path);
        QCOMPARE(questions(store_->unknownList), before);
        QCOMPARE(fromCardText(store_->unknownList.slot(0)->lesson()), q("日本語"));
        for (ExaminationDialog* w : main_->findChildren<ExaminationDialog*>())
            w->close();
        prompts().clear();
    }

    void limitsCountCharactersAlsoThroughAnInputMethod() {
        main_->board().applyListOpened(0, 0);
        main_->runCommand(Command::NewCards);
        NewCardDialog* newCard = window<NewCardDialog>();
        auto* lesson = newCard->findChild<QLineEdit*>("lessonEdit");  // nine characters
        lesson->clear();
        typeThroughInputMethod(lesson, q("にほんご"), q("日本語日本語"));
        typeThroughInputMethod(lesson, q("ご"), q("日本語日本語"));
        QCOMPARE(lesson->text(), q("日本語日本語日本語"));
        lesson->clear();
        typeText(lesson, q("e\xCC\x81") + q("𝄞").repeated(9));  // é as e + accent
        QCOMPARE(lesson->text(), q("e\xCC\x81") + q("𝄞").repeated(8));
        newCard->close();
    }
};

QTEST_MAIN(TestScripts)
#include "tst_scripts.moc"
