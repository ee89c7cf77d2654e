// Records the golden plays: scripted plays through the game's own frame code and recorder, with
// nothing drawn. Run it only to replace the golden plays on purpose (after a deliberate change
// to the rules or to the order of random draws), see README.md here:
//   record_golden <folder>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "app/screens/play_recording.h"
#include "app/cli/replay_verify.h"
#include "app/shell/shell_state.h"
#include "app/screens/backdrop.h"
#include "app/screens/frame.h"
#include "app/screens/play_frames.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/firework.h"
#include "game/game.h"
#include "game/replay_format.h"
#include "golden/golden_plays.h"
#include "golden/scripted_player.h"
#include "system/random.h"

namespace {

// The power-up blocks on the board, by identity.
std::map<const block*, int> PowerUps(const game& play)
{
    std::map<const block*, int> found;
    for (const auto& b : play.blocks)
        if (b->kind != BlockPlain)
            found[b.get()] = b->kind;
    return found;
}

// Frames of the title screen before the play, so that it starts with fireworks in flight and
// the background part way round.
void TitleFrames(uint32_t frames)
{
    for (uint32_t i = 0; i < frames; ++i) {
        DrawBackground();
        firework::Update();
        EndFrame();
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: record_golden <folder>\n");
        return 2;
    }
    PrepareHeadlessPlay();
    std::ofstream results(std::string(argv[1]) + "/" + GoldenResultsFile);
    for (const TGoldenPlay& golden : GoldenPlays) {
        SeedRandom(golden.gameSeed);
        effects.Reset();
        background.Reset();
        background.backtimer = backperiod;
        fireworks.Clear();
        booms.Clear();
        TitleFrames(golden.titleFrames);

        TScriptedPlayer player(golden.playerSeed, golden.recklessFrom);
        auto play = NewPlay();
        play->SetOptions(golden.options);
        play->SetChallenge(golden.challenge, golden.day);
        TPlayRecording recording(*play);
        play->NewPiece();
        int used[PowerUpKinds + 1] = {};
        while (!play->Over()) {
            for (uint32_t pause = player.PauseFrames(); pause > 0; --pause) {
                PauseFrame();
                EndFrame();
            }
            const TControls controls = player.Next(*play);
            const auto before = PowerUps(*play);
            PlayFrame(*play, controls);
            EndFrame();
            recording.AddPlayFrame(controls, *play);
            const auto after = PowerUps(*play);
            for (const auto& [b, kind] : before)
                used[kind] += after.count(b) == 0;
        }
        const TReplay replay = recording.Finished("BOT", GoldenDate);
        std::ofstream(std::string(argv[1]) + "/" + golden.file) << WriteReplay(replay);
        results << golden.file << ": score " << replay.score << ", frames " << replay.frames << ChallengeSummary(replay)
                << ": ok\n";
        std::printf("%s: score %d, frames %u, pause frames %u, power-ups used: slow-down %d, blast %d, "
                    "collapse %d, flip %d\n",
                    golden.file, replay.score, replay.frames,
                    [&] {
                        uint32_t n = 0;
                        for (const TInputRun& run : replay.inputs)
                            n += run.input == InputPaused ? run.frames : 0;
                        return n;
                    }(),
                    used[BlockSlowDown], used[BlockBlast], used[BlockCollapse], used[BlockFlip]);
    }
    return 0;
}
