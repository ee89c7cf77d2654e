#include <gtest/gtest.h>

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
