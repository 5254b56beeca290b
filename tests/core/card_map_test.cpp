#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "core/card.h"
#include "core/card_map.h"

namespace {

// Insertions, look-ups and erasures in a random order agree with std::map throughout:
// erasing moves entries back, and a wrong move loses them from probing.
TEST(CardMap, AgreesWithAnOrderedMap) {
    std::vector<Card> cards(3000);
    CardMap<int> map;
    std::map<const Card*, int> expected;
    std::mt19937 rng(1);
    for (int step = 0; step < 20000; ++step) {
        const Card* card = &cards[rng() % cards.size()];
        if (rng() % 3 == 0) {
            const auto it = map.find(card);
            ASSERT_EQ(it != map.end(), expected.count(card) == 1);
            if (it != map.end())
                map.erase(it);
            expected.erase(card);
        } else {
            map[card] = step;
            expected[card] = step;
        }
    }
    EXPECT_EQ(map.size(), expected.size());
    for (const Card& card : cards) {
        const auto it = map.find(&card);
        ASSERT_EQ(it != map.end(), expected.count(&card) == 1);
        if (it != map.end())
            EXPECT_EQ(it->second, expected[&card]);
    }
    std::size_t visited = 0;
    for (const auto& [card, value] : map)
        visited += expected.at(card) == value;
    EXPECT_EQ(visited, expected.size());
}

}  // namespace
