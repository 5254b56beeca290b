#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/huge_page_allocator.h"

class Card;

// A map from cards (by address) to values, for one entry per card of a list of a million:
// one flat array on huge pages, open addressing with linear probing. Filling it costs a
// fraction of what a node-based map costs (a node and a page fault or two per card).
// Inserting may move every entry, erasing may move others: hold no pointer or iterator
// across either.
template <typename Value>
class CardMap {
public:
    struct Slot {
        const Card* first = nullptr;  // nullptr: free
        Value second{};
    };

    template <typename SlotType>
    class Iterator {
    public:
        Iterator(SlotType* at, SlotType* end) : at_(at), end_(end) { skipFree(); }
        SlotType& operator*() const { return *at_; }
        SlotType* operator->() const { return at_; }
        Iterator& operator++() {
            ++at_;
            skipFree();
            return *this;
        }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

    private:
        friend class CardMap;
        void skipFree() {
            while (at_ != end_ && at_->first == nullptr)
                ++at_;
        }
        SlotType* at_;
        SlotType* end_;
    };
    using iterator = Iterator<Slot>;
    using const_iterator = Iterator<const Slot>;

    iterator begin() { return {slots_.data(), slots_.data() + slots_.size()}; }
    iterator end() { return {slots_.data() + slots_.size(), slots_.data() + slots_.size()}; }
    const_iterator begin() const { return {slots_.data(), slots_.data() + slots_.size()}; }
    const_iterator end() const {
        return {slots_.data() + slots_.size(), slots_.data() + slots_.size()};
    }
    std::size_t size() const { return size_; }

    iterator find(const Card* card) {
        const std::size_t i = indexOf(card);
        return i == kNone ? end() : iterator(&slots_[i], slots_.data() + slots_.size());
    }
    const_iterator find(const Card* card) const {
        const std::size_t i = indexOf(card);
        return i == kNone ? end() : const_iterator(&slots_[i], slots_.data() + slots_.size());
    }

    Value& operator[](const Card* card) {
        if (2 * (size_ + 1) > slots_.size())  // at most half full: short probes
            rehash(std::max<std::size_t>(16, 2 * slots_.size()));
        std::size_t i = home(card);
        while (slots_[i].first != nullptr && slots_[i].first != card)
            i = (i + 1) & mask();
        if (slots_[i].first == nullptr) {
            slots_[i].first = card;
            ++size_;
        }
        return slots_[i].second;
    }

    void erase(iterator it) {
        std::size_t hole = static_cast<std::size_t>(it.at_ - slots_.data());
        slots_[hole] = Slot{};
        --size_;
        // Move back the entries after the hole that probing would no longer reach: those
        // whose home is not within (hole, i], cyclically.
        for (std::size_t i = (hole + 1) & mask(); slots_[i].first != nullptr;
             i = (i + 1) & mask()) {
            const std::size_t wanted = home(slots_[i].first);
            if (((i - wanted) & mask()) >= ((i - hole) & mask())) {
                slots_[hole] = std::move(slots_[i]);
                slots_[i] = Slot{};
                hole = i;
            }
        }
    }

    void clear() {
        slots_ = {};
        size_ = 0;
    }
    // Starts fetching the card's slot, for walks that look up many cards in a row.
    void prefetch(const Card* card) const {
        if (!slots_.empty())
            __builtin_prefetch(&slots_[home(card)]);
    }
    void reserve(std::size_t count) {
        std::size_t capacity = 16;
        while (capacity < 2 * count)
            capacity *= 2;
        if (capacity > slots_.size())
            rehash(capacity);
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t mask() const { return slots_.size() - 1; }
    std::size_t home(const Card* card) const {
        // Fibonacci hashing: the high bits of the product, spread whatever the addresses.
        const uint64_t h = reinterpret_cast<uintptr_t>(card) * 0x9e3779b97f4a7c15ull;
        return static_cast<std::size_t>(h >> shift_);
    }
    std::size_t indexOf(const Card* card) const {
        if (slots_.empty() || card == nullptr)
            return kNone;
        for (std::size_t i = home(card);; i = (i + 1) & mask()) {
            if (slots_[i].first == card)
                return i;
            if (slots_[i].first == nullptr)
                return kNone;
        }
    }
    void rehash(std::size_t capacity) {
        std::vector<Slot, HugePageAllocator<Slot>> old(capacity);
        old.swap(slots_);
        shift_ = 64 - std::countr_zero(capacity);
        for (Slot& slot : old) {
            if (slot.first == nullptr)
                continue;
            std::size_t i = home(slot.first);
            while (slots_[i].first != nullptr)
                i = (i + 1) & mask();
            slots_[i] = std::move(slot);
        }
    }

    std::vector<Slot, HugePageAllocator<Slot>> slots_;
    std::size_t size_ = 0;
    int shift_ = 64;
};
