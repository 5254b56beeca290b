#include "core/anki_import.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <unordered_map>

#include "core/html_text.h"

AnkiImport makeAnkiImport(AnkiPackage package, int32_t maxLevel) {
    AnkiImport anki;
    anki.package = std::move(package);
    anki.maxLevel = maxLevel;
    const AnkiPackage& p = anki.package;
    std::unordered_map<int64_t, std::size_t> noteIndex;
    noteIndex.reserve(p.notes.size());
    for (std::size_t i = 0; i < p.notes.size(); ++i)
        noteIndex.emplace(p.notes[i].id, i);
    anki.noteCard.assign(p.notes.size(), -1);
    for (std::size_t c = 0; c < p.cards.size(); ++c) {
        const auto found = noteIndex.find(p.cards[c].noteId);
        if (found == noteIndex.end())
            continue;
        int64_t& first = anki.noteCard[found->second];
        if (first < 0 || p.cards[c].ordinal < p.cards[static_cast<std::size_t>(first)].ordinal)
            first = static_cast<int64_t>(c);
    }
    for (const AnkiNote& note : p.notes) {
        std::size_t references = 0;
        for (const std::string& field : note.fields)
            references += countMediaReferences(field);
        anki.mediaReferences += references;
        anki.notesWithMedia += references > 0 ? 1 : 0;
    }
    return anki;
}

const AnkiCard* AnkiImport::cardOf(std::size_t note) const {
    const int64_t c = noteCard[note];
    return c < 0 ? nullptr : &package.cards[static_cast<std::size_t>(c)];
}

int64_t AnkiImport::deckOf(std::size_t note) const {
    const AnkiCard* card = cardOf(note);
    return card ? card->deckId : 0;
}

AnkiFieldMapping AnkiImport::mappingOf(int64_t noteTypeId) const {
    const auto found = choices.fields.find(noteTypeId);
    return found == choices.fields.end() ? AnkiFieldMapping{} : found->second;
}

std::string AnkiImport::lessonOf(int64_t deckId) const {
    const auto named = choices.lessons.find(deckId);
    if (named != choices.lessons.end())
        return named->second;
    const AnkiDeck* deck = package.deck(deckId);
    return deck ? ankiLessonName(*deck) : std::string();
}

std::string AnkiImport::lessonOfNote(std::size_t index) const {
    const AnkiNote& note = package.notes[index];
    if (choices.tags == AnkiTags::Lesson && !note.tags.empty())
        return note.tags.front();
    return lessonOf(deckOf(index));
}

std::string ankiLessonName(const AnkiDeck& deck) {
    const std::size_t last = deck.name.rfind("::");
    return last == std::string::npos ? deck.name : deck.name.substr(last + 2);
}

CardCandidate ankiCandidateAt(const AnkiImport& anki, std::size_t index) {
    const AnkiNote& note = anki.package.notes[index];
    CardCandidate candidate;
    candidate.line = index + 1;
    switch (judgeAnkiNote(anki.package, note)) {
        case AnkiNoteVerdict::Usable:
            break;
        case AnkiNoteVerdict::Cloze:
            candidate.problems.emplace_back(ImportProblemKind::ClozeNote);
            break;
        case AnkiNoteVerdict::OneField:
            candidate.problems.emplace_back(ImportProblemKind::OneUsableField);
            break;
        case AnkiNoteVerdict::UnknownNoteType:
            candidate.problems.emplace_back(ImportProblemKind::UnknownNoteType);
            break;
    }
    const AnkiFieldMapping mapping = anki.mappingOf(note.noteTypeId);
    const auto field = [&](std::size_t i) {
        return i < note.fields.size() ? htmlToText(note.fields[i], anki.choices.lineSeparator)
                                      : std::string();
    };
    CardRecord& card = candidate.card;
    card.question = fitCardText(field(mapping.question), CardField::Question, candidate);
    card.answer = fitCardText(field(mapping.answer), CardField::Answer, candidate);
    card.lesson = fitCardText(anki.lessonOfNote(index), CardField::Lesson, candidate);
    if (anki.choices.tags == AnkiTags::AddInfo) {
        std::string tags;
        for (const std::string& tag : note.tags)
            tags += (tags.empty() ? "" : " ") + tag;
        card.addInfo = fitCardText(tags, CardField::AddInfo, candidate);
    }
    if (card.question.empty() && candidate.taken())
        candidate.problems.emplace(candidate.problems.begin(), ImportProblemKind::EmptyQuestion);
    if (const AnkiCard* ankiCard = anki.cardOf(index))
        card.level = ankiLevelOf(*ankiCard, anki.maxLevel);
    std::size_t media = 0;
    for (const std::string& text : note.fields)
        media += countMediaReferences(text);
    if (media > 0)
        candidate.problems.emplace_back(ImportProblemKind::MediaLeftOut, CardField::Question,
                                        std::string(), media);
    return candidate;
}

int32_t ankiLevelOf(const AnkiCard& card, int32_t maxLevel) {
    switch (static_cast<AnkiCardType>(card.type)) {
        case AnkiCardType::New:
            return 0;
        case AnkiCardType::Learning:
        case AnkiCardType::Relearning:
            return std::min(1, maxLevel);
        case AnkiCardType::Review:
            break;
        default:
            return 0;
    }
    const auto days = static_cast<uint32_t>(std::max(1, card.interval));
    return std::min(static_cast<int32_t>(std::bit_width(days)), maxLevel);
}

const AnkiDeckConfig* ankiFsrsOffer(const AnkiImport& anki) {
    std::unordered_map<int64_t, std::size_t> notesOfConfig;
    for (std::size_t i = 0; i < anki.package.notes.size(); ++i) {
        const AnkiDeck* deck = anki.package.deck(anki.deckOf(i));
        const AnkiDeckConfig* config = deck ? anki.package.deckConfig(deck->configId) : nullptr;
        if (config != nullptr && !config->fsrsParameters.empty())
            ++notesOfConfig[config->id];
    }
    const AnkiDeckConfig* best = nullptr;
    std::size_t most = 0;
    for (const auto& [id, count] : notesOfConfig) {
        if (count > most || (count == most && best != nullptr && id < best->id)) {
            best = anki.package.deckConfig(id);
            most = count;
        }
    }
    return best;
}

std::vector<AnkiReviewRecord> ankiReviewRecords(const AnkiPackage& package) {
    std::vector<AnkiReviewRecord> records;
    records.reserve(package.revlog.size());
    for (const AnkiReview& review : package.revlog) {
        if (review.type == 4 || review.type == 5 || review.ease < 1 || review.ease > 4)
            continue;
        records.push_back({review.cardId, review.id, review.ease, std::max(0, review.takenMs)});
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.timeMs < b.timeMs; });
    return records;
}

std::optional<CardMemory> ankiCardMemory(const AnkiCard& card,
                                         std::span<const AnkiReviewRecord> reviews,
                                         const Fsrs& fsrs) {
    if (reviews.empty())
        return std::nullopt;
    CardMemory memory;
    memory.lastReviewMs = reviews.back().timeMs;
    if (card.memory && card.memory->stability > 0) {
        memory.stability = card.memory->stability;
        memory.difficulty = card.memory->difficulty;
        return memory;
    }
    std::vector<Review> answers;
    answers.reserve(reviews.size());
    for (const AnkiReviewRecord& r : reviews)
        answers.push_back({r.timeMs, static_cast<Rating>(r.rating)});
    const std::optional<MemoryState> state = fsrs.memoryState(answers);
    if (!state)
        return std::nullopt;
    memory.stability = state->stability;
    memory.difficulty = state->difficulty;
    return memory;
}

std::optional<FsrsWeights> ankiFsrsWeights(std::span<const float> parameters) {
    std::vector<double> w(parameters.begin(), parameters.end());
    if (w.size() == 17) {
        w[4] = w[5] * 2 + w[4];
        w[5] = std::log(w[5] * 3 + 1) / 3;
        w[6] += 0.5;
        w.insert(w.end(), {0, 0});
    }
    if (w.size() == 19)
        w.insert(w.end(), {0, 0.5});
    if (w.size() != FsrsWeights{}.size() ||
        !std::all_of(w.begin(), w.end(), [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    FsrsWeights weights{};
    std::copy(w.begin(), w.end(), weights.begin());
    return weights;
}

AnkiCardHistory ankiCardHistory(const AnkiPackage& package, const AnkiCard& card,
                                std::span<const AnkiReviewRecord> reviews,
                                const FsrsParameters& parameters) {
    constexpr int64_t kDayMs = 24LL * 60 * 60 * 1000;
    AnkiCardHistory history;
    history.reviews.reserve(reviews.size());
    for (const AnkiReviewRecord& r : reviews) {
        ReviewEntry entry;
        entry.timeMs = r.timeMs;
        entry.rating = static_cast<Rating>(r.rating);
        entry.durationMs = r.durationMs;
        entry.kind = kAnkiReviewKind;
        history.reviews.push_back(entry);
    }
    const Fsrs fsrs(parameters);
    const std::optional<CardMemory> memory = ankiCardMemory(card, reviews, fsrs);
    if (!memory)
        return history;
    StoredCardState state;
    state.stability = std::clamp(memory->stability, Fsrs::kMinStability, Fsrs::kMaxStability);
    state.difficulty = std::clamp(memory->difficulty, Fsrs::kMinDifficulty, Fsrs::kMaxDifficulty);
    state.lastReviewMs = memory->lastReviewMs;
    // Learning cards keep a time in seconds, review cards a day number; a number of the size
    // of a time is one, whatever the card's type says.
    constexpr int64_t kSecondsFrom2001 = 978'307'200;
    std::optional<int64_t> due;
    if (card.type != static_cast<int32_t>(AnkiCardType::New)) {
        if (card.due > kSecondsFrom2001)
            due = card.due * 1000;
        else if (package.createdSeconds > 0 && card.due > 0)
            due = package.createdSeconds * 1000 + card.due * kDayMs;
    }
    if (!due || *due <= state.lastReviewMs) {
        const double interval =
            fsrs.nextInterval(state.stability, fsrs.parameters().desiredRetention);
        due = state.lastReviewMs + int64_t{fsrs.scheduledDays(interval, nullptr)} * kDayMs;
    }
    state.dueMs = *due;
    history.state = state;
    return history;
}
