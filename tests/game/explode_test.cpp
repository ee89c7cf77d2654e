#include <gtest/gtest.h>

#include <string>

#include "board_picture.h"
#include "game/boom.h"
#include "game/effects.h"

namespace {

class ExplodeTest : public GameTest {};

std::unique_ptr<game> FullBoard(int w, int h, char cell)
{
    std::string picture;
    for (int row = 0; row < h; ++row)
        picture += std::string(w, cell) + "\n";
    return BoardGame(picture);
}

} // namespace

TEST_F(ExplodeTest, BlastCoversThirtySevenCells)
{
    auto g = FullBoard(9, 9, '#');
    g->Explode(4, 4);
    EXPECT_EQ(Picture(*g), "#########\n"
                           "###...###\n"
                           "##.....##\n"
                           "#.......#\n"
                           "#.......#\n"
                           "#.......#\n"
                           "##.....##\n"
                           "###...###\n"
                           "#########\n");
    EXPECT_EQ(g->blocks.Count(), 81u - 37u);
}

TEST_F(ExplodeTest, BlastReachesExactlyDistanceThreePointFour)
{
    auto g = StandardGame();
    for (auto [bx, by] : {std::pair{13, 21}, {12, 22}, {11, 23}, {13, 22}, {12, 23}})
        AddBlock(*g, bx, by);
    g->Explode(10, 20);
    std::vector<std::pair<int, int>> left;
    for (const auto& b : g->blocks)
        left.emplace_back(b->x, b->y);
    EXPECT_EQ(left, (std::vector<std::pair<int, int>>{{13, 22}, {12, 23}}));
}

TEST_F(ExplodeTest, BlastEffectsSoundAndFlashEffect)
{
    auto g = StandardGame();
    AddBlock(*g, 5, 6);
    g->Explode(5, 6);
    EXPECT_TRUE(g->blocks.IsEmpty());
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\explode.ogg"});
    EXPECT_FLOAT_EQ(effects.flash, 1.578f);
    EXPECT_FLOAT_EQ(effects.glow, -0.21f);
    ASSERT_EQ(booms.Count(), 1u);
    EXPECT_EQ(booms.First()->x, 96 + 5 * 16);
    EXPECT_EQ(booms.First()->y, 6 * 16);
    EXPECT_EQ(booms.First()->time, 11);
    EXPECT_EQ(g->points, 0); // destroyed blocks score nothing
    EXPECT_FLOAT_EQ(effects.tint, 250.0f);

    g->Explode(0, 0);
    EXPECT_FLOAT_EQ(effects.glow, -0.42f);
    effects.glow = 0.746f;
    g->Explode(0, 0);
    EXPECT_FLOAT_EQ(effects.glow, 0.746f);
    EXPECT_EQ(booms.Count(), 3u);
}

TEST_F(ExplodeTest, SlowDownBlocksCountOnceEach)
{
    auto g = BoardGame("1.1....\n");
    g->Explode(1, 0);
    EXPECT_FLOAT_EQ(g->downwait, 48.0f * 1.195f * 1.195f);
    EXPECT_FLOAT_EQ(g->maxdown, 2.0f * 1.195f * 1.195f);
    EXPECT_FLOAT_EQ(effects.tint, 226.0f);
    EXPECT_FLOAT_EQ(effects.wobblev, 2 * 1.2338f);
    EXPECT_FLOAT_EQ(effects.flash, 1.578f);
}

TEST_F(ExplodeTest, BlastBlockExplodesAtOnceAndTheWalkSkipsWhatItRemoved)
{
    // In list order: the blast block at (2,0), then a slow-down block within both blasts,
    // then a block only the second blast reaches.
    auto g = BoardGame("..........\n");
    AddBlock(*g, 2, 0, 2);
    AddBlock(*g, 3, 0, 1);
    AddBlock(*g, 5, 0);
    g->Explode(0, 0);
    EXPECT_TRUE(g->blocks.IsEmpty());
    EXPECT_EQ(SoundCount("sfx\\explode.ogg"), 2);
    EXPECT_FLOAT_EQ(effects.tint, 238.0f); // the slow-down block was destroyed once
    ASSERT_EQ(booms.Count(), 2u);
    EXPECT_EQ(booms.First()->x, 2 * 16); // the inner blast finishes first
    EXPECT_EQ(booms.Last()->x, 0);
}

TEST_F(ExplodeTest, CollapseAndFlipOnlyFromTheCentreRow)
{
    auto g = BoardGame(".......\n"
                       ".......\n"
                       "...3...\n"
                       "..#.#..\n"
                       "....4..\n"
                       ".......\n"
                       "#......\n");
    g->Explode(3, 3);
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\explode.ogg"});
    EXPECT_EQ(Picture(*g), ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           "#......\n");
}

TEST_F(ExplodeTest, FlipsInTheCentreRowFlipOnceThenCollapse)
{
    auto g = BoardGame(".......\n"
                       "#......\n"
                       ".......\n"
                       ".34.4..\n"
                       ".......\n"
                       ".......\n"
                       ".......\n");
    g->Explode(3, 3);
    EXPECT_EQ(sounds, (std::vector<std::string>{"sfx\\explode.ogg", "sfx\\switch.ogg", "sfx\\plop.ogg"}));
    EXPECT_EQ(Picture(*g), ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           "#......\n");
}

TEST_F(ExplodeTest, ChainOverAWholeBoardOfBlastBlocks)
{
    // Every blast sets off its neighbours: the nesting goes hundreds of calls deep.
    auto g = FullBoard(20, 32, '2');
    g->Explode(0, 0);
    EXPECT_TRUE(g->blocks.IsEmpty());
    EXPECT_EQ(SoundCount("sfx\\explode.ogg"), 640);
    EXPECT_EQ(booms.Count(), 640u);
}
