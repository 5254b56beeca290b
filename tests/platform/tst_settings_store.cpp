#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/settings_store.h"
#include "tests/support/test_environment.h"

Q_DECLARE_METATYPE(std::optional<qint32>)

// The store must give back what it was given, and read anything else it finds as
// "nothing" rather than as a wrong number.
class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void theUsersStoreLivesInTheTestLocation();
    void numbersRoundTrip_data();
    void numbersRoundTrip();
    void valuesFoundInTheFile_data();
    void valuesFoundInTheFile();
    void textsRoundTripThroughTheFile();

private:
    std::unique_ptr<TestEnvironment> env_;
    QTemporaryDir dir_;
    QString path_;
    int files_ = 0;
};

void SettingsStoreTest::initTestCase() {
    // Before any store is made: the users' store must only ever be the test one.
    env_ = std::make_unique<TestEnvironment>();
    QVERIFY(dir_.isValid());
}

void SettingsStoreTest::init() {
    // A new file for every row: the settings of one process cache what they read by file.
    path_ = dir_.filePath(QStringLiteral("store-%1.ini").arg(++files_));
}

void SettingsStoreTest::theUsersStoreLivesInTheTestLocation() {
    SettingsStore store;
    const QString file = store.fileName();
    QVERIFY2(file.endsWith(QStringLiteral("Kartomatrix/kartomatrix.conf")), qPrintable(file));
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString testConfig =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const bool underTestLocation =
        (!configHome.isEmpty() && file.startsWith(configHome)) || file.startsWith(testConfig);
    QVERIFY2(underTestLocation, qPrintable(file));
}

void SettingsStoreTest::numbersRoundTrip_data() {
    QTest::addColumn<qint32>("value");
    QTest::newRow("zero") << qint32(0);
    QTest::newRow("ordinary") << qint32(5);
    QTest::newRow("negative") << qint32(-3);
    QTest::newRow("largest") << std::numeric_limits<qint32>::max();
    QTest::newRow("smallest") << std::numeric_limits<qint32>::min();
}

void SettingsStoreTest::numbersRoundTrip() {
    QFETCH(qint32, value);
    {
        SettingsStore store(path_);
        store.writeNumber("PrefsSection", "Maxstufe", value);
        QVERIFY(store.sync());
    }
    const SettingsStore reread(path_);
    QCOMPARE(reread.readNumber("PrefsSection", "Maxstufe"), std::optional<qint32>(value));
}

void SettingsStoreTest::valuesFoundInTheFile_data() {
    QTest::addColumn<QByteArray>("fileText");
    QTest::addColumn<std::optional<qint32>>("number");
    const std::optional<qint32> none;
    QTest::newRow("plain number") << QByteArray("Maxstufe=12") << std::optional<qint32>(12);
    QTest::newRow("negative number") << QByteArray("Maxstufe=-7") << std::optional<qint32>(-7);
    QTest::newRow("missing") << QByteArray("Other=1") << none;
    QTest::newRow("a word") << QByteArray("Maxstufe=many") << none;
    QTest::newRow("number with a tail") << QByteArray("Maxstufe=5 levels") << none;
    QTest::newRow("hexadecimal") << QByteArray("Maxstufe=0x10") << none;
    QTest::newRow("beyond 32 bits") << QByteArray("Maxstufe=4294967296") << none;
    QTest::newRow("a list") << QByteArray("Maxstufe=1, 2") << none;
    QTest::newRow("empty") << QByteArray("Maxstufe=") << none;
}

void SettingsStoreTest::valuesFoundInTheFile() {
    QFETCH(QByteArray, fileText);
    QFETCH(std::optional<qint32>, number);
    QFile file(path_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[PrefsSection]\n" + fileText + "\n");
    file.close();
    const SettingsStore store(path_);
    QCOMPARE(store.readNumber("PrefsSection", "Maxstufe"), number);
}

void SettingsStoreTest::textsRoundTripThroughTheFile() {
    const QString path = QStringLiteral("C:\\Programme\\Kartomatrix, neu\\kartomatrix.exe");
    {
        SettingsStore store(path_);
        store.writeText("PrefsSection", "ApplicationPath", path);
        store.writeText("PrefsSection", "Empty", QString());
        QVERIFY(store.sync());
    }
    const SettingsStore reread(path_);
    QCOMPARE(reread.readText("PrefsSection", "ApplicationPath"), std::optional<QString>(path));
    QCOMPARE(reread.readText("PrefsSection", "Empty"), std::optional<QString>(QString()));
    QCOMPARE(reread.readText("PrefsSection", "Missing"), std::optional<QString>());
}

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_settings_store.moc"
