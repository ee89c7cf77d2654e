#include "app/screens/attract_demo.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/screens/layout.h"
#include "app/screens/replay_screen.h"
#include "app/storage/replay_store.h"
#include "app/shell/text.h"
#include "app/screens/caption.h"
#include "app/screens/frame.h"
#include "app/screens/hint.h"
#include "app/screens/play_frames.h"
#include "bot/player.h"
#include "draw2d/draw2d.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/game.h"
#include "system/clock.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

constexpr int32_t DemoIdleMillis = 30000;

int32_t IdleMillisFromEnvironment()
{
    const char* text = std::getenv("BRIM_DEMO_IDLE_MS");
    int32_t millis = 0;
    if (!text || std::from_chars(text, text + std::strlen(text), millis).ec != std::errc() || millis <= 0)
        return DemoIdleMillis;
    return millis;
}

// Demos counted from the first, so that every other one can be a stored replay.
int g_demos = 0;

// The best stored replay, shown as a demo; false when there is none that can be read.
bool ShowBestReplay()
{
    const std::string path = BestReplay();
    TReplay replay;
    std::string error;
    if (path.empty() || !LoadReplay(path, replay, error))
        return false;
    WatchReplay(replay, TReplayViewing::Demo);
    return true;
}


enum class TWatching { Demo, BotPlay };

// What --bot shows, at the foot of the window: the top is the demo's.
const char* const BotCaption = "Built-in player - Escape: end";

// One play with the built-in player at the controls, until it is lost or, in a demo, until
// somebody touches an input; returns true in that case.
bool WatchPlay(TWatching watching)
{
    const TPlayer player;
    game play;
    StartPlay(play);
    play.NewPiece();
    const uint32_t activity = InputActivity();
    while (!play.lost) {
        if (TakeTerminateRequest())
            EndProgram();
        if (watching == TWatching::Demo && InputActivity() != activity)
            return true;
        // A press seen only as a hit still counts: a slow frame may miss the key while it is down.
        if (watching == TWatching::BotPlay && (TakeKeyHits(VK_ESCAPE) || IsKeyDown(VK_ESCAPE)))
            EndProgram();
        PlayFrame(play, player.Decide(play));
        if (watching == TWatching::Demo)
            DrawDemoCaption();
        else
            DrawHint(BotCaption, WatchHintY, false);
        EndFrame();
    }
    return false;
}

} // namespace

TIdleWatch::TIdleWatch() : idleMillis_(IdleMillisFromEnvironment()) { Restart(); }

void TIdleWatch::Restart()
{
    activity_ = InputActivity();
    timesHidden_ = TimesHidden();
    since_ = ElapsedMillis();
}

bool TIdleWatch::Expired()
{
    if (InputActivity() != activity_ || TimesHidden() != timesHidden_)
        Restart();
    return ElapsedMillis() - since_ >= idleMillis_;
}

void AttractDemo()
{
    const TEffects menuEffects = effects;
    ++g_demos;
    if (g_demos % 2 == 1 || !ShowBestReplay())
        WatchPlay(TWatching::Demo);
    effects = menuEffects;
    booms.Clear();
    // The press that ended the demo must not also act on the menu.
    ResetKeyState();
    ResetMouseState();
}

void BotScreen()
{
    for (;;)
        WatchPlay(TWatching::BotPlay);
}
