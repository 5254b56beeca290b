#include "platform/speaker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTextToSpeech>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace {

constexpr unsigned long kEngineRetryMilliseconds = 1000;

// How long a text waiting behind another waits at most for the engine to report that the
// other was said: a speech service that loses the end of a text must not keep the next one
// back for ever. espeak-ng says about 14 characters a second at normal speed and less than
// half as many at the slowest; the allowance is about twice that, and a little more.
constexpr qint64 kWaitBaseMilliseconds = 2000;
constexpr qint64 kWaitPerCharacterMilliseconds = 150;

qint64 longestSpeakingTime(const QString& text, double rate) {
    const double slower = rate < 0 ? 1.0 - 1.5 * rate : 1.0;
    return kWaitBaseMilliseconds +
           qint64(double(text.size()) * double(kWaitPerCharacterMilliseconds) * slower);
}

// Set when the speaker is deleted or the process ends by exit() (as Quit ends it), so that
// an engine still being tried again is not made once Qt's own globals are going away.
std::atomic<bool> processEnding{false};

struct Utterance {
    QString text;
    QLocale language;
    double rate = 0;
    double volume = 1;
};

}  // namespace

// Owns the Qt engine inside the speech thread. The calls arrive queued from the Speaker in
// the order they were made, so a text asked for while the engine starts is said once it is
// up.
class SpeechWorker : public QObject {
    Q_OBJECT
public:
    SpeechWorker(const QString& engine, int patienceMilliseconds)
        : engineName_(engine), patienceMilliseconds_(patienceMilliseconds), waitLimit_(this) {
        waitLimit_.setSingleShot(true);
        connect(&waitLimit_, &QTimer::timeout, this, &SpeechWorker::waitedLongEnough);
    }

public slots:
    void start();
    // Says the text at once, or, with `afterCurrent`, once the text being said is over.
    void say(const Utterance& utterance, bool afterCurrent);
    void stop();
    void finish() { speech_.reset(); }
    // Called from the speaker's thread: stop trying to start the engine.
    void abandon() { abandoned_ = true; }

signals:
    void started(bool available, const QString& reason, const QList<QLocale>& languages);
    void speakingChanged(bool speaking);
    void failed(const QString& reason);

private:
    void sayNow(const Utterance& utterance);
    void engineStateChanged(QTextToSpeech::State state);
    void currentEnded();
    void waitedLongEnough();

    QString engineName_;
    int patienceMilliseconds_;
    std::atomic<bool> abandoned_{false};
    std::unique_ptr<QTextToSpeech> speech_;
    QList<QLocale> languages_;
    QLocale voiceLanguage_ = QLocale::c();
    bool saidSomething_ = false;
    std::optional<double> rate_;
    std::optional<double> volume_;
    // The last text given to the engine, until the engine reports it over: `begun_` once
    // the engine said it started. An end reported before the start belongs to the text
    // that was stopped for it.
    bool busy_ = false;
    bool begun_ = false;
    QElapsedTimer sinceSaid_;
    qint64 longestSpeaking_ = 0;
    // The text to say once the current one is over, and the limit on waiting for that.
    std::optional<Utterance> waiting_;
    QTimer waitLimit_;
};

void SpeechWorker::start() {
    const QStringList engines = QTextToSpeech::availableEngines();
    // Registered after Qt's list of speech plug-ins was made, so it runs before that list is
    // taken down.
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit([] { processEnding = true; }); });
    if (engines.isEmpty() || (!engineName_.isEmpty() && !engines.contains(engineName_))) {
        emit started(false,
                     Speaker::tr("Speech is off: the speech plug-in of Qt is not installed "
                                 "(Debian package qt6-speech-speechd-plugin)."),
                     {});
        return;
    }
    // A speech service that is itself still starting (speech-dispatcher lists its voices
    // first, which takes seconds) refuses connections meanwhile; the engine is asked again
    // until the patience runs out before speech is given up for the session.
    QString detail;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        speech_ = std::make_unique<QTextToSpeech>(engineName_);
        if (!speech_->engine().isEmpty() && speech_->state() != QTextToSpeech::Error)
            break;
        detail = speech_->errorString();
        speech_.reset();
        if (waited.elapsed() + qint64(kEngineRetryMilliseconds) > patienceMilliseconds_ ||
            processEnding || abandoned_)
            break;
        QThread::msleep(kEngineRetryMilliseconds);
    }
    if (!speech_) {
        emit started(false,
                     detail.isEmpty()
                         ? Speaker::tr("Speech is off: the speech service (speech-dispatcher) "
                                       "could not be started.")
                         : Speaker::tr("Speech is off: the speech service (speech-dispatcher) "
                                       "could not be started: %1")
                               .arg(detail),
                     {});
        return;
    }
    languages_ = speech_->availableLocales();
    if (languages_.isEmpty()) {
        speech_.reset();
        emit started(false,
                     Speaker::tr("Speech is off: the speech service has no voices (Debian "
                                 "package speech-dispatcher-espeak-ng)."),
                     {});
        return;
    }
    connect(speech_.get(), &QTextToSpeech::stateChanged, this, &SpeechWorker::engineStateChanged);
    connect(speech_.get(), &QTextToSpeech::errorOccurred, this,
            [this](QTextToSpeech::ErrorReason, const QString& detail) {
                emit failed(Speaker::tr("The text could not be spoken: %1").arg(detail));
                currentEnded();
            });
    emit started(true, {}, languages_);
}

void SpeechWorker::engineStateChanged(QTextToSpeech::State state) {
    emit speakingChanged(state == QTextToSpeech::Speaking);
    if (state == QTextToSpeech::Speaking)
        begun_ = true;
    else if (state == QTextToSpeech::Error || (state == QTextToSpeech::Ready && begun_))
        currentEnded();
}

void SpeechWorker::say(const Utterance& utterance, bool afterCurrent) {
    if (!speech_)
        return;
    if (afterCurrent && busy_) {
        // Only the last text waits: a second one asked for meanwhile replaces it.
        waiting_ = utterance;
        waitLimit_.start(int(std::max<qint64>(0, longestSpeaking_ - sinceSaid_.elapsed())));
        return;
    }
    waiting_.reset();
    waitLimit_.stop();
    sayNow(utterance);
}

void SpeechWorker::currentEnded() {
    busy_ = false;
    begun_ = false;
    if (!waiting_)
        return;
    waitLimit_.stop();
    const Utterance next = *std::exchange(waiting_, std::nullopt);
    sayNow(next);
}

void SpeechWorker::waitedLongEnough() {
    if (!waiting_)
        return;
    // The engine never said that the text before was over; it may still be talking, and
    // is stopped as for any new text.
    const Utterance next = *std::exchange(waiting_, std::nullopt);
    sayNow(next);
}

void SpeechWorker::sayNow(const Utterance& utterance) {
    // The engine would queue a second text behind the first; a new card's text replaces
    // the last one instead. The end the engine reports for the stopped text is not taken
    // for the end of the new one.
    const bool talking = busy_;
    busy_ = false;
    begun_ = false;
    if (talking)
        speech_->stop(QTextToSpeech::BoundaryHint::Immediate);
    if (utterance.text.trimmed().isEmpty())
        return;
    const QLocale& language = utterance.language;
    if (language.language() != QLocale::C) {
        const QLocale voice = Speaker::closestLanguage(languages_, language);
        if (voice.language() == QLocale::C) {
            emit failed(Speaker::tr("There is no voice for %1; espeak-ng speaks most languages "
                                    "(Debian package speech-dispatcher-espeak-ng).")
                            .arg(QLocale::languageToString(language.language())));
            return;
        }
        if (voice != voiceLanguage_) {
            speech_->setLocale(voice);
            voiceLanguage_ = voice;
        }
    }
    // Each setting is a round trip to the speech service; it is sent only when it changes.
    if (utterance.rate != rate_) {
        speech_->setRate(utterance.rate);
        rate_ = utterance.rate;
    }
    if (utterance.volume != volume_) {
        speech_->setVolume(utterance.volume);
        volume_ = utterance.volume;
    }
    busy_ = true;
    sinceSaid_.start();
    longestSpeaking_ = longestSpeakingTime(utterance.text, utterance.rate);
    speech_->say(utterance.text);
    saidSomething_ = true;
}

void SpeechWorker::stop() {
    waiting_.reset();
    waitLimit_.stop();
    busy_ = false;
    begun_ = false;
    if (speech_ && saidSomething_)
        speech_->stop(QTextToSpeech::BoundaryHint::Immediate);
}

namespace {

QPointer<Speaker>& sharedSpeaker() {
    static QPointer<Speaker> speaker;
    return speaker;
}

}  // namespace

Speaker& Speaker::shared() {
    QPointer<Speaker>& speaker = sharedSpeaker();
    if (!speaker)
        speaker = new Speaker(qEnvironmentVariable("KARTOMATRIX_SPEECH_ENGINE"),
                              QCoreApplication::instance());
    return *speaker;
}

bool Speaker::sharedExists() {
    return !sharedSpeaker().isNull();
}

void Speaker::setShared(Speaker* speaker) {
    sharedSpeaker() = speaker;
}

Speaker::Speaker(const QString& engine, QObject* parent, int patienceMilliseconds)
    : QObject(parent),
      thread_(new QThread(this)),
      worker_(new SpeechWorker(engine, patienceMilliseconds)) {
    thread_->setObjectName(QStringLiteral("speech"));
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &SpeechWorker::started, this, &Speaker::engineStarted);
    connect(worker_, &SpeechWorker::speakingChanged, this, [this](bool speaking) {
        if (speaking_ != speaking) {
            speaking_ = speaking;
            emit speakingChanged(speaking);
        }
    });
    connect(worker_, &SpeechWorker::failed, this, &Speaker::failed);
    thread_->start();
    QMetaObject::invokeMethod(worker_, &SpeechWorker::start, Qt::QueuedConnection);
}

Speaker::~Speaker() {
    // The engine is deleted in its own thread, where it was made. A speech service that
    // hangs must not hold the program's end for long: after two seconds the thread is
    // left to the end of the process.
    worker_->abandon();
    QMetaObject::invokeMethod(worker_, &SpeechWorker::finish, Qt::QueuedConnection);
    thread_->quit();
    if (!thread_->wait(2000))
        thread_->setParent(nullptr);
}

QString Speaker::unavailableReason() const {
    switch (status_) {
        case Status::Starting:
            return tr("Speech is starting.");
        case Status::Available:
            return {};
        case Status::Unavailable:
            return reason_;
    }
    return reason_;
}

QLocale Speaker::closestLanguage(const QList<QLocale>& installed, const QLocale& wanted) {
    if (installed.contains(wanted))
        return wanted;
    const QLocale main(wanted.language());
    if (installed.contains(main))
        return main;
    for (const QLocale& locale : installed)
        if (locale.language() == wanted.language())
            return locale;
    return QLocale::c();
}

void Speaker::speak(const QString& text, const QLocale& language) {
    send(text, language, false);
}

void Speaker::speakAfterCurrent(const QString& text, const QLocale& language) {
    send(text, language, true);
}

void Speaker::send(const QString& text, const QLocale& language, bool afterCurrent) {
    if (status_ == Status::Unavailable)
        return;
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, utterance = Utterance{text, language, rate_, volume_}, afterCurrent] {
            worker->say(utterance, afterCurrent);
        },
        Qt::QueuedConnection);
}

void Speaker::stop() {
    if (status_ != Status::Unavailable)
        QMetaObject::invokeMethod(worker_, &SpeechWorker::stop, Qt::QueuedConnection);
}

void Speaker::setRate(double rate) {
    rate_ = qBound(-1.0, rate, 1.0);
}

void Speaker::setVolume(double volume) {
    volume_ = qBound(0.0, volume, 1.0);
}

void Speaker::engineStarted(bool available, const QString& reason,
                            const QList<QLocale>& languages) {
    status_ = available ? Status::Available : Status::Unavailable;
    reason_ = reason;
    languages_ = languages;
    if (!available)
        qWarning("kartomatrix: %s", qPrintable(reason));
    emit statusChanged(status_);
}

#include "speaker.moc"
