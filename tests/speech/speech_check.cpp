// Says a sentence in each language given on the command line through the program's
// speaker and prints, per language, how long the voice took to start and to finish, and
// the memory the engine took. Run by scripts/check-speech; the engine is speech-dispatcher
// unless KARTOMATRIX_SPEECH_ENGINE names another. With --exit-while-starting it ends the
// process with std::exit while the engine is still starting, as Quit may, which must end
// cleanly.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/speaker.h"

namespace {

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Runs the event loop until `done` holds or the time is up; false on time-out.
template <typename Condition>
bool waitFor(Condition done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

const char* sentence(const QString& language) {
    static const QHash<QString, const char*> sentences{
        {"en", "The house is big."},     {"de", "Das Haus ist groß."},
        {"fr", "La maison est grande."}, {"es", "La casa es grande."},
        {"ru", "Дом большой."},          {"el", "Το σπίτι είναι μεγάλο."},
        {"pl", "Dom jest duży."}};
    return sentences.value(language, "Kartomatrix");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QLatin1String("--exit-while-starting")) {
        Speaker::shared();
        waitFor([] { return false; }, 500);
        std::exit(Speaker::shared().status() == Speaker::Status::Starting ? 0 : 3);
    }
    const long before = residentKilobytes();
    QElapsedTimer clock;
    clock.start();
    Speaker speaker(qEnvironmentVariable("KARTOMATRIX_SPEECH_ENGINE"));
    if (!waitFor([&] { return speaker.status() != Speaker::Status::Starting; }, 120000)) {
        std::printf("engine: no answer after 120 s\n");
        return 2;
    }
    std::printf("engine: %s after %lld ms, %lld voices, memory +%ld kB\n",
                speaker.available() ? "up" : "unavailable", static_cast<long long>(clock.elapsed()),
                static_cast<long long>(speaker.languages().size()), residentKilobytes() - before);
    if (!speaker.available()) {
        std::printf("reason: %s\n", qPrintable(speaker.unavailableReason()));
        return 1;
    }
    int failures = 0;
    QString failure;
    QObject::connect(&speaker, &Speaker::failed, [&](const QString& reason) { failure = reason; });
    for (const QString& language : app.arguments().mid(1)) {
        failure.clear();
        clock.restart();
        speaker.speak(QString::fromUtf8(sentence(language)), QLocale(language));
        const bool started =
            waitFor([&] { return speaker.speaking() || !failure.isEmpty(); }, 5000) &&
            failure.isEmpty();
        const qint64 startMs = clock.elapsed();
        const bool finished = started && waitFor([&] { return !speaker.speaking(); }, 20000);
        std::printf("%s: %s, voice started after %lld ms, finished after %lld ms%s%s\n",
                    qPrintable(language), started && finished ? "ok" : "FAILED",
                    static_cast<long long>(startMs), static_cast<long long>(clock.elapsed()),
                    failure.isEmpty() ? "" : " - ", qPrintable(failure));
        failures += started && finished ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
