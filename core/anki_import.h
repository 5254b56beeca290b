#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/anki_package.h"
#include "core/card_candidate.h"
#include "core/fsrs.h"
#include "core/review_history.h"

// How the notes of an Anki package become cards: one note, one card. The user chooses per
// note type which field is the question and which the answer, a lesson name per deck and
// whether tags go to the additional information.

// Which fields of a note type are the question and the answer (counted from 0).
struct AnkiFieldMapping {
    std::size_t question = 0;
    std::size_t answer = 1;

    bool operator==(const AnkiFieldMapping&) const = default;
};

// Where a note's tags go.
enum class AnkiTags : uint8_t {
    AddInfo,  // joined by blanks into the additional information
    Lesson,   // the first tag is the lesson (a package this program wrote keeps lessons so)
    LeftOut,
};

struct AnkiImportChoices {
    std::map<int64_t, AnkiFieldMapping> fields;  // by note type id; missing: first and second
    std::map<int64_t, std::string> lessons;      // by deck id; missing: ankiLessonName
    AnkiTags tags = AnkiTags::AddInfo;
    // What a line break inside a field becomes, the text staying on one line.
    std::string lineSeparator = " / ";

    bool operator==(const AnkiImportChoices&) const = default;
};

// An Anki package read for import: the package, the card each note gives its deck and
// state from, and the choices.
struct AnkiImport {
    AnkiPackage package;
    AnkiImportChoices choices;
    int32_t maxLevel = 5;
    // For each note, the index into package.cards of its first card (-1: none).
    std::vector<int64_t> noteCard;
    // How many of the notes refer to pictures or sounds, and how many references there are.
    std::size_t notesWithMedia = 0;
    std::size_t mediaReferences = 0;

    // The deck a note's first card lives in (0 when it has none).
    int64_t deckOf(std::size_t note) const;
    const AnkiCard* cardOf(std::size_t note) const;
    AnkiFieldMapping mappingOf(int64_t noteTypeId) const;
    // The lesson the deck's notes get, before it is cut to the lesson's limit.
    std::string lessonOf(int64_t deckId) const;
    // The lesson of a note: its deck's, or its first tag when the tags are lessons.
    std::string lessonOfNote(std::size_t note) const;
};

AnkiImport makeAnkiImport(AnkiPackage package, int32_t maxLevel);

// The lesson a deck gives unless the user names it: its last level ("Verbs" for
// "Spanish::Verbs"), since the levels above are mostly the language the whole list is in.
std::string ankiLessonName(const AnkiDeck& deck);

// The card a note becomes, with the line being the note's place in the package (1-based).
CardCandidate ankiCandidateAt(const AnkiImport& anki, std::size_t note);

// The level a card's Anki state gives: new 0, learning and relearning 1, a review card by
// its interval, one level more for each doubling of it (1 day 1, 2 days 2, 4 days 3,
// 8 days 4, ...), up to `maxLevel`.
int32_t ankiLevelOf(const AnkiCard& card, int32_t maxLevel);

// The FSRS parameters to offer the user: those of the options group of the deck that holds
// the most notes among the decks whose options carry parameters; none when no deck's do.
const AnkiDeckConfig* ankiFsrsOffer(const AnkiImport& anki);

// One answer of Anki's review log as Kartomatrix keeps it.
struct AnkiReviewRecord {
    int64_t cardId = 0;  // Anki's card id
    int64_t timeMs = 0;
    int32_t rating = 3;  // 1 again .. 4 easy
    int32_t durationMs = 0;

    bool operator==(const AnkiReviewRecord&) const = default;
};

// The answers of the review log in time order: the manual changes and reschedulings
// (type 4 and 5, or ease 0) are no answers and are left out, as are reviews with an ease
// outside 1..4.
std::vector<AnkiReviewRecord> ankiReviewRecords(const AnkiPackage& package);

// The memory state an imported card goes on from: the one Anki kept for it (when FSRS was
// on there), else the one its answers give; none for a card never answered. `reviews` are
// the card's own, in time order.
std::optional<CardMemory> ankiCardMemory(const AnkiCard& card,
                                         std::span<const AnkiReviewRecord> reviews,
                                         const Fsrs& fsrs);

// The kind an answer given in Anki has in the review history (ReviewEntry::kind), apart
// from the examinations' own kinds.
inline constexpr uint8_t kAnkiReviewKind = 200;

// The FSRS-6 weights an options group's parameters give: 21 as they are, FSRS-5's 19 and
// FSRS-4.5's 17 converted as fsrs-rs converts them (the same-day terms and the decay FSRS-5
// had fixed are added; FSRS-4.5's difficulty terms are moved to FSRS-5's formula); none
// for any other count or a value that is no finite number.
std::optional<FsrsWeights> ankiFsrsWeights(std::span<const float> parameters);

// What an imported card brings into the review history: its answers (entry.card unset,
// kind kAnkiReviewKind, direction 0) and the memory state it goes on from, none for a card
// never answered.
struct AnkiCardHistory {
    std::vector<ReviewEntry> reviews;
    std::optional<StoredCardState> state;
};

// The history of `card` from its own answers (`reviews`, in time order). The card falls due
// when Anki had it due (review cards by their day, counted from the collection's day zero;
// learning cards by their time); when Anki's due is unusable, or before the last answer,
// the desired retention of `parameters` decides as for an answer given here.
AnkiCardHistory ankiCardHistory(const AnkiPackage& package, const AnkiCard& card,
                                std::span<const AnkiReviewRecord> reviews,
                                const FsrsParameters& parameters);
