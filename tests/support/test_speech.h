#pragma once

#include "tests/speech/speech_log.h"

// Makes the program's shared speaker use the test speech engine, whose log (SpeechLog)
// tells what was said. Call it before anything speaks, with the application made.
void useTestSpeechEngine();
