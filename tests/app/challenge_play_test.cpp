// Challenge plays through the play frames every play uses: their goals, their pieces, their
// replays.
#include <gtest/gtest.h>

#include "app/cli/replay_verify.h"
#include "app/screens/frame.h"
#include "app/screens/play_frames.h"
#include "app/screens/play_recording.h"
#include "app/settings/play_settings.h"
#include "bot/player.h"
#include "game/game.h"
#include "game/race.h"
#include "app/storage/replay_store.h"
#include "system/random.h"
#include "golden/golden_plays.h"

namespace {

struct TRecordedChallenge {
    TReplay replay;
    TPlayFigures figures;
    int64_t rowsBeforeLastFrame = 0;
};

TRecordedChallenge PlayChallenge(TChallenge challenge, const std::string& day, int32_t seed)
{
    PrepareHeadlessPlay();
    SeedRandom(seed);
    auto play = NewPlay();
    play->SetOptions(ChallengePlayOptions());
    play->SetChallenge(challenge, day);
    TPlayRecording recording(*play);
    play->NewPiece();
    const TPlayer player;
    TRecordedChallenge run;
    while (!play->Over()) {
        run.rowsBeforeLastFrame = play->figures.rows;
        const TControls controls = player.Decide(*play);
        PlayFrame(*play, controls);
        EndFrame();
        recording.AddPlayFrame(controls, *play);
    }
    run.replay = recording.Finished("BOT", GoldenDate);
    run.figures = play->figures;
    return run;
}

// The pieces a daily play deals, with other draws from the global generator between them.
std::vector<TStampedPiece> DailyPieces(const std::string& day, int drawsBetween)
{
    PrepareHeadlessPlay();
    SeedRandom(99 + drawsBetween);
    game play;
    StartPlay(play);
    play.SetChallenge(TChallenge::Daily, day);
    std::vector<TStampedPiece> pieces;
    for (int i = 0; i < 30; ++i) {
        play.NewPiece();
        TStampedPiece piece{play.ptype, {}};
        for (const auto& b : play.place)
            piece.blocks.push_back(*b);
        pieces.push_back(piece);
        for (int d = 0; d < drawsBetween * (i % 3); ++d)
            RandomInt(0, 100);
    }
    return pieces;
}

bool SamePieces(const std::vector<TStampedPiece>& a, const std::vector<TStampedPiece>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].ptype != b[i].ptype || a[i].blocks.size() != b[i].blocks.size())
            return false;
        for (size_t j = 0; j < a[i].blocks.size(); ++j) {
            const block &x = a[i].blocks[j], &y = b[i].blocks[j];
            if (x.r != y.r || x.g != y.g || x.b != y.b || x.kind != y.kind)
                return false;
        }
    }
    return true;
}

} // namespace

TEST(ChallengePlay, ASprintByTheBuiltInPlayerEndsOnItsFortiethRowAndItsReplayVerifies)
{
    const TRecordedChallenge run = PlayChallenge(TChallenge::Sprint, "", 1);
    EXPECT_GE(run.figures.rows, SprintRows);
    EXPECT_LT(run.rowsBeforeLastFrame, SprintRows) << "the play went on past its goal";
    EXPECT_EQ(run.replay.result, run.figures.frames);
    EXPECT_EQ(run.replay.start.challenge, TChallenge::Sprint);
    const TRerunOutcome outcome = RerunReplay(run.replay);
    EXPECT_FALSE(outcome.differs) << "from frame " << outcome.firstDifference;
    EXPECT_EQ(outcome.result, run.replay.result);
    EXPECT_EQ(ChallengeSummary(run.replay), ", sprint " + FormatPlayTime(run.figures.frames));

    // A result the play did not earn, and a play claimed to be a Sprint that ends after its goal.
    TReplay forged = run.replay;
    forged.result -= 1;
    EXPECT_TRUE(RerunReplay(forged).differs);
    TReplay longer = run.replay;
    longer.inputs.push_back({InputPaused, 5});
    longer.frames += 5;
    EXPECT_TRUE(RerunReplay(longer).differs);
}

TEST(ChallengePlay, AnUltraEndsOnItsLastFrame)
{
    const TRecordedChallenge run = PlayChallenge(TChallenge::Ultra, "", 2);
    EXPECT_EQ(run.figures.frames, UltraFrames);
    EXPECT_EQ(run.replay.result, run.replay.score);
    EXPECT_FALSE(RerunReplay(run.replay).differs);
}

TEST(ChallengePlay, ADailyPlayDealsTheDaysPiecesWhateverElseDraws)
{
    const auto today = DailyPieces("2026-12-09", 0);
    EXPECT_TRUE(SamePieces(today, DailyPieces("2026-12-09", 7)));
    EXPECT_TRUE(SamePieces(today, DailyPieces("2026-12-09", 31)));
    EXPECT_FALSE(SamePieces(today, DailyPieces("2026-12-10", 0)));

    // The day is part of the replay: the same inputs on another day's pieces go another way.
    TRecordedChallenge run = PlayChallenge(TChallenge::Daily, "2026-12-09", 3);
    EXPECT_FALSE(RerunReplay(run.replay).differs);
    run.replay.start.day = "2026-12-10";
    EXPECT_TRUE(RerunReplay(run.replay).differs);
}

// The race line comes from the recording's checks alone; a play raced against its own recording
// is level on every frame, and one point more is ahead from the frame it was scored.
TEST(ChallengePlay, AReplayRacedAgainstItselfIsLevelAllTheWay)
{
    PrepareHeadlessPlay();
    TReplay best;
    std::string error;
    ASSERT_TRUE(LoadReplay(std::string(BRIM_GOLDEN_DIR) + "/play1.replay", best, error)) << error;
    const TRace race(best);
    auto play = NewPlay();
    RestoreReplayStart(best.start);
    play->SetOptions(best.start.options);
    play->NewPiece();
    TReplayInputs inputs(best.inputs);
    int64_t playFrame = 0, levelFrames = 0, firstPoints = -1;
    TRace ahead(best);
    while (!inputs.Done()) {
        const TFrameInput input = inputs.Next();
        if (input == InputPaused) {
            PauseFrame();
            continue;
        }
        PlayFrame(*play, FrameControls(input));
        levelFrames += race.Lead(playFrame, play->points) == 0;
        if (firstPoints < 0 && play->points > 0)
            firstPoints = playFrame;
        ahead.Update(playFrame, play->points + (play->points > 0 ? 1 : 0));
        ++playFrame;
    }
    EXPECT_EQ(levelFrames, playFrame);
    EXPECT_EQ(race.BestScoreAt(playFrame + 1000), best.score);
    EXPECT_EQ(race.Lead(0, 0), 0);
    EXPECT_LT(race.Lead(playFrame, 0), 0);
    ASSERT_GE(firstPoints, 0);
    EXPECT_EQ(ahead.PassedAt(), firstPoints);
}
