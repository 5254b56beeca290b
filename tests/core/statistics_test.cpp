#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/card_store.h"
#include "core/statistics.h"

namespace {

using Bins = std::array<int, StatisticsFigures::kBins>;

class Statistics : public ::testing::Test {
protected:
    Card& add(CardList& list, int32_t level, int32_t right = 0, int32_t wrong = 0) {
        Card& card = store.createCard();
        card.level = level;
        card.timesRight = right;
        card.timesWrong = wrong;
        card.timesAsked = right + wrong;
        list.insert(&card);
        return card;
    }
    StatisticsFigures compute(StatisticsClock clock = {}) {
        return computeStatistics(store, 5, clock);
    }

    CardStore store;
};

TEST_F(Statistics, LevelsGoToTheirBinsAndTheBarsScaleToTheLargest) {
    for (int32_t level : {0, 0, 1, 9})
        add(store.unknownList, level);
    const StatisticsFigures figures = compute();
    EXPECT_EQ(figures.levelCounts, (Bins{2, 1, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(figures.remainingExaminations, 5 + 5 + 4 + (5 - 9));

    const auto bars = levelChartBars(figures.levelCounts);
    EXPECT_EQ(bars[0].top, 25);
    EXPECT_EQ(bars[1].top, 65);
    EXPECT_EQ(bars[7].top, 65);
    EXPECT_EQ(bars[2].top, 105) << "an empty bin has no height";
    EXPECT_EQ(bars[7].left, 25 + 45 * 7);
    EXPECT_EQ(bars[7].right, 65 + 45 * 7);
}

TEST_F(Statistics, LevelsOutsideTheChartShareItsEndBars) {
    add(store.unknownList, -1);  // kept with a maximum level of 1
    add(store.unknownList, 100);
    add(store.knownList, 7);
    EXPECT_EQ(compute().levelCounts, (Bins{1, 0, 0, 0, 0, 0, 0, 2}));
}

TEST_F(Statistics, BalanceOfAnswersChoosesTheSuccessBin) {
    add(store.unknownList, 0, 2, 5);  // -3
    add(store.unknownList, 0, 0, 9);  // -9
    add(store.unknownList, 0, 1, 3);  // -2
    add(store.unknownList, 0);        // never asked
    add(store.knownList, 6, 4, 0);    // 4
    add(store.knownList, 6, 12, 1);   // 11
    const StatisticsFigures figures = compute();
    EXPECT_EQ(figures.successCounts, (Bins{2, 1, 0, 1, 0, 0, 0, 2}));

    const auto bars = successChartBars(figures.successCounts);
    EXPECT_EQ(bars[0].top, 125);
    EXPECT_EQ(bars[1].top, 165);
    EXPECT_EQ(bars[3].bottom, 205);
    EXPECT_EQ(bars[1].colour, 0) << "both losing bars are red";
    EXPECT_EQ(bars[2].colour, 2);
}

TEST_F(Statistics, FiguresWithNothingToDivideByShowZero) {
    StatisticsFigures figures = compute({500, 500});
    EXPECT_EQ(figures.averagelyAsked, 0.0);
    EXPECT_EQ(figures.timePerCard, 0.0);
    EXPECT_EQ(figures.percentWrong, 0.0);
    EXPECT_EQ(figures.wrongPerAnswer, 0.0);
    EXPECT_EQ(levelChartBars(figures.levelCounts)[0].top, 105);

    add(store.knownList, 6, 0, 3);  // wrong answers, but no unknown card to share them
    figures = compute({0, 10'000});
    EXPECT_EQ(figures.percentWrong, 0.0);
    EXPECT_EQ(formatRealFigure(figures.timePerCard), "3.33333333333333");
}

TEST(StatisticsFormat, RealsShowUpToFifteenSignificantDigits) {
    EXPECT_EQ(formatRealFigure(1.5), "1.5");
    EXPECT_EQ(formatRealFigure(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(formatRealFigure(1e17), "1e+17");
}

}  // namespace
