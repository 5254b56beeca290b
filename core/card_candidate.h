#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/card.h"

// A card on its way between Kartomatrix and another program: its four texts in UTF-8 and
// its level. Imports make them, the exchange writers take them.
struct CardRecord {
    std::string question;
    std::string answer;
    std::string lesson;
    std::string addInfo;
    int32_t level = 0;
    // How often the card was asked and answered wrong, where known: written for trainers
    // that keep such counts. Imports leave them at 0.
    int32_t timesAsked = 0;
    int32_t timesWrong = 0;

    bool operator==(const CardRecord&) const = default;
};

enum class ImportProblemKind : uint8_t {
    EmptyQuestion,     // the row is not taken
    TooLong,           // the text is cut to its field's limit
    ExtraFields,       // fields beyond the mapped and usual columns are left out
    InvalidBytes,      // bytes that are no character in the file's encoding became U+FFFD
    ControlCharacter,  // line breaks, TABs and other control characters became blanks
    UnclosedQuote,     // a quote that never closes is taken as an ordinary character
    ClozeNote,         // an Anki note hiding parts of one text: not taken
    OneUsableField,    // an Anki note with fewer than two fields holding text: not taken
    UnknownNoteType,   // an Anki note whose note type the package lacks: not taken
    MediaLeftOut,      // pictures or sounds (lostCount of them) that a card cannot hold
};

// What is wrong with one row or entry and what the import does about it.
struct ImportProblem {
    explicit ImportProblem(ImportProblemKind kind) : kind(kind) {}
    ImportProblem(ImportProblemKind kind, CardField field, std::string lost, std::size_t lostCount)
        : kind(kind), field(field), lost(std::move(lost)), lostCount(lostCount) {}

    ImportProblemKind kind;
    CardField field = CardField::Question;  // for TooLong
    // TooLong: the start of the part that is cut away (at most kShownCharacters characters);
    // ExtraFields: the fields left out, joined by " | ", shortened the same way.
    std::string lost;
    std::size_t lostCount = 0;  // TooLong: characters cut away; ExtraFields: fields left out
    // TooLong: characters kept; fewer than the field's limit when the text reached the
    // limit in bytes first (byteCapacityOf).
    std::size_t keptCount = 0;

    static constexpr std::size_t kShownCharacters = 60;
    bool operator==(const ImportProblem&) const = default;
};

// One card an import would make, with the line of the file it comes from (1-based) and
// what was wrong with it. Texts are already cut and cleaned as they would be taken.
struct CardCandidate {
    std::size_t line = 0;
    CardRecord card;
    std::vector<ImportProblem> problems;

    bool taken() const;
    bool has(ImportProblemKind kind) const;
};

// How many characters (letters as a reader counts them) each field holds at most.
std::size_t characterLimit(CardField field);

// Cleans one imported text for a card: line breaks, TABs and other control characters
// become blanks (noted as ControlCharacter), blanks at both ends go, and a text longer
// than the field allows is cut (noted as TooLong with what is lost). Bytes that are not
// UTF-8 become U+FFFD (noted as InvalidBytes).
std::string fitCardText(std::string_view text, CardField field, CardCandidate& candidate);

// The first `count` characters of `text`, with "…" behind them when there were more.
std::string shortened(std::string_view text, std::size_t count);
