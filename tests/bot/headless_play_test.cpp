#include <gtest/gtest.h>

#include <algorithm>

#include "bot/headless_play.h"
#include "game/board_picture.h"
#include "game/effects.h"

namespace {

class HeadlessPlayTest : public GameTest {};

} // namespace

TEST_F(HeadlessPlayTest, SameSeedSamePlay)
{
    const TPlayer player;
    const TPlayRecord first = PlayHeadless(player, 42, 6000);
    const TPlayRecord second = PlayHeadless(player, 42, 6000);
    EXPECT_EQ(first.points, second.points);
    EXPECT_EQ(first.frames, second.frames);
    EXPECT_GT(first.points, 0); // a few thousand frames clear rows
    EXPECT_FALSE(first.lost);
    EXPECT_EQ(first.frames, 6000);
}

TEST_F(HeadlessPlayTest, NoFramesNoPlay)
{
    const TPlayRecord record = PlayHeadless(TPlayer(), 1, 0);
    EXPECT_EQ(record.frames, 0);
    EXPECT_EQ(record.points, 0);
    EXPECT_FALSE(record.lost);
}

// Every combination of the options that change the rules, the drawing ones switched on in turn:
// the player keeps landing pieces, the board stays sound, and no play stalls.
TEST_F(HeadlessPlayTest, PlaysOnUnderEveryOptionCombination)
{
    constexpr int64_t kFrames = 2500;
    constexpr int64_t kLongestWait = 600; // frames between two landings, even at the slowest pace
    const TPlayer player;
    int combination = 0;
    for (int next = MinNextPieces; next <= MaxNextPieces; ++next)
        for (bool hardDrop : {false, true})
            for (bool hold : {false, true})
                for (TPace pace : {TPace::Classic, TPace::Brisk, TPace::Rapid}) {
                    const TPlayOptions options{next, combination % 2 == 0, hardDrop, hold, pace, combination % 3 == 0};
                    SCOPED_TRACE(combination++);
                    int64_t frame = 0, lastLanding = 0, pieces = 0, longest = 0;
                    const TPlayRecord record = PlayHeadless(
                        player, 7, kFrames,
                        [&](const game& play) {
                            ++frame;
                            CheckBoard(play, frame);
                            ASSERT_EQ(play.options, options);
                            ASSERT_EQ(play.coming.size(), static_cast<size_t>(next));
                            if (play.figures.pieces != pieces) {
                                pieces = play.figures.pieces;
                                longest = std::max(longest, frame - lastLanding);
                                lastLanding = frame;
                            }
                        },
                        options);
                    EXPECT_TRUE(record.lost || record.frames == kFrames);
                    EXPECT_GT(pieces, record.frames / kLongestWait);
                    EXPECT_LE(longest, kLongestWait);
                    if (hardDrop) {
                        EXPECT_GT(pieces * 40, record.frames) << "hard drops land a piece every few frames";
                    }
                }
}
