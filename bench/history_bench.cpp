// Timings of the review history: kartomatrix-bench history-generate | history-open |
// history-append | history-kill.

#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_command.h"
#include "core/card_identity.h"
#include "core/review_history.h"

namespace {

int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The texts of card i of the generated list.
std::string questionOf(long i) {
    return "Frage " + std::to_string(i * 7919 % 1000003);
}
std::string answerOf(long i) {
    return "answer " + std::to_string(i);
}

int64_t stored(uint64_t fingerprint) {
    int64_t out;
    std::memcpy(&out, &fingerprint, sizeof out);
    return out;
}

bool check(bool ok, sqlite3* db, const char* what) {
    if (!ok)
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    return ok;
}

// A history for a list of CARDS cards with REVIEWS reviews spread over them, written in
// one transaction with prepared statements in the first version's tables, then brought up
// to date by opening it. The list itself is not written: history-open makes its cards in
// memory.
int runGenerate(const std::vector<std::string>& args) {
    if (args.size() != 3)
        return 2;
    const long cards = std::atol(args[0].c_str());
    const long reviews = std::atol(args[1].c_str());
    const std::string list = args[2];
    std::filesystem::remove(ReviewHistory::pathFor(list));
    const auto start = Clock::now();
    sqlite3* db = nullptr;
    sqlite3_open(ReviewHistory::pathFor(list).c_str(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr,
                 nullptr);
    const std::string schema =
        std::string(ReviewHistory::firstVersionSchema()) + "PRAGMA user_version = 1;";
    if (!check(sqlite3_exec(db, schema.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK, db,
               "schema"))
        return 1;
    sqlite3_stmt* card = nullptr;
    sqlite3_stmt* review = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO cards(key, number, text1, text2, stability, difficulty,"
                       " last_review_ms, due_ms) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
                       -1, &card, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO reviews(card, time_ms, rating, duration_ms, kind, direction)"
                       " VALUES (?1, ?2, ?3, ?4, ?5, 0)",
                       -1, &review, nullptr);
    const int64_t base = nowMs() - 400LL * 86400000;
    for (long i = 0; i < cards; ++i) {
        sqlite3_bind_int64(card, 1, i + 1);
        sqlite3_bind_int64(card, 2, i);
        sqlite3_bind_int64(card, 3, stored(textFingerprint(questionOf(i))));
        sqlite3_bind_int64(card, 4, stored(textFingerprint(answerOf(i))));
        sqlite3_bind_double(card, 5, 3.0 + i % 97);
        sqlite3_bind_double(card, 6, 1.0 + i % 9);
        sqlite3_bind_int64(card, 7, base + i * 1000);
        sqlite3_bind_int64(card, 8, base + i * 1000 + 86400000LL * (i % 30));
        if (!check(sqlite3_step(card) == SQLITE_DONE, db, "card"))
            return 1;
        sqlite3_reset(card);
    }
    std::mt19937 rng(7);
    for (long i = 0; i < reviews; ++i) {
        sqlite3_bind_int64(review, 1, 1 + static_cast<long>(rng() % cards));
        sqlite3_bind_int64(review, 2, base + i * 3000);
        sqlite3_bind_int64(review, 3, 1 + rng() % 4);
        sqlite3_bind_int64(review, 4, 800 + rng() % 9000);
        sqlite3_bind_int64(review, 5, rng() % 9);
        if (!check(sqlite3_step(review) == SQLITE_DONE, db, "review"))
            return 1;
        sqlite3_reset(review);
    }
    sqlite3_finalize(card);
    sqlite3_finalize(review);
    const bool ok = check(sqlite3_exec(db, "COMMIT; PRAGMA journal_mode = WAL", nullptr, nullptr,
                                       nullptr) == SQLITE_OK,
                          db, "commit");
    sqlite3_close(db);
    std::printf("history of %ld cards and %ld reviews: %.0f ms, %.0f MiB\n", cards, reviews,
                msSince(start),
                std::filesystem::file_size(ReviewHistory::pathFor(list)) / 1048576.0);
    if (!ok)
        return 1;
    const auto migrateStart = Clock::now();
    const double migrateCpu = cpuMs();
    ReviewHistory history;
    if (history.open(list, nowMs()).status != HistoryOpenStatus::Opened) {
        std::fprintf(stderr, "cannot bring up to date: %s\n", history.lastError().c_str());
        return 1;
    }
    std::printf("brought up to date in %.0f ms (processor %.0f ms)\n", msSince(migrateStart),
                cpuMs() - migrateCpu);
    return 0;
}

// Opening the history of a generated list and finding its cards: what opening the list
// costs on top of reading the list file.
int runOpen(const std::vector<std::string>& args) {
    if (args.size() != 2 && !(args.size() == 3 && args[2] == "ordered"))
        return 2;
    const long cards = std::atol(args[0].c_str());
    const std::string list = args[1];
    // The list as it would be after a sort by question, numbers out of order; with
    // "ordered" as a list whose numbers ascend.
    std::vector<int32_t> numbers(cards);
    for (long i = 0; i < cards; ++i)
        numbers[i] = static_cast<int32_t>(i);
    if (args.size() == 2)
        std::shuffle(numbers.begin(), numbers.end(), std::mt19937(3));
    std::vector<std::string> texts;
    texts.reserve(2 * cards);
    for (long i = 0; i < cards; ++i) {
        texts.push_back(questionOf(numbers[i]));
        texts.push_back(answerOf(numbers[i]));
    }
    std::vector<CardText> listCards(cards);
    for (long i = 0; i < cards; ++i)
        listCards[i] = {numbers[i], texts[2 * i], texts[2 * i + 1]};
    for (int run = 0; run < 5; ++run) {
        ReviewHistory history;
        const auto start = Clock::now();
        const double startCpu = cpuMs();
        const HistoryOpenResult opened = history.open(list, nowMs());
        const double openMs = msSince(start);
        const auto resolved = history.resolveCards(listCards);
        const double totalMs = msSince(start);
        const double totalCpuMs = cpuMs() - startCpu;
        if (opened.status != HistoryOpenStatus::Opened || !resolved) {
            std::fprintf(stderr, "cannot open: %s\n", history.lastError().c_str());
            return 1;
        }
        const long found = std::count_if(resolved->begin(), resolved->end(),
                                         [](const ResolvedCard& c) { return c.state.has_value(); });
        std::printf("open %.1f ms, open and find %ld of %ld cards %.1f ms (processor %.1f ms)\n",
                    openMs, found, cards, totalMs, totalCpuMs);
    }
    return 0;
}

// COUNT answers written one by one; with "full" each is synced to the disk.
int runAppend(const std::vector<std::string>& args) {
    if (args.size() < 2)
        return 2;
    const long count = std::atol(args[0].c_str());
    const std::string list = args[1];
    const bool full = args.size() == 3 && args[2] == "full";
    ReviewHistory history;
    if (!history.open(list, nowMs()).hasHistory() || !history.syncEachAnswer(full)) {
        std::fprintf(stderr, "cannot open: %s\n", history.lastError().c_str());
        return 1;
    }
    std::vector<CardKey> keys;
    for (int i = 0; i < 100; ++i)
        keys.push_back(history.addCard({-1 - i, "bench", std::to_string(i)}));
    std::vector<double> times;
    std::mt19937 rng(5);
    for (long i = 0; i < count; ++i) {
        const ReviewEntry entry{keys[rng() % keys.size()], nowMs(), Rating::Good, 2000, 2, 0};
        const auto start = Clock::now();
        if (history.append(entry, StoredCardState{1.0 * i, 5, entry.timeMs, entry.timeMs}) == 0) {
            std::fprintf(stderr, "append: %s\n", history.lastError().c_str());
            return 1;
        }
        times.push_back(msSince(start));
    }
    std::sort(times.begin(), times.end());
    std::printf("%ld answers (%s): median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n", count,
                full ? "synchronous=FULL" : "synchronous=NORMAL", times[times.size() / 2],
                times[times.size() * 99 / 100], times.back());
    return 0;
}

// A child writes answers until it is killed at a random moment; each time the history must
// open undamaged, pass SQLite's integrity check, keep every answer the child reported
// written (at most the one in flight may be missing or present) and agree with itself, and
// the list must be untouched.
int runKill(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return 2;
    const int rounds = std::atoi(args[0].c_str());
    const std::string folder = args[1];
    std::filesystem::create_directories(folder);
    const std::string list = folder + "/kill.kmx";
    const std::string history = ReviewHistory::pathFor(list);
    std::filesystem::remove(history);
    { std::ofstream(list, std::ios::binary) << "the list, never to be touched\n"; }
    std::mt19937 rng(11);
    int64_t confirmed = 0;
    for (int round = 0; round < rounds; ++round) {
        int fds[2];
        if (::pipe(fds) != 0)
            return 1;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            ReviewHistory h;
            if (!h.open(list, nowMs()).hasHistory())
                ::_exit(3);
            const CardText text{1, "Haus", "house"};
            CardKey key = h.resolveCards({&text, 1})->at(0).key;
            if (key == kNoCardKey)
                key = h.addCard(text);
            for (;;) {
                const ReviewEntry entry{key, nowMs(), Rating::Good, 1000, 1, 0};
                const int64_t n = h.reviewCount() + 1;
                // The state names the answer count, so that state and reviews can be compared.
                const int64_t id = h.append(entry, StoredCardState{double(n), 5, entry.timeMs, 0});
                if (id == 0)
                    ::_exit(4);
                if (::write(fds[1], &n, sizeof n) != sizeof n)
                    ::_exit(5);
            }
        }
        ::close(fds[1]);
        ::usleep(1000 + rng() % 40000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        int64_t n;
        while (::read(fds[0], &n, sizeof n) == sizeof n)
            confirmed = n;
        ::close(fds[0]);
        if (!WIFSIGNALED(status)) {
            std::fprintf(stderr, "round %d: the child ended by itself (%d)\n", round, status);
            return 1;
        }

        // Killed before the history was even made: nothing to check but the list.
        const bool made = std::filesystem::exists(history);
        sqlite3* db = nullptr;
        sqlite3_open_v2(history.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr);
        const bool intact =
            !made ||
            (sqlite3_step(s) == SQLITE_ROW &&
             std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))) == "ok");
        sqlite3_finalize(s);
        sqlite3_close(db);

        ReviewHistory h;
        const HistoryOpenResult opened = h.open(list, nowMs());
        const int64_t stored = h.reviewCount();
        const CardText text{1, "Haus", "house"};
        const auto resolved = h.resolveCards({&text, 1});
        const double state =
            resolved && resolved->at(0).state ? resolved->at(0).state->stability : 0;
        h.close();
        std::ifstream in(list, std::ios::binary);
        const std::string listBytes{std::istreambuf_iterator<char>(in), {}};
        const bool ok = intact &&
                        (opened.status == HistoryOpenStatus::Opened ||
                         (confirmed == 0 && opened.status == HistoryOpenStatus::Created)) &&
                        (stored == confirmed || stored == confirmed + 1) &&
                        state == double(stored) && listBytes == "the list, never to be touched\n";
        if (!ok) {
            std::fprintf(stderr,
                         "round %d: intact %d, open status %d, %lld stored, %lld confirmed, "
                         "state %g\n",
                         round, intact, static_cast<int>(opened.status),
                         static_cast<long long>(stored), static_cast<long long>(confirmed), state);
            return 1;
        }
        confirmed = stored;
    }
    std::printf("%d kills: history intact every time, %lld answers kept\n", rounds,
                static_cast<long long>(confirmed));
    return 0;
}

BenchCommand generate{"history-generate", "CARDS REVIEWS LIST", runGenerate};
BenchCommand open{"history-open", "CARDS LIST [ordered]", runOpen};
BenchCommand append{"history-append", "COUNT LIST [full]", runAppend};
BenchCommand kill{"history-kill", "ROUNDS FOLDER", runKill};

}  // namespace
