#include "app/screens/replay_screen.h"

#include <cstdio>

#include "app/screens/layout.h"
#include "app/screens/play_recording.h"
#include "app/storage/replay_store.h"
#include "draw2d/draw2d.h"
#include "app/shell/sound.h"
#include "app/screens/caption.h"
#include "app/screens/frame.h"
#include "app/screens/hint.h"
#include "app/screens/play_frames.h"
#include "game/game.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/random.h"

namespace {

constexpr int FastFramesPerShown = 4;
// The font has no multiplication sign.
const char* const NormalCaption = "Replay x1";
const char* const FastCaption = "Replay x4";
const char* const ReplayHint = "Space: faster - Escape: back";
const char* const FastReplayHint = "Space: slower - Escape: back";

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
        if (viewing == TReplayViewing::Captioned) {
            DrawCaption(fast ? FastCaption : NormalCaption);
            DrawHint(fast ? FastReplayHint : ReplayHint, WatchHintY, false);
        }
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

bool WatchReplayFile(const std::string& path, TReplayViewing viewing)
{
    TReplay replay;
    std::string error;
    if (!LoadReplay(path, replay, error)) {
        std::fprintf(stderr, "brimstrand: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    WatchReplay(replay, viewing);
    return true;
}
