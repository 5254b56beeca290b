#include "tests/speech/test_speech_engine.h"

#include <QElapsedTimer>

#include "tests/speech/speech_log.h"

namespace {

qint64 now() {
    QElapsedTimer timer;
    timer.start();
    return timer.msecsSinceReference();
}

const QList<QLocale>& voiceLocales() {
    static const QList<QLocale> locales{QLocale(QLocale::English, QLocale::UnitedStates),
                                        QLocale(QLocale::German, QLocale::Germany),
                                        QLocale(QLocale::French, QLocale::France),
                                        QLocale(QLocale::Russian, QLocale::Russia)};
    return locales;
}

}  // namespace

TestSpeechEngine::TestSpeechEngine(QObject* parent) : QTextToSpeechEngine(parent) {
    finished_.setSingleShot(true);
    finished_.setTimerType(Qt::PreciseTimer);
    connect(&finished_, &QTimer::timeout, this, [this] { setState(QTextToSpeech::Ready); });
}

QList<QLocale> TestSpeechEngine::availableLocales() const {
    return voiceLocales();
}

QList<QVoice> TestSpeechEngine::availableVoices() const {
    return {voice()};
}

QVoice TestSpeechEngine::voice() const {
    return createVoice(locale_.name(), locale_, QVoice::Unknown, QVoice::Other, {});
}

bool TestSpeechEngine::setVoice(const QVoice& voice) {
    return setLocale(voice.locale());
}

void TestSpeechEngine::say(const QString& text) {
    SpeechLog::add({SpeechEvent::Say, text, locale_, rate_, volume_, now()});
    setState(QTextToSpeech::Speaking);
    if (const int milliseconds = SpeechLog::speakingMilliseconds(); milliseconds >= 0)
        finished_.start(milliseconds);
}

void TestSpeechEngine::stop(QTextToSpeech::BoundaryHint) {
    SpeechLog::add({SpeechEvent::Stop, {}, locale_, rate_, volume_, now()});
    finished_.stop();
    setState(QTextToSpeech::Ready);
}

bool TestSpeechEngine::setRate(double rate) {
    rate_ = rate;
    return true;
}

bool TestSpeechEngine::setVolume(double volume) {
    volume_ = volume;
    return true;
}

bool TestSpeechEngine::setLocale(const QLocale& locale) {
    if (!voiceLocales().contains(locale))
        return false;
    locale_ = locale;
    return true;
}

void TestSpeechEngine::setState(QTextToSpeech::State state) {
    if (state_ != state) {
        state_ = state;
        emit stateChanged(state);
    }
}

QTextToSpeechEngine* TestSpeechPlugin::createTextToSpeechEngine(const QVariantMap&, QObject* parent,
                                                                QString* errorString) const {
    if (SpeechLog::engineFails()) {
        *errorString = QStringLiteral("the test engine was told to fail");
        return nullptr;
    }
    return new TestSpeechEngine(parent);
}
