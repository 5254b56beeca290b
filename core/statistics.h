#pragma once

#include <array>
#include <cstdint>
#include <string>

class CardStore;

// The figures of the statistics window, computed afresh from the store whenever the
// window shows them. Counters and times cover the time since the list was opened or
// begun, since answer counters are not kept in list files.
struct StatisticsFigures {
    static constexpr int kBins = 8;

    // Cards per level 0..7, the last bin holding every level of 7 or more. Known cards
    // are included.
    std::array<int, kBins> levelCounts{};
    // Cards per balance of right minus wrong answers: bin 0 for -3 or less, bin e + 3
    // in between, bin 7 for 4 or more.
    std::array<int, kBins> successCounts{};

    int numberOfCards = 0;  // unknown cards only
    int knownCards = 0;
    int wrongCards = 0;
    int64_t totalAsked = 0;
    int64_t wrongAnswers = 0;
    // Right answers the unknown cards still need to reach the maximum level.
    int64_t remainingExaminations = 0;

    double averagelyAsked = 0;
    double timeTotalSeconds = 0;
    double timePerCard = 0;
    double percentWrong = 0;
    double wrongPerAnswer = 0;
};

// Milliseconds of the process clock: when the list was opened or begun, and now.
struct StatisticsClock {
    long long listStartTime = 0;
    long long now = 0;
};

StatisticsFigures computeStatistics(const CardStore& store, int32_t maxLevel,
                                    StatisticsClock clock);

// One bar of a chart in the window's pixels; right and bottom are exclusive.
struct ChartBar {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int colour = 0;  // index into the eight bar colours
};

// The frames the bars stand in; right and bottom exclusive like the bars.
struct ChartFrame {
    int left, top, right, bottom;
};
inline constexpr ChartFrame kLevelChartFrame{20, 25, 385, 105};
inline constexpr ChartFrame kSuccessChartFrame{20, 125, 385, 205};

// The bars of the level chart and of the learning-success chart, scaled so that the
// largest bin is 80 pixels high. An empty bin gives a bar of no height.
std::array<ChartBar, StatisticsFigures::kBins> levelChartBars(
    const std::array<int, StatisticsFigures::kBins>& counts);
std::array<ChartBar, StatisticsFigures::kBins> successChartBars(
    const std::array<int, StatisticsFigures::kBins>& counts);

// Red, green, blue of the eight bar colours.
struct BarColour {
    int red, green, blue;
};
inline constexpr std::array<BarColour, StatisticsFigures::kBins> kBarColours{{
    {255, 0, 0},
    {255, 50, 0},
    {255, 100, 0},
    {255, 255, 50},
    {255, 255, 0},
    {128, 255, 0},
    {0, 255, 0},
    {0, 255, 255},
}};

// A real figure as the window shows it: the shortest form with up to 15 significant
// digits, so 1.5 reads "1.5" and one third "0.333333333333333".
std::string formatRealFigure(double value);
