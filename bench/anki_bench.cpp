// Timings of Anki packages: kartomatrix-bench anki-make FILE NOTES writes a package of that
// many notes (three reviews each, a third of them with an FSRS state), anki-read FILE reads
// it through the import as the preview does, and then makes every card the import takes. Run the
// reading in a process of its own so that its peak memory is the reader's alone; it is set
// beside the size of the unpacked collection.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_command.h"
#include "core/anki_package.h"
#include "core/html_text.h"
#include "core/import_pipeline.h"

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

int runRead(const std::vector<std::string>& args) {
    if (args.size() != 1)
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
    return 0;
}

const BenchCommand make{"anki-make", "FILE NOTES", runMake};
const BenchCommand read{"anki-read", "FILE", runRead};

}  // namespace
