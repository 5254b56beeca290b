#include "store/card_list.h"

#include <algorithm>

CardList::CardList() : slots_(kBlockSize, nullptr) {}

void CardList::insert(Card* card) {
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
    slots_[static_cast<std::size_t>(index)] = card;
    ++count_;
}

bool CardList::removeById(int32_t id) {
    for (int i = 0; i < used_; ++i) {
        Card* card = slots_[static_cast<std::size_t>(i)];
        if (card != nullptr && card->id == id) {
            slots_[static_cast<std::size_t>(i)] = nullptr;
            holes_.push(i);
            --count_;
            return true;
        }
    }
    return false;
}

bool CardList::remove(const Card* card) {
    const auto end = slots_.begin() + used_;
    const auto it = std::find(slots_.begin(), end, card);
    if (card == nullptr || it == end) return false;
    *it = nullptr;
    holes_.push(static_cast<int>(it - slots_.begin()));
    --count_;
    return true;
}

bool CardList::containsId(int32_t id) const {
    for (int i = 0; i < used_; ++i) {
        const Card* card = slots_[static_cast<std::size_t>(i)];
        if (card != nullptr && card->id == id) return true;
    }
    return false;
}

void CardList::clear() {
    slots_.assign(kBlockSize, nullptr);
    slots_.shrink_to_fit();
    count_ = 0;
    used_ = 0;
    holes_ = {};
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
}

int CardList::nextOccupied(int from) const {
    for (int i = std::max(from, 0); i < used_; ++i) {
        if (slots_[static_cast<std::size_t>(i)] != nullptr) return i;
    }
    return -1;
}

Card* CardList::nthCard(int k) const {
    if (k < 0 || k >= count_) return nullptr;
    if (holes_.empty()) return slots_[static_cast<std::size_t>(k)];
    for (int i = 0; i < used_; ++i) {
        Card* card = slots_[static_cast<std::size_t>(i)];
        if (card != nullptr && k-- == 0) return card;
    }
    return nullptr;
}

std::vector<Card*> CardList::cards() const {
    std::vector<Card*> out;
    out.reserve(static_cast<std::size_t>(count_));
    forEach([&](Card* card) { out.push_back(card); });
    return out;
}
