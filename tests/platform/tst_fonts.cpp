#include <QFontInfo>
#include <QtTest>

#include "platform/fonts.h"

Q_DECLARE_METATYPE(LogFont)

namespace {

LogFont record(const std::string& face, int height, int weight = 400) {
    LogFont font;
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = 1;
    font.lfFaceName = face;
    return font;
}

// A record as an old list file may hold it: a face this machine does not have and
// fields a Qt font cannot carry.
LogFont foreignRecord() {
    LogFont font = record("Kartomatrix Imaginary Face", -21, 0);
    font.lfWidth = 9;
    font.lfEscapement = 0;
    font.lfCharSet = 0;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 1;
    font.lfPitchAndFamily = 0x22;
    return font;
}

// What a font dialog hands back when the user presses OK without changing anything: the
// preset, but with the face it could show in place of one that is not installed.
QFont untouchedDialogChoice(const LogFont& preset) {
    QFont shown = fontForFontDialog(preset);
    shown.setFamily(QFontInfo(shown).family());
    return shown;
}

}  // namespace

class FontsTest : public QObject {
    Q_OBJECT
private slots:
    void recordToFont_data();
    void recordToFont();
    void cellHeightGivesSmallerCharacters();
    void untouchedDialogKeepsTheRecord_data();
    void untouchedDialogKeepsTheRecord();
    void boldThirtySixPointsInAField();
    void changedSizeKeepsAFaceThatIsNotInstalled();
    void otherFaceReplacesTheFace();
    void usableRecords_data();
    void usableRecords();
};

void FontsTest::recordToFont_data() {
    QTest::addColumn<LogFont>("font");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");

    QTest::newRow("document default")
        << defaultDocumentFont() << 21 << 400 << false << false << false;
    QTest::newRow("weight 0 is normal")
        << record("Arial", -12, 0) << 12 << 400 << false << false << false;
    QTest::newRow("bold") << record("Arial", -18, 700) << 18 << 700 << false << false << false;
    QTest::newRow("thin") << record("Arial", -18, 100) << 18 << 100 << false << false << false;
    LogFont styled = record("Arial", -14, 400);
    styled.lfItalic = 1;
    styled.lfUnderline = 1;
    styled.lfStrikeOut = 255;  // any non-zero byte means yes
    QTest::newRow("italic, underline, strike-out") << styled << 14 << 400 << true << true << true;
}

void FontsTest::recordToFont() {
    QFETCH(LogFont, font);
    QFETCH(int, pixelSize);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);
    const QFont qt = toQFont(font);
    QCOMPARE(qt.family(), QString::fromStdString(font.lfFaceName));
    QCOMPARE(qt.pixelSize(), pixelSize);
    QCOMPARE(qt.weight(), weight);
    QCOMPARE(qt.italic(), italic);
    QCOMPARE(qt.underline(), underline);
    QCOMPARE(qt.strikeOut(), strikeOut);
    // And back, as a record that makes the same font.
    const LogFont back = fromQFont(qt);
    QCOMPARE(back.lfHeight, -pixelSize);
    QCOMPARE(back.lfWeight, weight);
    QCOMPARE(back.lfItalic != 0, italic);
    QCOMPARE(back.lfFaceName, font.lfFaceName);
}

void FontsTest::cellHeightGivesSmallerCharacters() {
    const QFont cell = toQFont(record("DejaVu Sans", 40));
    QVERIFY(cell.pixelSize() > 0);
    QVERIFY2(cell.pixelSize() <= 40, qPrintable(QString::number(cell.pixelSize())));
    QCOMPARE(toQFont(record("DejaVu Sans", 0)).pixelSize(), QFont().pixelSize());
}

void FontsTest::untouchedDialogKeepsTheRecord_data() {
    QTest::addColumn<LogFont>("preset");
    QTest::newRow("document default") << defaultDocumentFont();
    QTest::newRow("face not installed, odd fields") << foreignRecord();
    LogFont cell = foreignRecord();
    cell.lfHeight = 30;
    QTest::newRow("cell height") << cell;
}

void FontsTest::untouchedDialogKeepsTheRecord() {
    QFETCH(LogFont, preset);
    QCOMPARE(mergeChosenFont(preset, untouchedDialogChoice(preset)), preset);
    QCOMPARE(mergeChosenFont(preset, fontForFontDialog(preset)), preset);
}

void FontsTest::boldThirtySixPointsInAField() {
    // A face other than the one shown in place of the preset's (which would count as
    // leaving the face alone).
    const QString shown = QFontInfo(fontForFontDialog(defaultDocumentFont())).family();
    const QString face = shown == QStringLiteral("DejaVu Serif") ? QStringLiteral("DejaVu Sans")
                                                                 : QStringLiteral("DejaVu Serif");
    QFont chosen(face);
    chosen.setPointSize(36);
    chosen.setBold(true);
    const LogFont answerFont = mergeChosenFont(defaultDocumentFont(), chosen);
    QCOMPARE(answerFont.lfHeight, -48);  // 36 points at 96 dots per inch
    QCOMPARE(answerFont.lfWeight, 700);

    for (int height : {18, 12}) {
        const QFont field = toQFont(withCharacterHeight(answerFont, height));
        QCOMPARE(field.pixelSize(), height);
        QVERIFY(field.bold());
        QCOMPARE(field.family(), face);
    }
}

void FontsTest::changedSizeKeepsAFaceThatIsNotInstalled() {
    const LogFont preset = foreignRecord();
    QFont chosen = untouchedDialogChoice(preset);
    chosen.setPointSize(20);
    chosen.setItalic(true);
    const LogFont result = mergeChosenFont(preset, chosen);
    QCOMPARE(result.lfFaceName, preset.lfFaceName);
    QCOMPARE(result.lfPitchAndFamily, preset.lfPitchAndFamily);
    QCOMPARE(result.lfHeight, -27);
    QCOMPARE(result.lfWidth, 0);  // the old width belonged to the old size
    QCOMPARE(result.lfItalic, uint8_t(1));
    QCOMPARE(result.lfWeight, preset.lfWeight);
    QCOMPARE(result.lfOutPrecision, preset.lfOutPrecision);
}

void FontsTest::otherFaceReplacesTheFace() {
    const LogFont preset = foreignRecord();
    QFont chosen = untouchedDialogChoice(preset);
    chosen.setFamily(QStringLiteral("Another Face"));
    const LogFont result = mergeChosenFont(preset, chosen);
    QCOMPARE(result.lfFaceName, std::string("Another Face"));
    QCOMPARE(result.lfHeight, preset.lfHeight);
}

void FontsTest::usableRecords_data() {
    QTest::addColumn<LogFont>("font");
    QTest::addColumn<bool>("usable");
    QTest::newRow("document default") << defaultDocumentFont() << true;
    QTest::newRow("face not installed") << foreignRecord() << true;
    QTest::newRow("default size") << record("Arial", 0) << true;
    QTest::newRow("no face") << record("", -12) << false;
    QTest::newRow("face of padding only") << record(std::string("\0\0\0", 3), -12) << false;
    QTest::newRow("face with control bytes") << record("Ari\x01l", -12) << false;
    QTest::newRow("face too long") << record(std::string(40, 'A'), -12) << false;
    QTest::newRow("absurd height") << record("Arial", -100000) << false;
    QTest::newRow("smallest number as height")
        << record("Arial", std::numeric_limits<int32_t>::min()) << false;
    QTest::newRow("negative weight") << record("Arial", -12, -5) << false;
    QTest::newRow("weight beyond 1000") << record("Arial", -12, 5000) << false;
}

void FontsTest::usableRecords() {
    QFETCH(LogFont, font);
    QFETCH(bool, usable);
    QCOMPARE(fontUsable(font), usable);
}

QTEST_MAIN(FontsTest)
#include "tst_fonts.moc"
