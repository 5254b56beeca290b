#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/card_identity.h"
#include "core/review_history.h"
#include "tests/core/temp_folder.h"

namespace {

constexpr int64_t kNow = 1796683800000;  // 2026-12-07T22:50:00Z
constexpr int64_t kDay = 86400000;

StoredCardState stateAt(int day) {
    return {1.5 * day, 5.0, kNow + day * kDay, kNow + 2 * day * kDay};
}

ReviewEntry entryFor(CardKey card, int day, Rating rating = Rating::Good) {
    return {card, kNow + day * kDay, rating, 1200 + day, 3, 0};
}

// Runs SQL on a history file from outside, as another program would.
void runSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

// Files in the folder whose names start with `prefix`, apart from `except`.
std::vector<std::string> filesStartingWith(const TempFolder& folder, const std::string& prefix,
                                           const std::string& except = "") {
    std::vector<std::string> out;
    for (const std::string& name : folder.names()) {
        if (name.rfind(prefix, 0) == 0 && name != except)
            out.push_back(name);
    }
    return out;
}

TEST(ReviewHistory, KeepsReviewsStatesAndValuesAcrossReopening) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    folder.put("Words.kmx", "the list");
    ReviewHistory history;
    ASSERT_EQ(history.open(list, kNow).status, HistoryOpenStatus::Created);
    EXPECT_EQ(history.path(), list + ".history");
    const CardKey house = history.addCard({7, "Haus", "house"});
    const CardKey tree = history.addCard({8, "Baum", "tree"});
    ASSERT_NE(house, kNoCardKey);
    ASSERT_GT(history.append(entryFor(house, 0, Rating::Again), stateAt(0)), 0);
    ASSERT_GT(history.append(entryFor(tree, 1), stateAt(1)), 0);
    ASSERT_GT(history.append(entryFor(house, 2, Rating::Easy), stateAt(2)), 0);
    ASSERT_TRUE(history.setValue("speech.question", "de-DE"));
    history.close();

    ASSERT_EQ(history.open(list, kNow).status, HistoryOpenStatus::Opened);
    const CardText cards[] = {{8, "Baum", "tree"}, {7, "Haus", "house"}, {9, "neu", "new"}};
    const auto resolved = history.resolveCards(cards);
    ASSERT_TRUE(resolved);
    EXPECT_EQ((*resolved)[0].key, tree);
    EXPECT_EQ((*resolved)[0].state, stateAt(1));
    EXPECT_EQ((*resolved)[1].key, house);
    EXPECT_EQ((*resolved)[1].state, stateAt(2));
    EXPECT_EQ((*resolved)[2].key, kNoCardKey);
    const std::vector<StoredReview> reviews = history.reviewsOf(house);
    ASSERT_EQ(reviews.size(), 2u);
    EXPECT_EQ(reviews[0].entry.rating, Rating::Again);
    EXPECT_EQ(reviews[1].entry.rating, Rating::Easy);
    EXPECT_EQ(reviews[1].entry.timeMs, kNow + 2 * kDay);
    EXPECT_EQ(reviews[1].entry.durationMs, 1202);
    EXPECT_EQ(reviews[1].entry.kind, 3);
    std::vector<CardKey> order;
    EXPECT_TRUE(history.forEachReview([&](const StoredReview& r) {
        order.push_back(r.entry.card);
        return true;
    }));
    EXPECT_EQ(order, (std::vector<CardKey>{house, tree, house}));
    EXPECT_EQ(history.value("speech.question"), "de-DE");
    EXPECT_EQ(history.value("speech.answer"), std::nullopt);
    history.close();
    EXPECT_EQ(folder.get("Words.kmx"), "the list");
    // Nothing but the list and its history is left beside it.
    EXPECT_EQ(folder.names(), (std::set<std::string>{"Words.kmx", "Words.kmx.history"}));
}

TEST(ReviewHistory, UndoTakesBackTheLatestAnswersOneByOne) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    ReviewHistory history;
    history.open(list, kNow);
    const CardKey card = history.addCard({1, "Haus", "house"});
    const int64_t first = history.append(entryFor(card, 0), stateAt(0));
    const int64_t second = history.append(entryFor(card, 1), stateAt(1));
    EXPECT_FALSE(history.undo(first));  // not the latest
    ASSERT_TRUE(history.undo(second));
    history.close();
    history.open(list, kNow);
    const CardText cards[] = {{1, "Haus", "house"}};
    EXPECT_EQ(history.resolveCards(cards)->at(0).state, stateAt(0));
    EXPECT_EQ(history.reviewCount(), 1);
    ASSERT_TRUE(history.undo(first));
    EXPECT_EQ(history.resolveCards(cards)->at(0).state, std::nullopt);
    EXPECT_EQ(history.reviewCount(), 0);
    EXPECT_FALSE(history.undo(first));
}

// A history that is not what it should be is kept aside byte for byte, a new one is
// started, and the list still opens.
TEST(ReviewHistory, KeepsABrokenOrForeignFileAsideAndStartsANewOne) {
    struct Case {
        const char* name;
        void (*spoil)(const std::string& path);
        HistoryOpenStatus status;
        const char* asideName;
    };
    const Case cases[] = {
        {"junk over the start",
         [](const std::string& p) {
             std::FILE* f = std::fopen(p.c_str(), "r+b");
             std::fwrite("junk junk junk junk", 1, 19, f);
             std::fclose(f);
         },
         HistoryOpenStatus::ForeignKeptAside, "Words.kmx.history.foreign-2026-12-07T22-50-00"},
        {"junk over a page in the middle",
         [](const std::string& p) {
             std::FILE* f = std::fopen(p.c_str(), "r+b");
             std::fseek(f, 3 * 4096, SEEK_SET);
             const std::string junk(4096, 'x');
             std::fwrite(junk.data(), 1, junk.size(), f);
             std::fclose(f);
         },
         HistoryOpenStatus::DamagedKeptAside, "Words.kmx.history.damaged-2026-12-07T22-50-00"},
        {"cut to half",
         [](const std::string& p) {
             std::filesystem::resize_file(p, std::filesystem::file_size(p) / 2);
         },
         HistoryOpenStatus::DamagedKeptAside, "Words.kmx.history.damaged-2026-12-07T22-50-00"},
        {"another program's database",
         [](const std::string& p) {
             std::filesystem::remove(p);
             runSql(p, "CREATE TABLE contacts(name TEXT); INSERT INTO contacts VALUES ('Ann');");
         },
         HistoryOpenStatus::ForeignKeptAside, "Words.kmx.history.foreign-2026-12-07T22-50-00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder("history");
        const std::string list = folder.file("Words.kmx");
        {
            ReviewHistory history;
            history.open(list, kNow);
            for (int i = 0; i < 150; ++i) {
                const CardKey key = history.addCard({i, "question " + std::to_string(i), "a"});
                history.append(entryFor(key, i), stateAt(i));
            }
        }
        c.spoil(list + ".history");
        const std::string spoilt = folder.get("Words.kmx.history");

        ReviewHistory history;
        const HistoryOpenResult result = history.open(list, kNow);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.keptAsidePath, folder.file(c.asideName));
        EXPECT_TRUE(folder.get(c.asideName) == spoilt) << "kept aside: " << folder.names().size();
        ASSERT_TRUE(history.isOpen());
        EXPECT_EQ(history.reviewCount(), 0);
        const CardKey key = history.addCard({1, "Haus", "house"});
        EXPECT_GT(history.append(entryFor(key, 0), stateAt(0)), 0) << history.lastError();
    }
}

TEST(ReviewHistory, LeavesAHistoryOfANewerVersionAlone) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    ReviewHistory history;
    history.open(list, kNow);
    history.close();
    runSql(list + ".history", "PRAGMA user_version = 99");
    const std::string before = folder.get("Words.kmx.history");

    const HistoryOpenResult result = history.open(list, kNow);
    EXPECT_EQ(result.status, HistoryOpenStatus::NewerSchema);
    EXPECT_FALSE(result.hasHistory());
    EXPECT_FALSE(history.isOpen());
    EXPECT_EQ(history.addCard({1, "Haus", "house"}), kNoCardKey);
    EXPECT_EQ(folder.get("Words.kmx.history"), before);
    EXPECT_EQ(filesStartingWith(folder, "Words.kmx.history", "Words.kmx.history").size(), 0u);
}

// A history written by the first version (a row for each card) is brought up to date on
// opening and keeps every card, change, deletion, state, review and undo step.
TEST(ReviewHistory, BringsAHistoryOfTheFirstVersionUpToDate) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    const auto print = [](const char* text) {
        return std::to_string(static_cast<int64_t>(textFingerprint(text)));
    };
    const auto state = [](int day) {
        const StoredCardState s = stateAt(day);
        return std::to_string(s.stability) + ", " + std::to_string(s.difficulty) + ", " +
               std::to_string(s.lastReviewMs) + ", " + std::to_string(s.dueMs);
    };
    runSql(list + ".history",
           "CREATE TABLE cards(key INTEGER PRIMARY KEY, number INTEGER NOT NULL, text1 INTEGER"
           " NOT NULL, text2 INTEGER NOT NULL, changed_number INTEGER, changed1 INTEGER,"
           " changed2 INTEGER, status INTEGER NOT NULL DEFAULT 0, stability REAL, difficulty"
           " REAL, last_review_ms INTEGER, due_ms INTEGER);"
           "CREATE TABLE reviews(id INTEGER PRIMARY KEY, card INTEGER NOT NULL, time_ms INTEGER"
           " NOT NULL, rating INTEGER NOT NULL, duration_ms INTEGER NOT NULL, kind INTEGER NOT"
           " NULL, direction INTEGER NOT NULL);"
           "CREATE INDEX reviews_by_card ON reviews(card);"
           "CREATE TABLE undo(id INTEGER PRIMARY KEY, card INTEGER NOT NULL, stability REAL,"
           " difficulty REAL, last_review_ms INTEGER, due_ms INTEGER);"
           "CREATE TABLE list_values(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;"
           "PRAGMA application_id = 1265465416; PRAGMA user_version = 1;"
           // Haus reviewed twice; Baum changed to Villa, not saved; Tür (key 70, in the
           // second block) deleted, not saved.
           "INSERT INTO cards VALUES (1, 7, " +
               print("Haus") + ", " + print("house") + ", NULL, NULL, NULL, 0, " + state(1) +
               ");"
               "INSERT INTO cards VALUES (2, 8, " +
               print("Baum") + ", " + print("tree") + ", 9, " + print("Villa") + ", " +
               print("mansion") +
               ", 0, NULL, NULL, NULL, NULL);"
               "INSERT INTO cards VALUES (70, 5, " +
               print("Tür") + ", " + print("door") + ", NULL, NULL, NULL, 1, " + state(2) +
               ");"
               "INSERT INTO reviews VALUES (1, 1, 0, 3, 900, 1, 0), (2, 1, 1, 4, 800, 1, 0);"
               "INSERT INTO undo VALUES (2, 1, " +
               state(0) + ");");

    ReviewHistory history;
    ASSERT_EQ(history.open(list, kNow).status, HistoryOpenStatus::Opened) << history.lastError();
    const CardText cards[] = {{7, "Haus", "house"}, {9, "Villa", "mansion"}, {5, "Tür", "door"}};
    const auto resolved = history.resolveCards(cards);
    ASSERT_TRUE(resolved);
    EXPECT_EQ((*resolved)[0].key, 1);
    EXPECT_EQ((*resolved)[0].state, stateAt(1));
    EXPECT_EQ((*resolved)[1].key, 2);
    EXPECT_EQ((*resolved)[1].state, std::nullopt);
    EXPECT_EQ((*resolved)[2].key, 70);
    EXPECT_EQ((*resolved)[2].state, stateAt(2));
    EXPECT_EQ(history.reviewsOf(1).size(), 2u);
    ASSERT_TRUE(history.undo(2));
    EXPECT_EQ(history.resolveCards(cards)->at(0).state, stateAt(0));
    EXPECT_EQ(history.addCard({10, "neu", "new"}), 71);  // no key is given twice
    history.close();

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(history.pathFor(list).c_str(), &db), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT (SELECT user_version FROM pragma_user_version),"
                       " (SELECT count(*) FROM sqlite_schema WHERE name = 'cards')",
                       -1, &s, nullptr);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s, 0), 2);
    EXPECT_EQ(sqlite3_column_int(s, 1), 0);
    sqlite3_finalize(s);
    sqlite3_close(db);
}

TEST(ReviewHistory, WorksWithoutHistoryInAReadOnlyFolder) {
    TempFolder folder("history");
    std::filesystem::permissions(
        folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ReviewHistory history;
    EXPECT_EQ(history.open(folder.file("Words.kmx"), kNow).status, HistoryOpenStatus::ReadOnly);
    EXPECT_FALSE(history.isOpen());
    EXPECT_TRUE(folder.names().empty());
}

TEST(ReviewHistory, SaveAsCarriesTheHistoryAndLeavesTheOldOneWithTheOldList) {
    TempFolder folder("history");
    ReviewHistory history;
    // The list Save As replaces has a history of its own, which is kept aside.
    history.open(folder.file("Other.kmx"), kNow);
    history.addCard({1, "x", "y"});
    history.close();
    history.open(folder.file("Words.kmx"), kNow);
    const CardKey card = history.addCard({1, "Haus", "house"});
    history.append(entryFor(card, 0), stateAt(0));

    ASSERT_TRUE(history.carryTo(folder.file("Other.kmx"), kNow)) << history.lastError();
    EXPECT_EQ(history.path(), folder.file("Other.kmx.history"));
    history.append(entryFor(card, 1), stateAt(1));
    EXPECT_EQ(history.reviewCount(), 2);
    history.close();
    EXPECT_EQ(filesStartingWith(folder, "Other.kmx.history.replaced-2026-12-07T22-50-00").size(),
              1u);

    const CardText cards[] = {{1, "Haus", "house"}};
    history.open(folder.file("Words.kmx"), kNow);
    EXPECT_EQ(history.reviewCount(), 1);
    EXPECT_EQ(history.resolveCards(cards)->at(0).state, stateAt(0));
    history.open(folder.file("Other.kmx"), kNow);
    EXPECT_EQ(history.resolveCards(cards)->at(0).state, stateAt(1));
    // A new list's history lives in memory until the list is first saved.
    ASSERT_EQ(history.openUnsaved().status, HistoryOpenStatus::Created);
    history.append(entryFor(history.addCard(cards[0]), 3), stateAt(3));
    ASSERT_TRUE(history.carryTo(folder.file("New.kmx"), kNow)) << history.lastError();
    history.open(folder.file("New.kmx"), kNow);
    EXPECT_EQ(history.resolveCards(cards)->at(0).state, stateAt(3));
}

TEST(CardIdentity, GivesAHistoryOnlyToTheCardItBelongsTo) {
    const auto print = [](int32_t number, const char* q, const char* a) {
        return fingerprintOf({number, q, a});
    };
    const KnownCard haus7{print(7, "Haus", "house"), std::nullopt};
    struct Case {
        const char* name;
        std::vector<CardFingerprint> cards;
        std::vector<KnownCard> known;
        std::vector<std::size_t> expected;
    };
    const std::vector<Case> cases = {
        {"same card", {print(7, "Haus", "house")}, {haus7}, {0}},
        {"exchanged", {print(7, "house", "Haus")}, {haus7}, {0}},
        {"answer edited", {print(7, "Haus", "home")}, {haus7}, {0}},
        {"both texts changed behind it", {print(7, "Baum", "tree")}, {haus7}, {kNoMatch}},
        {"other number", {print(8, "Haus", "house")}, {haus7}, {kNoMatch}},
        {"empty texts do not count", {print(7, "", "")}, {{print(7, "", "x"), {}}}, {kNoMatch}},
        {"two cards fit equally: none",
         {print(7, "Haus", "house"), print(7, "Haus", "house")},
         {haus7},
         {kNoMatch, kNoMatch}},
        {"two cards share a number: the fitting one",
         {print(7, "Baum", "tree"), print(7, "Haus", "house")},
         {haus7},
         {kNoMatch, 0}},
        {"the better fit wins",
         {print(7, "Haus", "home"), print(7, "Haus", "house")},
         {haus7},
         {kNoMatch, 0}},
        {"two histories, two cards",
         {print(7, "Haus", "home"), print(7, "Haus", "house")},
         {haus7, {print(7, "Haus", "home"), {}}},
         {1, 0}},
        {"changed and not saved: the file's texts",
         {print(7, "Haus", "house")},
         {{print(7, "Haus", "house"), print(9, "Villa", "mansion")}},
         {0}},
        {"changed and saved: the new number and texts",
         {print(9, "Villa", "mansion")},
         {{print(7, "Haus", "house"), print(9, "Villa", "mansion")}},
         {0}},
    };
    for (const Case& c : cases) {
        const CardMatches got = matchCards(c.cards, c.known);
        EXPECT_EQ(std::vector<std::size_t>(got.begin(), got.end()), c.expected) << c.name;
    }

    // A group too large to compare pair by pair still finds the cards with equal texts.
    std::vector<CardFingerprint> many;
    std::vector<KnownCard> known;
    for (int i = 0; i < 200; ++i) {
        many.push_back(print(0, "q", ("a" + std::to_string(i)).c_str()));
        known.push_back({many.back(), {}});
    }
    const CardMatches matched = matchCards(many, known);
    for (std::size_t i = 0; i < matched.size(); ++i)
        EXPECT_EQ(matched[i], i);
}

// Large lists take other paths: cards and known cards in unrelated orders of their numbers
// (as after sorting the list), more than one block of cards in the history.
TEST(CardIdentity, MatchesALargeListInAnyOrder) {
    constexpr int kCards = 70000;
    std::vector<int32_t> numbers(kCards);
    for (int i = 0; i < kCards; ++i)
        numbers[i] = (i * 7919) % kCards - 100;  // negative numbers too
    std::vector<CardFingerprint> cards, saved;
    for (int i = 0; i < kCards; ++i) {
        cards.push_back({numbers[i], uint64_t(numbers[i]) + 1000000, 7});
        saved.push_back({numbers[kCards - 1 - i], uint64_t(numbers[kCards - 1 - i]) + 1000000, 7});
    }
    const CardMatches matched = matchCards(cards, saved, {});
    for (int i = 0; i < kCards; ++i)
        ASSERT_EQ(matched[i], std::size_t(kCards - 1 - i)) << i;
}

TEST(ReviewHistory, KeepsCardsOfManyBlocksApart) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    ReviewHistory history;
    history.open(list, kNow);
    std::vector<CardText> cards;
    std::vector<std::string> texts;
    for (int i = 0; i < 130; ++i)
        texts.push_back("word " + std::to_string(i));
    for (int i = 0; i < 130; ++i) {
        cards.push_back({i, texts[i], "x"});
        ASSERT_EQ(history.addCard(cards.back()), i + 1);
    }
    for (const int i : {63, 64, 129})
        history.append(entryFor(i + 1, i), stateAt(i));
    history.close();
    history.open(list, kNow);
    const auto resolved = history.resolveCards(cards);
    ASSERT_TRUE(resolved);
    for (int i = 0; i < 130; ++i) {
        EXPECT_EQ((*resolved)[i].key, i + 1);
        EXPECT_EQ((*resolved)[i].state.has_value(), i == 63 || i == 64 || i == 129) << i;
    }
    EXPECT_EQ((*resolved)[64].state, stateAt(64));
    EXPECT_EQ(history.addCard({200, "neu", "new"}), 131);
}

TEST(ReviewHistory, ADeletedCardsHistoryGoesToNoLaterCard) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    const CardText card = {5, "Haus", "house"};
    ReviewHistory history;
    history.open(list, kNow);
    const CardKey key = history.addCard(card);
    history.append(entryFor(key, 0), stateAt(0));
    ASSERT_TRUE(history.cardDeleted(key));
    history.close();  // the list was not saved: the card is still in its file

    history.open(list, kNow);
    ASSERT_EQ(history.resolveCards({&card, 1})->at(0).key, key);
    history.cardDeleted(key);
    history.listSaved();
    history.close();

    // A new card with the same number and texts starts a history of its own.
    history.open(list, kNow);
    EXPECT_EQ(history.resolveCards({&card, 1})->at(0).key, kNoCardKey);
    const CardKey again = history.addCard(card);
    EXPECT_NE(again, key);
    EXPECT_TRUE(history.reviewsOf(again).empty());
    EXPECT_EQ(history.reviewsOf(key).size(), 1u);  // kept, though no card takes it
}

// An edit or a new number is expected in the list file only once the list is saved.
TEST(ReviewHistory, FollowsAChangedCardWhetherTheListWasSavedOrNot) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    const CardText before = {7, "Haus", "house"};
    const CardText after = {12, "Villa", "mansion"};
    for (const bool saved : {false, true}) {
        SCOPED_TRACE(saved ? "saved" : "not saved");
        std::filesystem::remove(list + ".history");
        ReviewHistory history;
        history.open(list, kNow);
        const CardKey key = history.addCard(before);
        history.append(entryFor(key, 0), stateAt(0));
        ASSERT_TRUE(history.cardChanged(key, after));
        if (saved)
            history.listSaved();
        history.close();

        history.open(list, kNow);
        const CardText inFile = saved ? after : before;
        const CardText notInFile = saved ? before : after;
        EXPECT_EQ(history.resolveCards({&inFile, 1})->at(0).key, key);
        history.close();
        // What the list file held at the last opening is what is expected from now on.
        history.open(list, kNow);
        EXPECT_EQ(history.resolveCards({&notInFile, 1})->at(0).key, kNoCardKey);
    }
}

// Without the list's lock a second program could open the history too: it must fail and
// leave the file alone rather than write beside the first.
TEST(ReviewHistory, ASecondOpenerOfTheSameHistoryFails) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    ReviewHistory first;
    first.open(list, kNow);
    const CardKey card = first.addCard({1, "Haus", "house"});
    ReviewHistory second;
    const HistoryOpenResult result = second.open(list, kNow);
    EXPECT_EQ(result.status, HistoryOpenStatus::Failed);
    EXPECT_FALSE(second.isOpen());
    EXPECT_GT(first.append(entryFor(card, 0), stateAt(0)), 0);
    EXPECT_EQ(folder.names(),
              (std::set<std::string>{"Words.kmx.history", "Words.kmx.history-wal"}));
}

// Answers brought from another trainer stay with the card across openings, and bringing
// them again adds none; a later answer given here keeps its state.
TEST(ReviewHistory, ImportedAnswersAreKeptOnceAndNewerStatesWin) {
    TempFolder folder("history");
    const std::string list = folder.file("Words.kmx");
    folder.put("Words.kmx", "the list");
    ReviewHistory history;
    ASSERT_EQ(history.open(list, kNow).status, HistoryOpenStatus::Created);
    const CardText haus{1, "Haus", "house"};
    std::vector<ImportedCardHistory> cards(2);
    cards[0].text = haus;
    cards[0].reviews = {entryFor(0, 1, Rating::Again), entryFor(0, 3)};
    cards[0].state = stateAt(3);
    cards[1].text = {2, "Baum", "tree"};
    const std::vector<std::pair<std::string, std::string>> values = {{"anki-note:x", "1"}};
    ASSERT_EQ(history.importReviews(cards, values), 2);
    ASSERT_NE(cards[0].key, kNoCardKey);
    ASSERT_NE(cards[1].key, cards[0].key);
    EXPECT_EQ(history.value("anki-note:x"), "1");

    // Answered here later, then the same package again with one answer more.
    ASSERT_NE(history.append(entryFor(cards[0].key, 5), stateAt(5)), 0);
    cards[0].reviews.push_back(entryFor(0, 4));
    cards[0].state = stateAt(4);
    ASSERT_EQ(history.importReviews(cards, {}), 1);
    EXPECT_EQ(cards[0].state, stateAt(5));
    history.listSaved();
    history.close();

    ASSERT_EQ(history.open(list, kNow).status, HistoryOpenStatus::Opened);
    const std::vector<CardText> texts = {haus};
    const std::optional<ResolvedCards> resolved = history.resolveCards(texts);
    ASSERT_TRUE(resolved);
    EXPECT_EQ((*resolved)[0].key, cards[0].key);
    EXPECT_EQ((*resolved)[0].state, stateAt(5));
    const std::vector<StoredReview> reviews = history.reviewsOf(cards[0].key);
    ASSERT_EQ(reviews.size(), 4u);
    EXPECT_EQ(reviews[0].entry.rating, Rating::Again);
    EXPECT_EQ(reviews[0].entry.durationMs, 1201);
}

}  // namespace
