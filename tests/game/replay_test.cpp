#include "game/replay.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "board_picture.h"
#include "game/board_hash.h"
#include "game/effects.h"
#include "game/replay_format.h"
#include "system/random.h"

namespace {

constexpr uint64_t EmptyBoard = 0xe0; // any value stands for the board before the first frame

std::vector<TFrameInput> AllInputs(const TReplay& r)
{
    std::vector<TFrameInput> frames;
    for (TReplayInputs inputs(r.inputs); !inputs.Done();)
        frames.push_back(inputs.Next());
    return frames;
}

TReplay Recorded(const std::vector<TFrameInput>& inputs, const std::vector<std::pair<int32_t, uint64_t>>& states)
{
    TReplayRecorder recorder({}, 0, EmptyBoard);
    for (size_t i = 0; i < inputs.size(); ++i)
        EXPECT_TRUE(recorder.AddFrame(inputs[i], states[i].first, states[i].second));
    return recorder.Finish("1.0", "2026-12-08T20:44:33Z", "ABC");
}

} // namespace

TEST(ReplayRecorder, MergesEqualFramesAndChecksOnlyScoreChanges)
{
    const std::vector<TFrameInput> inputs = {0, 0, InputLeft, InputLeft, InputLeft, InputPaused, 0};
    const std::vector<std::pair<int32_t, uint64_t>> states = {
        {0, EmptyBoard}, {0, 7}, {0, 7}, {25, 8}, {25, 8}, {25, 8}, {25, 9}};
    const TReplay r = Recorded(inputs, states);
    EXPECT_EQ(r.frames, 7u);
    EXPECT_EQ(r.inputs, (std::vector<TInputRun>{{0, 2}, {InputLeft, 3}, {InputPaused, 1}, {0, 1}}));
    EXPECT_EQ(r.checks, (std::vector<TReplayCheck>{{3, 25, 8}}));
    EXPECT_EQ(r.score, 25);
    EXPECT_EQ(r.board, 9u);
    EXPECT_EQ(r.name, "ABC");
    EXPECT_EQ(AllInputs(r), inputs);
    EXPECT_EQ(ReplayProblem(r), "");
}

TEST(ReplayRecorder, PauseFramesKeepTheLastScoreAndBoard)
{
    TReplayRecorder recorder({}, 0, EmptyBoard);
    recorder.AddFrame(InputFast, 25, 7);
    recorder.AddPauseFrames(3);
    recorder.AddFrame(0, 25, 7);
    const TReplay r = recorder.Finish("1.0", "2026-12-08T20:44:33Z", "");
    EXPECT_EQ(r.inputs, (std::vector<TInputRun>{{InputFast, 1}, {InputPaused, 3}, {0, 1}}));
    EXPECT_EQ(r.checks, (std::vector<TReplayCheck>{{0, 25, 7}}));
    EXPECT_EQ(r.board, 7u);
}

TEST(ReplayRecorder, KeepsOnlyTheControlsThePlaysOptionsHave)
{
    TReplayRecorder plain({}, 0, EmptyBoard);
    plain.AddFrame(InputHardDrop | InputLeft, 0, EmptyBoard);
    plain.AddFrame(InputHold, 0, EmptyBoard);
    EXPECT_EQ(plain.Finish("1.0", "2026-12-08T20:44:33Z", "").inputs,
              (std::vector<TInputRun>{{InputLeft, 1}, {0, 1}}));

    TReplayStart start;
    start.options.hold = true;
    TReplayRecorder holding(start, 0, EmptyBoard);
    holding.AddFrame(InputHardDrop | InputHold, 0, EmptyBoard);
    const TReplay r = holding.Finish("1.0", "2026-12-08T20:44:33Z", "");
    EXPECT_EQ(r.inputs, (std::vector<TInputRun>{{InputHold, 1}}));
    EXPECT_EQ(r.start.options, start.options);
    EXPECT_EQ(ReplayProblem(r), "");
}

TEST(ReplayRecorder, StopsAtADayOfFrames)
{
    TReplayRecorder recorder({}, 0, EmptyBoard);
    for (uint32_t i = 0; i < MaxReplayFrames; ++i)
        ASSERT_TRUE(recorder.AddFrame(i % 2 ? InputFast : 0, 0, EmptyBoard));
    EXPECT_TRUE(recorder.Full());
    EXPECT_FALSE(recorder.AddFrame(0, 0, EmptyBoard));
    const TReplay r = recorder.Finish("1.0", "2026-12-08T20:44:33Z", "");
    EXPECT_EQ(r.frames, MaxReplayFrames);
    EXPECT_EQ(r.inputs.size(), MaxReplayFrames);
    EXPECT_EQ(ReplayProblem(r), "");
}

TEST(ReplayChecker, FindsTheFirstFrameWhereScoreOrACheckedBoardDiffers)
{
    const std::vector<std::pair<int32_t, uint64_t>> recorded = {
        {0, EmptyBoard}, {0, EmptyBoard}, {0, 7}, {0, 7}, {25, 8}, {25, 8}, {25, 9}};
    const TReplay r = Recorded(std::vector<TFrameInput>(recorded.size(), 0), recorded);

    auto firstDifference = [&](std::vector<std::pair<int32_t, uint64_t>> rerun) -> int {
        TReplayChecker checker(r, 0);
        for (uint32_t f = 0; f < rerun.size(); ++f)
            checker.Check(f, rerun[f].first, checker.BoardChecked(f) ? rerun[f].second : 0);
        return checker.Differs() ? static_cast<int>(checker.FirstDifference()) : -1;
    };
    EXPECT_EQ(firstDifference(recorded), -1);
    // Boards are compared where the score changed and at the end: a difference in between shows
    // at the next of those.
    auto otherBoard = recorded;
    otherBoard[2].second = otherBoard[3].second = otherBoard[4].second = 5;
    EXPECT_EQ(firstDifference(otherBoard), 4);
    auto otherEnd = recorded;
    otherEnd[6].second = 5;
    EXPECT_EQ(firstDifference(otherEnd), 6);
    // Scores are compared in every frame.
    auto scoredEarly = recorded;
    scoredEarly[3].first = 25;
    EXPECT_EQ(firstDifference(scoredEarly), 3);
    auto scoredLess = recorded;
    scoredLess[5].first = 0;
    EXPECT_EQ(firstDifference(scoredLess), 5);
}

TEST(BoardHash, TellsApartEveryDifferenceTheRulesCanSee)
{
    auto g = BoardGame("....\n"
                       "#12.\n"
                       "#34#\n");
    const uint64_t original = BoardHash(*g);
    EXPECT_EQ(BoardHash(*BoardGame("....\n#12.\n#34#\n")), original);
    EXPECT_NE(BoardHash(*StandardGame()), original);

    auto differs = [&](auto edit) {
        auto copy = BoardGame("....\n#12.\n#34#\n");
        edit(*copy);
        return BoardHash(*copy) != original;
    };
    EXPECT_TRUE(differs([](game& c) { (*c.blocks.begin())->x += 1; }));
    EXPECT_TRUE(differs([](game& c) { (*c.blocks.begin())->y += 1; }));
    EXPECT_TRUE(differs([](game& c) { (*c.blocks.begin())->r += 1; }));
    EXPECT_TRUE(differs([](game& c) { (*c.blocks.begin())->g += 1; }));
    EXPECT_TRUE(differs([](game& c) { (*c.blocks.begin())->b += 1; }));
    EXPECT_TRUE(differs([](game& c) { (*c.blocks.begin())->kind = 4; }));
    // The same cells in another list order play on differently, so they hash apart.
    EXPECT_TRUE(differs([](game& c) {
        auto first = *c.blocks.begin();
        c.blocks.Remove(first.get());
        c.blocks.AddLast(first);
    }));
    // The falling piece is not part of the board.
    EXPECT_FALSE(differs([](game& c) {
        c.NewPiece();
        c.px += 3;
    }));
}

class ReplayPlayTest : public GameTest {
protected:
    static TControls Controls(TFrameInput input)
    {
        TControls c;
        c.keyrotleft = input & InputRotLeft;
        c.keyrotright = input & InputRotRight;
        c.keyleft = input & InputLeft;
        c.keyright = input & InputRight;
        c.keyfast = input & InputFast;
        return c;
    }

    // A scripted play recorded as the game records one, until lost or frames have passed.
    TReplay Record(int32_t seed, int frames)
    {
        std::mt19937 script(static_cast<uint32_t>(seed));
        SeedRandom(seed);
        TReplayStart start;
        start.seed = RandomSeedValue();
        auto g = StandardGame();
        TReplayRecorder recorder(start, g->points, BoardHash(*g));
        g->NewPiece();
        for (int f = 0; f < frames && !g->lost; ++f) {
            // Mostly dropping fast, now and then moving or turning.
            TFrameInput input = script() % 4 == 0 ? static_cast<TFrameInput>(script() % 16) : 0;
            if (script() % 8 != 0)
                input |= InputFast;
            if (script() % 50 == 0)
                input = InputPaused;
            if (input != InputPaused) {
                g->DoPiece(Controls(input));
                g->Rules();
            }
            recorder.AddFrame(input, g->points, BoardHash(*g));
        }
        return recorder.Finish("1.0", "2026-12-08T20:44:33Z", "ABC");
    }

    // Plays the replay again from seed; the first differing frame, or -1.
    int Rerun(const TReplay& r, int32_t seed)
    {
        SeedRandom(seed);
        auto g = StandardGame();
        TReplayChecker checker(r, g->points);
        g->NewPiece();
        TReplayInputs inputs(r.inputs);
        for (uint32_t f = 0; !inputs.Done(); ++f) {
            const TFrameInput input = inputs.Next();
            if (input != InputPaused) {
                g->DoPiece(Controls(input));
                g->Rules();
            }
            if (!checker.Check(f, g->points, checker.BoardChecked(f) ? BoardHash(*g) : 0))
                break;
        }
        return checker.Differs() ? static_cast<int>(checker.FirstDifference()) : -1;
    }
};

TEST_F(ReplayPlayTest, ARecordedPlayRunsAgainIdenticallyThroughItsText)
{
    const TReplay recorded = Record(4242, 20000);
    ASSERT_EQ(ReplayProblem(recorded), "");
    EXPECT_LT(recorded.frames, 20000u); // lost

    TReplay read;
    std::string error;
    ASSERT_TRUE(ParseReplay(WriteReplay(recorded), read, error)) << error;
    EXPECT_EQ(Rerun(read, read.start.seed), -1);
    // Another generator state deals other pieces, so the board differs by the end at the latest.
    EXPECT_GE(Rerun(read, read.start.seed + 1), 0);
}
