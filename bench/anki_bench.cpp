// Timings of Anki packages: kartomatrix-bench anki-make FILE NOTES writes a package of that
// many notes (three reviews each, a third of them with an FSRS state), anki-read FILE reads
// it through the import as the preview does, and then makes every card the import takes; given
// a list file as well, it then brings every card's answers and memory state into that list's
// review history as the import does (notes looked up by guid, one transaction). Run the
// reading in a process of its own so that its peak memory is the reader's alone; it is set
// beside the size of the unpacked collection.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/bench_command.h"
#include "core/anki_import.h"
#include "core/anki_package.h"
#include "core/html_text.h"
#include "core/import_pipeline.h"
#include "core/review_history.h"

namespace {

int runMake(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return 2;
    const long notes = std::atol(args[1].c_str());
    AnkiExport out;
    out.deckName = "Bench";
    out.nowSeconds = 1700000000;
    out.fsrsParameters.assign(21, 0.5f);
    for (long i = 0; i < notes; ++i) {
        AnkiExportCard card{
            "Stra\xC3\x9F"
            "e " +
                std::to_string(i),
            "street, road <" + std::to_string(i * 7) + "> & lane",
            "L" + std::to_string(i % 40),
            "bench#" + std::to_string(i),
            "",
            std::nullopt};
        if (i % 3 == 0)
            card.state = AnkiExportState{2, 2, 30, 12, 2500, 3, 0, AnkiMemoryState{12.f, 5.f}};
        out.cards.push_back(std::move(card));
        for (int r = 0; r < 3; ++r)
            out.reviews.push_back({static_cast<std::size_t>(i),
                                   1690000000000 + i * 1000 + r * 86400000, 3, r + 1, r, 2500, 4000,
                                   1});
    }
    const double cpuBefore = cpuMs();
    const Clock::time_point start = Clock::now();
    const AnkiWriteResult result = writeAnkiPackage(args[0], out);
    std::printf("wrote %ld notes in %.0f ms (processor %.0f ms)%s%s\n", notes, msSince(start),
                cpuMs() - cpuBefore, result.ok() ? "" : ": ", result.detail.c_str());
    return result.ok() ? 0 : 1;
}

// The import's part in the review history: what importIntoList does apart from the windows.
double importHistory(const ImportSource& source, const std::string& listPath, int64_t& added) {
    const Clock::time_point start = Clock::now();
    ReviewHistory history;
    if (!history.open(listPath, 1700000000000).hasHistory())
        return -1;
    const AnkiImport& anki = source.anki();
    std::vector<AnkiReviewRecord> records = ankiReviewRecords(anki.package);
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.cardId < b.cardId; });
    std::unordered_map<int64_t, std::span<const AnkiReviewRecord>> reviewsOf;
    for (std::size_t i = 0, end = 0; i < records.size(); i = end) {
        for (end = i; end < records.size() && records[end].cardId == records[i].cardId;)
            ++end;
        reviewsOf.emplace(records[i].cardId, std::span(records.data() + i, end - i));
    }
    std::vector<CardRecord> made;
    std::vector<std::size_t> notes;
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 0; i < source.rowCount(); ++i) {
        ImportRow row = source.row(i);
        if (!row.taken())
            continue;
        const std::string key = "anki-note:" + anki.package.notes[i].guid;
        if (history.value(key))
            continue;
        values.emplace_back(key, std::to_string(made.size() + 1) + '\n' +
                                     row.candidate.card.question + '\n' +
                                     row.candidate.card.answer);
        made.push_back(std::move(row.candidate.card));
        notes.push_back(i);
    }
    std::vector<ImportedCardHistory> cards(made.size());
    for (std::size_t c = 0; c < made.size(); ++c) {
        cards[c].text = {static_cast<int32_t>(c + 1), made[c].question, made[c].answer};
        if (const AnkiCard* card = anki.cardOf(notes[c])) {
            const auto found = reviewsOf.find(card->id);
            AnkiCardHistory from = ankiCardHistory(
                anki.package, *card,
                found == reviewsOf.end() ? std::span<const AnkiReviewRecord>() : found->second, {});
            cards[c].reviews = std::move(from.reviews);
            cards[c].state = from.state;
        }
    }
    added = history.importReviews(cards, values);
    return msSince(start);
}

int runRead(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2)
        return 2;
    const long before = peakRssKb();
    const double cpuBefore = cpuMs();
    const Clock::time_point start = Clock::now();
    const ImportReadResult read = readImportSource(args[0], {});
    const double previewMs = msSince(start);
    const double previewCpuMs = cpuMs() - cpuBefore;
    if (!read.source) {
        std::fprintf(stderr, "refused: %s\n", read.refusal.detail.c_str());
        return 1;
    }
    std::size_t taken = 0, characters = 0;
    read.source->forEachTakenCard([&](const CardRecord& card) {
        ++taken;
        characters += card.question.size() + card.answer.size();
    });
    const double importMs = msSince(start);
    const double importCpuMs = cpuMs() - cpuBefore;
    const long peak = peakRssKb();
    const AnkiPackage& package = read.source->anki().package;
    std::printf("notes %zu (taken %zu), cards %zu, reviews %zu, text bytes %zu\n",
                package.notes.size(), taken, package.cards.size(), package.revlog.size(),
                characters);
    const double unpacked = static_cast<double>(package.collectionBytes);
    std::printf("collection unpacked %.1f MiB\n", unpacked / 1048576.0);
    std::printf(
        "preview (read and counted) %.0f ms (processor %.0f ms), import (preview + every "
        "card made) %.0f ms (processor %.0f ms)\n",
        previewMs, previewCpuMs, importMs, importCpuMs);
    std::printf("peak memory %.1f MiB (%.1f MiB before reading): %.2f x the unpacked collection\n",
                peak / 1024.0, before / 1024.0, peak * 1024.0 / unpacked);
    if (args.size() == 2) {
        int64_t added = 0;
        const double cpuHistory = cpuMs();
        const double historyMs = importHistory(*read.source, args[1], added);
        std::printf(
            "review history: %lld answers added in %.0f ms (processor %.0f ms); import "
            "with history %.0f ms; peak memory now %.1f MiB\n",
            static_cast<long long>(added), historyMs, cpuMs() - cpuHistory, importMs + historyMs,
            peakRssKb() / 1024.0);
    }
    return 0;
}

const BenchCommand make{"anki-make", "FILE NOTES", runMake};
const BenchCommand read{"anki-read", "FILE [LIST]", runRead};

}  // namespace
