// game::Reverse: the stack turned upside down.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "board_picture.h"

namespace {

class ReverseTest : public GameTest {};

} // namespace

TEST_F(ReverseTest, FlipLeavesTheBottomRowEmpty)
{
    auto g = BoardGame(".....\n"
                       "..#..\n"
                       ".##..\n"
                       "####.\n"
                       "#.##.\n");
    g->Reverse(1);
    EXPECT_EQ(Picture(*g), "#.##.\n"
                           "####.\n"
                           ".##..\n"
                           "..#..\n"
                           ".....\n");
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\switch.ogg"});
}

TEST_F(ReverseTest, FlipOfAStackAboveTheBoard)
{
    auto g = BoardGame("....\n"
                       "....\n"
                       "#...\n");
    AddBlock(*g, 1, -1);
    g->Reverse(1);
    // Top was -1: row 2 goes to row -2 and row -1 to row 1.
    std::vector<std::pair<int, int>> cells;
    for (const auto& b : g->blocks)
        cells.emplace_back(b->x, b->y);
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{0, -2}, {1, 1}}));
}
