#include "app/cli/replay_verify.h"

#include <cstdio>

#include "app/screens/layout.h"
#include "app/screens/play_recording.h"
#include "app/storage/replay_store.h"
#include "app/screens/play_frames.h"
#include "draw2d/draw2d.h"
#include "draw2d/nulldraw2d.h"
#include "game/board_hash.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/termination.h"

namespace {

constexpr int ExitMatch = 0;
constexpr int ExitDiffers = 1;
constexpr int ExitUnreadable = 2;
constexpr int ExitInterrupted = 3;

} // namespace

void PrepareHeadlessPlay()
{
    SetGraphicsDriver(NullDraw2DDriverInstance());
    SetGraphics(CreateGraphics(WindowWidth, WindowHeight, 0, 0, 0));
    if (shapecount == 0)
        shape::Init();
}

std::string ChallengeSummary(const TReplay& replay)
{
    const TChallenge c = replay.start.challenge;
    if (c == TChallenge::None)
        return {};
    std::string text = ", " + std::string(ChallengeName(c));
    if (c == TChallenge::Daily)
        text += " " + replay.start.day;
    if (c == TChallenge::Sprint && replay.result == 0)
        return text + " not finished";
    return text + " " + FormatResult(c, replay.result);
}

TRerunOutcome RerunReplay(const TReplay& replay)
{
    // The start state was taken from a new play, so it goes back after one is made.
    auto play = NewPlay();
    RestoreReplayStart(replay.start);
    play->SetOptions(replay.start.options);
    play->SetChallenge(replay.start.challenge, replay.start.day);
    TReplayChecker checker(replay, play->points);
    play->NewPiece();
    TReplayInputs inputs(replay.inputs);
    TRerunOutcome outcome;
    for (uint32_t frame = 0; !inputs.Done(); ++frame) {
        if (TTerminationDeferral::Pending()) {
            outcome.interrupted = true;
            break;
        }
        const TFrameInput input = inputs.Next();
        if (input == InputPaused)
            PauseFrame();
        else
            PlayFrame(*play, FrameControls(input));
        outcome.frames = frame + 1;
        const uint64_t board = checker.BoardChecked(frame) ? BoardHash(*play) : 0;
        // A play ends with its loss or its goal: one over before the recording ends has gone
        // another way.
        const bool overEarly = play->Over() && !inputs.Done();
        if (!checker.Check(frame, play->points, board) || overEarly) {
            outcome.differs = true;
            outcome.firstDifference = frame;
            break;
        }
    }
    // The result is the rerun's own; a recorded one that differs was not earned by this play.
    if (!outcome.differs && !outcome.interrupted && RecordedResult(*play) != replay.result) {
        outcome.differs = true;
        outcome.firstDifference = outcome.frames == 0 ? 0 : outcome.frames - 1;
    }
    outcome.score = play->points;
    outcome.result = RecordedResult(*play);
    return outcome;
}

int VerifyReplayFiles(const std::vector<std::string>& files)
{
    PrepareHeadlessPlay();
    // A script must never read an interrupted run as "all match": the signal is taken here.
    const TTerminationDeferral deferral;
    int exitCode = ExitMatch;
    for (size_t checked = 0; checked < files.size(); ++checked) {
        const std::string& file = files[checked];
        TReplay replay;
        std::string error;
        const bool loaded = !TTerminationDeferral::Pending() && LoadReplay(file, replay, error);
        const TRerunOutcome outcome = loaded ? RerunReplay(replay) : TRerunOutcome{};
        if (TTerminationDeferral::Take()) {
            std::fflush(stdout);
            std::fprintf(stderr, "brimstrand: --verify interrupted: %zu of %zu files checked, the others not\n", checked,
                         files.size());
            return ExitInterrupted;
        }
        if (!loaded) {
            std::printf("%s: unreadable: %s\n", file.c_str(), error.c_str());
            exitCode = ExitUnreadable;
        } else if (outcome.differs) {
            std::printf("%s: score %d, frames %u: differs from frame %u\n", file.c_str(), replay.score, replay.frames,
                        outcome.firstDifference);
            if (exitCode == ExitMatch)
                exitCode = ExitDiffers;
        } else {
            std::printf("%s: score %d, frames %u%s: ok\n", file.c_str(), replay.score, replay.frames,
                        ChallengeSummary(replay).c_str());
        }
        std::fflush(stdout);
    }
    return exitCode;
}
