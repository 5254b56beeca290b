#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/answer_check.h"
#include "core/answer_diff.h"
#include "core/card_search.h"
#include "core/card_store.h"
#include "core/kvtml_file.h"
#include "core/list_ops.h"
#include "core/overview_ops.h"
#include "core/preferences.h"
#include "core/string_sink.h"
#include "core/unicode_text.h"
#include "tests/support/fake_host.h"

// "café" as a keyboard gives it (é one character) and as files from other systems often
// hold it (e and a combining accent): one text wherever the program compares texts.
namespace {

const std::string kComposed = "caf\xC3\xA9";
const std::string kDecomposed = "cafe\xCC\x81";

struct CheckCase {
    const char* name;
    bool strictOrder;
    bool allWords;
    bool tolerant;  // both tolerance preferences on
    std::string stored;
    std::string typed;
    AnswerVerdict verdict;
};

TEST(CanonicalText, AnswerCheckUnderEveryRuleAndTolerance) {
    const std::string both = "tea, " + kDecomposed;
    const std::vector<CheckCase> cases = {
        {"Strict", true, true, false, kDecomposed, kComposed, AnswerVerdict::Right},
        {"StrictTolerant", true, true, true, kComposed, kDecomposed, AnswerVerdict::Right},
        {"AllWordsOtherOrder", false, true, false, both, kComposed + ", tea", AnswerVerdict::Right},
        {"SomeWords", false, false, false, both, kComposed, AnswerVerdict::Right},
        {"SomeWordsTolerant", false, false, true, both, kComposed, AnswerVerdict::Right},
        {"AccentStillCounts", true, true, false, kDecomposed, "cafe", AnswerVerdict::Differs},
    };
    for (const CheckCase& c : cases) {
        Preferences preferences;
        preferences.strictOrder = c.strictOrder;
        preferences.allWords = c.allWords;
        preferences.ignoreCase = preferences.ignoreAccents = c.tolerant;
        FakeHost host;
        const AnswerCheck check = checkAnswerText(c.stored, c.typed, preferences, host);
        EXPECT_EQ(check.verdict, c.verdict) << c.name;
        EXPECT_EQ(check.tolerated, ToleratedDifference::None) << c.name;
        const AnswerDiff diff = diffAnswerText(c.typed, c.stored, preferences);
        EXPECT_EQ(diff.description == "no difference", c.verdict == AnswerVerdict::Right)
            << c.name << ": " << diff.description;
    }
}

TEST(CanonicalText, SearchLessonsSortingAndExport) {
    CardStore store;
    Card& decomposed = addCard(store, store.unknownList, kDecomposed, "b", kDecomposed, "-");
    addCard(store, store.unknownList, "cafe", "z", "cafe", "-");
    Card& composed = addCard(store, store.unknownList, kComposed, "a", kComposed, "-");

    EXPECT_EQ(findCardByText(store, CardField::Question, kComposed, -1), &decomposed);
    std::vector<OverviewRow> rows;
    snapshotRows(store.unknownList, rows);
    EXPECT_EQ(findRowContaining(rows, "f\xC3\xA9", 0), 0u);

    EXPECT_EQ(distinctLessons(store.unknownList, store.knownList).size(), 2u);
    CardList chosen;
    selectByLesson(store.unknownList, chosen, kComposed);
    EXPECT_EQ(chosen.count(), 2);
    CardList lessonCards;
    selectLessons(store.unknownList, store.knownList, {kComposed}, lessonCards);
    EXPECT_EQ(lessonCards.count(), 2);

    // The two spellings tie on the question, and the answer decides between them.
    FakeHost host;
    sortList(store, store.unknownList, SortKey::Question, host);
    const std::vector<Card*> sorted = store.unknownList.cards();
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted[1], &composed);
    EXPECT_EQ(sorted[2], &decomposed);

    // One lesson in the exported file, not two lessons that look alike.
    StringSink sink;
    const std::vector<CardRecord> cards = {{"q", "a", kDecomposed, "-", 0},
                                           {"r", "b", kComposed, "-", 0}};
    ASSERT_TRUE(writeKvtml(sink, cards, {}));
    const KvtmlImport back = readKvtml(sink.bytes(), 5);
    ASSERT_EQ(back.candidates.size(), 2u);
    EXPECT_EQ(back.candidates[0].card.lesson, back.candidates[1].card.lesson);
}

}  // namespace
