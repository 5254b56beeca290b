#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/answer_forms.h"
#include "core/card_store.h"
#include "core/list_ops.h"
#include "core/mixed_letters.h"
#include "tests/support/fixed_random.h"

namespace {

class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(unsigned seed) : engine_(seed) {}
    int next() override { return static_cast<int>(engine_() % (kMax + 1)); }

private:
    std::mt19937 engine_;
};

struct Row {
    const char* question;
    const char* answer;
    const char* lesson;
};

class Choices : public ::testing::Test {
protected:
    // The first row is the card asked.
    const Card& fill(const std::vector<Row>& rows) {
        for (const Row& row : rows)
            addCard(store, list, row.question, row.answer, row.lesson, "");
        return *list.nthCard(0);
    }
    // Every wrong choice over many draws.
    std::set<std::string> wrongOnes(const Card& card,
                                    Direction direction = Direction::QuestionToAnswer) {
        std::set<std::string> seen;
        for (unsigned seed = 0; seed < 200; ++seed) {
            SeededRandom random(seed);
            const ChoiceSet set = makeChoices(card, direction, list, random);
            for (int i = 0; i < static_cast<int>(set.texts.size()); ++i)
                if (i != set.right)
                    seen.insert(set.texts[static_cast<std::size_t>(i)]);
        }
        return seen;
    }
    CardStore store;
    CardList list;
};

TEST_F(Choices, NeverOfferAnotherRightAnswerNorTwoAlike) {
    const std::string cafeDecomposed = "cafe\xCC\x81";
    const Card& card = fill({{"coffee", "caf\xC3\xA9", "1"},
                             {"café (bar)", cafeDecomposed.c_str(), "1"},
                             {"coffee", "Kaffee", "1"},  // also right for "coffee"
                             {"tea", "Tee", "1"},
                             {"tea", "Tee", "1"},
                             {"house", "Haus, Heim", "1"},
                             {"home", "Heim, Haus", "1"},
                             {"home", "Heim,Haus", "1"},
                             {"milk", "Milch", "1"},
                             {"bar", "Bar, caf\xC3\xA9", "1"}});
    for (unsigned seed = 0; seed < 300; ++seed) {
        SeededRandom random(seed);
        const ChoiceSet set = makeChoices(card, Direction::QuestionToAnswer, list, random);
        ASSERT_FALSE(set.typedInstead);
        ASSERT_EQ(set.texts.size(), 4u);
        EXPECT_EQ(set.texts[static_cast<std::size_t>(set.right)], "caf\xC3\xA9");
        std::set<std::string> keys;
        for (const std::string& text : set.texts)
            keys.insert(canonicalKey(text));
        EXPECT_EQ(keys.size(), 4u) << "two choices alike, seed " << seed;
        const int houses = static_cast<int>(std::count_if(
            set.texts.begin(), set.texts.end(),
            [](const std::string& t) { return t.find("Haus") != std::string::npos; }));
        EXPECT_LE(houses, 1) << "the same meanings twice, seed " << seed;
    }
    EXPECT_EQ(wrongOnes(card),
              (std::set<std::string>{"Tee", "Haus, Heim", "Heim, Haus", "Heim,Haus", "Milch"}));
}

TEST_F(Choices, PreferTheLessonAndScriptOfTheCard) {
    struct Case {
        const char* name;
        std::vector<Row> rows;
        std::set<std::string> wrong;
    };
    const std::vector<Case> cases = {
        {"same lesson first",
         {{"a", "A", "L1"}, {"b", "B", "L1"}, {"c", "C", "L2"}, {"d", "D", "L1"}, {"e", "E", "L1"}},
         {"B", "D", "E"}},
        {"same script before same lesson",
         {{"a", "A", "L1"},
          {"b", "\xD0\x91", "L1"},
          {"c", "C", "L2"},
          {"d", "D", "L2"},
          {"e", "E", "L2"},
          {"f", "\xD0\x94", "L1"}},
         {"C", "D", "E"}},
        {"other lessons and scripts fill up",
         {{"a", "A", "L1"}, {"b", "\xD0\x91", "L2"}, {"c", "C", "L2"}},
         {"\xD0\x91", "C"}},
        {"all in one lesson", {{"a", "A", "L"}, {"b", "B", "L"}, {"c", "C", "L"}}, {"B", "C"}},
    };
    for (const Case& c : cases) {
        store.destroyAllCards();
        list.clear();
        const Card& card = fill(c.rows);
        EXPECT_EQ(wrongOnes(card), c.wrong) << c.name;
    }
}

TEST(Directions, OnlyMixedDrawsFromTheRandomSource) {
    FixedRandom random({0, 1});
    EXPECT_EQ(drawDirection(DirectionChoice::QuestionToAnswer, random),
              Direction::QuestionToAnswer);
    EXPECT_EQ(drawDirection(DirectionChoice::AnswerToQuestion, random),
              Direction::AnswerToQuestion);
    EXPECT_EQ(random.draws, 0);
    EXPECT_EQ(drawDirection(DirectionChoice::Mixed, random), Direction::QuestionToAnswer);
    EXPECT_EQ(drawDirection(DirectionChoice::Mixed, random), Direction::AnswerToQuestion);
}

TEST(MixedLettersTest, CharactersStayWholeAndSeparatorsInPlace) {
    struct Case {
        std::string text;
        std::multiset<std::string> tiles;
    };
    const std::string eAcute = "e\xCC\x81";
    const std::string thumb = "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";
    const std::vector<Case> cases = {
        {"caf" + eAcute, {"c", "a", "f", eAcute}},
        {thumb + " ok!", {thumb, "o", "k"}},
        {"Haus, Heim; l'eau", {"H", "a", "u", "s", "H", "e", "i", "m", "l", "e", "a", "u"}},
        {" ,;", {}},
    };
    for (const Case& c : cases) {
        SeededRandom random(7);
        MixedLetters puzzle(c.text, random);
        EXPECT_EQ(std::multiset<std::string>(puzzle.tiles().begin(), puzzle.tiles().end()), c.tiles)
            << c.text;
        EXPECT_EQ(puzzle.playable(), !c.tiles.empty());
        // Placed in the text's order, the tiles give the text back, blanks and all.
        while (!puzzle.done()) {
            const std::string built = puzzle.built();
            ASSERT_EQ(c.text.compare(0, built.size(), built), 0) << built;
            int tile = -1;
            for (int i = 0; i < static_cast<int>(puzzle.tiles().size()); ++i) {
                const std::string& t = puzzle.tiles()[static_cast<std::size_t>(i)];
                if (!puzzle.tileUsed(i) && c.text.compare(built.size(), t.size(), t) == 0)
                    tile = i;
            }
            ASSERT_EQ(puzzle.pick(tile), MixedLetters::Pick::Accepted) << built;
        }
        EXPECT_EQ(puzzle.built(), c.text);
    }
}

TEST(MixedLettersTest, ShuffleNeverGivesTheTextBack) {
    for (const std::string text : {"ab", "aab", "abc", "Haus", "aa"}) {
        for (unsigned seed = 0; seed < 100; ++seed) {
            SeededRandom random(seed);
            MixedLetters puzzle(text, random);
            std::string order;
            for (const std::string& tile : puzzle.tiles())
                order += tile;
            if (text == "aa")
                EXPECT_EQ(order, "aa");
            else
                EXPECT_NE(order, text) << "seed " << seed;
        }
    }
}

}  // namespace
