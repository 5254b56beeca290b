#pragma once

#include <QTextToSpeechEngine>
#include <QTextToSpeechPlugin>
#include <QTimer>

// A speech engine that says nothing aloud and writes down every text it is given, with
// the voice's language and the time. It has voices for English, German, French and
// Russian. A text counts as being spoken for a short while after say() (SpeechLog sets how
// long), so that stop() and a new text in the middle of one can be seen.
class TestSpeechEngine : public QTextToSpeechEngine {
    Q_OBJECT
public:
    explicit TestSpeechEngine(QObject* parent = nullptr);

    QList<QLocale> availableLocales() const override;
    QList<QVoice> availableVoices() const override;
    void say(const QString& text) override;
    void stop(QTextToSpeech::BoundaryHint boundaryHint) override;
    void pause(QTextToSpeech::BoundaryHint) override {}
    void resume() override {}
    double rate() const override { return rate_; }
    bool setRate(double rate) override;
    double pitch() const override { return 0; }
    bool setPitch(double) override { return false; }
    QLocale locale() const override { return locale_; }
    bool setLocale(const QLocale& locale) override;
    double volume() const override { return volume_; }
    bool setVolume(double volume) override;
    QVoice voice() const override;
    bool setVoice(const QVoice& voice) override;
    QTextToSpeech::State state() const override { return state_; }
    QTextToSpeech::ErrorReason errorReason() const override {
        return QTextToSpeech::ErrorReason::NoError;
    }
    QString errorString() const override { return {}; }

private:
    void setState(QTextToSpeech::State state);

    QLocale locale_{QLocale::English, QLocale::UnitedStates};
    double rate_ = 0;
    double volume_ = 1;
    QTextToSpeech::State state_ = QTextToSpeech::Ready;
    QTimer finished_;
};

class TestSpeechPlugin : public QObject, public QTextToSpeechPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.qt.speech.tts.plugin/6.0" FILE "test_speech_engine.json")
    Q_INTERFACES(QTextToSpeechPlugin)
public:
    QTextToSpeechEngine* createTextToSpeechEngine(const QVariantMap& parameters, QObject* parent,
                                                  QString* errorString) const override;
};
