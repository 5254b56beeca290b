// Timings of the import of vocabulary text and KVTML: kartomatrix-bench import-text |
// import-kvtml. What counts for the import preview is the time from the file's bytes in
// memory to the first rows shown plus the counts of the whole file.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_command.h"
#include "core/kvtml_file.h"
#include "core/string_sink.h"
#include "core/text_import.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A spreadsheet's semicolon export: umlauts, commas in the answers, now and then a quoted
// field with a semicolon inside, a lesson column.
std::string generateText(long rows) {
    static const char* const words[] = {"Haus",
                                        "B\xC3\xA4ume",
                                        "gehen",
                                        "sch\xC3\xB6n",
                                        "Stra\xC3\x9F"
                                        "e",
                                        "Tisch",
                                        "laufen",
                                        "gro\xC3\x9F"};
    std::string out = "Frage;Antwort;Lektion\n";
    uint64_t state = 0x9E3779B97F4A7C15ull;
    for (long i = 0; i < rows; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        out += words[state % 8];
        out += ' ';
        out += std::to_string(i);
        out += ';';
        if (state % 7 == 0)
            out += "\"house; home, building\"";
        else
            out += "house, home";
        out += ";L";
        out += std::to_string(state % 40);
        out += '\n';
    }
    return out;
}

int runImportText(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2)
        return 2;
    std::string bytes;
    if (args[0] == "generate") {
        if (args.size() != 2)
            return 2;
        bytes = generateText(std::atol(args[1].c_str()));
    } else {
        std::ifstream in(args[0], std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const Clock::time_point start = Clock::now();
    const TextImport import = importText(bytes);
    const double parseMs = msSince(start);
    const ColumnMapping mapping = suggestMapping(import);
    Clock::time_point step = Clock::now();
    const std::vector<CardCandidate> preview = candidates(import, mapping, 0, 50);
    const double previewMs = msSince(step);
    step = Clock::now();
    const ImportCounts counts = countCandidates(import, mapping);
    const double countMs = msSince(step);
    std::printf(
        "import-text bytes=%zu rows=%zu taken=%zu with_problems=%zu separator=%u "
        "parse_ms=%.1f preview50_ms=%.2f count_ms=%.1f total_ms=%.1f peak_rss_kb=%ld\n",
        bytes.size(), counts.candidates, counts.taken, counts.withProblems,
        static_cast<unsigned>(import.separator), parseMs, previewMs, countMs, msSince(start),
        peakRssKb());
    return preview.empty() && counts.candidates > 0 ? 1 : 0;
}

int runImportKvtml(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return 2;
    const long n = std::atol(args[0].c_str());
    std::vector<CardRecord> cards;
    cards.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) {
        cards.push_back({"Frage " + std::to_string(i), "answer, reply " + std::to_string(i),
                         "L" + std::to_string(i % 40), i % 8 == 0 ? "note" : "-",
                         static_cast<int32_t>(i % 6)});
    }
    StringSink sink;
    Clock::time_point start = Clock::now();
    const bool written = writeKvtml(sink, cards, {});
    const double writeMs = msSince(start);
    start = Clock::now();
    const KvtmlImport import = readKvtml(sink.bytes(), 5);
    const double readMs = msSince(start);
    std::printf(
        "import-kvtml cards=%ld bytes=%zu write_ms=%.1f read_ms=%.1f taken=%zu "
        "peak_rss_kb=%ld\n",
        n, sink.bytes().size(), writeMs, readMs, import.takenCount(), peakRssKb());
    return written && import.takenCount() == cards.size() ? 0 : 1;
}

const BenchCommand importTextCommand{"import-text", "FILE | generate ROWS", runImportText};
const BenchCommand importKvtmlCommand{"import-kvtml", "CARDS", runImportKvtml};

}  // namespace
