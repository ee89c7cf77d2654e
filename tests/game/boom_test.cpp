#include <gtest/gtest.h>

#include "board_picture.h"
#include "game/boom.h"

namespace {

class BoomTest : public GameTest {};

} // namespace

TEST_F(BoomTest, AddAppendsAnElevenFrameEffect)
{
    auto first = boom::Add(10, 20);
    auto second = boom::Add(10, 20); // two blasts on one cell: two effects
    EXPECT_EQ(first->x, 10);
    EXPECT_EQ(first->y, 20);
    EXPECT_EQ(first->time, 11);
    ASSERT_EQ(booms.Count(), 2u);
    EXPECT_EQ(booms.First(), first);
    EXPECT_EQ(booms.Last(), second);
}
