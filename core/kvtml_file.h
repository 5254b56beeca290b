#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/card_candidate.h"

class ByteSink;

// KVTML 2, the XML vocabulary format of KDE's trainers (Parley, KWordQuiz). A card is an
// entry: its first translation (identifier 0) is the question, its second (identifier 1)
// the answer. The lesson is the name of the lesson container that lists the entry, the
// additional information the comments of the entry and its translations, and the level
// comes from the grade of the answer's translation: the grade a learner has reached when
// asked for that side.

// KVTML grades run from 0 (never asked) to 7 (learned); levels run from 0 to maxLevel,
// where a card counts as known. The scales are stretched onto each other and rounded, so
// that a learned card stays known either way, and for maxLevel up to 7 every level comes
// back unchanged from a round trip. Levels above maxLevel (known cards keep rising) give
// grade 7, negative levels grade 0.
inline constexpr int kKvtmlMaxGrade = 7;
int kvtmlGradeFromLevel(int32_t level, int32_t maxLevel);
int32_t levelFromKvtmlGrade(int grade, int32_t maxLevel);

struct KvtmlImport {
    enum class Status : uint8_t { Read, NotXml, NotKvtml, UnknownEncoding };

    Status status = Status::Read;
    std::string detail;    // the XML parser's account of what is wrong; the encoding's name
    std::size_t line = 0;  // where it is wrong (1-based); 0 when unknown
    std::size_t column = 0;
    std::string title;
    std::string questionLanguage;  // the names of identifiers 0 and 1
    std::string answerLanguage;
    std::vector<CardCandidate> candidates;  // in the order of the entries; line of the entry
};

// Reads a KVTML document, version 2 or the older version 1 (see readVersion1), in UTF-8,
// UTF-16 or any encoding its declaration names that the system can convert. Entities the
// file declares in its own DTD are resolved, and text inside markup within a text is kept.
// Elements the cards have no use for are skipped. A document that is not well-formed XML,
// not KVTML or in an encoding this system cannot convert gives no candidates and says why.
KvtmlImport readKvtml(std::string_view bytes, int32_t maxLevel);

// One line for the user: what is wrong with a file that could not be read.
std::string describeKvtmlFailure(const KvtmlImport& import);

struct KvtmlExportOptions {
    std::string title;
    std::string questionLanguage = "Question";
    std::string answerLanguage = "Answer";
    int32_t maxLevel = 5;
    // When the grades were last practised, as an ISO 8601 date and time; none when empty.
    std::string practiceDate;
};

// The two languages a list's name names, as in "English-German", "Deutsch – Englisch" or
// "french_english": the parts around the one dash or underscore, when there is exactly
// one and neither part is empty or holds a digit ("Unit-3" names no languages).
std::optional<std::pair<std::string, std::string>> languagesInListName(std::string_view name);

// Writes the cards as a KVTML 2 document: two identifiers, one entry a card with the level
// as the answer's grade and the additional information as the question's comment, and one
// lesson container for each lesson text, in the order the lessons first occur. The blank
// "-" of a lesson or additional information is written as no text. A grade above 0 goes
// with a practice count of at least 1, without which KDE's trainers drop the grade on
// their next save. Returns false when the sink failed.
bool writeKvtml(ByteSink& sink, std::span<const CardRecord> cards,
                const KvtmlExportOptions& options);
