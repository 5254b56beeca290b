#pragma once

#include <cstddef>
#include <vector>

#include "core/random_source.h"

// Plays back a fixed sequence of numbers, then repeats its last one (0 when empty).
class FixedRandom : public RandomSource {
public:
    FixedRandom() = default;
    explicit FixedRandom(std::vector<int> values) : values_(std::move(values)) {}
    int next() override {
        ++draws;
        if (values_.empty())
            return 0;
        if (pos_ < values_.size())
            return values_[pos_++];
        return values_.back();
    }
    void push(int value) { values_.push_back(value); }
    int draws = 0;

private:
    std::vector<int> values_;
    std::size_t pos_ = 0;
};
