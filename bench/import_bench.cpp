// Timings of the import of vocabulary text and KVTML: kartomatrix-bench import-text |
// import-kvtml. What counts for the import preview is the time from the file's bytes in
// memory to the counts of the whole file plus the first rows shown.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_command.h"
#include "core/import_pipeline.h"
#include "core/kvtml_file.h"
#include "core/string_sink.h"

namespace {

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
    std::string name = args[0];
    if (args[0] == "generate") {
        if (args.size() != 2)
            return 2;
        bytes = generateText(std::atol(args[1].c_str()));
        name = "generated.csv";
    } else {
        std::ifstream in(args[0], std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::size_t size = bytes.size();
    const Clock::time_point start = Clock::now();
    const ImportReadResult read = readImportSource(std::move(bytes), name, {});
    const double readMs = msSince(start);
    if (!read.source || read.source->kind() != ImportKind::Text)
        return 1;
    const ImportSource& source = *read.source;
    const Clock::time_point step = Clock::now();
    std::vector<ImportRow> preview;
    for (std::size_t i = 0; i < std::min<std::size_t>(50, source.rowCount()); ++i)
        preview.push_back(source.row(i));
    const double previewMs = msSince(step);
    const ImportCounts& counts = source.counts();
    std::printf(
        "import-text bytes=%zu rows=%zu taken=%zu changed=%zu separator=%u "
        "read_and_count_ms=%.1f preview50_ms=%.2f total_ms=%.1f peak_rss_kb=%ld\n",
        size, counts.rows, counts.taken, counts.changed,
        static_cast<unsigned>(source.text().separator), readMs, previewMs, msSince(start),
        peakRssKb());
    return 0;
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
    const std::size_t size = sink.bytes().size();
    start = Clock::now();
    const ImportReadResult read = readImportSource(sink.bytes(), "generated.kvtml", {});
    const double readMs = msSince(start);
    const std::size_t taken = read.source ? read.source->counts().taken : 0;
    std::printf(
        "import-kvtml cards=%ld bytes=%zu write_ms=%.1f read_ms=%.1f taken=%zu "
        "peak_rss_kb=%ld\n",
        n, size, writeMs, readMs, taken, peakRssKb());
    return written && taken == cards.size() ? 0 : 1;
}

const BenchCommand importTextCommand{"import-text", "FILE | generate ROWS", runImportText};
const BenchCommand importKvtmlCommand{"import-kvtml", "CARDS", runImportKvtml};

}  // namespace
