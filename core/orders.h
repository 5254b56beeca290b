#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class Card;
class CardList;
class CardStore;
class Host;
class RandomSource;
struct Preferences;

// The nine kinds of examination, each asking the cards of one list of the store in one of
// three orders, and DueCards, which asks the cards the review schedule chose, each once.
enum class ExaminationKind {
    InOrder,
    WrongWords,
    Level,
    LessonInOrder,
    KnownWords,
    Random,
    LessonRandom,
    Systematic,
    LessonSystematic,
    DueCards,
};

enum class ExaminationOrder {
    InOrderWalk,  // slot by slot through the live list, each card once
    RandomDraw,   // endless random draws, never one of the last three cards drawn
    Systematic,   // low levels first; an answered card comes back after a few questions
    GivenCards,   // the cards given at the start (ExaminationState::given), each once
};

// String-table number of the window title of the kind.
int captionIdOf(ExaminationKind kind);
// The list of the store the kind asks from. The list stays live: cards entering or
// leaving it while the examination runs are seen by its later steps.
CardList& sourceListOf(ExaminationKind kind, CardStore& store);
ExaminationOrder orderOf(ExaminationKind kind);
// Fewest cards the source list must hold for the kind to start: 4 for the random kinds,
// 11 for the systematic kinds, 0 for the in-order kinds (an empty list just ends at once).
int cardsNeededAtStart(ExaminationKind kind);

// The last three cards drawn by any random examination of the process, so that a draw
// never repeats one of them, not even across examinations and lists. The program keeps
// one for the whole run, held by the main window, and never clears it. The cards are only
// compared by address, never read, so a card destroyed meanwhile does no harm.
class RecentDraws {
public:
    bool contains(const Card* card) const;
    // Overwrites the oldest of the three.
    void remember(const Card* card);
    const std::array<const Card*, 3>& cards() const { return cards_; }

private:
    std::array<const Card*, 3> cards_{};
    int next_ = 0;
};

// One card of a systematic examination with the key it was ordered by at the start.
struct QueueEntry {
    Card* card = nullptr;
    // Wider than the 16-bit random range needs: levels far above or below 0 (a known card
    // asked for years, "Keep It" under a max level of 0 or 1) must not overflow the key.
    int64_t sortKey = 0;
};

// The cards of a systematic examination in the order they will be asked; the first is
// the card on screen. It keeps every card of the source list at the start, even one that
// leaves the list later, and never grows or shrinks.
//
// Held in blocks of a few hundred entries: moving the first entry to any place touches
// one or two blocks and steps over the others, a few microseconds for a million cards
// where one flat array would shift up to all of them.
class SystematicQueue {
public:
    SystematicQueue() = default;
    explicit SystematicQueue(const std::vector<QueueEntry>& entries);

    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const QueueEntry& front() const { return blocks_.front().front(); }
    const QueueEntry& at(int index) const;
    // The entries from the first to the last, as a copy.
    std::vector<QueueEntry> entries() const;
    // Moves the first entry so that it becomes the place-th (1-based); place is clamped
    // to 1..size().
    void moveFrontTo(int place);

private:
    friend SystematicQueue buildSystematicQueue(const CardList&, int32_t, RandomSource&);
    static constexpr std::size_t kBlockSize = 512;

    // size blank entries, to be filled in place.
    static SystematicQueue blank(std::size_t size);
    QueueEntry& slot(std::size_t index) { return blocks_[index / kBlockSize][index % kBlockSize]; }

    std::vector<std::vector<QueueEntry>> blocks_;  // none empty
    int size_ = 0;
};

// The state of one running examination, held by its window. It refers to cards and to
// one list of the store; it never creates, copies or destroys a card.
struct ExaminationState {
    ExaminationKind kind = ExaminationKind::InOrder;
    CardList* sourceList = nullptr;
    Card* currentCard = nullptr;  // none ends the examination
    int32_t position = -1;        // in-order kinds: slot index of currentCard
    int32_t questionCounter = 0;  // systematic kinds: answers given so far
    SystematicQueue queue;        // systematic kinds
    std::vector<Card*> given;     // DueCards: the cards to ask, position indexes it
};

// Everything an examination works with besides its own state. All of it belongs to the
// program and outlives every examination window.
struct ExaminationEnvironment {
    CardStore& store;
    const Preferences& preferences;
    RandomSource& random;
    RecentDraws& recentDraws;
    Host& host;
};

// Sets up `state` for a new examination of the kind and picks its first card.
// Returns false when the kind refuses to start (a systematic kind over 10 cards or
// fewer; message 103 has been shown): the window closes without showing anything.
// Otherwise the window shows state.currentCard, or, when it is none (an empty in-order
// list, or too few cards for a random draw after message 112), the end-of-list notice.
bool startExamination(ExaminationState& state, ExaminationKind kind,
                      const ExaminationEnvironment& env);

// Starts a DueCards examination over `cards` (the caller chose them; none ends it at
// once). Cards stay valid while the list is open, so the given cards may be kept.
void startGivenExamination(ExaminationState& state, std::vector<Card*> cards);

// The question number to record the answer to currentCard under. Call it once per
// answer, before judging: the systematic kinds count the answer here, so the first
// answer of an examination is number 1. In-order kinds give the card's slot index,
// random kinds 0.
int32_t questionNumberFor(ExaminationState& state);

// After the answer to currentCard has been recorded: moves on to the next card, or to
// none when the examination has ended (the in-order walk is through, or a random draw
// found too few cards and has shown message 112).
void nextCard(ExaminationState& state, const ExaminationEnvironment& env);

// A random card of the list that is none of the three in `recent`, which then remembers
// it. Returns nullptr after showing message 112 when the list holds three cards or fewer
// (or, with the same card in several slots, fewer than four different ones).
Card* drawRandomCard(const CardList& list, RandomSource& random, RecentDraws& recent, Host& host);

// The key a card of this level gets for the random number r (0..32767); higher keys are
// asked first. A max level of 0 or below counts as 1 here.
int64_t systematicSortKey(int32_t level, int r, int32_t maxLevel);
// One entry per card of the list, ordered by key, highest first; of equal keys the card
// later in the list comes first. Draws one random number per card, in slot order.
SystematicQueue buildSystematicQueue(const CardList& list, int32_t maxLevel, RandomSource& random);
// The place (1-based) the card just answered goes to in a queue of n entries, from its
// counters and question numbers after the answer has been recorded.
int requeueDistance(const Card& card, int n);
// Moves the first entry, whose answer has just been recorded, to its new place.
void requeue(SystematicQueue& queue);
