#include "app/screens/game_over.h"

#include <string>

#include "app/screens/figures_panel.h"
#include "app/screens/layout.h"
#include "app/shell/text.h"
#include "app/screens/frame.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/termination.h"

namespace {

// A dark band across the middle of the window keeps the words readable over any board.
constexpr int32_t BandTop = 212;
constexpr int32_t BandHeight = 84;
constexpr float BandAlpha = 0.6f;
constexpr int32_t TitleY = 222;
constexpr float TitleScale = 2;
constexpr int32_t ScoreY = 266;
constexpr int32_t FiguresGap = 4;

void DrawEndText(const std::string& title, const std::string& line)
{
    SetRotation(0);
    SetColor(0, 0, 0);
    SetAlpha(BandAlpha);
    DrawRect(0, BandTop, WindowWidth, BandHeight);
    SetAlpha(1);
    SetColor(255, 255, 255);
    SetScale(TitleScale, TitleScale);
    DrawFontText(title, WindowWidth / 2, TitleY, 1, 0);
    SetScale(1, 1);
    DrawFontText(line, WindowWidth / 2, ScoreY, 1, 0);
}

} // namespace

void ShowGameOver(int32_t points, const TPlayFigures& figures, const std::function<void()>& drawBoard)
{
    ShowPlayEnd("Game over", "Score: " + std::to_string(points), figures, drawBoard);
}

void ShowPlayEnd(const std::string& title, const std::string& line, const TPlayFigures& figures,
                 const std::function<void()>& drawBoard)
{
    // Keys still being hammered at the moment of the loss must not skip the view unseen.
    DropPendingInput();
    for (int frame = 0; frame < GameOverFrames; ++frame) {
        drawBoard();
        DrawEndText(title, line);
        DrawFiguresPanel(figures, BandTop + BandHeight + FiguresGap);
        FinishFrame();
        if (TakeTerminateRequest())
            EndProgram();
        // A pending termination (a logout) ends the view so the name entry can keep the play.
        if (TakeAnyKeyHit() || TakeMouseHits(MouseLeft) || TTerminationDeferral::Pending())
            break;
    }
    // The key or click that ended the view is no letter of a name and no menu choice.
    DropPendingInput();
}
