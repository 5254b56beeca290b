#pragma once

// A source of uniform random integers in 0..32767. The program has one for the whole
// process, seeded once at start; tests hand in a fixed sequence.
class RandomSource {
public:
    static constexpr int kMax = 32767;
    virtual ~RandomSource() = default;
    virtual int next() = 0;
};
