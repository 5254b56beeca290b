#include "tests/support/test_speech.h"

#include <QCoreApplication>

void useTestSpeechEngine() {
    QCoreApplication::addLibraryPath(QStringLiteral(TEST_SPEECH_PLUGIN_DIR));
    qputenv("KARTOMATRIX_SPEECH_ENGINE", "kartomatrix-test");
}
