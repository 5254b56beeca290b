#include <gtest/gtest.h>

#include <map>
#include <random>

#include "core/card_id_index.h"
#include "core/card_list.h"
#include "core/card_store.h"

namespace {

std::vector<int32_t> ids(const CardList& list) {
    std::vector<int32_t> out;
    list.forEach([&](Card* c) { out.push_back(c->id); });
    return out;
}

TEST(CardList, SlotsFillBlocksOfTenAndReuseTheFirstHole) {
    CardStore store;
    CardList& list = store.unknownList;
    EXPECT_EQ(list.blockCount(), 1);
    for (int i = 0; i < 10; ++i)
        list.insert(&store.createCard());
    EXPECT_EQ(list.blockCount(), 1);
    list.insert(&store.createCard());  // the eleventh opens a second block
    EXPECT_EQ(list.count(), 11);
    EXPECT_EQ(list.blockCount(), 2);
    list.insert(&store.createCard());

    EXPECT_TRUE(list.removeById(0));  // a hole at the front
    EXPECT_TRUE(list.removeById(5));
    EXPECT_EQ(list.count(), 10);
    Card& fresh = store.createCard();  // id 12
    list.insert(&fresh);
    EXPECT_EQ(list.slot(0), &fresh);
    EXPECT_EQ(ids(list), (std::vector<int32_t>{12, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11}));
    list.insert(&store.createCard());  // fills slot 5, not the end
    EXPECT_EQ(list.slot(5)->id, 13);
    EXPECT_EQ(list.count(), 12);
    EXPECT_EQ(list.blockCount(), 2);
    EXPECT_EQ(list.nthCard(5)->id, 13);
    EXPECT_EQ(list.nextOccupied(12), -1);
}

TEST(CardList, RemoveTakesTheFirstOfDuplicateNumbersAndKeepsTheCard) {
    CardStore store;
    CardList& list = store.unknownList;
    Card& a = store.createCard();
    Card& b = store.createCard();
    b.id = a.id;
    list.insert(&a);
    list.insert(&b);
    store.wrongList.insert(&a);
    EXPECT_TRUE(list.removeById(a.id));
    EXPECT_EQ(list.slot(0), nullptr);
    EXPECT_EQ(list.slot(1), &b);
    EXPECT_TRUE(store.wrongList.containsId(a.id));
    EXPECT_FALSE(list.removeById(-77));
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.nthCard(0), &b);
}

TEST(CardList, ClearAndAssignCompact) {
    CardStore store;
    CardList& list = store.unknownList;
    for (int i = 0; i < 25; ++i)
        list.insert(&store.createCard());
    list.removeById(3);
    std::vector<Card*> cards = list.cards();
    ASSERT_EQ(cards.size(), 24u);
    list.assign(cards);
    EXPECT_EQ(list.count(), 24);
    EXPECT_EQ(list.blockCount(), 3);
    EXPECT_EQ(list.slot(3)->id, 4);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.blockCount(), 1);
    EXPECT_EQ(store.cardCount(), 25u);
}

TEST(CardStore, NewCardsAndTexts) {
    CardStore store;
    EXPECT_EQ(store.fileName, "UNTITLED");
    EXPECT_TRUE(store.examiningUnknown);
    Card& card = store.createCard();
    EXPECT_TRUE(store.modified);
    EXPECT_EQ(card.id, 0);
    EXPECT_EQ(store.nextId, 1);
    EXPECT_EQ(card.lesson(), "-");
    EXPECT_EQ(card.addInfo(), "-");
    EXPECT_EQ(card.question(), "");
    store.setText(card, CardField::Question, std::string(120, 'q'));
    store.setText(card, CardField::Lesson, "lesson-twelve");
    EXPECT_EQ(card.question().size(), 100u);
    EXPECT_EQ(card.lesson(), "lesson-twe");
    store.setText(card, CardField::Answer, "\xC3\x84pfel");
    CardStore::swapQuestionAndAnswer(card);
    EXPECT_EQ(card.question(), "\xC3\x84pfel");
    EXPECT_EQ(card.answer().size(), 100u);
}

TEST(CardStore, CardsKeepTheirAddressWhileTheStoreGrows) {
    CardStore store;
    Card* first = &store.createCard();
    store.setText(*first, CardField::Question, "first");
    for (int i = 0; i < 20000; ++i) {
        Card& c = store.createCard();
        store.setText(c, CardField::Question, "some question text of a card");
    }
    EXPECT_EQ(first->question(), "first");
    EXPECT_EQ(first->id, 0);
    store.destroyAllCards();
    EXPECT_EQ(store.cardCount(), 0u);
}

}  // namespace

namespace {

// A list large enough to use its number index, with holes, checked against a plain scan
// while cards come and go and numbers change.
TEST(CardList, LargeListsFindCardsAndNumbersLikeAScan) {
    CardStore store;
    CardList& list = store.knownList;
    std::vector<Card*> all;
    for (int i = 0; i < 5000; ++i) {
        Card& card = store.createCard();
        all.push_back(&card);
        list.insert(&card);
    }
    for (int i = 0; i < 5000; i += 7)
        list.removeById(i);
    EXPECT_TRUE(list.containsId(8));
    EXPECT_FALSE(list.containsId(7));
    setCardId(*all[8], 7);  // a number changes while the list holds the card
    EXPECT_TRUE(list.containsId(7));
    EXPECT_FALSE(list.containsId(8));
    EXPECT_TRUE(list.removeById(7));
    EXPECT_FALSE(list.containsId(7));
    list.insert(all[14]);  // fills the first hole (slot 0)
    EXPECT_EQ(list.slot(0), all[14]);
    EXPECT_TRUE(list.containsId(14));

    const std::vector<Card*> walk = list.cards();
    ASSERT_EQ(static_cast<int>(walk.size()), list.count());
    for (int k : {0, 1, 500, 1023, 1024, 2047, 3000, list.count() - 1}) {
        EXPECT_EQ(list.nthCard(k), walk[static_cast<std::size_t>(k)]) << "k = " << k;
    }
    EXPECT_EQ(list.nthCard(list.count()), nullptr);
    list.assign(walk);
    EXPECT_EQ(list.nthCard(2047), walk[2047]);
    EXPECT_TRUE(list.containsId(14));
}

// The index against a plain count of numbers, through dense runs, numbers below the
// range, numbers far away (which make it a hash map) and removals of absent numbers.
TEST(CardIdIndex, CountsLikeAMultiset) {
    std::mt19937 random(7);
    for (const int32_t far : {0, 1 << 20, INT32_MIN, INT32_MAX}) {
        CardIdIndex index;
        std::map<int32_t, int> reference;
        index.rebuild({10, 11, 10});
        reference = {{10, 2}, {11, 1}};
        for (int step = 0; step < 20000; ++step) {
            int32_t id = static_cast<int32_t>(random() % 3000) - 100;
            if (step == 10000)
                id = far;
            if (random() % 3 == 0) {
                index.removeOne(id);
                if (auto it = reference.find(id); it != reference.end() && --it->second == 0)
                    reference.erase(it);
            } else {
                index.add(id);
                ++reference[id];
            }
        }
        for (int32_t id = -200; id < 3100; ++id)
            ASSERT_EQ(index.contains(id), reference.count(id) != 0) << id << " far " << far;
        EXPECT_EQ(index.contains(far), reference.count(far) != 0);
        EXPECT_FALSE(index.contains(INT32_MIN + 1));
    }
}

}  // namespace
