#include "session/review_schedule.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStringList>
#include <QTimeZone>
#include <algorithm>
#include <array>
#include <limits>

#include "core/answer_outcome.h"
#include "core/card.h"
#include "core/card_store.h"
#include "core/huge_page_allocator.h"
#include "core/progress_figures.h"
#include "platform/text_codec.h"

namespace {

constexpr int64_t kDayMs = 24LL * 60 * 60 * 1000;
constexpr const char* kWeightsKey = "fsrs-weights";
// "<day> <count>": how many new cards were started on that day.
constexpr const char* kNewCardsKey = "new-cards-today";
// The changes kept for windows that follow the history (see editsSince).
constexpr std::size_t kKeptEdits = 4096;

CardText textOf(const Card& card) {
    return {card.id, card.question(), card.answer()};
}

// The chance that a card in `state` is recalled at `atMs`.
double recallAt(const Fsrs& fsrs, const StoredCardState& state, int64_t atMs) {
    return fsrs.retrievabilityAt({state.stability, state.difficulty, state.lastReviewMs}, atMs);
}

int systemUtcOffsetMinutes() {
    return QDateTime::currentDateTime().offsetFromUtc() / 60;
}

}  // namespace

Rating ratingOf(const AnswerOutcome& outcome) {
    if (!outcome.right)
        return Rating::Again;
    if (outcome.confirmedByUser || outcome.tolerated != ToleratedDifference::None)
        return Rating::Hard;
    return Rating::Good;
}

ReviewSchedule::ReviewSchedule(CardStore& store, QObject* parent)
    : QObject(parent),
      store_(store),
      utcOffsetMinutes_(systemUtcOffsetMinutes()),
      clock_([] { return QDateTime::currentMSecsSinceEpoch(); }) {}

ReviewSchedule::~ReviewSchedule() = default;

bool ReviewSchedule::available() const {
    return history_ && history_->isOpen();
}

QString ReviewSchedule::unavailableReason() const {
    return available() ? QString() : unavailableReason_;
}

ReviewSchedule::Entry* ReviewSchedule::entryOf(const Card& card) {
    const auto it = entries_.find(&card);
    return it == entries_.end() ? nullptr : &it->second;
}

const ReviewSchedule::Entry* ReviewSchedule::entryOf(const Card& card) const {
    const auto it = entries_.find(&card);
    return it == entries_.end() ? nullptr : &it->second;
}

std::optional<double> ReviewSchedule::recall(const Card& card, int64_t nowMs) const {
    const Entry* entry = available() ? entryOf(card) : nullptr;
    if (entry == nullptr || !entry->state)
        return std::nullopt;
    return recallAt(Fsrs(parameters_), *entry->state, nowMs);
}

std::optional<int64_t> ReviewSchedule::dueMs(const Card& card) const {
    const Entry* entry = available() ? entryOf(card) : nullptr;
    if (entry == nullptr || !entry->state)
        return std::nullopt;
    return entry->state->dueMs;
}

int ReviewSchedule::dueTodayCount(int64_t nowMs) const {
    if (!available())
        return 0;
    // The end of the learner's day: the next local midnight.
    const int64_t endOfDay = (dayOf(nowMs) + 1) * kDayMs - int64_t{utcOffsetMinutes_} * 60 * 1000;
    // The same rule as dueCards, at the end of the day.
    const Fsrs fsrs(parameters_);
    int count = 0;
    for (const auto& [card, entry] : entries_) {
        if (entry.state &&
            (entry.state->dueMs < endOfDay ||
             recallAt(fsrs, *entry.state, endOfDay - 1) < parameters_.desiredRetention))
            ++count;
    }
    return count;
}

std::vector<const Card*> ReviewSchedule::dueCards(int64_t nowMs, int newLimit) const {
    std::vector<const Card*> result;
    if (!available())
        return result;
    // A card is due once its recall has fallen below the desired retention, or once the
    // day it was scheduled for has come: rounding and fuzz may put that a little earlier,
    // and the count of cards due today goes by it.
    const Fsrs fsrs(parameters_);
    std::vector<std::pair<double, const Card*>> due;
    std::vector<const Card*> fresh;
    const auto visit = [&](Card* card) {
        const Entry* entry = entryOf(*card);
        if (entry != nullptr && entry->state) {
            const double recall = recallAt(fsrs, *entry->state, nowMs);
            if (recall < parameters_.desiredRetention || entry->state->dueMs <= nowMs)
                due.emplace_back(recall, card);
        } else if (static_cast<int>(fresh.size()) < newLimit) {
            fresh.push_back(card);
        }
    };
    // List order: the cards being learned, then the known cards. Their entries lie anywhere
    // in the table: each is fetched a few cards before it is visited, so that the memory
    // works on several at once.
    constexpr std::size_t kAhead = 16;
    std::array<Card*, kAhead> ahead{};
    std::size_t seen = 0;
    const auto fetch = [&](Card* card) {
        entries_.prefetch(card);
        Card*& slot = ahead[seen++ % kAhead];
        if (slot != nullptr)
            visit(slot);
        slot = card;
    };
    store_.unknownList.forEach(fetch);
    store_.knownList.forEach(fetch);
    for (std::size_t i = 0; i < kAhead; ++i) {
        if (Card* card = ahead[(seen + i) % kAhead])
            visit(card);
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    result.reserve(due.size() + fresh.size());
    for (const auto& [recall, card] : due)
        result.push_back(card);
    result.insert(result.end(), fresh.begin(), fresh.end());
    return result;
}

std::optional<int64_t> ReviewSchedule::nextDueMs(int64_t nowMs) const {
    std::optional<int64_t> next;
    if (!available())
        return next;
    for (const auto& [card, entry] : entries_) {
        if (entry.state && entry.state->dueMs > nowMs && (!next || entry.state->dueMs < *next))
            next = entry.state->dueMs;
    }
    return next;
}

int64_t ReviewSchedule::dayOf(int64_t ms) const {
    return localDay(ms, utcOffsetMinutes_);
}

int ReviewSchedule::newCardsStartedToday(int64_t nowMs) const {
    if (!available())
        return 0;
    const std::optional<std::string> stored = history_->value(kNewCardsKey);
    if (!stored)
        return 0;
    const QStringList parts = QString::fromStdString(*stored).split(QLatin1Char(' '));
    bool dayOk = false;
    bool countOk = false;
    const qlonglong day = parts.value(0).toLongLong(&dayOk);
    const int count = parts.value(1).toInt(&countOk);
    if (!dayOk || !countOk || day != dayOf(nowMs))
        return 0;
    return std::max(0, count);
}

int ReviewSchedule::newCardsLeftToday(int64_t nowMs, int limit) const {
    if (!available())
        return 0;
    return std::max(0, limit - newCardsStartedToday(nowMs));
}

void ReviewSchedule::countNewCard(int64_t nowMs) {
    const int64_t started = int64_t{newCardsStartedToday(nowMs)} + 1;
    history_->setValue(kNewCardsKey,
                       QStringLiteral("%1 %2").arg(dayOf(nowMs)).arg(started).toStdString());
}

CardKey ReviewSchedule::keyOf(const Card& card) const {
    const Entry* entry = available() ? entryOf(card) : nullptr;
    return entry == nullptr ? kNoCardKey : entry->key;
}

std::optional<StoredCardState> ReviewSchedule::stateOf(const Card& card) const {
    const Entry* entry = available() ? entryOf(card) : nullptr;
    return entry == nullptr ? std::nullopt : entry->state;
}

int64_t ReviewSchedule::importCards(std::vector<ImportedCard> cards,
                                    std::span<const std::pair<std::string, std::string>> values) {
    if (!available())
        return -1;
    std::vector<ImportedCardHistory> histories(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const Card& card = *cards[i].card;
        const Entry* entry = entryOf(card);
        histories[i].key = entry == nullptr ? kNoCardKey : entry->key;
        histories[i].text = textOf(card);
        histories[i].reviews = std::move(cards[i].reviews);
        histories[i].state = cards[i].state;
    }
    const int64_t added = history_->importReviews(histories, values);
    if (added < 0)
        return -1;
    for (std::size_t i = 0; i < cards.size(); ++i)
        entries_[cards[i].card] = {histories[i].key, histories[i].state, cards[i].card->id};
    emit changed();
    return added;
}

const ReviewHistory* ReviewSchedule::history() const {
    return available() ? history_.get() : nullptr;
}

ReviewHistory* ReviewSchedule::history() {
    return available() ? history_.get() : nullptr;
}

const FsrsParameters& ReviewSchedule::parameters() const {
    return parameters_;
}

void ReviewSchedule::setParameters(const FsrsWeights& weights) {
    parameters_.w = Fsrs::clipped(weights);
    if (available()) {
        QStringList numbers;
        for (double w : parameters_.w)
            numbers << QString::number(w, 'g', 17);
        history_->setValue(kWeightsKey, numbers.join(QLatin1Char(' ')).toStdString());
    }
    emit changed();
}

void ReviewSchedule::setLimits(double desiredRetention, int maximumInterval) {
    // Fsrs clamps what it is given; the same values are kept here so that what the
    // windows show is what schedules.
    parameters_.desiredRetention =
        Fsrs(FsrsParameters{parameters_.w, desiredRetention, maximumInterval, true})
            .parameters()
            .desiredRetention;
    parameters_.maximumInterval = std::max(1, maximumInterval);
    emit changed();
}

void ReviewSchedule::loadWeights() {
    parameters_.w = kFsrsDefaultWeights;
    const std::optional<std::string> stored = history_->value(kWeightsKey);
    if (!stored)
        return;
    // Weights that cannot be read (another program wrote there, a damaged value) leave
    // the defaults in place.
    const QStringList parts =
        QString::fromStdString(*stored).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != static_cast<int>(FsrsWeights{}.size()))
        return;
    FsrsWeights weights{};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        weights[static_cast<std::size_t>(i)] = parts[i].toDouble(&ok);
        if (!ok)
            return;
    }
    parameters_.w = Fsrs::clipped(weights);
}

void ReviewSchedule::cardShown(const Card& card) {
    shownAtMs_[&card] = now();
}

int64_t ReviewSchedule::recordAnswer(const AnswerOutcome& outcome) {
    lastReviewId_ = 0;
    if (!outcome.recorded || outcome.card == nullptr)
        return 0;
    const int64_t nowMs = now();
    int32_t durationMs = 0;
    if (const auto it = shownAtMs_.find(outcome.card); it != shownAtMs_.end()) {
        // A clock set back in between gives no time rather than a negative one; a card
        // left on the screen for a month is capped rather than overflowing.
        durationMs = static_cast<int32_t>(
            std::clamp<int64_t>(nowMs - it->second, 0, std::numeric_limits<int32_t>::max()));
        shownAtMs_.erase(it);
    }
    lastReviewId_ = record(*outcome.card, ratingOf(outcome), nowMs, durationMs, outcome.kind,
                           outcome.direction);
    return lastReviewId_;
}

int64_t ReviewSchedule::record(const Card& card, Rating rating, int64_t nowMs, int32_t durationMs,
                               uint8_t kind, uint8_t direction) {
    if (!available())
        return 0;
    Entry& entry = entries_[&card];
    if (entry.key == kNoCardKey) {
        entry.key = history_->addCard(textOf(card));
        entry.number = card.id;
        if (entry.key == kNoCardKey)
            return 0;
    }
    const Fsrs fsrs(parameters_);
    std::optional<MemoryState> current;
    uint32_t elapsed = 0;
    if (entry.state) {
        current = MemoryState{entry.state->stability, entry.state->difficulty};
        elapsed = Fsrs::elapsedDays(entry.state->lastReviewMs, nowMs, utcOffsetMinutes_);
    }
    const ScheduledState next = fsrs.nextStates(current, elapsed, random_)[rating];
    StoredCardState after;
    after.stability = next.memory.stability;
    after.difficulty = next.memory.difficulty;
    // A clock set back keeps the last review where it was, so that elapsed time never
    // runs backwards for the model.
    after.lastReviewMs = entry.state ? std::max(nowMs, entry.state->lastReviewMs) : nowMs;
    after.dueMs = after.lastReviewMs + int64_t{next.days} * kDayMs;
    ReviewEntry review;
    review.card = entry.key;
    review.timeMs = nowMs;
    review.rating = rating;
    review.durationMs = durationMs;
    review.kind = kind;
    review.direction = direction;
    const int64_t id = history_->append(review, after);
    if (id == 0)
        return 0;
    if (!entry.state)
        countNewCard(nowMs);
    if (statesBefore_.size() >= static_cast<std::size_t>(ReviewHistory::kUndoDepth))
        statesBefore_.erase(statesBefore_.begin());
    statesBefore_.emplace(id, entry.state);
    entry.state = after;
    noteEdit({true, {id, review}});
    emit changed();
    return id;
}

bool ReviewSchedule::undo(int64_t reviewId, const Card& card) {
    if (!available() || reviewId == 0 || !history_->undo(reviewId))
        return false;
    // The state before the answer, as it was: the history put back the same one.
    const auto before = statesBefore_.find(reviewId);
    if (Entry* entry = entryOf(card); entry != nullptr && before != statesBefore_.end())
        entry->state = before->second;
    if (before != statesBefore_.end())
        statesBefore_.erase(before);
    noteEdit({false, {reviewId, {}}});
    emit changed();
    return true;
}

bool ReviewSchedule::canUndo(int64_t reviewId) const {
    return available() && reviewId != 0 && !statesBefore_.empty() &&
           statesBefore_.rbegin()->first == reviewId;
}

void ReviewSchedule::noteEdit(const ReviewEdit& edit) {
    edits_.push_back(edit);
    ++revision_;
    if (edits_.size() > kKeptEdits) {
        edits_.pop_front();
        ++editsStart_;
    }
}

void ReviewSchedule::forgetEdits() {
    edits_.clear();
    editsStart_ = ++revision_;
}

std::optional<std::vector<ReviewEdit>> ReviewSchedule::editsSince(uint64_t revision) const {
    if (revision < editsStart_ || revision > revision_)
        return std::nullopt;
    const auto first = edits_.begin() + static_cast<std::ptrdiff_t>(revision - editsStart_);
    return std::vector<ReviewEdit>(first, edits_.end());
}

MemoryModelSource ReviewSchedule::memoryModelSource(bool withDueTimes) {
    MemoryModelSource source;
    source.nowMs = now();
    source.utcOffsetMinutes = systemUtcOffsetMinutes();
    if (!available())
        return source;
    source.history = history_.get();
    source.parameters = parameters_;
    if (withDueTimes) {
        const auto collect = [&](const Card* card) {
            if (const std::optional<int64_t> due = dueMs(*card))
                source.dueTimesMs.push_back(*due);
        };
        store_.unknownList.forEach(collect);
        store_.knownList.forEach(collect);
    }
    source.setParameters = [this](const FsrsWeights& weights) { setParameters(weights); };
    source.dueMs = [this](const Card& card) { return dueMs(card); };
    source.recall = [this, now = source.nowMs](const Card& card) { return recall(card, now); };
    source.revision = revision_;
    source.editsSince = [this](uint64_t revision) { return editsSince(revision); };
    return source;
}

ReviewSchedule::OpenReport ReviewSchedule::openFor(const QString& listPath, int64_t nowMs) {
    close();
    history_ = std::make_unique<ReviewHistory>();
    const HistoryOpenResult result = history_->open(listPath.toStdString(), nowMs);
    OpenReport report;
    report.status = result.status;
    const QString historyName =
        QFileInfo(QString::fromStdString(ReviewHistory::pathFor(listPath.toStdString())))
            .fileName();
    const QString keptAside = QFileInfo(QString::fromStdString(result.keptAsidePath)).fileName();
    switch (result.status) {
        case HistoryOpenStatus::Created:
        case HistoryOpenStatus::Opened:
            break;
        case HistoryOpenStatus::DamagedKeptAside:
            report.message = tr("The review history %1 was damaged. It was kept as %2 and a new "
                                "history was started; the list itself is unharmed.")
                                 .arg(historyName, keptAside);
            break;
        case HistoryOpenStatus::ForeignKeptAside:
            report.message = tr("%1 was not a review history of this program. It was kept as %2 "
                                "and a new history was started; the list itself is unharmed.")
                                 .arg(historyName, keptAside);
            break;
        case HistoryOpenStatus::NewerSchema:
            unavailableReason_ = tr("The review history %1 was written by a newer version of "
                                    "Kartomatrix. It is left as it is; answers are not added "
                                    "to it and no cards fall due.")
                                     .arg(historyName);
            break;
        case HistoryOpenStatus::ReadOnly:
            unavailableReason_ = tr("The review history %1 cannot be written (the folder or the "
                                    "file is read-only). Answers are not added to it and no "
                                    "cards fall due.")
                                     .arg(historyName);
            break;
        case HistoryOpenStatus::Failed:
            unavailableReason_ = tr("The review history %1 could not be opened (%2). Answers are "
                                    "not added to it and no cards fall due.")
                                     .arg(historyName, QString::fromStdString(result.detail));
            break;
    }
    if (!result.hasHistory()) {
        history_.reset();
        report.message = unavailableReason_;
        emit changed();
        return report;
    }
    unavailableReason_.clear();
    loadWeights();
    resolve();
    emit changed();
    return report;
}

void ReviewSchedule::openUnsaved() {
    close();
    history_ = std::make_unique<ReviewHistory>();
    if (!history_->openUnsaved().hasHistory()) {
        history_.reset();
        unavailableReason_ = tr("No review history could be started for the new list.");
    } else {
        unavailableReason_.clear();
        resolve();
    }
    emit changed();
}

void ReviewSchedule::resolve() {
    entries_.clear();
    // Temporary arrays of a million cards: on huge pages, which fill many times faster.
    std::vector<const Card*, HugePageAllocator<const Card*>> cards;
    cards.reserve(static_cast<std::size_t>(store_.unknownList.count() + store_.knownList.count()));
    store_.unknownList.forEach([&](Card* card) { cards.push_back(card); });
    store_.knownList.forEach([&](Card* card) { cards.push_back(card); });
    std::vector<CardText, HugePageAllocator<CardText>> texts;
    texts.reserve(cards.size());
    for (const Card* card : cards)
        texts.push_back(textOf(*card));
    const std::optional<ResolvedCards> resolved = history_->resolveCards(texts);
    if (!resolved || resolved->size() != cards.size())
        return;  // unreadable: every card starts as new; appending will tell if it stays so
    entries_.reserve(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const ResolvedCard& r = (*resolved)[i];
        if (r.key != kNoCardKey)
            entries_[cards[i]] = {r.key, r.state, cards[i]->id};
    }
}

bool ReviewSchedule::carryTo(const QString& newListPath, int64_t nowMs) {
    if (!available())
        return false;
    if (history_->path().empty() ||
        history_->path() != ReviewHistory::pathFor(newListPath.toStdString())) {
        if (!history_->carryTo(newListPath.toStdString(), nowMs))
            return false;
    }
    history_->listSaved();
    return true;
}

void ReviewSchedule::listSaved() {
    if (available())
        history_->listSaved();
}

void ReviewSchedule::close() {
    if (history_)
        history_->close();
    history_.reset();
    entries_.clear();
    shownAtMs_.clear();
    statesBefore_.clear();
    forgetEdits();
    unavailableReason_.clear();
    parameters_.w = kFsrsDefaultWeights;
    emit changed();
}

void ReviewSchedule::cardChanged(const Card& card) {
    Entry* entry = available() ? entryOf(card) : nullptr;
    if (entry == nullptr || entry->key == kNoCardKey)
        return;
    history_->cardChanged(entry->key, textOf(card));
    entry->number = card.id;
}

void ReviewSchedule::cardDeleted(const Card& card) {
    const auto it = entries_.find(&card);
    if (it == entries_.end())
        return;
    if (available() && it->second.key != kNoCardKey)
        history_->cardDeleted(it->second.key);
    entries_.erase(it);
    shownAtMs_.erase(&card);
}

void ReviewSchedule::cardsRearranged() {
    if (!available())
        return;
    for (auto& [card, entry] : entries_) {
        if (entry.key != kNoCardKey && card->id != entry.number) {
            history_->cardChanged(entry.key, textOf(*card));
            entry.number = card->id;
        }
    }
}
