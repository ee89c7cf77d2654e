#include "app/replay_screen.h"

#include <cstdio>

#include "app/attract_demo.h"
#include "app/layout.h"
#include "app/play_recording.h"
#include "app/replay_store.h"
#include "app/scores.h"
#include "app/screens.h"
#include "draw2d/draw2d.h"
#include "app/sound.h"
#include "game/game.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/random.h"

namespace {

constexpr int FastFramesPerShown = 4;

} // namespace

void WatchReplay(const TReplay& replay, TReplayViewing viewing)
{
    const int32_t playerSeed = RandomSeedValue();
    auto play = NewPlay();
    RestoreReplayStart(replay.start);
    play->SetOptions(replay.start.options);
    play->NewPiece();
    TReplayInputs inputs(replay.inputs);
    bool fast = false;
    ResetKeyState();
    const uint32_t activity = InputActivity();
    while (!inputs.Done()) {
        for (int i = 0; i < (fast ? FastFramesPerShown : 1) && !inputs.Done(); ++i) {
            const TFrameInput input = inputs.Next();
            if (input == InputPaused)
                PauseFrame();
            else
                PlayFrame(*play, FrameControls(input));
        }
        if (viewing == TReplayViewing::Demo)
            DrawDemoCaption();
        EndFrame();
        if (TakeTerminateRequest())
            EndProgram();
        if (IsKeyDown(VK_ESCAPE) || (viewing == TReplayViewing::Demo && InputActivity() != activity))
            break;
        if (TakeKeyHits(VK_SPACE))
            fast = !fast;
    }
    // A held Escape must not go on to leave the screen below as well.
    ResetKeyState();
    SeedRandom(playerSeed);
}

bool WatchReplayFile(const std::string& path)
{
    TReplay replay;
    std::string error;
    if (!LoadReplay(path, replay, error)) {
        std::fprintf(stderr, "brimstrand: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    WatchReplay(replay);
    return true;
}

TTableReplays FindTableReplays()
{
    TTableReplays replays;
    for (size_t i = 0; i < replays.size(); ++i)
        replays[i] = FindReplay(highscores.scores[i], highscores.names[i]);
    return replays;
}

bool ShowTableReplays(const TTableReplays& replays, int32_t click)
{
    for (size_t i = 0; i < replays.size(); ++i) {
        if (replays[i].empty())
            continue;
        const int32_t top = TableTop + TableRowPitch * static_cast<int32_t>(i);
        const int32_t hover = MouseInRect(TableRowLeft, top - 2, TableRowWidth, TableRowHeight);
        SetColor(255, hover ? 250 : 200, hover ? 39 : 120);
        DrawOval(TableNameLeft - 2 * TableMarkerSize, top + (TableRowHeight - TableMarkerSize) / 2 - 2,
                 TableMarkerSize, TableMarkerSize);
        SetColor(255, 255, 255);
        if (hover && click) {
            sound::Play(gamesounds.blipsound);
            WatchReplayFile(replays[i]);
            ResetMouseState();
            return true;
        }
    }
    return false;
}
