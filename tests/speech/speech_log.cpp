#include "tests/speech/speech_log.h"

#include <QMutex>

namespace {

QMutex mutex;
QList<SpeechEvent> entries;
bool fails = false;
int speaking = 300;

}  // namespace

namespace SpeechLog {

QList<SpeechEvent> events() {
    QMutexLocker lock(&mutex);
    return entries;
}

QStringList said() {
    QMutexLocker lock(&mutex);
    QStringList texts;
    for (const SpeechEvent& event : entries)
        if (event.kind == SpeechEvent::Say)
            texts << event.text;
    return texts;
}

void clear() {
    QMutexLocker lock(&mutex);
    entries.clear();
}

void add(SpeechEvent event) {
    QMutexLocker lock(&mutex);
    entries.append(std::move(event));
}

void setEngineFails(bool engineFails) {
    QMutexLocker lock(&mutex);
    fails = engineFails;
}

bool engineFails() {
    QMutexLocker lock(&mutex);
    return fails;
}

void setSpeakingMilliseconds(int milliseconds) {
    QMutexLocker lock(&mutex);
    speaking = milliseconds;
}

int speakingMilliseconds() {
    QMutexLocker lock(&mutex);
    return speaking;
}

}  // namespace SpeechLog
