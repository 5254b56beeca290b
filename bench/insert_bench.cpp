// kartomatrix-bench insert N: fills a list with N cards, empties every third slot, then
// fills the holes and grows the list by N more cards, timing each phase.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_command.h"
#include "core/card_store.h"

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

int runInsert(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return 2;
    const int n = std::stoi(args[0]);
    CardStore store;
    CardList& list = store.unknownList;

    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        list.insert(&store.createCard());
    const double fill = millisecondsSince(start);

    start = std::chrono::steady_clock::now();
    std::vector<Card*> removed;
    for (int i = 0; i < list.slotCount(); i += 3) {
        if (Card* card = list.slot(i)) {
            removed.push_back(card);
            list.removeAt(i);
        }
    }
    const double punch = millisecondsSince(start);

    start = std::chrono::steady_clock::now();
    for (Card* card : removed)
        list.insert(card);  // every one fills the first hole
    for (int i = 0; i < n; ++i)
        list.insert(&store.createCard());
    const double refill = millisecondsSince(start);

    std::printf(
        "insert cards=%d fill_ms=%.1f holes=%zu remove_ms=%.1f refill_and_grow_ms=%.1f "
        "count=%d first_hole_reused=%s\n",
        n, fill, removed.size(), punch, refill, list.count(),
        list.slot(0) == removed.front() ? "yes" : "no");
    return 0;
}

const BenchCommand insertCommand{"insert", "N", runInsert};

}  // namespace
