#include "game/play_figures.h"

double TPlayFigures::PiecesPerSecond() const
{
    return frames == 0 ? 0.0 : static_cast<double>(pieces) * FramesPerSecond / static_cast<double>(frames);
}
