#include "core/card_list.h"

#include <algorithm>

namespace {
uint64_t idEpoch = 0;
}

uint64_t cardIdEpoch() {
    return idEpoch;
}

void setCardId(Card& card, int32_t id) {
    if (card.id == id)
        return;
    card.id = id;
    ++idEpoch;
}

CardList::CardList() : slots_(kBlockSize, nullptr) {}

bool CardList::indexCurrent() const {
    return indexed_ && indexEpoch_ == idEpoch;
}

void CardList::occupy(int index, Card* card) {
    slots_[static_cast<std::size_t>(index)] = card;
    const auto chunk = static_cast<std::size_t>(index / kChunkSize);
    if (chunk >= chunkCounts_.size())
        chunkCounts_.resize(chunk + 1, 0);
    ++chunkCounts_[chunk];
    ++count_;
    if (indexCurrent()) {
        idCounts_.add(card->id);
    } else {
        indexed_ = false;
    }
}

void CardList::vacate(int index) {
    Card*& slot = slots_[static_cast<std::size_t>(index)];
    if (indexCurrent()) {
        idCounts_.removeOne(slot->id);
    } else {
        indexed_ = false;
    }
    slot = nullptr;
    lastEmptied_ = index;
    holes_.push(index);
    --chunkCounts_[static_cast<std::size_t>(index / kChunkSize)];
    --count_;
}

void CardList::insertAt(int index, Card* card) {
    if (index < 0 || index >= used_ || slots_[static_cast<std::size_t>(index)] != nullptr) {
        insert(card);
        return;
    }
    // The slot stays in the heap of holes; insert passes over it once it finds it taken.
    occupy(index, card);
    lastFilled_ = index;
    while (!holes_.empty() && slots_[static_cast<std::size_t>(holes_.top())] != nullptr)
        holes_.pop();
}

void CardList::insert(Card* card) {
    // Holes filled by insertAt are still in the heap.
    while (!holes_.empty() && slots_[static_cast<std::size_t>(holes_.top())] != nullptr)
        holes_.pop();
    int index;
    if (!holes_.empty()) {
        index = holes_.top();
        holes_.pop();
    } else {
        if (used_ == slotCount()) {
            slots_.resize(slots_.size() + kBlockSize, nullptr);
        }
        index = used_++;
    }
    occupy(index, card);
    lastFilled_ = index;
}

bool CardList::removeById(int32_t id) {
    if (count_ >= kIndexThreshold && !containsId(id))
        return false;
    for (int i = 0; i < used_; ++i) {
        Card* card = slots_[static_cast<std::size_t>(i)];
        if (card != nullptr && card->id == id) {
            vacate(i);
            return true;
        }
    }
    return false;
}

bool CardList::remove(const Card* card) {
    if (card == nullptr)
        return false;
    const auto end = slots_.begin() + used_;
    const auto it = std::find(slots_.begin(), end, card);
    if (it == end)
        return false;
    vacate(static_cast<int>(it - slots_.begin()));
    return true;
}

void CardList::removeAt(int index) {
    if (index >= 0 && index < used_ && slots_[static_cast<std::size_t>(index)] != nullptr) {
        vacate(index);
    }
}

bool CardList::containsId(int32_t id) const {
    if (count_ < kIndexThreshold) {
        for (int i = 0; i < used_; ++i) {
            const Card* card = slots_[static_cast<std::size_t>(i)];
            if (card != nullptr && card->id == id)
                return true;
        }
        return false;
    }
    if (!indexCurrent())
        makeIndex();
    return idCounts_.contains(id);
}

void CardList::makeIndex() const {
    // The numbers are gathered in one pass over the cards, which is most of the cost.
    std::vector<int32_t> ids;
    ids.reserve(static_cast<std::size_t>(count_));
    forEach([&](const Card* card) { ids.push_back(card->id); });
    idCounts_.rebuild(ids);
    indexEpoch_ = idEpoch;
    indexed_ = true;
}

void CardList::clear() {
    slots_.assign(kBlockSize, nullptr);
    slots_.shrink_to_fit();
    count_ = 0;
    used_ = 0;
    holes_ = {};
    chunkCounts_.clear();
    idCounts_.clear();
    indexed_ = false;
}

void CardList::assign(std::vector<Card*> cards) {
    std::erase(cards, nullptr);
    const std::size_t n = cards.size();
    const std::size_t blocks = std::max<std::size_t>(1, (n + kBlockSize - 1) / kBlockSize);
    cards.resize(blocks * kBlockSize, nullptr);
    slots_ = std::move(cards);
    count_ = static_cast<int>(n);
    used_ = static_cast<int>(n);
    holes_ = {};
    chunkCounts_.assign((n + kChunkSize - 1) / kChunkSize, kChunkSize);
    if (n % kChunkSize != 0)
        chunkCounts_.back() = static_cast<int>(n % kChunkSize);
    idCounts_.clear();
    indexed_ = false;
    // Made now, while the whole list is being rebuilt anyway, rather than at a look-up
    // during an examination.
    if (count_ >= kIndexThreshold)
        makeIndex();
}

int CardList::nextOccupied(int from) const {
    for (int i = std::max(from, 0); i < used_; ++i) {
        if (slots_[static_cast<std::size_t>(i)] != nullptr)
            return i;
    }
    return -1;
}

Card* CardList::nthCard(int k) const {
    if (k < 0 || k >= count_)
        return nullptr;
    if (holes_.empty())
        return slots_[static_cast<std::size_t>(k)];
    std::size_t chunk = 0;
    while (k >= chunkCounts_[chunk])
        k -= chunkCounts_[chunk++];
    const int end = std::min(used_, static_cast<int>((chunk + 1) * kChunkSize));
    for (int i = static_cast<int>(chunk) * kChunkSize; i < end; ++i) {
        Card* card = slots_[static_cast<std::size_t>(i)];
        if (card != nullptr && k-- == 0)
            return card;
    }
    return nullptr;
}

std::vector<Card*> CardList::cards() const {
    std::vector<Card*> out;
    out.reserve(static_cast<std::size_t>(count_));
    forEach([&](Card* card) { out.push_back(card); });
    return out;
}
