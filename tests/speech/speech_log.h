#pragma once

#include <QList>
#include <QLocale>
#include <QString>

// What the test speech engine was asked to do, in order, for the tests to read. The engine
// runs in the program's speech thread, so every access is locked.
struct SpeechEvent {
    enum Kind { Say, Stop };
    Kind kind;
    QString text;      // Say only
    QLocale language;  // the voice's language at the time
    double rate = 0;   // as set on the engine
    double volume = 1;
    qint64 milliseconds;  // on a monotonic clock, to measure how long things took
};

namespace SpeechLog {
QList<SpeechEvent> events();
// The texts said, in order.
QStringList said();
void clear();
void add(SpeechEvent event);
// While set, the engine refuses to start, as an engine without its service does.
void setEngineFails(bool fails);
bool engineFails();
// How long a text is spoken before the engine reports it over; negative: the end is never
// reported, as by a speech service that lost it.
void setSpeakingMilliseconds(int milliseconds);
int speakingMilliseconds();
}  // namespace SpeechLog
