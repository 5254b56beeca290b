// Timings of the list file reader and writer, the sort and the answer operations on large
// lists: kartomatrix-bench generate | load | roundtrip | sort | answers.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_command.h"
#include "core/card_store.h"
#include "core/font_debug_log.h"
#include "core/host.h"
#include "core/list_file_reader.h"
#include "core/list_file_writer.h"
#include "core/list_ops.h"
#include "core/preferences.h"

namespace {

// Answers every question of the core without a person: known cards are moved, fonts are
// usable, and a fatal error ends the run as it would end the program.
class BenchHost : public Host {
public:
    void showError(int id) override { std::fprintf(stderr, "message %d\n", id); }
    void showNotice(int id) override { std::fprintf(stderr, "notice %d\n", id); }
    void showErrorText(std::string_view) override {}
    [[noreturn]] void fatalError(int id) override {
        std::fprintf(stderr, "fatal message %d\n", id);
        std::exit(8);
    }
    KnownCardChoice askKnownCard(const Card&) override { return KnownCardChoice::Known; }
    bool fontUsable(const LogFont&) override { return true; }
    LogFont chooseFont(const LogFont& preset) override { return preset; }
};

// A small fixed-seed generator, so that every run writes the same file.
class Random {
public:
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 11);
    }
    uint32_t below(uint32_t n) { return next() % n; }

private:
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

// A word of letters, now and then with an umlaut.
std::string word(Random& rng, uint32_t minLength, uint32_t maxLength) {
    static const char* const letters[] = {
        "a", "b", "c", "d", "e", "f", "g",        "h",        "i",        "j",       "k",
        "l", "m", "n", "o", "p", "q", "r",        "s",        "t",        "u",       "v",
        "w", "x", "y", "z", "e", "e", "e",        "a",        "a",        "i",       "i",
        "n", "n", "o", "r", "s", "t", "\xC3\xA4", "\xC3\xB6", "\xC3\xBC", "\xC3\x9F"};
    std::string out;
    const uint32_t length = minLength + rng.below(maxLength - minLength + 1);
    for (uint32_t i = 0; i < length; ++i)
        out += letters[rng.below(std::size(letters))];
    return out;
}

std::string phrase(Random& rng, uint32_t words, uint32_t minLength, uint32_t maxLength,
                   const char* separator) {
    std::string out;
    for (uint32_t i = 0; i < words; ++i) {
        if (i != 0)
            out += separator;
        out += word(rng, minLength, maxLength);
    }
    return out;
}

// The same cards every time; with "unicode" as a Unicode list instead of version 2.0.
int runGenerate(const std::vector<std::string>& args) {
    if (args.size() != 2 && !(args.size() == 3 && args[2] == "unicode"))
        return 2;
    const long n = std::atol(args[0].c_str());
    const std::string& path = args[1];
    const ListFileFormat format =
        args.size() == 3 ? ListFileFormat::Unicode : ListFileFormat::Version20;
    BenchHost host;
    CardStore store;
    Random rng;
    for (long i = 0; i < n; ++i) {
        const bool known = rng.below(10) == 0;
        const std::string question = phrase(rng, 1 + rng.below(2), 4, 9, " ");
        const std::string answer = phrase(rng, 1 + rng.below(4), 3, 8, rng.below(2) ? ", " : "; ");
        const std::string lesson =
            rng.below(4) == 0 ? "-" : "L" + std::to_string(1 + rng.below(40));
        const std::string info = rng.below(8) == 0 ? phrase(rng, 2 + rng.below(3), 2, 6, " ") : "-";
        Card& card = addCard(store, known ? store.knownList : store.unknownList, question, answer,
                             lesson, info);
        card.level =
            known ? 5 + static_cast<int32_t>(rng.below(3)) : static_cast<int32_t>(rng.below(5));
    }
    FontDebugLog log(host, "/dev/null");
    const Clock::time_point start = Clock::now();
    const DocumentInfo info = writeListFile(path, store, defaultDocumentFont(),
                                            fallbackDocumentFont(), log, host, {}, format);
    std::printf("generate cards=%ld unknown=%d known=%d status=%d write_ms=%.1f\n", n,
                info.unknownCount, info.knownCount, info.status, msSince(start));
    return info.status;
}

struct Loaded {
    CardStore store;
    LogFont questionFont;
    LogFont answerFont;
    DocumentInfo info;
    double ms = 0;
    double cpu = 0;
};

void load(const std::string& path, Loaded& out, BenchHost& host) {
    const double cpuStart = cpuMs();
    const Clock::time_point start = Clock::now();
    out.info = readListFile(path, out.store, out.store.unknownList, out.questionFont,
                            out.answerFont, host);
    out.ms = msSince(start);
    out.cpu = cpuMs() - cpuStart;
}

int runLoad(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return 2;
    BenchHost host;
    Loaded loaded;
    load(args[0], loaded, host);
    std::printf(
        "load format=\"%s\" status=%d unknown=%d known=%d ms=%.1f cpu_ms=%.1f "
        "peak_rss_kb=%ld\n",
        loaded.info.format.c_str(), loaded.info.status, loaded.info.unknownCount,
        loaded.info.knownCount, loaded.ms, loaded.cpu, peakRssKb());
    return loaded.info.status;
}

int runRoundtrip(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return 2;
    BenchHost host;
    Loaded loaded;
    load(args[0], loaded, host);
    FontDebugLog log(host, "/dev/null");
    const double cpuStart = cpuMs();
    const Clock::time_point start = Clock::now();
    // Saved in the format it was read in, so that the file can be compared with the first.
    const DocumentInfo info =
        writeListFile(args[1], loaded.store, loaded.questionFont, loaded.answerFont, log, host, {},
                      loaded.info.unicode ? ListFileFormat::Unicode : ListFileFormat::Version20);
    const double ms = msSince(start);
    std::printf(
        "roundtrip cards=%d read_ms=%.1f read_cpu_ms=%.1f write_ms=%.1f "
        "write_cpu_ms=%.1f status=%d\n",
        info.unknownCount + info.knownCount, loaded.ms, loaded.cpu, ms, cpuMs() - cpuStart,
        info.status);
    return info.status;
}

int runSort(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return 2;
    const int key = std::atoi(args[1].c_str());
    if (key < 0 || key > 4)
        return 2;
    BenchHost host;
    Loaded loaded;
    load(args[0], loaded, host);
    const int32_t nextIdBefore = loaded.store.nextId;
    const double cpuStart = cpuMs();
    const Clock::time_point start = Clock::now();
    sortList(loaded.store, loaded.store.unknownList, static_cast<SortKey>(key), host);
    const double ms = msSince(start);
    std::printf("sort key=%d cards=%d ms=%.1f cpu_ms=%.1f renumbered=%d\n", key,
                loaded.store.unknownList.count(), ms, cpuMs() - cpuStart,
                loaded.store.nextId - nextIdBefore);
    return 0;
}

// The slowest single answers: cards at the end of the lists, so that every scan runs
// through. With "mostly-known" nine cards in ten are moved to the known list first, which
// makes the known list long.
int runAnswers(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2)
        return 2;
    BenchHost host;
    Loaded loaded;
    load(args[0], loaded, host);
    CardStore& store = loaded.store;
    if (args.size() == 2 && args[1] == "mostly-known") {
        std::vector<Card*> cards = store.unknownList.cards();
        std::vector<Card*> stay;
        for (std::size_t i = 0; i < cards.size(); ++i) {
            if (i % 10 == 0) {
                stay.push_back(cards[i]);
            } else {
                store.knownList.insert(cards[i]);
            }
        }
        store.unknownList.assign(stay);
    }
    Preferences prefs;
    const int rounds = 50;
    double worstRight = 0, worstWrong = 0, totalRight = 0, totalWrong = 0;
    int32_t question = 1;
    for (int i = 0; i < rounds; ++i) {
        Card* card = store.unknownList.nthCard(store.unknownList.count() - 1 - i);
        card->level = prefs.maxLevel - 1;
        store.examiningUnknown = true;
        Clock::time_point start = Clock::now();
        recordRightAnswer(store, *card, question++, prefs, host);  // moves it to the known list
        double ms = msSince(start);
        worstRight = std::max(worstRight, ms);
        totalRight += ms;

        store.examiningUnknown = false;
        start = Clock::now();
        recordWrongAnswer(store, *card, question++);  // and back again
        ms = msSince(start);
        worstWrong = std::max(worstWrong, ms);
        totalWrong += ms;
    }
    std::printf(
        "answers unknown=%d known=%d wrong=%d right_mean_ms=%.3f right_worst_ms=%.3f "
        "wrong_mean_ms=%.3f wrong_worst_ms=%.3f\n",
        store.unknownList.count(), store.knownList.count(), store.wrongList.count(),
        totalRight / rounds, worstRight, totalWrong / rounds, worstWrong);
    return 0;
}

const BenchCommand generateCommand{"generate", "N FILE [unicode]", runGenerate};
const BenchCommand loadCommand{"load", "FILE", runLoad};
const BenchCommand roundtripCommand{"roundtrip", "IN OUT", runRoundtrip};
const BenchCommand sortCommand{"sort", "FILE KEY(0-4)", runSort};
const BenchCommand answersCommand{"answers", "FILE [mostly-known]", runAnswers};

}  // namespace
