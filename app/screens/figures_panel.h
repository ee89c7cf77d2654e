#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/play_figures.h"

// The figures of a finished play in a dark box, so that they read over any board at either
// Visibility: the play's own (rows, pieces, time, pieces a second) in the left column, what its
// power-ups did (each kind set off, the longest chain of blasts) in the right. The game-over
// view shows it, and so may any screen that ends a play.

struct TFigureLine {
    std::string label;
    std::string value;
    bool operator==(const TFigureLine&) const = default;
};

struct TFigureColumns {
    std::vector<TFigureLine> left;
    std::vector<TFigureLine> right;
};

// The lines the panel shows: time as mm:ss.cc, pieces a second to the hundredth.
TFigureColumns FigureColumns(const TPlayFigures& figures);

constexpr int32_t FiguresPanelWidth = 384;
constexpr int32_t FiguresPanelPadding = 7;
constexpr int32_t FiguresLinePitch = 15;
constexpr int32_t FiguresPanelLines = 5; // of the longer column
constexpr int32_t FiguresPanelHeight = 2 * FiguresPanelPadding + FiguresPanelLines * FiguresLinePitch;
constexpr float FiguresTextScale = 0.75f;

// Draws the panel centred across the window with its top at top; leaves scale 1, alpha 1 and the
// colour white.
void DrawFiguresPanel(const TPlayFigures& figures, int32_t top);
