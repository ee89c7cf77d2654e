#include <gtest/gtest.h>

#include <random>
#include <string>

#include "bot/board_model.h"
#include "game/board_picture.h"

namespace {

class BoardModelTest : public GameTest {
protected:
    // The cells of the model drawn like Picture draws a game, power-ups not told apart.
    static std::string Cells(const TBoardModel& model)
    {
        const TOccupancy cells = model.Cells();
        std::string out;
        for (int y = 0; y < cells.Height(); ++y) {
            for (int x = 0; x < cells.Width(); ++x)
                out += cells.Filled(x, y) ? '#' : '.';
            out += '\n';
        }
        return out;
    }

    static std::string Plain(std::string picture)
    {
        for (char& c : picture)
            if (c >= '1' && c <= '4')
                c = '#';
        return picture;
    }
};

} // namespace

// Random stacks crowded with power-ups and nearly full rows: the model's scan must leave the
// cells, the score and the verdict on the play exactly as the rules' own scan does.
TEST_F(BoardModelTest, ScansLikeTheRules)
{
    std::mt19937 rng(5);
    int blasts = 0, collapses = 0, flips = 0;
    for (int board = 0; board < 400; ++board) {
        const int w = 6 + static_cast<int>(rng() % 6), h = 8 + static_cast<int>(rng() % 8);
        const int top = 1 + static_cast<int>(rng() % (h - 1));
        auto g = BoardGame(std::string());
        g->w = w;
        g->h = h;
        for (int y = top; y < h; ++y) {
            const int gap = rng() % 3 == 0 ? -1 : static_cast<int>(rng() % w);
            for (int x = 0; x < w; ++x) {
                if (x == gap || rng() % 12 == 0)
                    continue;
                const int roll = static_cast<int>(rng() % 10);
                AddBlock(*g, x, y, roll < 6 ? 0 : roll - 5);
            }
        }
        TBoardModel model = TBoardModel::Of(*g);
        model.Scan();
        g->Rules();
        ASSERT_EQ(Cells(model), Plain(Picture(*g))) << "board " << board;
        ASSERT_EQ(model.Tally().rows * 25, g->points) << "board " << board;
        ASSERT_EQ(model.Lost(), g->lost != 0) << "board " << board;
        blasts += model.Tally().blasts;
        collapses += model.Tally().collapses;
        flips += model.Tally().flips;
    }
    EXPECT_EQ(SoundCount("sfx\\explode.ogg"), blasts);
    EXPECT_EQ(SoundCount("sfx\\switch.ogg"), flips);
    EXPECT_GT(blasts, 50);
    EXPECT_GT(collapses, 50);
    EXPECT_GT(flips, 20);
}

TEST_F(BoardModelTest, LeavesTheGameAlone)
{
    auto g = BoardGame("....\n"
                       "#2##\n");
    TBoardModel model = TBoardModel::Of(*g);
    model.Settle(0, 0, 0);
    model.Scan();
    EXPECT_EQ(model.Tally().rows, 1);
    EXPECT_EQ(Picture(*g), "....\n"
                           "#2##\n");
    EXPECT_TRUE(sounds.empty());
}
