#include <QComboBox>
#include <QSignalSpy>
#include <QToolButton>
#include <QWidget>
#include <QtTest>

#include "core/preferences.h"
#include "platform/speaker.h"
#include "session/card_speech.h"
#include "tests/support/test_environment.h"
#include "tests/support/test_speech.h"
#include "widgets/list_languages_dialog.h"

Q_DECLARE_METATYPE(ListLanguages)

namespace {

const QString kTestEngine = QStringLiteral("kartomatrix-test");

// Waits until the engine thread has done everything asked of it so far.
void settle(Speaker& speaker) {
    if (speaker.status() == Speaker::Status::Starting) {
        QSignalSpy started(&speaker, &Speaker::statusChanged);
        QVERIFY(started.wait(5000));
    }
    // The engine logs in its own thread; a short wait lets queued calls run.
    QTest::qWait(50);
}

QStringList spoken() {
    QStringList lines;
    for (const SpeechEvent& event : SpeechLog::events())
        lines << (event.kind == SpeechEvent::Stop
                      ? QStringLiteral("stop")
                      : event.language.name() + QLatin1Char(' ') + event.text);
    return lines;
}

}  // namespace

class SpeechTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void nothingIsLoadedOrSaidWithThePreferencesOff();
    void speaksInTheClosestVoice_data();
    void speaksInTheClosestVoice();
    void newTextStopsThePrevious();
    void automaticSpeechFollowsThePreferences_data();
    void automaticSpeechFollowsThePreferences();
    void rateAndVolumeComeFromThePreferences();
    void unavailableEngineSaysWhy_data();
    void unavailableEngineSaysWhy();
    void listLanguagesDialog_data();
    void listLanguagesDialog();
};

void SpeechTest::initTestCase() {
    useTestSpeechEngine();
}

void SpeechTest::init() {
    // What the row before left queued (a window's speech stopped as it closed) goes first.
    if (Speaker::sharedExists())
        settle(Speaker::shared());
    SpeechLog::clear();
    SpeechLog::setEngineFails(false);
    SpeechLog::setSpeakingMilliseconds(300);
}

void SpeechTest::nothingIsLoadedOrSaidWithThePreferencesOff() {
    QWidget window;
    const Preferences preferences;
    CardSpeech speech(preferences, ListLanguages{"ru", "de"}, &window);
    QCOMPARE(speech.makeSpeakButton(
                 CardSide::Question, [] { return QStringLiteral("дом"); }, &window),
             nullptr);
    speech.cardShown(QStringLiteral("дом"));
    speech.answerJudged(QStringLiteral("Haus"));
    speech.stop();
    prepareSpeech(preferences);
    QVERIFY(!Speaker::sharedExists());
    QVERIFY(window.findChildren<QToolButton*>().isEmpty());
}

void SpeechTest::speaksInTheClosestVoice_data() {
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("voice");  // empty: nothing said, and failed() says why

    QTest::newRow("language alone takes its main country") << "ru"
                                                           << "ru_RU";
    QTest::newRow("exact voice") << "de-DE"
                                 << "de_DE";
    QTest::newRow("another country of an installed language") << "en-GB"
                                                              << "en_US";
    QTest::newRow("no voice for the language") << "pt"
                                               << "";
}

void SpeechTest::speaksInTheClosestVoice() {
    QFETCH(QString, asked);
    QFETCH(QString, voice);
    Speaker speaker(kTestEngine);
    QSignalSpy failed(&speaker, &Speaker::failed);
    speaker.speak(QStringLiteral("text"), QLocale(asked));
    settle(speaker);
    QVERIFY(speaker.available());
    if (voice.isEmpty()) {
        QCOMPARE(SpeechLog::said(), QStringList());
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("Portuguese")));
    } else {
        QCOMPARE(spoken(), QStringList{voice + QStringLiteral(" text")});
        QCOMPARE(failed.count(), 0);
    }
}

void SpeechTest::newTextStopsThePrevious() {
    Speaker speaker(kTestEngine);
    QSignalSpy speaking(&speaker, &Speaker::speakingChanged);
    speaker.speak(QStringLiteral("дом"), QLocale(QStringLiteral("ru")));
    speaker.speak(QStringLiteral("Haus"), QLocale(QStringLiteral("de")));
    speaker.speak(QStringLiteral("  "), QLocale(QStringLiteral("de")));  // blank: stops only
    settle(speaker);
    QCOMPARE(spoken(), (QStringList{"ru_RU дом", "stop", "de_DE Haus", "stop"}));
    QVERIFY(!speaking.isEmpty());
    QCOMPARE(speaking.first().first().toBool(), true);
    QVERIFY(!speaker.speaking());
}

void SpeechTest::automaticSpeechFollowsThePreferences_data() {
    QTest::addColumn<bool>("question");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<int>("speaking");  // ms the engine takes for a text; -1: end never reported
    QTest::addColumn<bool>("closed");   // the window goes right after showing the next card
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<int>("waited");  // at least this long from the answer to the next question

    // clang-format off
    QTest::newRow("question in Russian, answer in German, then the next question")
        << true << true << true << 300 << false
        << QStringList{"ru_RU дом", "stop", "de_DE Haus", "ru_RU кошка"} << 300;
    QTest::newRow("an answer never reported over holds the question a while only")
        << true << true << true << -1 << false
        << QStringList{"ru_RU дом", "stop", "de_DE Haus", "stop", "ru_RU кошка"} << 2000;
    QTest::newRow("closing the window drops the waiting question")
        << true << true << true << 300 << true
        << QStringList{"ru_RU дом", "stop", "de_DE Haus", "stop"} << 0;
    QTest::newRow("question only: the next card stops the last")
        << true << false << true << 300 << false
        << QStringList{"ru_RU дом", "stop", "ru_RU кошка"} << 0;
    QTest::newRow("answer only: heard to its end") << false << true << true << 300 << false
                                                   << QStringList{"de_DE Haus"} << 0;
    QTest::newRow("the one switch silences both") << true << true << false << 300 << false
                                                  << QStringList{} << 0;
    // clang-format on
}

void SpeechTest::automaticSpeechFollowsThePreferences() {
    QFETCH(bool, question);
    QFETCH(bool, answer);
    QFETCH(bool, automatic);
    QFETCH(int, speaking);
    QFETCH(bool, closed);
    QFETCH(QStringList, said);
    QFETCH(int, waited);
    SpeechLog::setSpeakingMilliseconds(speaking);
    QWidget window;
    Preferences preferences;
    preferences.speakQuestion = question;
    preferences.speakAnswer = answer;
    preferences.automaticSpeech = automatic;
    auto* speech = new CardSpeech(preferences, ListLanguages{"ru", "de"}, &window);
    speech->cardShown(QStringLiteral("дом"));
    speech->answerJudged(QStringLiteral("Haus"));
    speech->cardShown(QStringLiteral("кошка"));
    if (closed)
        delete speech;
    const auto lines = [] {
        QStringList lines = spoken();
        // Before its first text the engine may be stopped as well, when it spoke for a row
        // before.
        if (!lines.isEmpty() && lines.first() == QLatin1String("stop"))
            lines.removeFirst();
        return lines;
    };
    QTRY_COMPARE_WITH_TIMEOUT(lines(), said, 5000);
    // Nothing comes after, said twice or late.
    QTest::qWait(500);
    QCOMPARE(lines(), said);
    const QList<SpeechEvent> events = SpeechLog::events();
    const auto saidAt = [&](const QString& text) {
        for (const SpeechEvent& event : events)
            if (event.text == text)
                return event.milliseconds;
        return qint64(-1);
    };
    if (waited > 0)
        QVERIFY(saidAt(QStringLiteral("кошка")) - saidAt(QStringLiteral("Haus")) >= waited);
}

void SpeechTest::rateAndVolumeComeFromThePreferences() {
    QWidget window;
    Preferences preferences;
    preferences.speechControls = true;
    preferences.speechRate = -5;
    preferences.speechVolume = 40;
    CardSpeech speech(preferences, ListLanguages{"fr", "en"}, &window);
    QToolButton* button = speech.makeSpeakButton(
        CardSide::Answer, [] { return QStringLiteral("house"); }, &window);
    QVERIFY(button);
    settle(Speaker::shared());
    QVERIFY(button->isEnabled());
    QVERIFY(!button->accessibleName().isEmpty());
    button->click();
    settle(Speaker::shared());
    const QList<SpeechEvent> events = SpeechLog::events();
    QVERIFY(!events.isEmpty());
    QCOMPARE(events.last().text, QStringLiteral("house"));
    QCOMPARE(events.last().language, QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(events.last().rate, -0.5);
    QCOMPARE(events.last().volume, 0.4);
}

void SpeechTest::unavailableEngineSaysWhy_data() {
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("engineFails");
    QTest::newRow("engine that cannot start") << kTestEngine << true;
    QTest::newRow("engine not installed") << "no-such-engine" << false;
}

void SpeechTest::unavailableEngineSaysWhy() {
    QFETCH(QString, engine);
    QFETCH(bool, engineFails);
    SpeechLog::setEngineFails(engineFails);
    Speaker speaker(engine, nullptr, 0);
    QCOMPARE(speaker.available(), false);  // not before the engine has answered
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Speech is off")));
    settle(speaker);
    QCOMPARE(speaker.status(), Speaker::Status::Unavailable);
    QVERIFY(speaker.unavailableReason().startsWith(QStringLiteral("Speech is off")));
    speaker.speak(QStringLiteral("text"), QLocale(QStringLiteral("en")));
    settle(speaker);
    QCOMPARE(SpeechLog::said(), QStringList());

    // A window's Speak button is then off and says why, to the eye and to a screen reader.
    Speaker::setShared(&speaker);
    QWidget window;
    Preferences preferences;
    preferences.speechControls = true;
    CardSpeech speech(preferences, ListLanguages{"en", "de"}, &window);
    QToolButton* button = speech.makeSpeakButton(
        CardSide::Question, [] { return QStringLiteral("x"); }, &window);
    Speaker::setShared(nullptr);
    QVERIFY(button);
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->toolTip(), speaker.unavailableReason());
    QCOMPARE(button->accessibleDescription(), speaker.unavailableReason());
}

void SpeechTest::listLanguagesDialog_data() {
    QTest::addColumn<ListLanguages>("current");
    QTest::addColumn<ListLanguages>("guess");
    QTest::addColumn<QString>("pickAnswer");  // a language tag chosen in the answer box
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown");   // the boxes' texts when the dialog opened
    QTest::addColumn<QString>("result");  // the choice encoded, or "none"

    QTest::newRow("nothing chosen yet: the guess")
        << ListLanguages{} << ListLanguages{"ru", "de"} << ""
        << "okButton"
        << "Russian (русский)/German (Deutsch)"
        << "question=ru;answer=de";
    QTest::newRow("an earlier choice wins over the guess")
        << ListLanguages{"fr", ""} << ListLanguages{"ru", "de"} << "en"
        << "okButton"
        << "French (français)/German (Deutsch)"
        << "question=fr;answer=en";
    QTest::newRow("a guess without a voice is offered and said to have none")
        << ListLanguages{} << ListLanguages{"el", "en"} << ""
        << "okButton"
        << "Greek (Ελληνικά) (no voice)/English"
        << "question=el;answer=en";
    QTest::newRow("cancel keeps nothing") << ListLanguages{} << ListLanguages{"ru", "de"} << "en"
                                          << "cancelButton"
                                          << "Russian (русский)/German (Deutsch)"
                                          << "none";
}

void SpeechTest::listLanguagesDialog() {
    QFETCH(ListLanguages, current);
    QFETCH(ListLanguages, guess);
    QFETCH(QString, pickAnswer);
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(QString, result);
    TestEnvironment env;
    settle(Speaker::shared());
    QString opened;
    env.prompts().dialogHandlers.push_back([&](QDialog* d) {
        auto* question = d->findChild<QComboBox*>(QStringLiteral("questionLanguageBox"));
        auto* answer = d->findChild<QComboBox*>(QStringLiteral("answerLanguageBox"));
        opened = question->currentText() + QLatin1Char('/') + answer->currentText();
        if (!pickAnswer.isEmpty())
            answer->setCurrentIndex(answer->findData(pickAnswer));
        return ScriptedPrompts::clickButton(d, button);
    });
    const std::optional<ListLanguages> chosen = chooseListLanguages(nullptr, current, guess);
    QCOMPARE(opened, shown);
    QCOMPARE(chosen ? QString::fromStdString(chosen->encode()) : QStringLiteral("none"), result);
}

QTEST_MAIN(SpeechTest)
#include "tst_speech.moc"
