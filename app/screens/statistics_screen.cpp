#include "app/screens/statistics_screen.h"

#include "app/screens/frame.h"
#include "app/screens/menu_input.h"
#include "app/screens/menu_items.h"
#include "app/shell/text.h"
#include "draw2d/draw2d.h"
#include "game/block.h"

namespace {

const char* const PowerUpLabels[PowerUpKinds + 1] = {"", "Slow-downs", "Blasts", "Collapses", "Flips"};
constexpr TChallenge Challenges[] = {TChallenge::Sprint, TChallenge::Ultra, TChallenge::Daily, TChallenge::Race};

constexpr int32_t LinesTop = 140;
constexpr int32_t LinePitch = 20;
constexpr int32_t LabelLeft = 105;
constexpr int32_t ValueLeft = 265;
constexpr int32_t BestLeft = 320;

} // namespace

std::vector<TStatisticsLine> StatisticsLines(const TLifetimeStats& stats)
{
    std::vector<TStatisticsLine> lines = {
        {"Plays", std::to_string(stats.plays)},
        {"Time played", FormatPlayTime(stats.frames)},
        {"Rows", std::to_string(stats.rows)},
        {"Pieces", std::to_string(stats.pieces)},
    };
    for (int kind = BlockSlowDown; kind <= BlockFlip; ++kind)
        lines.push_back({PowerUpLabels[kind], std::to_string(stats.powerUps[static_cast<size_t>(kind)])});
    lines.push_back({"Best chain", std::to_string(stats.bestChain)});
    lines.push_back({"", "Tries", "Best"});
    for (const TChallenge c : Challenges) {
        const TChallengeRecord& record = stats.challenges[static_cast<size_t>(c)];
        lines.push_back({std::string(ChallengeTitle(c)), std::to_string(record.tries),
                         record.best.achieved ? FormatResult(c, record.best.value) : "-"});
    }
    return lines;
}

void StatisticsScreen()
{
    const std::vector<TStatisticsLine> lines = StatisticsLines(LoadStatistics());
    TMenuFocus focus(1); // "Return" only
    for (;;) {
        const int32_t click = StartMenuFrame(focus);
        SetColor(210, 210, 210);
        for (size_t i = 0; i < lines.size(); ++i) {
            const int32_t y = LinesTop + LinePitch * static_cast<int32_t>(i);
            DrawFontText(lines[i].label, LabelLeft, y, 0, 0);
            DrawFontText(lines[i].value, ValueLeft, y, 0, 0);
            DrawFontText(lines[i].best, BestLeft, y, 0, 0);
        }
        if (MenuFrameLeaves(click, focus, 0))
            break;
    }
}
