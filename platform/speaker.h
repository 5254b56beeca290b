#pragma once

#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>

class QThread;
class SpeechWorker;

// The program's voice: speaks texts through the desktop's speech service (Qt's text to
// speech, on Linux speech-dispatcher with espeak-ng). The engine runs in a thread of its
// own, so that a speech service that is slow to start or to answer never holds up a
// window: every call returns at once, and what the engine reports comes back by signal.
// Nothing is loaded before the first call to shared(), so that a program that never speaks
// starts as before.
class Speaker : public QObject {
    Q_OBJECT
public:
    enum class Status {
        Starting,     // the engine is being loaded; speak() is kept and done when it is up
        Available,    // ready to speak
        Unavailable,  // no engine, no service or no voices: see unavailableReason()
    };

    static constexpr int kDefaultPatienceMilliseconds = 30000;

    // The program's one speaker, made on the first call and deleted with the application.
    // Its engine is the one named by the environment variable KARTOMATRIX_SPEECH_ENGINE (the
    // tests name their own), else Qt's default engine.
    static Speaker& shared();
    // Whether shared() has been called: nothing of speech is loaded until then.
    static bool sharedExists();
    // Makes `speaker` the one shared() returns (tests: a speaker whose engine fails); the
    // caller keeps it. Null goes back to making one on the next call.
    static void setShared(Speaker* speaker);

    // A speaker on the named Qt text-to-speech engine ("speechd"); empty for Qt's default.
    // An engine that fails to start is tried again, once a second, for `patienceMilliseconds`:
    // a speech service that is starting itself refuses connections for a while.
    explicit Speaker(const QString& engine = {}, QObject* parent = nullptr,
                     int patienceMilliseconds = kDefaultPatienceMilliseconds);
    ~Speaker() override;

    Status status() const { return status_; }
    bool available() const { return status_ == Status::Available; }
    // Why speech is off, as a sentence for a tooltip or an accessible description; empty
    // while speech is available. While the engine starts it says so.
    QString unavailableReason() const;
    // The languages there are voices for, once the engine is up.
    QList<QLocale> languages() const { return languages_; }
    // The installed language closest to `wanted`: the same language and territory, else the
    // language's main territory, else any voice of that language. QLocale::c() when there
    // is none.
    static QLocale closestLanguage(const QList<QLocale>& installed, const QLocale& wanted);

    // Speaks the text in the voice for `language`, first stopping whatever is being said
    // and dropping what waits. A language of QLocale::C keeps the voice in use. Blank text
    // only stops. When there is no voice for the language nothing is said and failed()
    // tells why.
    void speak(const QString& text, const QLocale& language);
    // Says the text once the text being said now is over, so that it is heard to its end;
    // at once when nothing is being said. Should the engine never report the end, the text
    // is said after a while anyway, the time the text before would take at the slowest
    // speed and then some. A speak() or stop() meanwhile drops it, as does a later call of
    // this, whose text waits in its place.
    void speakAfterCurrent(const QString& text, const QLocale& language);
    // Stops what is being said and drops what waits.
    void stop();
    bool speaking() const { return speaking_; }

    // Speed from -1 (slowest) through 0 (normal) to 1 (fastest); loudness from 0 to 1.
    // They apply from the next text on.
    void setRate(double rate);
    void setVolume(double volume);

signals:
    void statusChanged(Speaker::Status status);
    void speakingChanged(bool speaking);
    // Something could not be said; `reason` is a sentence for the user.
    void failed(const QString& reason);

private:
    void send(const QString& text, const QLocale& language, bool afterCurrent);
    void engineStarted(bool available, const QString& reason, const QList<QLocale>& languages);

    QThread* thread_ = nullptr;
    SpeechWorker* worker_ = nullptr;
    Status status_ = Status::Starting;
    QString reason_;
    QList<QLocale> languages_;
    bool speaking_ = false;
    double rate_ = 0.0;
    double volume_ = 1.0;
};
