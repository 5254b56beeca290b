#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "tests/support/test_environment.h"
#include "widgets/document_info_dialog.h"

Q_DECLARE_METATYPE(DocumentInfo)

namespace {

DocumentInfo report(std::string fileName, std::string format, int32_t unknown, int32_t known) {
    DocumentInfo info;
    info.fileName = std::move(fileName);
    info.format = std::move(format);
    info.unknownCount = unknown;
    info.knownCount = known;
    return info;
}

}  // namespace

class DocumentInfoTest : public QObject {
    Q_OBJECT
private slots:
    void fieldsShowTheReport_data();
    void fieldsShowTheReport();
    void fieldsAreLabelledAndReadOnly();
};

void DocumentInfoTest::fieldsShowTheReport_data() {
    QTest::addColumn<DocumentInfo>("info");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("version 2.0 file")
        << report("/home/anna/french.kmx", "mnem v 2.0", 12, 3)
        << QStringList{"/home/anna/french.kmx", "mnem v 2.0", "15", "3"};
    QTest::newRow("text file has no known cards")
        << report("/tmp/words.txt", "ASCII-tabsep-file", 40, 0)
        << QStringList{"/tmp/words.txt", "ASCII-tabsep-file", "40", "0"};
    QTest::newRow("failed save, empty report")
        << report("", "", 0, 0) << QStringList{"", "", "0", "0"};
    QTest::newRow("UTF-8 file name")
        << report("/home/łukasz/słowa.kmx", "Version 2.0", 1, 0)
        << QStringList{"/home/łukasz/słowa.kmx", "Version 2.0", "1", "0"};
    QTest::newRow("Windows-1252 file name")
        << report("C:\\W\xF6rter.kmx", "Version 2.0", 2, 1)
        << QStringList{"C:\\Wörter.kmx", "Version 2.0", "3", "1"};
    QTest::newRow("counts too large to add in 32 bits")
        << report("big.kmx", "Version 2.0", 2147483647, 2147483647)
        << QStringList{"big.kmx", "Version 2.0", "4294967294", "2147483647"};
}

void DocumentInfoTest::fieldsShowTheReport() {
    QFETCH(DocumentInfo, info);
    QFETCH(QStringList, fields);
    TestEnvironment env;
    QWidget owner;
    QStringList shown;
    QWidget* parent = nullptr;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        parent = d->parentWidget();
        for (const char* name : {"fileNameEdit", "versionEdit", "cardCountEdit", "knownCountEdit"})
            shown.append(d->findChild<QLineEdit*>(QString::fromLatin1(name))->text());
        return ScriptedPrompts::clickButton(d, "okButton");
    });
    showDocumentInfo(info, &owner);
    QCOMPARE(env.prompts().dialogs, QStringList{QStringLiteral("Document - Information")});
    QCOMPARE(parent, &owner);
    QCOMPARE(shown, fields);
    QVERIFY(env.prompts().unexpected.isEmpty());
}

void DocumentInfoTest::fieldsAreLabelledAndReadOnly() {
    DocumentInfoDialog dialog(report("a.kmx", "Version 2.0", 1, 1));
    const struct {
        const char* field;
        const char* label;
    } rows[] = {{"fileNameEdit", "Filename"},
                {"versionEdit", "Version"},
                {"cardCountEdit", "Number of cards"},
                {"knownCountEdit", "Known cards"}};
    int previousY = -1;
    dialog.show();
    for (const auto& row : rows) {
        auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(row.field));
        QVERIFY(field);
        QVERIFY(field->isReadOnly());
        QCOMPARE(field->accessibleName(), QString::fromLatin1(row.label));
        bool labelled = false;
        for (QLabel* l : dialog.findChildren<QLabel*>())
            labelled = labelled || (l->buddy() == field && l->text() == row.label);
        QVERIFY2(labelled, row.label);
        QVERIFY2(field->y() > previousY, row.field);  // top to bottom in this order
        previousY = field->y();
    }
    QCOMPARE(dialog.findChild<QPushButton*>("okButton")->text(), QStringLiteral("OK"));
}

QTEST_MAIN(DocumentInfoTest)
#include "tst_document_info.moc"
