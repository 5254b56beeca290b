#include "core/statistics.h"

#include <algorithm>
#include <charconv>

#include "core/card_store.h"

namespace {

constexpr int kLastBin = StatisticsFigures::kBins - 1;

int levelBin(int32_t level) {
    // Levels below 0 (a card kept after reaching a maximum level of 0 or 1) share the
    // lowest bar, as levels of 7 and more share the highest, so that every card is shown.
    return std::clamp<int32_t>(level, 0, kLastBin);
}

int successBin(int32_t timesRight, int32_t timesWrong) {
    const int64_t balance = int64_t{timesRight} - timesWrong;
    return static_cast<int>(std::clamp<int64_t>(balance + 3, 0, kLastBin));
}

// A quotient whose divisor may be 0: such a figure has nothing to measure and shows 0,
// as the time per card does before the first answer.
double ratio(double dividend, double divisor) {
    return divisor == 0 ? 0.0 : dividend / divisor;
}

std::array<ChartBar, StatisticsFigures::kBins> chartBars(
    const std::array<int, StatisticsFigures::kBins>& counts, int baseline,
    const std::array<int, StatisticsFigures::kBins>& colours) {
    constexpr int kFirstLeft = 25;
    constexpr int kBarWidth = 40;
    constexpr int kBarPitch = 45;
    constexpr int kFullHeight = 80;
    int largest = *std::max_element(counts.begin(), counts.end());
    if (largest == 0)
        largest = 1;
    std::array<ChartBar, StatisticsFigures::kBins> bars;
    for (int i = 0; i < StatisticsFigures::kBins; ++i) {
        ChartBar& bar = bars[i];
        bar.left = kFirstLeft + kBarPitch * i;
        bar.right = bar.left + kBarWidth;
        bar.bottom = baseline;
        // Counts are card counts, so the product stays far inside 64 bits.
        bar.top = baseline - static_cast<int>(int64_t{counts[i]} * kFullHeight / largest);
        bar.colour = colours[i];
    }
    return bars;
}

}  // namespace

StatisticsFigures computeStatistics(const CardStore& store, int32_t maxLevel,
                                    StatisticsClock clock) {
    StatisticsFigures figures;
    auto countCard = [&figures](const Card* card) {
        ++figures.levelCounts[levelBin(card->level)];
        ++figures.successCounts[successBin(card->timesRight, card->timesWrong)];
        figures.wrongAnswers += card->timesWrong;
        figures.totalAsked += card->timesAsked;
    };
    store.unknownList.forEach([&](const Card* card) {
        countCard(card);
        figures.remainingExaminations += int64_t{maxLevel} - card->level;
    });
    store.knownList.forEach(countCard);

    figures.numberOfCards = store.unknownList.count();
    figures.knownCards = store.knownList.count();
    figures.wrongCards = store.wrongList.count();

    const double asked = static_cast<double>(figures.totalAsked);
    figures.averagelyAsked = ratio(asked, double(figures.numberOfCards) + figures.knownCards);
    figures.timeTotalSeconds = static_cast<double>(clock.now - clock.listStartTime) * 0.001;
    figures.timePerCard = ratio(figures.timeTotalSeconds, asked);
    figures.percentWrong =
        ratio(100.0 * static_cast<double>(figures.wrongAnswers), figures.numberOfCards);
    figures.wrongPerAnswer = ratio(static_cast<double>(figures.wrongAnswers), asked);
    return figures;
}

std::array<ChartBar, StatisticsFigures::kBins> levelChartBars(
    const std::array<int, StatisticsFigures::kBins>& counts) {
    return chartBars(counts, kLevelChartFrame.bottom, {0, 1, 2, 3, 4, 5, 6, 7});
}

std::array<ChartBar, StatisticsFigures::kBins> successChartBars(
    const std::array<int, StatisticsFigures::kBins>& counts) {
    // Both losing bars are red: a balance of -2 is as bad a sign as -3.
    return chartBars(counts, kSuccessChartFrame.bottom, {0, 0, 2, 3, 4, 5, 6, 7});
}

std::string formatRealFigure(double value) {
    // Written as printf's "%.15g" writes it, but with a point whatever the user's locale.
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return std::string(text, end.ptr);
}
