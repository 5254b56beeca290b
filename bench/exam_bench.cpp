// kartomatrix-bench exam KIND FILE ANSWERS
//
// Times the start of an examination and every answer after it (judge, record, next card)
// over a list. FILE "mem:N" builds N cards in memory instead of reading a list file. The
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

#include "bench/bench_command.h"
#include "exam/answer_check.h"
#include "exam/orders.h"
#include "exam/random_source.h"
#include "store/card_store.h"
#include "store/host.h"
#include "store/list_ops.h"
#include "store/preferences.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
    double totalMs = 0;
    double maxMs = 0;
    long count = 0;
    void add(Clock::duration d) {
        const double ms = std::chrono::duration<double, std::milli>(d).count();
        totalMs += ms;
        maxMs = std::max(maxMs, ms);
        ++count;
    }
    double mean() const { return count ? totalMs / static_cast<double>(count) : 0.0; }
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
    void enableCommand(Command) override {}
    void refreshCounters() override {}
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
    std::fprintf(stderr, "only mem:N lists for now\n");
    return false;
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
    const auto loadStart = Clock::now();
    if (!loadList(store, file))
        return 1;
    const double loadMs = millisecondsSince(loadStart);
    prepareSource(store, kind.kind);
    const int cards = sourceListOf(kind.kind, store).count();

    Preferences preferences;
    EngineRandom random;
    RecentDraws recent;
    QuietHost host;
    const ExaminationEnvironment env{store, preferences, random, recent, host};
    ExaminationState state;

    const auto start = Clock::now();
    const bool started = startExamination(state, kind.kind, env);
    const double startMs = millisecondsSince(start);
    if (!started || state.currentCard == nullptr) {
        std::printf("%-18s %8d cards: ended at start\n", kind.name, cards);
        return 1;
    }

    const bool inOrder = orderOf(kind.kind) == ExaminationOrder::InOrderWalk;
    // Whole answers, and their three parts: judging, recording, the next card.
    Figures total;
    Figures judge;
    Figures record;
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
        const auto t0 = Clock::now();
        const int32_t number = questionNumberFor(state);
        const bool right = compareAnswer(card, typed, preferences, host) == AnswerVerdict::Right;
        const auto t1 = Clock::now();
        recordAnswer(state, right, number, env);
        const auto t2 = Clock::now();
        nextCard(state, env);
        const auto t3 = Clock::now();
        judge.add(t1 - t0);
        record.add(t2 - t1);
        next.add(t3 - t2);
        total.add(t3 - t0);
    }
    std::printf(
        "%-18s %8d cards  load %7.1f ms  start %7.2f ms  %6ld answers  "
        "answer mean/max %.4f/%.3f ms  (judge %.4f/%.3f  record %.4f/%.3f  "
        "next %.4f/%.3f)  known questions %d\n",
        kind.name, cards, loadMs, startMs, given, total.mean(), total.maxMs, judge.mean(),
        judge.maxMs, record.mean(), record.maxMs, next.mean(), next.maxMs, host.knownQuestions);
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

BenchCommand exam{"exam", "KIND|all FILE|mem:N ANSWERS", runExam};

}  // namespace
