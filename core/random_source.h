#pragma once

#include <cstdint>

// A source of uniform random integers in 0..32767. The program has one for the whole
// process, seeded once at start; tests hand in a fixed sequence.
class RandomSource {
public:
    static constexpr int kMax = 32767;
    virtual ~RandomSource() = default;
    virtual int next() = 0;
};

// A number in 0..n-1 from the random source; n > 0. One draw can pick only among r mod n
// for r in 0..32767, so that in a list of more than 32768 cards the later ones would never
// come up: such lists take two draws.
inline int randomBelow(RandomSource& random, int n) {
    uint64_t r = static_cast<uint32_t>(random.next());
    if (n > RandomSource::kMax + 1)
        r = r * (RandomSource::kMax + 1) + static_cast<uint32_t>(random.next());
    return static_cast<int>(r % static_cast<uint64_t>(n));
}
