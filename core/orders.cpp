#include "core/orders.h"

#include <algorithm>

#include "core/card_list.h"
#include "core/card_store.h"
#include "core/host.h"
#include "core/message_ids.h"
#include "core/preferences.h"
#include "core/random_source.h"

namespace {

struct KindInfo {
    int captionId;
    CardList CardStore::*list;
    ExaminationOrder order;
    int cardsNeeded;
};

const KindInfo& infoOf(ExaminationKind kind) {
    using O = ExaminationOrder;
    static const KindInfo kinds[] = {
        {Msg::CaptionInOrder, &CardStore::unknownList, O::InOrderWalk, 0},
        {Msg::CaptionWrongWords, &CardStore::wrongList, O::InOrderWalk, 0},
        {Msg::CaptionLevel, &CardStore::levelSelection, O::InOrderWalk, 0},
        {Msg::CaptionLessonInOrder, &CardStore::lessonSelection, O::InOrderWalk, 0},
        {Msg::CaptionKnownWords, &CardStore::knownList, O::InOrderWalk, 0},
        {Msg::CaptionRandom, &CardStore::unknownList, O::RandomDraw, 4},
        {Msg::CaptionLessonRandom, &CardStore::lessonSelection, O::RandomDraw, 4},
        {Msg::CaptionSystematic, &CardStore::unknownList, O::Systematic, 11},
        {Msg::CaptionLessonSystematic, &CardStore::lessonSelection, O::Systematic, 11},
        // The window names it itself; its cards may come from either list.
        {Msg::CaptionInOrder, &CardStore::unknownList, O::GivenCards, 0},
    };
    return kinds[static_cast<int>(kind)];
}

bool holdsCardOutside(const CardList& list, const RecentDraws& recent) {
    for (int i = list.nextOccupied(0); i >= 0; i = list.nextOccupied(i + 1)) {
        if (!recent.contains(list.slot(i)))
            return true;
    }
    return false;
}

// After this many rejections in a row the draw makes sure some card can still be taken:
// a list holding the same card in several slots may have four slots but only three
// different cards, and would otherwise be drawn from forever.
constexpr int kRejectionsBeforeCheck = 64;

void walkTo(ExaminationState& state, int from) {
    const int slot = state.sourceList->nextOccupied(from);
    if (slot < 0) {
        state.currentCard = nullptr;
        return;
    }
    state.position = slot;
    state.currentCard = state.sourceList->slot(slot);
}

}  // namespace

int captionIdOf(ExaminationKind kind) {
    return infoOf(kind).captionId;
}

CardList& sourceListOf(ExaminationKind kind, CardStore& store) {
    return store.*infoOf(kind).list;
}

ExaminationOrder orderOf(ExaminationKind kind) {
    return infoOf(kind).order;
}

int cardsNeededAtStart(ExaminationKind kind) {
    return infoOf(kind).cardsNeeded;
}

bool RecentDraws::contains(const Card* card) const {
    return std::find(cards_.begin(), cards_.end(), card) != cards_.end();
}

void RecentDraws::remember(const Card* card) {
    cards_[static_cast<std::size_t>(next_)] = card;
    next_ = (next_ + 1) % static_cast<int>(cards_.size());
}

SystematicQueue::SystematicQueue(const std::vector<QueueEntry>& entries)
    : size_(static_cast<int>(entries.size())) {
    for (std::size_t at = 0; at < entries.size(); at += kBlockSize) {
        const std::size_t end = std::min(entries.size(), at + kBlockSize);
        blocks_.emplace_back(entries.begin() + static_cast<std::ptrdiff_t>(at),
                             entries.begin() + static_cast<std::ptrdiff_t>(end));
    }
}

SystematicQueue SystematicQueue::blank(std::size_t size) {
    SystematicQueue queue;
    queue.size_ = static_cast<int>(size);
    for (std::size_t at = 0; at < size; at += kBlockSize) {
        queue.blocks_.emplace_back(std::min(kBlockSize, size - at));
    }
    return queue;
}

const QueueEntry& SystematicQueue::at(int index) const {
    auto i = static_cast<std::size_t>(index);
    for (const auto& block : blocks_) {
        if (i < block.size())
            return block[i];
        i -= block.size();
    }
    return blocks_.back().back();
}

std::vector<QueueEntry> SystematicQueue::entries() const {
    std::vector<QueueEntry> out;
    out.reserve(static_cast<std::size_t>(size_));
    for (const auto& block : blocks_)
        out.insert(out.end(), block.begin(), block.end());
    return out;
}

void SystematicQueue::moveFrontTo(int place) {
    if (size_ == 0)
        return;
    auto target = static_cast<std::size_t>(std::clamp(place, 1, size_) - 1);
    if (target == 0)
        return;
    const QueueEntry moving = blocks_.front().front();
    blocks_.front().erase(blocks_.front().begin());
    if (blocks_.front().empty())
        blocks_.erase(blocks_.begin());

    // The target counts the entries that stay before the moving one; it may be the
    // position just behind a block's last entry.
    auto block = blocks_.begin();
    while (target > block->size()) {
        target -= block->size();
        ++block;
    }
    block->insert(block->begin() + static_cast<std::ptrdiff_t>(target), moving);
    if (block->size() > 2 * kBlockSize) {
        std::vector<QueueEntry> back(block->begin() + kBlockSize, block->end());
        block->resize(kBlockSize);
        blocks_.insert(block + 1, std::move(back));
    }
}

bool startExamination(ExaminationState& state, ExaminationKind kind,
                      const ExaminationEnvironment& env) {
    state = ExaminationState{};
    state.kind = kind;
    state.sourceList = &sourceListOf(kind, env.store);
    switch (orderOf(kind)) {
        case ExaminationOrder::InOrderWalk:
            walkTo(state, 0);
            return true;
        case ExaminationOrder::RandomDraw:
            state.currentCard =
                drawRandomCard(*state.sourceList, env.random, env.recentDraws, env.host);
            return true;
        case ExaminationOrder::Systematic:
            if (state.sourceList->count() < cardsNeededAtStart(kind)) {
                env.host.showError(Msg::SystematicTooFew);
                return false;
            }
            state.queue =
                buildSystematicQueue(*state.sourceList, env.preferences.maxLevel, env.random);
            state.currentCard = state.queue.front().card;
            return true;
        case ExaminationOrder::GivenCards:
            state.currentCard = nullptr;  // the cards come with startGivenExamination
            return true;
    }
    return false;
}

void startGivenExamination(ExaminationState& state, std::vector<Card*> cards) {
    state = ExaminationState{};
    state.kind = ExaminationKind::DueCards;
    state.given = std::move(cards);
    state.position = 0;
    state.currentCard = state.given.empty() ? nullptr : state.given.front();
}

int32_t questionNumberFor(ExaminationState& state) {
    switch (orderOf(state.kind)) {
        case ExaminationOrder::InOrderWalk:
            return state.position;
        case ExaminationOrder::RandomDraw:
            return 0;
        case ExaminationOrder::Systematic:
            return ++state.questionCounter;
        case ExaminationOrder::GivenCards:
            return 0;
    }
    return 0;
}

void nextCard(ExaminationState& state, const ExaminationEnvironment& env) {
    if (state.currentCard == nullptr)
        return;
    switch (orderOf(state.kind)) {
        case ExaminationOrder::InOrderWalk:
            walkTo(state, state.position + 1);
            break;
        case ExaminationOrder::RandomDraw:
            state.currentCard =
                drawRandomCard(*state.sourceList, env.random, env.recentDraws, env.host);
            break;
        case ExaminationOrder::Systematic:
            requeue(state.queue);
            state.currentCard = state.queue.front().card;
            break;
        case ExaminationOrder::GivenCards:
            ++state.position;
            state.currentCard = state.position < static_cast<int32_t>(state.given.size())
                                    ? state.given[static_cast<std::size_t>(state.position)]
                                    : nullptr;
            break;
    }
}

Card* drawRandomCard(const CardList& list, RandomSource& random, RecentDraws& recent, Host& host) {
    const int n = list.count();
    if (n <= 3) {
        host.showError(Msg::RandomTooFew);
        return nullptr;
    }
    for (int rejected = 1;; ++rejected) {
        Card* candidate = list.nthCard(randomBelow(random, n));
        if (candidate != nullptr && !recent.contains(candidate)) {
            recent.remember(candidate);
            return candidate;
        }
        if (rejected % kRejectionsBeforeCheck == 0 && !holdsCardOutside(list, recent)) {
            host.showError(Msg::RandomTooFew);
            return nullptr;
        }
    }
}

namespace {

struct SortKeyFormula {
    // The preferences accept a max level of 0, and a negative one can come from the
    // settings store. Dividing by it would crash or turn the order upside down (highest
    // levels first), so such a level counts as 1 here: cards go by level, and the random
    // part only orders the cards of one level.
    explicit SortKeyFormula(int32_t maxLevel)
        : m(maxLevel > 0 ? maxLevel : 1), q(RandomSource::kMax / m) {}
    int64_t operator()(int32_t level, int r) const {
        return RandomSource::kMax - q * level - r / m;
    }
    int32_t m;
    int64_t q;
};

}  // namespace

int64_t systematicSortKey(int32_t level, int r, int32_t maxLevel) {
    return SortKeyFormula(maxLevel)(level, r);
}

SystematicQueue buildSystematicQueue(const CardList& list, int32_t maxLevel, RandomSource& random) {
    const SortKeyFormula key(maxLevel);
    std::vector<QueueEntry> entries;
    entries.reserve(static_cast<std::size_t>(list.count()));
    list.forEach([&](Card* card) { entries.push_back({card, key(card->level, random.next())}); });
    if (entries.empty())
        return {};

    // Highest key first; of equal keys the card later in the list first. That is the
    // order of placing the cards from the last to the first, each after every entry whose
    // key is greater or equal: a stable sort of the reversed list.
    std::reverse(entries.begin(), entries.end());
    const auto [low, high] = std::minmax_element(
        entries.begin(), entries.end(),
        [](const QueueEntry& a, const QueueEntry& b) { return a.sortKey < b.sortKey; });
    const int64_t highest = high->sortKey;
    const uint64_t range = static_cast<uint64_t>(highest - low->sortKey) + 1;
    if (range > std::max<uint64_t>(entries.size() * 4, 1 << 16)) {
        std::stable_sort(
            entries.begin(), entries.end(),
            [](const QueueEntry& a, const QueueEntry& b) { return a.sortKey > b.sortKey; });
        return SystematicQueue(entries);
    }
    // Keys span a few levels' worth of random numbers: a counting sort is several times
    // faster than comparing for a list of a million cards, and it fills the queue in
    // place, without a second copy of the entries.
    std::vector<uint32_t> next(static_cast<std::size_t>(range) + 1, 0);
    for (const QueueEntry& entry : entries) {
        ++next[static_cast<std::size_t>(highest - entry.sortKey) + 1];
    }
    for (std::size_t i = 1; i < next.size(); ++i)
        next[i] += next[i - 1];
    SystematicQueue queue = SystematicQueue::blank(entries.size());
    for (const QueueEntry& entry : entries) {
        queue.slot(next[static_cast<std::size_t>(highest - entry.sortKey)]++) = entry;
    }
    return queue;
}

int requeueDistance(const Card& card, int n) {
    const int fifth = n / 5;
    const int64_t w = card.lastWrong;
    const int64_t a = card.lastAsked;
    if (w == a && w != 0) {
        // This answer was wrong: the fewer right answers the card ever had, the sooner
        // it comes back.
        const int64_t asked = card.timesAsked;
        const int64_t wrong = card.timesWrong;
        if (wrong == asked)
            return 5;
        if (asked == wrong + 1)
            return 10;
        return fifth;
    }
    // Numbers from an earlier examination take part as they are: a lastWrong above this
    // answer's number gives a negative gap and the shortest distance.
    const int64_t gap = a - w;
    if (gap <= 2)
        return 2 * fifth;
    if (gap == 3)
        return 3 * fifth;
    if (gap <= 5)
        return 4 * fifth;
    return n;
}

void requeue(SystematicQueue& queue) {
    if (queue.empty())
        return;
    queue.moveFrontTo(requeueDistance(*queue.front().card, queue.size()));
}
