#include <QLineEdit>
#include <QtTest>

#include "platform/card_text_validator.h"
#include "platform/text_codec.h"
#include "tests/support/test_environment.h"

// Card texts are UTF-8 in the program. A character that does not come back as itself, or
// a limit that counts something other than what the user sees, changes a card.
class TextCodecTest : public QObject {
    Q_OBJECT
private slots:
    void everyScriptRoundTrips();
    void onlyHalfSurrogatesAreRefused();
    void limitsCountCharacters_data();
    void limitsCountCharacters();
    void readCardTextNamesWhatCannotBeStored();
};

void TextCodecTest::everyScriptRoundTrips() {
    const QString text = QStringLiteral(
        "Grüße € дом σπίτι Łódź ışık كتاب שלום 水 ありがとう \U0001D11E e\u0301 \u0081");
    const std::optional<std::string> bytes = toCardText(text);
    QVERIFY(bytes.has_value());
    QCOMPARE(*bytes, text.toStdString());
    QCOMPARE(fromCardText(*bytes), text);
}

void TextCodecTest::onlyHalfSurrogatesAreRefused() {
    const QString half = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    QVERIFY(!toCardText(half).has_value());
    QCOMPARE(unrepresentableCharacters(half), QString(QChar(0xD800)));
    QVERIFY(unrepresentableCharacters(QStringLiteral("\U0001F600")).isEmpty());
}

void TextCodecTest::limitsCountCharacters_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("fits") << QStringLiteral("Café") << QStringLiteral("Café");
    QTest::newRow("cut after four") << QStringLiteral("Haustür") << QStringLiteral("Haus");
    QTest::newRow("letter beyond the first 65,536 is one")
        << QStringLiteral("\U0001D11E\U0001D11E\U0001D11E\U0001D11E\U0001D11E")
        << QStringLiteral("\U0001D11E\U0001D11E\U0001D11E\U0001D11E");
    QTest::newRow("letter with a combining accent is one")
        << QStringLiteral("e\u0301e\u0301e\u0301e\u0301e\u0301")
        << QStringLiteral("e\u0301e\u0301e\u0301e\u0301");
    QTest::newRow("Chinese") << QStringLiteral("我爱学习中文") << QStringLiteral("我爱学习");
}

void TextCodecTest::limitsCountCharacters() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TestEnvironment env;
    QLineEdit field;
    limitCharacters(&field, 4);
    field.show();
    // Key presses carrying whole characters, as a keyboard of any layout sends them.
    for (qsizetype i = 0; i < typed.size();) {
        qsizetype length = typed.at(i).isHighSurrogate() ? 2 : 1;
        if (i + length < typed.size() && typed.at(i + length) == QChar(0x0301))
            ++length;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed.mid(i, length));
        QApplication::sendEvent(&field, &press);
        i += length;
    }
    QCOMPARE(field.text(), kept);
    // A paste that would go beyond the limit keeps what fits.
    field.clear();
    field.insert(typed);
    QCOMPARE(field.text(), kept);
}

void TextCodecTest::readCardTextNamesWhatCannotBeStored() {
    TestEnvironment env;
    QWidget owner;
    QLineEdit field(&owner);
    field.setText(QStringLiteral("Łódź ") + QChar(0xDC00));
    std::string out = "unchanged";
    QVERIFY(!readCardText(&field, out, &owner));
    QCOMPARE(out, std::string("unchanged"));
    QCOMPARE(int(env.prompts().messages.size()), 1);
    QCOMPARE(env.prompts().messages.front().owner, &owner);
    field.setText(QStringLiteral("Łódź"));
    QVERIFY(readCardText(&field, out, &owner));
    QCOMPARE(out, std::string("\xC5\x81\xC3\xB3\x64\xC5\xBA"));
}

QTEST_MAIN(TextCodecTest)
#include "tst_text_codec.moc"
