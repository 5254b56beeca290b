#include "platform/random.h"

#include <random>

namespace {

class EngineRandom : public RandomSource {
public:
    int next() override { return distribution_(engine_); }
    void seed(unsigned value) {
        engine_.seed(value);
        distribution_.reset();
    }

private:
    std::minstd_rand engine_;
    std::uniform_int_distribution<int> distribution_{0, RandomSource::kMax};
};

EngineRandom& processEngine() {
    static EngineRandom engine;
    return engine;
}

RandomSource* replacementSource = nullptr;

}  // namespace

RandomSource& processRandom() {
    if (replacementSource)
        return *replacementSource;
    return processEngine();
}

void seedProcessRandom(unsigned seed) {
    processEngine().seed(seed);
}

void setProcessRandom(RandomSource* replacement) {
    replacementSource = replacement;
}
