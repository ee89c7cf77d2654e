#include "app/screens/figures_panel.h"

#include <array>
#include <cmath>
#include <string_view>

#include "app/screens/layout.h"
#include "app/shell/text.h"
#include "draw2d/draw2d.h"
#include "game/block.h"
#include "game/challenge.h"

namespace {

// Dark enough that light text on it keeps 3:1 over the brightest board.
constexpr float PanelAlpha = 0.75f;
constexpr int32_t PanelLeft = (WindowWidth - FiguresPanelWidth) / 2;
constexpr int32_t ColumnGap = 24;
constexpr int32_t ColumnWidth = (FiguresPanelWidth - 2 * FiguresPanelPadding - ColumnGap) / 2;
constexpr int32_t LabelShade = 200;

// By kind, BlockSlowDown..BlockFlip (0 stays unused).
constexpr std::array<std::string_view, PowerUpKinds + 1> PowerUpLabels{"", "Slow-downs", "Blasts", "Collapses", "Flips"};

// Hundredths rounded to the nearest, "0.84".
std::string TwoDecimals(double value)
{
    const long long hundredths = std::llround(value * 100);
    const long long cents = hundredths % 100;
    return std::to_string(hundredths / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

void DrawColumn(const std::vector<TFigureLine>& lines, int32_t left, int32_t top)
{
    int32_t y = top;
    for (const TFigureLine& line : lines) {
        SetColor(LabelShade, LabelShade, LabelShade);
        DrawFontText(line.label, left, y, 0, 0);
        SetColor(255, 255, 255);
        const int32_t valueWidth = FontCharLeft(line.value, line.value.size(), 0, 0, 0);
        DrawFontText(line.value, left + ColumnWidth - valueWidth, y, 0, 0);
        y += FiguresLinePitch;
    }
}

} // namespace

TFigureColumns FigureColumns(const TPlayFigures& figures)
{
    TFigureColumns columns;
    columns.left = {{"Rows", std::to_string(figures.rows)},
                    {"Pieces", std::to_string(figures.pieces)},
                    {"Time", FormatPlayTime(figures.frames)},
                    {"Pieces a second", TwoDecimals(figures.PiecesPerSecond())}};
    for (int kind = BlockSlowDown; kind <= BlockFlip; ++kind)
        columns.right.push_back(
            {std::string(PowerUpLabels[static_cast<size_t>(kind)]), std::to_string(figures.powerUps[static_cast<size_t>(kind)])});
    columns.right.push_back({"Longest chain", std::to_string(figures.longestChain)});
    return columns;
}

void DrawFiguresPanel(const TPlayFigures& figures, int32_t top)
{
    SetRotation(0);
    SetColor(0, 0, 0);
    SetAlpha(PanelAlpha);
    DrawRect(PanelLeft, top, FiguresPanelWidth, FiguresPanelHeight);
    SetAlpha(1);
    const TFigureColumns columns = FigureColumns(figures);
    SetScale(FiguresTextScale, FiguresTextScale);
    const int32_t textTop = top + FiguresPanelPadding;
    DrawColumn(columns.left, PanelLeft + FiguresPanelPadding, textTop);
    DrawColumn(columns.right, PanelLeft + FiguresPanelPadding + ColumnWidth + ColumnGap, textTop);
    SetScale(1, 1);
    SetColor(255, 255, 255);
}
