// The ways the program ends, seen from outside: the probe is the real program in its own
// process, and what counts here is its exit status and the files it leaves behind.
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kStillRunning = 42;

const QByteArray kNamedList =
    "\x80#File fuer Mnemprogramm\r\n#Format Version 2.0, PC\r\n"
    "frage\tantwort\tstufe\tlektion\tkarte_id\r\n"
    "-21\r\n0\r\n0\r\n0\r\n400\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\nDejaVu Sans\r\n"
    "-21\r\n0\r\n0\r\n0\r\n400\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\nDejaVu Sans\r\n"
    "house\tHaus\t1\t-\t0\t0\r\n\r\n";

struct Run {
    int status = -1;
    QString output;
};

}  // namespace

class TestProcess : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString settingsFile() const { return dir_.filePath("config/Kartomatrix/kartomatrix.conf"); }

    QString writeList() {
        const QString path = dir_.filePath("named.kmx");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(kNamedList);
        return path;
    }

    QByteArray fileContent(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The program speaks the session's language; unless a test names one, it is English.
    Run runProbe(const QStringList& steps,
                 const QMap<QString, QString>& language = {{"LANG", "C.UTF-8"}}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            environment.remove(variable);
        for (auto it = language.begin(); it != language.end(); ++it)
            environment.insert(it.key(), it.value());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
        environment.insert("HOME", dir_.path());
        environment.insert("PROBE_STEPS", steps.join(';'));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(PROBE_PATH), {});
        Run run;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            run.output = "the program did not end";
            return run;
        }
        run.output = QString::fromLocal8Bit(process.readAll());
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return run;
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(settingsFile());
        QFile::remove(dir_.filePath("named.kmx"));
        QFile::remove(dir_.filePath("other.kmx"));
    }

    void quitEndsWithZeroAndWritesThePreferences() {
        const Run run = runProbe({"command:40009"});
        QCOMPARE(run.status, 0);
        QVERIFY2(!run.output.contains("unexpected"), qPrintable(run.output));
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.beginGroup("PrefsSection");
        QCOMPARE(settings.childKeys().size(), 5);
        QCOMPARE(settings.value("Maxstufe").toInt(), 5);
        QCOMPARE(settings.value("Bemzeigen").toInt(), 0);
        QCOMPARE(settings.value("Mussreihenf").toInt(), 0);
        QCOMPARE(settings.value("Allebed").toInt(), 1);
        QCOMPARE(settings.value("ApplicationPath").toString(), QString());
    }

    // Every way out of a list with unsaved cards, and what each answer leaves on disk.
    void unsavedCardsAreAskedForOnEveryWayOut_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("savedInPlace");
        QTest::addColumn<bool>("savedElsewhere");
        QTest::newRow("Quit, Yes: saved under its name") << "command:40009"
                                                         << "Yes" << 0 << true << false;
        QTest::newRow("Quit, No: ends unsaved") << "command:40009"
                                                << "No" << 0 << false << false;
        QTest::newRow("Quit, Cancel: goes on") << "command:40009"
                                               << "Cancel" << kStillRunning << false << false;
        QTest::newRow("close box, Yes") << "close-box"
                                        << "Yes" << 0 << true << false;
        QTest::newRow("close box, No") << "close-box"
                                       << "No" << 0 << false << false;
        QTest::newRow("close box, Cancel") << "close-box"
                                           << "Cancel" << kStillRunning << false << false;
        // Close List saves through Save As even for a list that has a name.
        QTest::newRow("Close List, Yes: asks for a name")
            << "command:40003"
            << "Yes" << kStillRunning << false << true;
        QTest::newRow("Close List, No") << "command:40003"
                                        << "No" << kStillRunning << false << false;
        QTest::newRow("Close List, Cancel") << "command:40003"
                                            << "Cancel" << kStillRunning << false << false;
    }
    void unsavedCardsAreAskedForOnEveryWayOut() {
        QFETCH(QString, way);
        QFETCH(QString, answer);
        QFETCH(int, status);
        QFETCH(bool, savedInPlace);
        QFETCH(bool, savedElsewhere);
        const QString list = writeList();
        const QString other = dir_.filePath("other.kmx");
        const Run run = runProbe({"accept-dialog", "open:" + list, "add-card:tree/Baum",
                                  "answer:" + answer, "save-as:" + other, "accept-dialog", way});
        QCOMPARE(run.status, status);
        QVERIFY2(!run.output.contains("unexpected"), qPrintable(run.output));
        QVERIFY2(run.output.contains("question: Caution:: You have entered new cards"),
                 qPrintable(run.output));
        QCOMPARE(fileContent(list).contains("tree\tBaum"), savedInPlace);
        QCOMPARE(QFile::exists(other), savedElsewhere);
        if (savedElsewhere)
            QVERIFY(fileContent(other).contains("tree\tBaum"));
        // Preferences are written by ending the program, and only then.
        QCOMPARE(QFile::exists(settingsFile()), status == 0);
    }

    void languageFollowsTheSession_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("languages");  // LANGUAGE, the order of preference
        QTest::addColumn<QString>("aboutTitle");
        const QString english = "About Kartomatrix";
        const QString german = "Über Kartomatrix";
        QTest::newRow("C") << "C.UTF-8" << QString() << english;
        QTest::newRow("English") << "en_GB.UTF-8" << QString() << english;
        QTest::newRow("German") << "de_DE.UTF-8" << QString() << german;
        QTest::newRow("Austrian German") << "de_AT.UTF-8" << QString() << german;
        QTest::newRow("German after a language without translation")
            << "fr_FR.UTF-8" << QString("fr:de") << german;
    }
    void languageFollowsTheSession() {
        QFETCH(QString, lang);
        QFETCH(QString, languages);
        QFETCH(QString, aboutTitle);
        QMap<QString, QString> language{{"LANG", lang}};
        if (!languages.isEmpty())
            language["LANGUAGE"] = languages;
        const Run run = runProbe({"accept-dialog", "command:16"}, language);
        QCOMPARE(run.status, kStillRunning);
        QVERIFY2(run.output.contains("shown: dialog: " + aboutTitle), qPrintable(run.output));
    }

    void aFatalErrorEndsWithEightAndWritesNoPreferences() {
        const Run run = runProbe({"font-box-without-font"});
        QCOMPARE(run.status, 8);
        QVERIFY2(run.output.contains("shown: message("), qPrintable(run.output));
        QVERIFY(!QFile::exists(settingsFile()));
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
