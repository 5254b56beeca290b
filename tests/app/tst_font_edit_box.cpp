#include <QtTest>

#include "core/message_ids.h"
#include "platform/string_table.h"
#include "tests/support/test_environment.h"
#include "widgets/font_edit_box.h"

namespace {

LogFont boldFace() {
    LogFont font = defaultDocumentFont();
    font.lfFaceName = "DejaVu Serif";
    font.lfWeight = 700;
    font.lfHeight = -48;
    return font;
}

}  // namespace

class FontEditBoxTest : public QObject {
    Q_OBJECT
private slots:
    void fontWaitsForTheText_data();
    void fontWaitsForTheText();
    void laterFontReplacesAPendingOne();
    void missingFontEndsTheProgram();
    void typingAnyScriptIsKept();
};

void FontEditBoxTest::fontWaitsForTheText_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("text put in by the program") << "setText";
    QTest::newRow("text typed by the user") << "type";
    QTest::newRow("window applies it directly") << "apply";
}

void FontEditBoxTest::fontWaitsForTheText() {
    QFETCH(QString, how);
    TestEnvironment env;
    FontEditBox box;
    box.show();
    const QFont before = box.font();
    const LogFont font = boldFace();
    box.setFieldFont(&font, 18);
    QVERIFY(box.fontPending());
    QCOMPARE(box.font(), before);

    if (how == "setText")
        box.setText(QStringLiteral("house"));
    else if (how == "type")
        QTest::keyClicks(&box, QStringLiteral("h"));
    else
        box.applyPendingFont();

    QVERIFY(!box.fontPending());
    QCOMPARE(box.font().pixelSize(), 18);
    QVERIFY(box.font().bold());
    QCOMPARE(box.font().family(), QStringLiteral("DejaVu Serif"));

    // Once applied, further changes leave the font alone.
    box.setFont(before);
    box.setText(QStringLiteral("home"));
    QCOMPARE(box.font(), before);
}

void FontEditBoxTest::laterFontReplacesAPendingOne() {
    TestEnvironment env;
    FontEditBox box;
    const LogFont first = boldFace();
    LogFont second = defaultDocumentFont();
    second.lfItalic = 1;
    box.setFieldFont(&first, 18);
    box.setFieldFont(&second, 12);
    box.setText(QStringLiteral("x"));
    QCOMPARE(box.font().pixelSize(), 12);
    QVERIFY(box.font().italic());
    QVERIFY(!box.font().bold());
}

void FontEditBoxTest::missingFontEndsTheProgram() {
    TestEnvironment env;
    FontEditBox box;
    QCOMPARE(exitStatusOf([&] { box.setFieldFont(nullptr, 12); }), std::optional(8));
    // The number has no text: the report-failed box, then the empty error box.
    QCOMPARE(env.prompts().messageTexts(), (QStringList{stringText(Msg::ReportFailed), ""}));
}

void FontEditBoxTest::typingAnyScriptIsKept() {
    TestEnvironment env;
    FontEditBox box;
    box.show();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("Ł"));
    QApplication::sendEvent(&box, &press);
    QTest::keyClicks(&box, QStringLiteral("ok"));
    QCOMPARE(box.text(), QStringLiteral("Łok"));
    QVERIFY(env.prompts().beeps.empty());
}

QTEST_MAIN(FontEditBoxTest)
#include "tst_font_edit_box.moc"
