#include "core/card_id_index.h"

#include <algorithm>

namespace {

constexpr int64_t kEntriesPerCard = 4;
constexpr int64_t kAlwaysDense = 1 << 16;  // an array this small is never worth a hash map

}  // namespace

bool CardIdIndex::denseEnough(int64_t lowest, int64_t highest, int64_t cards) {
    const int64_t span = highest - lowest + 1;
    return span <= std::max(kAlwaysDense, kEntriesPerCard * cards);
}

void CardIdIndex::clear() {
    sparse_ = false;
    cards_ = 0;
    base_ = 0;
    counts_ = {};
    map_ = {};
}

void CardIdIndex::rebuild(const std::vector<int32_t>& ids) {
    clear();
    if (ids.empty())
        return;
    const auto [lowest, highest] = std::minmax_element(ids.begin(), ids.end());
    if (denseEnough(*lowest, *highest, static_cast<int64_t>(ids.size()))) {
        base_ = *lowest;
        counts_.assign(static_cast<std::size_t>(int64_t{*highest} - *lowest + 1), 0);
        for (const int32_t id : ids)
            ++counts_[static_cast<std::size_t>(id - base_)];
        cards_ = static_cast<int64_t>(ids.size());
        return;
    }
    sparse_ = true;
    map_.reserve(ids.size());
    for (const int32_t id : ids)
        add(id);
}

void CardIdIndex::makeSparse() {
    map_.reserve(static_cast<std::size_t>(cards_));
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        if (counts_[i] != 0)
            map_.emplace(static_cast<int32_t>(base_ + static_cast<int64_t>(i)), counts_[i]);
    }
    counts_ = {};
    sparse_ = true;
}

void CardIdIndex::add(int32_t id) {
    ++cards_;
    if (sparse_) {
        ++map_[id];
        return;
    }
    if (counts_.empty()) {
        base_ = id;
        counts_.assign(1, 0);
    }
    const int64_t top = base_ + static_cast<int64_t>(counts_.size());  // one past the range
    if (id < base_ || id >= top) {
        const int64_t lowest = std::min<int64_t>(base_, id);
        const int64_t highest = std::max<int64_t>(top - 1, id);
        if (!denseEnough(lowest, highest, cards_)) {
            makeSparse();
            ++map_[id];
            return;
        }
        if (id >= top) {
            // Numbers handed out one after the other: the vector grows geometrically.
            counts_.resize(static_cast<std::size_t>(highest - base_ + 1), 0);
        } else {
            std::vector<int32_t> moved(static_cast<std::size_t>(highest - lowest + 1), 0);
            std::copy(counts_.begin(), counts_.end(), moved.begin() + (base_ - lowest));
            counts_ = std::move(moved);
            base_ = lowest;
        }
    }
    ++counts_[static_cast<std::size_t>(id - base_)];
}

void CardIdIndex::removeOne(int32_t id) {
    if (sparse_) {
        const auto it = map_.find(id);
        if (it == map_.end())
            return;
        if (--it->second == 0)
            map_.erase(it);
        --cards_;
        return;
    }
    if (id < base_ || id >= base_ + static_cast<int64_t>(counts_.size()))
        return;
    int32_t& count = counts_[static_cast<std::size_t>(id - base_)];
    if (count > 0) {
        --count;
        --cards_;
    }
}

bool CardIdIndex::contains(int32_t id) const {
    if (sparse_)
        return map_.count(id) != 0;
    return id >= base_ && id < base_ + static_cast<int64_t>(counts_.size()) &&
           counts_[static_cast<std::size_t>(id - base_)] != 0;
}
