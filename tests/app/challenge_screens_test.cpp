// What the challenge screens show: the best beside each challenge, the race line, the result
// under a table and the Statistics page's lines.
#include <gtest/gtest.h>

#include "app/screens/challenge_play.h"
#include "app/screens/challenge_table_screen.h"
#include "app/screens/challenges_screen.h"
#include "app/screens/statistics_screen.h"

namespace {

TChallengeEntry Entry(int64_t result, const std::string& day = "")
{
    return {result, "ABC", "2026-12-09T10:00:00Z", day};
}

} // namespace

TEST(ChallengeScreens, TheBestBesideEachChallengeIsItsTablesFirstOfToday)
{
    EXPECT_EQ(BestShown({TChallenge::Sprint, {}}, "2026-12-09"), "-");
    EXPECT_EQ(BestShown({TChallenge::Sprint, {Entry(1517), Entry(1600)}}, "2026-12-09"), "00:25.28");
    EXPECT_EQ(BestShown({TChallenge::Ultra, {Entry(12500)}}, "2026-12-09"), "12500");
    const TChallengeTable daily{TChallenge::Daily, {Entry(900, "2026-12-09"), Entry(4000, "2026-12-08")}};
    EXPECT_EQ(BestShown(daily, "2026-12-09"), "900");
    EXPECT_EQ(BestShown(daily, "2026-12-10"), "-") << "yesterday's best is not today's";
}

TEST(ChallengeScreens, TheRaceLineAndThePlaysResultSayWhereThePlayStands)
{
    EXPECT_EQ(RaceLeadText(0), "Level");
    EXPECT_EQ(RaceLeadText(125), "Ahead 125");
    EXPECT_EQ(RaceLeadText(-50), "Behind 50");
    EXPECT_EQ(PlayResultLine(TChallenge::Sprint, {true, 1517}), "This play: 00:25.28");
    EXPECT_EQ(PlayResultLine(TChallenge::Sprint, {false, 900}), "This play: no time");
    EXPECT_EQ(PlayResultLine(TChallenge::Race, {true, 475}), "This play: 475");
}

TEST(ChallengeScreens, TheStatisticsPageListsEveryLifetimeFigure)
{
    TLifetimeStats stats;
    stats.plays = 3;
    stats.frames = 60 * 60 * 61 + 30;
    stats.rows = 120;
    stats.pieces = 400;
    stats.powerUps = {0, 1, 2, 3, 4};
    stats.bestChain = 5;
    stats.challenges[static_cast<size_t>(TChallenge::Sprint)] = {2, {true, 1517}};
    stats.challenges[static_cast<size_t>(TChallenge::Daily)] = {1, {true, 0}};
    const std::vector<TStatisticsLine> expected = {
        {"Plays", "3", ""},         {"Time played", "61:00.50", ""}, {"Rows", "120", ""},
        {"Pieces", "400", ""},      {"Slow-downs", "1", ""},         {"Blasts", "2", ""},
        {"Collapses", "3", ""},     {"Flips", "4", ""},              {"Best chain", "5", ""},
        {"", "Tries", "Best"},      {"Sprint", "2", "00:25.28"},     {"Ultra", "0", "-"},
        {"Daily", "1", "0"},        {"Race your best", "0", "-"},
    };
    EXPECT_EQ(StatisticsLines(stats), expected);
}
