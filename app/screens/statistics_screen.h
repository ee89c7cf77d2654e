#pragma once
#include <string>
#include <vector>

#include "app/storage/lifetime_stats.h"

// One line of the Statistics page: what it counts, and the figure; a challenge's line has its
// tries for the figure and its best beside them ("-" for none).
struct TStatisticsLine {
    std::string label;
    std::string value;
    std::string best{};
    bool operator==(const TStatisticsLine&) const = default;
};

// The page's lines: plays, time played, rows, pieces, each kind of power-up, the best chain, then
// a heading over the challenges' columns and each challenge's tries and best.
std::vector<TStatisticsLine> StatisticsLines(const TLifetimeStats& stats);

// The Statistics page of the Challenges screen: the lifetime figures of statistics.txt.
void StatisticsScreen();
