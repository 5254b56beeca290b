#pragma once

#include <string>
#include <string_view>
#include <vector>

class Card;
struct Preferences;

// Where a typed answer and the stored answer differ, meaning by meaning, for a window to
// show and a screen reader to read out. All texts are UTF-8.

enum class DiffPart {
    Same,        // in both answers
    TypedOnly,   // typed, but not in the stored answer
    StoredOnly,  // in the stored answer, but not typed
};

struct DiffSegment {
    DiffPart part;
    std::string text;

    bool operator==(const DiffSegment&) const = default;
};

// One typed meaning and the stored meaning it is set against.
struct MeaningDiff {
    enum class Kind {
        Paired,   // a typed meaning against a stored one
        Missing,  // a stored meaning that the rule asks for and nothing typed stands for
        Extra,    // a typed meaning beyond what the stored answer holds
    };
    Kind kind = Kind::Paired;
    std::string typed;   // empty for Missing
    std::string stored;  // empty for Extra
    // The typed text read left to right: the letters it shares with the stored text, and
    // for every difference what was typed (TypedOnly) followed by what is stored there
    // (StoredOnly). Missing holds one StoredOnly segment, Extra one TypedOnly segment (none
    // when the meaning is empty).
    std::vector<DiffSegment> segments;

    bool differs() const;
};

struct AnswerDiff {
    // Typed meanings in typed order, each with its stored meaning or as Extra; then the
    // Missing ones in stored order.
    std::vector<MeaningDiff> meanings;
    // Under strict order: the typed meanings are exactly the stored ones, in another order.
    bool otherOrder = false;
    // The difference in short plain English, e.g. "typed trinkn, stored trinken: missing e
    // after k". Long answers and many changes are summarised.
    std::string description;
};

// Sets the typed answer against the stored one under the order rule of the preferences:
// meaning by position under strict order; otherwise each typed meaning against an equal
// stored meaning, or else against the closest stored meaning not yet taken (edit distance
// in characters). Unmatched stored meanings are Missing unless the rule lets the user
// leave meanings out. Differences of case and accents are shown as differences whatever
// the preferences: they are what the user should look at.
AnswerDiff diffAnswerText(std::string_view typed, std::string_view stored,
                          const Preferences& preferences);
// The same for a card: its stored answer and the typed answer are card text.
AnswerDiff diffAnswer(const Card& card, std::string_view typedCardText,
                      const Preferences& preferences);
