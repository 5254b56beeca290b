#pragma once

#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

#include "core/card.h"
#include "core/card_id_index.h"

// An ordered sequence of slots, each empty or referring to a card. Slots come in blocks
// of ten. Inserting fills the first empty slot from the front; removing empties a slot
// and moves nothing, so walks skip holes and a new card can come before older ones.
// A list never owns its cards.
//
// Inserting is O(1) while the list has no holes and O(log holes) otherwise: the holes
// below the highest slot ever used are kept in a min-heap, the untouched slots above it
// are taken in order. The occupied slots are also counted per chunk of slots, so that the
// k-th card is found without walking the whole list, and a large list keeps an index of
// its card numbers, made when a number is first looked up.
class CardList {
public:
    static constexpr int kBlockSize = 10;

    CardList();

    // Puts the card into the first empty slot, adding a block of ten when all are taken.
    void insert(Card* card);
    // Empties the first slot whose card has this number. Returns whether one was found.
    bool removeById(int32_t id);
    // Empties the first slot that refers to this very card. Returns whether one was found.
    bool remove(const Card* card);
    // Empties the slot at this index (nothing happens when it is empty).
    void removeAt(int index);
    bool containsId(int32_t id) const;
    // Puts the card back into the empty slot `index` (taking back an answer that moved it
    // out of there); when that slot is not empty or does not exist, as insert does.
    void insertAt(int index, Card* card);
    // The slot the last insert filled and the last removal emptied (-1: none yet).
    int lastFilled() const { return lastFilled_; }
    int lastEmptied() const { return lastEmptied_; }
    // Empties every slot and drops the extra blocks; cards are not touched.
    void clear();
    // Replaces the contents by these cards in this order, without holes.
    void assign(std::vector<Card*> cards);

    int count() const { return count_; }
    int slotCount() const { return static_cast<int>(slots_.size()); }
    int blockCount() const { return slotCount() / kBlockSize; }
    bool empty() const { return count_ == 0; }
    Card* slot(int index) const { return slots_[static_cast<std::size_t>(index)]; }
    // Index of the first occupied slot at or after `from`, or -1.
    int nextOccupied(int from) const;
    // The k-th card (0-based) counting occupied slots only, or nullptr.
    Card* nthCard(int k) const;
    // The cards in slot order, holes skipped.
    std::vector<Card*> cards() const;

    template <typename F>
    void forEach(F&& visit) const {
        for (Card* card : slots_) {
            if (card != nullptr)
                visit(card);
        }
    }

private:
    static constexpr int kChunkSize = 1024;      // slots per occupancy count
    static constexpr int kIndexThreshold = 256;  // smaller lists are just scanned

    void occupy(int index, Card* card);
    void vacate(int index);
    bool indexCurrent() const;
    void makeIndex() const;

    std::vector<Card*> slots_;  // size is a multiple of kBlockSize
    int count_ = 0;
    int lastFilled_ = -1;
    int lastEmptied_ = -1;
    int used_ = 0;  // one past the highest slot ever filled since the last compaction
    std::priority_queue<int, std::vector<int>, std::greater<int>> holes_;  // empty, below used_
    std::vector<int> chunkCounts_;  // occupied slots per kChunkSize slots

    // How many slots hold a card with each number; valid while indexed_ is set and no
    // card number has changed since it was made.
    mutable CardIdIndex idCounts_;
    mutable uint64_t indexEpoch_ = 0;
    mutable bool indexed_ = false;
};
