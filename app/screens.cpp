#include "app/screens.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "app/attract_demo.h"
#include "app/display.h"
#include "app/flash_limit.h"
#include "app/game_over.h"
#include "app/key.h"
#include "app/layout.h"
#include "app/play_recording.h"
#include "app/prefs.h"
#include "app/scores.h"
#include "app/shell_state.h"
#include "app/sound.h"
#include "app/startup.h"
#include "app/text.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "draw2d/image.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/firework.h"
#include "game/game.h"
#include "game/pictures.h"
#include "game/settings.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/random.h"

namespace {

float titlefade = 0; // fade of the title intro and menu, 0 to 1
uint64_t g_framesshown = 0;

int32_t HalfWidth() { return GraphicsWidth() / 2; }
int32_t HalfHeight() { return GraphicsHeight() / 2; }

void EndIfAsked()
{
    if (TakeTerminateRequest() || IsKeyDown(VK_ESCAPE))
        EndProgram();
}

void DrawLogo() { DrawImage(shellpictures.logoimage, HalfWidth(), HalfHeight() - 190); }

static_assert(MenuItemCount == AssetCount(TAsset::Menu), "one picture per menu item");
int32_t MenuItemLeft() { return HalfWidth() - MenuItemWidth / 2; }
int32_t MouseOnMenuItem(int item)
{
    return MouseInRect(MenuItemLeft(), MenuItemTop[item], MenuItemWidth, MenuItemHeight);
}

// The start of a title frame: the background under a white veil of the given opacity.
void DrawVeiledBackground(float veil)
{
    Cls();
    PlayMusic(MusicTitle);
    SetAlpha(1);
    ToggleVisibilityOnTab();
    DrawBackground();
    firework::Update();
    SetColor(255, 255, 255);
    SetAlpha(veil);
    DrawRect(0, 0, WindowWidth, WindowHeight);
    SetAlpha(1);
    SetRotation(0);
}

void TitleIntro()
{
    do {
        DrawVeiledBackground(1 - titlefade / 2);
        SetAlpha(titlefade);
        DrawFramePicture();
        DrawImage(shellpictures.logoimage, HalfWidth(), HalfHeight() - titlefade * 190);
        SetAlpha(titlefade / 2);
        DrawCredit();
        if (TMenuKeys::Take().activate)
            titlefade = 1;
        if (TakeMouseHits(MouseLeft)) {
            ResetMouseState();
            titlefade = 1;
        }
        FinishFrame();
        if (StartupTraced()) {
            TraceStartup("first title frame");
            EndProgram();
        }
        EndIfAsked();
        if (titlefade <= 1)
            titlefade += 0.0024f;
        else
            titlefade = 1;
    } while (titlefade != 1);
}

[[noreturn]] void TitleMenu()
{
    titlefade = 0;
    TMenuFocus focus(MenuItemCount);
    TIdleWatch idle;
    for (;;) {
        focus.Update();
        DrawVeiledBackground(0.5f - titlefade / 2);
        DrawFramePicture();
        DrawLogo();

        // Faint glows behind the items.
        SetColor(190, 199, 195);
        SetAlpha(titlefade * 0.02342f);
        for (int32_t top : MenuItemTop)
            DrawOval(MenuItemLeft(), top, MenuItemWidth, MenuItemHeight);
        const auto c = static_cast<int32_t>(1 + titlefade * 199);
        SetColor(c, c, c);
        SetAlpha(titlefade);
        for (int item = 0; item < MenuItemCount; ++item) {
            const int32_t m = focus.Shows(item, MouseOnMenuItem(item));
            SetScale(0.6f + 0.2f * m, 1 + 0.24f * m);
            DrawImage(shellpictures.menuimages[item], HalfWidth(), MenuItemTop[item] + MenuPictureDrop);
        }
        SetScale(1, 1);
        SetAlpha(0.5f + titlefade / 2);
        DrawCredit();

        // A light sweeping once across the window while the menu fades in.
        SetRotation(titlefade * 140);
        SetAlpha(0.1492f);
        DrawImage(pictures.flashboomimage, -179.8f + titlefade * 4405, 70 + titlefade * 189);
        SetAlpha(1);
        DrawFlash();
        boom::update();

        // One click, tested against each item in turn with the cursor read afresh.
        const int32_t click = TakeMouseHits(MouseLeft);
        if (focus.Chosen(MenuPlay, click, MouseOnMenuItem(MenuPlay))) {
            sound::Play(gamesounds.blipsound);
            PlayScreen();
        }
        if (focus.Chosen(MenuHighScores, click, MouseOnMenuItem(MenuHighScores))) {
            sound::Play(gamesounds.blipsound);
            ScoreScreen();
            titlefade = 0.98f; // the menu comes back almost faded in
        }
        if (focus.Chosen(MenuOptions, click, MouseOnMenuItem(MenuOptions))) {
            sound::Play(gamesounds.blipsound);
            OptionsScreen();
            titlefade = 0.98f;
        }
        EndFrame();
        if (focus.Back())
            EndProgram();
        EndIfAsked();
        if (idle.Expired()) {
            AttractDemo();
            idle.Restart();
            titlefade = 0.98f;
        }
        if (titlefade <= 1)
            titlefade += 0.0049f;
        else
            titlefade = 1;
    }
}

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

// Everything of a play frame under the board.
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

} // namespace

void TitleScreen()
{
    effects.tint = 250;
    TitleIntro();
    TitleMenu();
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

void PlayScreen()
{
    auto play = NewPlay();
    TPlayRecording recording(*play);
    play->NewPiece();
    key::Reset();
    for (;;) {
        const TControls controls = key::Update();
        PlayFrame(*play, controls);
        EndFrame();
        recording.AddPlayFrame(controls, *play);
        if (play->lost) {
            ShowGameOver(play->points, [&] {
                DrawPlayBackdrop();
                play->Draw();
            });
            recording.Save(EnterHighScore(play->points));
            break;
        }
        if (TakeTerminateRequest())
            EndProgram();
        if (key::PauseRequested()) {
            // A held Escape must not also end the program from the pause screen.
            ResetKeyState();
            PauseScreen();
        }
    }
}

void PauseScreen()
{
    ResetMouseState();
    for (;;) {
        PauseFrame();
        EndFrame();
        const TMenuKeys keys = TMenuKeys::Take();
        if (TakeMouseHits(MouseLeft) || keys.activate || TakePadHits(PadStart)) {
            ResetMouseState();
            // Presses made while paused were meant for no one: play resumes as it was left.
            DropPendingInput();
            return;
        }
        EndIfAsked();
    }
}

void ToggleVisibilityOnTab()
{
    if (TakeKeyHits(VK_TAB))
        settings.visibility = settings.visibility != 0 ? 0 : 1;
}

void DrawBackground()
{
    if (settings.visibility == 0)
        SetColor(122, 122, 122);
    background.backangle += 0.08f;
    SetRotation(background.backangle);
    background.backindex %= backcount;
    DrawImage(shellpictures.backimages[background.backindex], HalfWidth(), HalfHeight() - 140);
    if (background.backfade < 0)
        background.backfade = 0;
    if (background.backfade > 0.00001f) {
        SetAlpha(background.backfade);
        background.backfade -= 0.0011f;
        // Picture 0 never fades out: it counts as "no previous picture".
        if (background.backprev != 0)
            DrawImage(shellpictures.backimages[background.backprev], HalfWidth(), HalfHeight() - 140);
        SetAlpha(1);
    }
    if (background.backtimer > 0) {
        --background.backtimer;
    } else {
        background.backtimer = backperiod;
        background.backprev = background.backindex;
        background.backfade = 1;
        do
            background.backindex = RandomInt(0, backcount - 1);
        while (background.backindex == background.backprev);
    }
    SetRotation(0);
}

void PlayMusic(TMusicTrack which)
{
    const bool title = which == MusicTitle;
    auto& wanted = title ? gamesounds.titlechannel : gamesounds.gamechannel;
    auto& unwanted = title ? gamesounds.gamechannel : gamesounds.titlechannel;
    SetChannelVolume(wanted, settings.musicvolume);
    if (ChannelPlaying(unwanted))
        StopChannel(unwanted);
    if (!ChannelPlaying(wanted)) {
        // The tracks do not loop: one that ended, or was stopped for the other, starts again.
        StopChannel(wanted);
        wanted = CueSound(title ? gamesounds.titlemusic : gamesounds.gamemusic);
        SetChannelVolume(wanted, settings.musicvolume);
        ResumeChannel(wanted);
    }
}

void DrawFlash()
{
    const float opacity = FlashOpacity(effects.flash);
    if (effects.flash > 0.000001f) {
        SetAlpha(opacity);
        effects.flash -= 0.0598f;
        SetColor(255, 255, static_cast<int32_t>(effects.flash * 100 + 155));
        DrawRect(0, 0, GraphicsWidth(), GraphicsHeight());
        SetAlpha(1);
    }
}

void SetCaptionColor()
{
    // One grey at both: black, as Low once had it, vanished into the darkened background, and
    // Low's darker background leaves the grey standing out the more.
    SetColor(140, 145, 145);
}

void DrawFramePicture()
{
    if (settings.visibility != 0)
        SetColor(255, 255, 255);
    else
        SetColor(202, 202, 202);
    DrawImage(shellpictures.hudimage, HalfWidth(), HalfHeight());
    SetColor(255, 255, 255);
}

int32_t MouseInRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int32_t cx = CursorX(), cy = CursorY();
    return x < cx && cx < x + width && y < cy && cy < y + height ? 1 : 0;
}

int32_t HoverItem(int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int32_t m = MouseInRect(x, y, width, height);
    ItemColour(m);
    return m;
}

void ItemColour(int32_t hovered)
{
    if (hovered)
        SetColor(167, 167, 167);
    else
        SetColor(210, 210, 210);
}

void DrawBackdrop()
{
    PlayMusic(MusicTitle);
    SetColor(255, 255, 255);
    SetAlpha(1);
    ToggleVisibilityOnTab();
    DrawBackground();
    firework::Update();
    DrawFramePicture();
    DrawLogo();
}

bool ReturnClicked(int32_t click, const TMenuFocus& focus, int32_t item)
{
    const int32_t hover = MouseInRect(ReturnLeft, ReturnTop, ReturnWidth, ReturnHeight);
    ItemColour(focus.Shows(item, hover));
    DrawFontText("Return", ReturnLeft, ReturnTop, 0, 0);
    if (!focus.Chosen(item, click != 0, hover))
        return false;
    sound::Play(gamesounds.blipsound);
    return true;
}

bool EscapeToMenu()
{
    if (TakeTerminateRequest())
        EndProgram();
    if (!IsKeyDown(VK_ESCAPE))
        return false;
    ResetKeyState();
    return true;
}

void FinishFrame()
{
    DrawFlash();
    boom::update();
    EndFrame();
}

void EndFrame()
{
    ++g_framesshown;
    sound::Update();
    Flip(-1);
}

uint64_t FramesShown() { return g_framesshown; }

void EndProgram()
{
    KeepDisplaySettings();
    std::exit(0);
}
