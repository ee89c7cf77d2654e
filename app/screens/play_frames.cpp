#include "app/screens/play_frames.h"

#include <cmath>

#include "app/screens/backdrop.h"
#include "app/shell/canvas.h"
#include "app/shell/shell_state.h"
#include "draw2d/draw2d.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/firework.h"
#include "game/game.h"

namespace {


// The frame picture sways after a blast: wobble swings between -1 and 1 degrees and dies away.
void UpdateWobble()
{
    effects.wobble += effects.wobblev;
    effects.wobblev *= 0.955f;
    if (effects.wobble < -1)
        effects.wobblev = std::fabs(effects.wobblev);
    if (effects.wobble > 1)
        effects.wobblev = -std::fabs(effects.wobblev);
    if (std::fabs(effects.wobblev) < 0.01f) {
        effects.wobblev = 0;
        effects.wobble = 0;
    }
}

} // namespace

void DrawPlayBackdrop()
{
    Cls();
    PlayMusic(MusicPlay);
    // The background reddens as tint falls.
    const auto fade = static_cast<int32_t>(effects.tint + 5);
    SetColor(255, fade, fade);
    ToggleVisibilityOnTab();
    DrawBackground();
    firework::Update();
    SetColor(255, 255, 255);
    SetRotation(effects.wobble);
    UpdateWobble();
    DrawFramePicture();
    SetColor(255, 255, 255);
    SetRotation(0);
}

std::shared_ptr<game> NewPlay()
{
    auto play = std::make_shared<game>();
    StartPlay(*play);
    return play;
}

void PlayFrame(game& play, const TControls& controls)
{
    DrawPlayBackdrop();
    play.DoPiece(controls);
    play.Rules();
    play.Draw();
    DrawFlash();
    boom::update();
}

void PauseFrame()
{
    Cls();
    DrawBackdrop();
    SetCaptionColor();
    DrawImage(shellpictures.pausedimage, HalfWidth(), HalfHeight() + 34);
    DrawFlash();
    boom::update();
}
