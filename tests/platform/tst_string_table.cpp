#include <QtTest>

#include "core/message_ids.h"
#include "platform/string_table.h"

// Every text a message box, caption or column shows comes from the table; a wrong
// character is a wrong text on screen.
class StringTableTest : public QObject {
    Q_OBJECT
private slots:
    void textOfNumber_data();
    void textOfNumber();
    void numberWithoutText_data();
    void numberWithoutText();
    void ownTextsAreFilledAndFit_data();
    void ownTextsAreFilledAndFit();
    void everyTextFitsItsBox();
};

void StringTableTest::textOfNumber_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    const struct {
        int id;
        const char* text;
    } rows[] = {
        {101, "About Kartomatrix for Windows"},
        {102, "You have not opened any cards yet. Please try 'open' or 'new list'"},
        {103,
         "The systematic examination has been written for more than 10 cards. It makes "
         "sense if you have more than 20 cards... But there are less than 10 cards in "
         "your list."},
        {111, "An error occured while opening a file. No vocabulary has been read."},
        {112, "Too few words for a random examination"},
        {114, "Sorry: there are no cards on this level."},
        {115, "Sorry: There are no cards of this lesson."},
        {119, "Sorry, your answer cannot be added because it is too long."},
        {123,
         "Du benutzt ein altes, nicht kompatibles Kartomatrix-Format! Nimm das Programm, "
         "mit welchem Du das Dokument erzeugt hast, und exportiere es dort. Anschliessend "
         "solltest Du es problemlos einlesen koennen."},
        {125, "No more memory. Bye!"},
        {126, "Please choose a radio button."},
        {127,
         "Your answer does not make sense: The question or the anser do not contain any "
         "words."},
        {129, "The card was not found."},
        {130,
         "There is no card chosen. Before you can delete a card, you have to search for "
         "it."},
        {131, "There was an error while saving cards."},
        {133, "You reached the end of the list."},
        {136, "Caution:"},
        {137,
         "You have entered new cards or you have modified some words. Do you want to "
         "save them before you close the list?"},
        {138,
         "There was an error while building a 'Device Context'. Check your "
         "printer/driver."},
        {139,
         "There was an error while beginning a new page. Check: memory, disk space, "
         "printer and printer driver."},
        {140, "There was an error while opening a picture."},
        {143, "There is no card selected to modify. Please choose 'close' or 'search ...'"},
        {144, "DEBUG: Fehler"},
        {145, "You are trying to delete a card. Do you really want to delete it?"},
        {146, "Question"},
        {147, "Answer"},
        {148, "Add. Information"},
        {149, "Lesson"},
        {150, "id"},
        {151, "Level"},
        {152, "Examination in order"},
        {153, "Examination of the wrong words"},
        {154, "Examination in order (Level)"},
        {155, "Examination in order (Lesson)"},
        {156, "Examination in order (known words)"},
        {157, "Examination in random order"},
        {158, "Examination in random order (Lesson)"},
        {159, "Systematic examination"},
        {160, "Systematic examination (Lesson)"},
        {161, "There was an attempt to delete a nonexistant dialog. Bye..."},
        {162, "Open a list:"},
        {163, "An error occurred"},
        {164, "Message:"},
        {167, "Please enter the question to search."},
        {168, "Please enter the answer to search."},
        {169, "Please enter the ID (card number) to search."},
        {170, "Save this file as:"},
        {171, "Export this file as:"},
        {172, "Internal Database error: a card has been compared with itself."},
        {173, "A card was not correct. Internal database error."},
        {174, "There are no cards to sort"},
        {176, "The font in the *.kmx file was not found. Please choose another font."},
        {178, "Please enter the string to search for."},
        {179, "The selected list does not contain any cards."},
        {180,
         "There was an error in the function to move cards from unknown to known words: "
         "The card was already in the list of known cards. There is probabely more than "
         "one card with the same ID."},
    };
    for (const auto& row : rows)
        QTest::addRow("%d", row.id) << row.id << QString::fromLatin1(row.text);
}

void StringTableTest::textOfNumber() {
    QFETCH(int, id);
    QFETCH(QString, text);
    QCOMPARE(stringText(id), text);
}

void StringTableTest::numberWithoutText_data() {
    QTest::addColumn<int>("id");
    // The generic error number, the numbers around the table and the gaps inside it.
    for (int id : {Msg::Unspecified,
                   0,
                   -1,
                   100,
                   104,
                   110,
                   113,
                   116,
                   120,
                   124,
                   128,
                   134,
                   135,
                   141,
                   142,
                   165,
                   166,
                   175,
                   177,
                   182,
                   183})
        QTest::addRow("%d", id) << id;
}

void StringTableTest::numberWithoutText() {
    QFETCH(int, id);
    QVERIFY(stringText(id).isNull());
}

void StringTableTest::ownTextsAreFilledAndFit_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("mustMention");
    QTest::newRow("report failed asks for a report") << int(Msg::ReportFailed) << "report";
    QTest::newRow("too many meanings names Edit Card")
        << int(Msg::TooManyMeanings) << "\"Edit Card\"";
}

void StringTableTest::ownTextsAreFilledAndFit() {
    QFETCH(int, id);
    QFETCH(QString, mustMention);
    const QString text = stringText(id);
    QVERIFY(!text.isEmpty());
    QVERIFY2(text.contains(mustMention, Qt::CaseInsensitive), qPrintable(text));
}

void StringTableTest::everyTextFitsItsBox() {
    for (int id = 101; id <= 182; ++id) {
        const QString text = stringText(id);
        QVERIFY2(text.size() <= 399, qPrintable(QString::number(id)));
    }
    QVERIFY(stringText(Msg::ErrorCaption).size() <= 49);
    QVERIFY(stringText(Msg::NoticeCaption).size() <= 49);
}

QTEST_GUILESS_MAIN(StringTableTest)
#include "tst_string_table.moc"
