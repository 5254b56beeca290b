#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

// How many cards of a list carry each card number. Card numbers are nearly always the
// dense range 0..n-1 that reading and adding cards hand out, so the counts are kept in a
// plain array over the range of numbers met, which is made for a million cards in a few
// milliseconds; numbers spread too thinly for that go into a hash map.
class CardIdIndex {
public:
    // Starts again from no numbers at all.
    void clear();
    void add(int32_t id);
    // Forgets one card with this number (nothing happens when none is counted).
    void removeOne(int32_t id);
    bool contains(int32_t id) const;

    // Makes the index of these numbers.
    void rebuild(const std::vector<int32_t>& ids);

private:
    // Whether an array over lowest..highest stays within a few entries per card.
    static bool denseEnough(int64_t lowest, int64_t highest, int64_t cards);
    void makeSparse();

    bool sparse_ = false;
    int64_t cards_ = 0;  // numbers counted
    int64_t base_ = 0;   // the number counted in counts_[0]
    std::vector<int32_t> counts_;
    std::unordered_map<int32_t, int32_t> map_;
};
