#pragma once

#include "core/random_source.h"

// The process's one random generator of integers 0..32767, seeded once from the clock at
// start-up. Tests install a fixed sequence instead.
RandomSource& processRandom();
void seedProcessRandom(unsigned seed);
void setProcessRandom(RandomSource* replacement);
