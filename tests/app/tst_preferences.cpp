#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/settings_store.h"
#include "session/preferences_settings.h"
#include "tests/support/test_environment.h"

Q_DECLARE_METATYPE(Preferences)

namespace {

Preferences preferences(int maxLevel, int showAddInfo, bool strictOrder, bool allWords,
                        std::string path = {}) {
    Preferences p;
    p.maxLevel = maxLevel;
    p.showAddInfo = showAddInfo;
    p.strictOrder = strictOrder;
    p.allWords = allWords;
    p.applicationPath = std::move(path);
    return p;
}

Preferences spoken(bool controls, bool question, bool answer, bool automatic, int rate,
                   int volume) {
    Preferences p;
    p.speechControls = controls;
    p.speakQuestion = question;
    p.speakAnswer = answer;
    p.automaticSpeech = automatic;
    p.speechRate = rate;
    p.speechVolume = volume;
    return p;
}

Preferences tolerant(bool ignoreCase, bool ignoreAccents) {
    Preferences p;
    p.ignoreCase = ignoreCase;
    p.ignoreAccents = ignoreAccents;
    return p;
}

Preferences asked(DirectionChoice direction, AnswerForm form) {
    Preferences p;
    p.direction = direction;
    p.answerForm = form;
    return p;
}

}  // namespace

// The preferences are kept under five fixed names that older installations share; a
// wrong name or a wrong default loses a user's settings.
class PreferencesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void loadFromFile_data();
    void loadFromFile();
    void saveWritesExactlyTheFiveNames();
    void roundTrip_data();
    void roundTrip();
    void tolerancesSwitchedOffLeaveTheFiveNames();

private:
    std::unique_ptr<TestEnvironment> env_;
    QTemporaryDir dir_;
    QString path_;
    int files_ = 0;
};

void PreferencesTest::initTestCase() {
    env_ = std::make_unique<TestEnvironment>();
    QVERIFY(dir_.isValid());
}

void PreferencesTest::init() {
    // A new file for every row: the settings of one process cache what they read by file.
    path_ = dir_.filePath(QStringLiteral("prefs-%1.ini").arg(++files_));
}

void PreferencesTest::loadFromFile_data() {
    QTest::addColumn<QByteArray>("fileText");
    QTest::addColumn<Preferences>("expected");

    QTest::newRow("nothing stored: defaults") << QByteArray() << preferences(5, 0, false, true);
    QTest::newRow("section without values")
        << QByteArray("[PrefsSection]\n") << preferences(5, 0, false, true);
    QTest::newRow("all five stored")
        << QByteArray(
               "[PrefsSection]\nAllebed=0\nMussreihenf=1\nMaxstufe=9\nBemzeigen=1\n"
               "ApplicationPath=C:\\\\Kartomatrix\n")
        << preferences(9, 1, true, false, "C:\\Kartomatrix");
    QTest::newRow("max level 250 is taken unchanged")
        << QByteArray("[PrefsSection]\nMaxstufe=250\n") << preferences(250, 0, false, true);
    QTest::newRow("negative max level is taken unchanged")
        << QByteArray("[PrefsSection]\nMaxstufe=-4\n") << preferences(-4, 0, false, true);
    QTest::newRow("additional information 2 is kept as 2")
        << QByteArray("[PrefsSection]\nBemzeigen=2\n") << preferences(5, 2, false, true);
    QTest::newRow("any non-zero number sets a flag")
        << QByteArray("[PrefsSection]\nMussreihenf=7\nAllebed=-1\n")
        << preferences(5, 0, true, true);
    QTest::newRow("text where a number belongs gives the default")
        << QByteArray("[PrefsSection]\nMaxstufe=ten\nAllebed=no\nMussreihenf=yes\n")
        << preferences(5, 0, false, true);
    QTest::newRow("number beyond 32 bits gives the default")
        << QByteArray("[PrefsSection]\nMaxstufe=99999999999\n") << preferences(5, 0, false, true);
    QTest::newRow("names in another section are not ours")
        << QByteArray("[Other]\nMaxstufe=9\n") << preferences(5, 0, false, true);
    QTest::newRow("case and accents let pass")
        << QByteArray("[PrefsSection]\nIgnoreCase=1\nIgnoreAccents=1\n") << tolerant(true, true);
    QTest::newRow("unreadable flag stays off")
        << QByteArray("[PrefsSection]\nIgnoreCase=yes\n") << tolerant(false, false);
    QTest::newRow("mixed directions, mixed letters")
        << QByteArray("[PrefsSection]\nExamDirection=2\nAnswerForm=3\n")
        << asked(DirectionChoice::Mixed, AnswerForm::MixedLetters);
    QTest::newRow("unknown direction and form numbers give the defaults")
        << QByteArray("[PrefsSection]\nExamDirection=3\nAnswerForm=-1\n") << Preferences();
    QTest::newRow("speech settings")
        << QByteArray(
               "[PrefsSection]\nSpeechControls=1\nSpeakAnswer=1\nAutomaticSpeech=0\n"
               "SpeechRate=-3\nSpeechVolume=70\n")
        << spoken(true, false, true, false, -3, 70);
    QTest::newRow("speed and volume brought into their ranges")
        << QByteArray("[PrefsSection]\nSpeechRate=99\nSpeechVolume=-5\n")
        << spoken(false, false, false, true, 10, 0);
}

void PreferencesTest::loadFromFile() {
    QFETCH(QByteArray, fileText);
    QFETCH(Preferences, expected);
    QFile file(path_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(fileText);
    file.close();

    // Every field is set, whatever the record held before.
    Preferences loaded = preferences(77, 3, true, false, "stale");
    loadPreferences(loaded, SettingsStore(path_));
    QCOMPARE(loaded.maxLevel, expected.maxLevel);
    QCOMPARE(loaded.showAddInfo, expected.showAddInfo);
    QCOMPARE(loaded.strictOrder, expected.strictOrder);
    QCOMPARE(loaded.allWords, expected.allWords);
    QCOMPARE(loaded.applicationPath, expected.applicationPath);
    QVERIFY(loaded.direction == expected.direction);
    QVERIFY(loaded.answerForm == expected.answerForm);
    QCOMPARE(loaded.ignoreCase, expected.ignoreCase);
    QCOMPARE(loaded.ignoreAccents, expected.ignoreAccents);
    QCOMPARE(loaded.speechControls, expected.speechControls);
    QCOMPARE(loaded.speakQuestion, expected.speakQuestion);
    QCOMPARE(loaded.speakAnswer, expected.speakAnswer);
    QCOMPARE(loaded.automaticSpeech, expected.automaticSpeech);
    QCOMPARE(loaded.speechRate, expected.speechRate);
    QCOMPARE(loaded.speechVolume, expected.speechVolume);
}

void PreferencesTest::saveWritesExactlyTheFiveNames() {
    {
        SettingsStore store(path_);
        savePreferences(Preferences(), store);
    }
    QSettings raw(path_, QSettings::IniFormat);
    QCOMPARE(raw.childGroups(), QStringList{QStringLiteral("PrefsSection")});
    raw.beginGroup(QStringLiteral("PrefsSection"));
    QStringList keys = raw.childKeys();
    keys.sort();
    QCOMPARE(keys,
             (QStringList{"Allebed", "ApplicationPath", "Bemzeigen", "Maxstufe", "Mussreihenf"}));
    QCOMPARE(raw.value("Allebed").toString(), QStringLiteral("1"));
    QCOMPARE(raw.value("Mussreihenf").toString(), QStringLiteral("0"));
    QCOMPARE(raw.value("Maxstufe").toString(), QStringLiteral("5"));
    QCOMPARE(raw.value("Bemzeigen").toString(), QStringLiteral("0"));
    QCOMPARE(raw.value("ApplicationPath").toString(), QString());
}

void PreferencesTest::roundTrip_data() {
    QTest::addColumn<Preferences>("saved");
    QTest::newRow("defaults") << Preferences();
    QTest::newRow("strict order over all words") << preferences(3, 1, true, true);
    QTest::newRow("some words") << preferences(0, 0, false, false);
    QTest::newRow("odd values kept") << preferences(250, 2, false, true, "/opt/kartomatrix");
    QTest::newRow("path beyond Windows-1252") << preferences(5, 0, false, true, "/home/łukasz/km");
    QTest::newRow("case let pass") << tolerant(true, false);
    QTest::newRow("accents let pass") << tolerant(false, true);
    QTest::newRow("answer to question, flash cards")
        << asked(DirectionChoice::AnswerToQuestion, AnswerForm::FlashCard);
    QTest::newRow("mixed, multiple choice")
        << asked(DirectionChoice::Mixed, AnswerForm::MultipleChoice);
    QTest::newRow("speech switched on") << spoken(true, true, true, true, 4, 55);
    QTest::newRow("automatic speech silenced") << spoken(false, true, false, false, 0, 100);
}

void PreferencesTest::roundTrip() {
    QFETCH(Preferences, saved);
    {
        SettingsStore store(path_);
        savePreferences(saved, store);
    }
    Preferences loaded = preferences(1, 1, false, false, "x");
    loadPreferences(loaded, SettingsStore(path_));
    QVERIFY(loaded == saved);
}

void PreferencesTest::tolerancesSwitchedOffLeaveTheFiveNames() {
    {
        SettingsStore store(path_);
        Preferences everything = spoken(true, true, true, false, 5, 10);
        everything.ignoreCase = everything.ignoreAccents = true;
        everything.direction = DirectionChoice::Mixed;
        everything.answerForm = AnswerForm::FlashCard;
        savePreferences(everything, store);
    }
    {
        QSettings raw(path_, QSettings::IniFormat);
        QCOMPARE(raw.value("PrefsSection/IgnoreCase").toString(), QStringLiteral("1"));
        QCOMPARE(raw.value("PrefsSection/IgnoreAccents").toString(), QStringLiteral("1"));
        QCOMPARE(raw.value("PrefsSection/ExamDirection").toString(), QStringLiteral("2"));
    }
    {
        SettingsStore store(path_);
        savePreferences(Preferences(), store);
    }
    QSettings raw(path_, QSettings::IniFormat);
    raw.beginGroup(QStringLiteral("PrefsSection"));
    QStringList keys = raw.childKeys();
    keys.sort();
    QCOMPARE(keys,
             (QStringList{"Allebed", "ApplicationPath", "Bemzeigen", "Maxstufe", "Mussreihenf"}));
}

QTEST_GUILESS_MAIN(PreferencesTest)
#include "tst_preferences.moc"
