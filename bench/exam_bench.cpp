// kartomatrix-bench exam KIND FILE ANSWERS
// kartomatrix-bench exam-list N FILE
//
// Times the start of an examination and every answer after it (answer, next card)
// over a list. FILE is a list file, or "mem:N" to build N cards in memory; exam-list
// writes those N cards as a list file, for timing with the file reader in front. The
// source list of the kind is given every card of the list (the selections included, and
// the known list for the known-words kind). Every third answer is wrong, the others are
// typed exactly as stored. The in-order kinds give half of the answers at the start of
// the list and half at its end, where walking the slots costs the most.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <time.h>

#include "bench/bench_command.h"
#include "core/answer_check.h"
#include "core/answer_recording.h"
#include "core/card_store.h"
#include "core/font_debug_log.h"
#include "core/host.h"
#include "core/list_file_reader.h"
#include "core/list_file_writer.h"
#include "core/list_ops.h"
#include "core/orders.h"
#include "core/preferences.h"
#include "core/random_source.h"
#include "core/statistics.h"

namespace {

// Wall time and the thread's own processor time: on a busy machine the wall time of a
// short step also holds the time other processes ran, the processor time does not.
struct Stamp {
    double wallMs;
    double cpuMs;
};

Stamp now() {
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    const auto wall = std::chrono::steady_clock::now().time_since_epoch();
    return {std::chrono::duration<double, std::milli>(wall).count(),
            static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6};
}

struct Figures {
    Stamp total{0, 0};
    Stamp max{0, 0};
    long count = 0;
    void add(const Stamp& from, const Stamp& to) {
        const Stamp d{to.wallMs - from.wallMs, to.cpuMs - from.cpuMs};
        total.wallMs += d.wallMs;
        total.cpuMs += d.cpuMs;
        max.wallMs = std::max(max.wallMs, d.wallMs);
        max.cpuMs = std::max(max.cpuMs, d.cpuMs);
        ++count;
    }
    Stamp mean() const {
        const double n = count ? static_cast<double>(count) : 1.0;
        return {total.wallMs / n, total.cpuMs / n};
    }
};

class EngineRandom : public RandomSource {
public:
    int next() override { return distribution_(engine_); }

private:
    std::mt19937 engine_{20240601u};
    std::uniform_int_distribution<int> distribution_{0, kMax};
};

// Answers "Known Cards" and counts what would have been shown.
class QuietHost : public Host {
public:
    void showError(int) override { ++messages; }
    void showNotice(int) override { ++messages; }
    void showErrorText(std::string_view) override { ++messages; }
    [[noreturn]] void fatalError(int messageId) override {
        std::fprintf(stderr, "fatal error %d\n", messageId);
        std::exit(8);
    }
    KnownCardChoice askKnownCard(const Card&) override {
        ++knownQuestions;
        return KnownCardChoice::Known;
    }
    bool fontUsable(const LogFont&) override { return true; }
    LogFont chooseFont(const LogFont& preset) override { return preset; }

    int messages = 0;
    int knownQuestions = 0;
};

struct KindName {
    const char* name;
    ExaminationKind kind;
};
const KindName kKinds[] = {
    {"in-order", ExaminationKind::InOrder},
    {"wrong-words", ExaminationKind::WrongWords},
    {"level", ExaminationKind::Level},
    {"lesson-in-order", ExaminationKind::LessonInOrder},
    {"known-words", ExaminationKind::KnownWords},
    {"random", ExaminationKind::Random},
    {"lesson-random", ExaminationKind::LessonRandom},
    {"systematic", ExaminationKind::Systematic},
    {"lesson-systematic", ExaminationKind::LessonSystematic},
};

bool buildInMemory(CardStore& store, long count) {
    if (count <= 0)
        return false;
    char question[32];
    char answer[48];
    char lesson[12];
    for (long i = 0; i < count; ++i) {
        std::snprintf(question, sizeof question, "word %ld", i);
        std::snprintf(answer, sizeof answer, "meaning %ld, sense %ld", i, i % 97);
        std::snprintf(lesson, sizeof lesson, "L%ld", i % 40);
        Card& card = addCard(store, store.unknownList, question, answer, lesson, "-");
        card.level = static_cast<int32_t>((i * 7) % 5);
    }
    return true;
}

bool loadList(CardStore& store, const std::string& file) {
    if (file.rfind("mem:", 0) == 0)
        return buildInMemory(store, std::atol(file.c_str() + 4));
    LogFont questionFont;
    LogFont answerFont;
    QuietHost host;
    const DocumentInfo info =
        readListFile(file, store, store.unknownList, questionFont, answerFont, host);
    if (info.status != 0) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    // The known cards of a saved list are examined like the others.
    appendAll(store.unknownList, store.knownList);
    clearList(store.knownList);
    return true;
}

int runMakeList(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: exam-list N FILE\n");
        return 2;
    }
    CardStore store;
    if (!buildInMemory(store, std::atol(args[0].c_str())))
        return 2;
    QuietHost host;
    FontDebugLog log(host, "/dev/null");
    const DocumentInfo info = writeListFile(args[1], store, LogFont{}, LogFont{}, log, host);
    if (info.status != 0) {
        std::fprintf(stderr, "cannot write %s\n", args[1].c_str());
        return 1;
    }
    std::printf("%d cards written to %s\n", info.unknownCount, args[1].c_str());
    return 0;
}

// Puts every card of the document into the kind's source list.
void prepareSource(CardStore& store, ExaminationKind kind) {
    CardList& source = sourceListOf(kind, store);
    if (&source == &store.unknownList)
        return;
    source.assign(store.unknownList.cards());
    if (kind == ExaminationKind::KnownWords)
        store.unknownList.clear();
}

int runKind(const KindName& kind, const std::string& file, long answers) {
    CardStore store;
    const Stamp loadStart = now();
    if (!loadList(store, file))
        return 1;
    const double loadMs = now().wallMs - loadStart.wallMs;
    prepareSource(store, kind.kind);
    const int cards = sourceListOf(kind.kind, store).count();

    Preferences preferences;
    EngineRandom random;
    RecentDraws recent;
    QuietHost host;
    const ExaminationEnvironment env{store, preferences, random, recent, host};
    ExaminationState state;

    Figures start;
    const Stamp s0 = now();
    const bool started = startExamination(state, kind.kind, env);
    start.add(s0, now());
    if (!started || state.currentCard == nullptr) {
        std::printf("%-18s %8d cards: ended at start\n", kind.name, cards);
        return 1;
    }

    const bool inOrder = orderOf(kind.kind) == ExaminationOrder::InOrderWalk;
    // Whole answers, and their two parts: the answer step (judging and recording), the
    // next card.
    Figures total;
    Figures answer;
    Figures next;
    long given = 0;
    for (; given < answers && state.currentCard != nullptr; ++given) {
        if (inOrder && given == answers / 2) {
            // Jump to the last answers/2 slots without answering.
            while (state.currentCard != nullptr && state.position < cards - (answers - given)) {
                nextCard(state, env);
            }
            if (state.currentCard == nullptr)
                break;
        }
        Card& card = *state.currentCard;
        const std::string typed =
            given % 3 != 2 ? std::string(card.answer()) : std::string("wrong");
        const Stamp t0 = now();
        answerCard(state, {typed, {}}, env);
        const Stamp t1 = now();
        nextCard(state, env);
        const Stamp t2 = now();
        answer.add(t0, t1);
        next.add(t1, t2);
        total.add(t0, t2);
    }
    // Times in ms as wall/processor.
    std::printf(
        "%-17s %7d cards  load %6.0f  start %6.1f/%6.1f  %5ld answers: mean %.3f/%.3f"
        "  max %6.3f/%6.3f  (max processor: answer %.3f next %.3f)"
        "  known questions %d\n",
        kind.name, cards, loadMs, start.max.wallMs, start.max.cpuMs, given, total.mean().wallMs,
        total.mean().cpuMs, total.max.wallMs, total.max.cpuMs, answer.max.cpuMs, next.max.cpuMs,
        host.knownQuestions);
    return 0;
}

int runExam(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: exam KIND|all FILE|mem:N ANSWERS\n");
        return 2;
    }
    const long answers = std::atol(args[2].c_str());
    int status = 0;
    bool known = false;
    for (const KindName& kind : kKinds) {
        if (args[0] != "all" && args[0] != kind.name)
            continue;
        known = true;
        status |= runKind(kind, args[1], answers);
    }
    if (!known) {
        std::fprintf(stderr, "kinds:");
        for (const KindName& kind : kKinds)
            std::fprintf(stderr, " %s", kind.name);
        std::fprintf(stderr, " all\n");
        return 2;
    }
    return status;
}

// The statistics window works its figures out again every second while it is open.
int runStatistics(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: statistics FILE|mem:N\n");
        return 2;
    }
    CardStore store;
    if (!loadList(store, args[0]))
        return 1;
    constexpr int kRuns = 20;
    double worst = 0;
    double total = 0;
    for (int i = 0; i < kRuns; ++i) {
        const Stamp t0 = now();
        const StatisticsFigures figures = computeStatistics(store, 5, {0, 60000});
        const double ms = now().wallMs - t0.wallMs;
        worst = std::max(worst, ms);
        total += ms;
        if (figures.numberOfCards < 0)
            return 1;
    }
    std::printf("statistics cards=%d mean_ms=%.2f worst_ms=%.2f\n", store.unknownList.count(),
                total / kRuns, worst);
    return 0;
}

BenchCommand exam{"exam", "KIND|all FILE|mem:N ANSWERS", runExam};
BenchCommand statistics{"statistics", "FILE|mem:N", runStatistics};
BenchCommand examList{"exam-list", "N FILE", runMakeList};

}  // namespace
