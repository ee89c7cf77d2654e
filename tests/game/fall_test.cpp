// game::Fall: every settled block drops as far as it goes, then the rows are scanned again.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "board_picture.h"

namespace {

class FallTest : public GameTest {};

} // namespace

TEST_F(FallTest, PacksEveryColumnInOrder)
{
    auto g = BoardGame("1....\n"
                       ".....\n"
                       "2.#..\n"
                       "..#.#\n"
                       "3....\n");
    AddBlock(*g, 1, -3); // from above the board too
    g->Fall();
    EXPECT_EQ(Picture(*g), ".....\n"
                           ".....\n"
                           "1....\n"
                           "2.#..\n"
                           "3##.#\n");
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\plop.ogg"});
    EXPECT_EQ(g->lost, 0); // the nested scan decides the loss again
}
