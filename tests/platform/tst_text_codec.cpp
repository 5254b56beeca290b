#include <QLineEdit>
#include <QtTest>

#include "platform/card_text_validator.h"
#include "platform/text_codec.h"
#include "tests/support/test_environment.h"

// Card texts are Windows-1252 bytes in list files. A byte that does not come back as
// itself, or a character that is silently changed, is a changed card.
class TextCodecTest : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips();
    void bytesShowAsTheirCharacters_data();
    void bytesShowAsTheirCharacters();
    void charactersWithoutByteAreRefused_data();
    void charactersWithoutByteAreRefused();
    void typingSuchCharactersIsRefusedWithABeep_data();
    void typingSuchCharactersIsRefusedWithABeep();
    void readCardTextNamesWhatCannotBeStored();
    void readCardTextTakesStorableText();
};

void TextCodecTest::everyByteRoundTrips() {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = fromCardText(all);
    QCOMPARE(text.size(), 256);
    QVERIFY(unrepresentableCharacters(text).isEmpty());
    const std::optional<std::string> back = toCardText(text);
    QVERIFY(back.has_value());
    QVERIFY(*back == all);
}

void TextCodecTest::bytesShowAsTheirCharacters_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("ASCII letter") << 0x41 << 0x41;
    QTest::newRow("euro sign") << 0x80 << 0x20AC;
    QTest::newRow("undefined 0x81 keeps its number") << 0x81 << 0x81;
    QTest::newRow("low double quote") << 0x84 << 0x201E;
    QTest::newRow("undefined 0x8D") << 0x8D << 0x8D;
    QTest::newRow("undefined 0x8F") << 0x8F << 0x8F;
    QTest::newRow("undefined 0x90") << 0x90 << 0x90;
    QTest::newRow("en dash") << 0x96 << 0x2013;
    QTest::newRow("undefined 0x9D") << 0x9D << 0x9D;
    QTest::newRow("Y with diaeresis") << 0x9F << 0x178;
    QTest::newRow("no-break space") << 0xA0 << 0xA0;
    QTest::newRow("e acute") << 0xE9 << 0xE9;
    QTest::newRow("sharp s") << 0xDF << 0xDF;
}

void TextCodecTest::bytesShowAsTheirCharacters() {
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const char c = static_cast<char>(byte);
    QCOMPARE(fromCardText(std::string_view(&c, 1)), QString(QChar(unicode)));
    QCOMPARE(toCardText(QString(QChar(unicode))), std::optional<std::string>(std::string(1, c)));
}

void TextCodecTest::charactersWithoutByteAreRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refused");
    QTest::newRow("Polish L") << QStringLiteral("Łódź") << QStringLiteral("Łź");
    QTest::newRow("emoji counts as one character")
        << QStringLiteral("ok \U0001F600 and \U0001F600") << QStringLiteral("\U0001F600");
    QTest::newRow("C1 control whose byte is the euro sign")
        << QStringLiteral("a\u0080") << QStringLiteral("\u0080");
    QTest::newRow("Cyrillic, each once") << QStringLiteral("дада") << QStringLiteral("да");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QString(QChar(0xD800));
}

void TextCodecTest::charactersWithoutByteAreRefused() {
    QFETCH(QString, text);
    QFETCH(QString, refused);
    QVERIFY(!toCardText(text).has_value());
    QCOMPARE(unrepresentableCharacters(text), refused);
}

void TextCodecTest::typingSuchCharactersIsRefusedWithABeep_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("beeps");
    QTest::newRow("accented letters and euro pass")
        << QStringLiteral("Café €5") << QStringLiteral("Café €5") << 0;
    QTest::newRow("Polish L is left out") << QStringLiteral("aŁb") << QStringLiteral("ab") << 1;
    QTest::newRow("emoji is left out") << QStringLiteral("a\U0001F600") << QStringLiteral("a") << 1;
}

void TextCodecTest::typingSuchCharactersIsRefusedWithABeep() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, beeps);
    TestEnvironment env;
    QLineEdit field;
    field.setValidator(new CardTextValidator(&field));
    field.show();
    // Key presses carrying the characters, as a keyboard of any layout sends them.
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const qsizetype length = typed.at(i).isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed.mid(i, length));
        QApplication::sendEvent(&field, &press);
        i += length - 1;
    }
    QCOMPARE(field.text(), kept);
    QCOMPARE(int(env.prompts().beeps.size()), beeps);
}

void TextCodecTest::readCardTextNamesWhatCannotBeStored() {
    TestEnvironment env;
    QWidget owner;
    QLineEdit field(&owner);
    field.setText(QStringLiteral("Łódź \U0001F600"));
    std::string out = "unchanged";
    QVERIFY(!readCardText(&field, out, &owner));
    QCOMPARE(out, std::string("unchanged"));
    QCOMPARE(int(env.prompts().messages.size()), 1);
    const auto& box = env.prompts().messages.front();
    QCOMPARE(box.owner, &owner);
    QCOMPARE(box.icon, PromptIcon::Error);
    QVERIFY2(box.text.contains(QStringLiteral("cannot be stored")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("\"Ł\"")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("\"ź\"")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("\"\U0001F600\"")), qPrintable(box.text));
    QVERIFY2(!box.text.contains(QStringLiteral("\"ó\"")), qPrintable(box.text));
}

void TextCodecTest::readCardTextTakesStorableText() {
    TestEnvironment env;
    QLineEdit field;
    field.setText(QStringLiteral("Grüße €"));
    std::string out;
    QVERIFY(readCardText(&field, out, nullptr));
    QCOMPARE(out, std::string("Gr\xFC\xDF"
                              "e \x80"));
    QVERIFY(env.prompts().messages.empty());
}

QTEST_MAIN(TextCodecTest)
#include "tst_text_codec.moc"
