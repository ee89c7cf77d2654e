#include "app/screens/title.h"

#include "app/screens/attract_demo.h"
#include "app/screens/backdrop.h"
#include "app/screens/challenges_screen.h"
#include "app/screens/frame.h"
#include "app/screens/keys_page.h"
#include "app/screens/layout.h"
#include "app/screens/menu_input.h"
#include "app/screens/menu_items.h"
#include "app/screens/options.h"
#include "app/screens/play_screen.h"
#include "app/screens/table.h"
#include "app/shell/shell_state.h"
#include "app/shell/sound.h"
#include "app/shell/startup_trace.h"
#include "app/shell/text.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/firework.h"
#include "game/pictures.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

float titlefade = 0; // fade of the title intro and menu, 0 to 1


static_assert(MenuItemCount == AssetCount(TAsset::Menu), "one picture per menu item");
int32_t MenuItemLeft() { return HalfWidth() - MenuItemWidth / 2; }
int32_t MouseOnMenuItem(int item)
{
    return MouseInRect(MenuItemLeft(), MenuItemTop[item], MenuItemWidth, MenuItemHeight);
}

// The item Return, Enter, Space or pad A chooses while the arrows highlight nothing: the one
// under the pointer, else Play; -1 when none of them was pressed.
int32_t UnhighlightedChoice(const TMenuFocus& focus)
{
    if (!focus.Activated() || focus.Highlighted() >= 0)
        return -1;
    for (int item = 0; item < MenuItemCount; ++item)
        if (MouseOnMenuItem(item))
            return item;
    return MenuPlay;
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

// What the Keys page shows behind itself when opened from the title menu.
void DrawMenuBackdropFrame()
{
    Cls();
    DrawBackdrop();
    DrawFlash();
    boom::update();
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
    TMenuFocus focus(MenuItemCount, TFocusStart::Nothing);
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
        const int32_t keyChoice = UnhighlightedChoice(focus);
        if (focus.Chosen(MenuPlay, click, MouseOnMenuItem(MenuPlay)) || keyChoice == MenuPlay) {
            sound::Play(gamesounds.blipsound);
            PlayScreen();
        }
        if (focus.Chosen(MenuHighScores, click, MouseOnMenuItem(MenuHighScores)) || keyChoice == MenuHighScores) {
            sound::Play(gamesounds.blipsound);
            ScoreScreen();
            titlefade = 0.98f; // the menu comes back almost faded in
        }
        if (focus.Chosen(MenuOptions, click, MouseOnMenuItem(MenuOptions)) || keyChoice == MenuOptions) {
            sound::Play(gamesounds.blipsound);
            OptionsScreen();
            titlefade = 0.98f;
        }
        if (focus.Chosen(MenuChallenges, click, MouseOnMenuItem(MenuChallenges)) || keyChoice == MenuChallenges) {
            sound::Play(gamesounds.blipsound);
            ChallengesScreen();
            titlefade = 0.98f;
        }
        EndFrame();
        if (focus.Back())
            EndProgram();
        EndIfAsked();
        if (KeysPageAsked()) {
            KeysPage(DrawMenuBackdropFrame);
            titlefade = 0.98f;
        }
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

} // namespace

void TitleScreen()
{
    effects.tint = 250;
    TitleIntro();
    TitleMenu();
}
