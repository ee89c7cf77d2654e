#include <gtest/gtest.h>

#include "board_picture.h"
#include "game/boom.h"
#include "game/effects.h"

namespace {

class RulesTest : public GameTest {};

} // namespace

TEST_F(RulesTest, FullRowOfPlainBlocksSpeedsUp)
{
    auto g = BoardGame("....\n"
                       ".#..\n"
                       "####\n");
    g->Rules();
    EXPECT_EQ(Picture(*g), "....\n"
                           "....\n"
                           ".#..\n");
    EXPECT_EQ(g->points, 25);
    EXPECT_FLOAT_EQ(g->downwait, 48.0f / 1.115f);
    EXPECT_FLOAT_EQ(g->maxdown, 2.0f / 1.115f);
    EXPECT_FLOAT_EQ(effects.tint, 262.0f);
    EXPECT_FLOAT_EQ(effects.wobblev, 1.2338f);
    EXPECT_FLOAT_EQ(effects.flash, 0.54f);
    EXPECT_EQ(g->lost, 0);
    EXPECT_TRUE(sounds.empty());
}

TEST_F(RulesTest, FourRowsScoreFourTimesButSpeedUpOnce)
{
    auto g = BoardGame(".#..\n"
                       "####\n"
                       "####\n"
                       "####\n"
                       "####\n");
    g->Rules();
    EXPECT_EQ(Picture(*g), "....\n"
                           "....\n"
                           "....\n"
                           "....\n"
                           ".#..\n");
    EXPECT_EQ(g->points, 100);
    EXPECT_FLOAT_EQ(g->downwait, 48.0f / 1.115f);
    EXPECT_FLOAT_EQ(effects.tint, 262.0f);
    EXPECT_FLOAT_EQ(effects.wobblev, 1.2338f);
}

TEST_F(RulesTest, NothingToClearChangesNothingButTheBounds)
{
    auto g = BoardGame("....\n"
                       "###.\n");
    g->downwait = 20.0f;
    g->maxdown = 0.5f;
    g->Rules();
    EXPECT_FLOAT_EQ(g->downwait, 30.0f);
    EXPECT_FLOAT_EQ(g->maxdown, 1.0f);
    EXPECT_EQ(g->points, 0);
    EXPECT_FLOAT_EQ(effects.tint, 250.0f);
    EXPECT_FLOAT_EQ(effects.flash, 0.0f);
}

TEST_F(RulesTest, OneSlowDownBlockInTheLastRowSlowsDown)
{
    auto g = BoardGame("#...\n"
                       "##1#\n");
    effects.flash = 0.1f;
    g->Rules();
    EXPECT_EQ(Picture(*g), "....\n"
                           "#...\n");
    EXPECT_EQ(g->points, 25);
    EXPECT_FLOAT_EQ(g->downwait, 48.0f * 1.195f);
    EXPECT_FLOAT_EQ(g->maxdown, 2.0f * 1.195f);
    EXPECT_FLOAT_EQ(effects.tint, 238.0f);
    EXPECT_FLOAT_EQ(effects.wobblev, 1.2338f);
    EXPECT_FLOAT_EQ(effects.flash, 0.1f + 0.4489f);
}

TEST_F(RulesTest, TwoSlowDownBlocksCancelEveryChange)
{
    auto g = BoardGame("1#1#\n");
    g->Rules();
    EXPECT_EQ(g->points, 25);
    EXPECT_FLOAT_EQ(g->downwait, 48.0f);
    EXPECT_FLOAT_EQ(g->maxdown, 2.0f);
    EXPECT_FLOAT_EQ(effects.tint, 250.0f);
    EXPECT_FLOAT_EQ(effects.wobblev, 0.0f);
    EXPECT_FLOAT_EQ(effects.flash, 0.0f);
}

TEST_F(RulesTest, TheLowestFullRowDecidesTheVerdict)
{
    auto g = BoardGame("#1##\n"
                       "####\n");
    g->Rules();
    EXPECT_EQ(g->points, 50);
    EXPECT_FLOAT_EQ(g->downwait, 48.0f / 1.115f);
    EXPECT_FLOAT_EQ(effects.tint, 262.0f);
    EXPECT_FLOAT_EQ(effects.flash, 0.54f);
}

TEST_F(RulesTest, EvenFlipCountDoesNotFlip)
{
    auto g = BoardGame("#...\n"
                       ".#..\n"
                       "4#4#\n");
    g->Rules();
    EXPECT_EQ(Picture(*g), "....\n"
                           "#...\n"
                           ".#..\n");
    EXPECT_EQ(SoundCount("sfx\\switch.ogg"), 0);
}

TEST_F(RulesTest, OddFlipCountFlipsOnceAfterTheRowIsRemoved)
{
    auto g = BoardGame("#...\n"
                       ".#..\n"
                       "44#4\n");
    g->Rules();
    // The dropped stack (rows 1 and 2) is turned over and lifted: the bottom row is empty.
    EXPECT_EQ(Picture(*g), ".#..\n"
                           "#...\n"
                           "....\n");
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\switch.ogg"});
    EXPECT_EQ(g->lost, 1);
}

TEST_F(RulesTest, CollapseBlockDropsColumnsAndTheNestedScanClearsAgain)
{
    auto g = BoardGame("#.#.#\n"
                       ".#...\n"
                       "#..#.\n"
                       "3####\n");
    g->Rules();
    // After the clear every column falls to the floor, filling row 3, which the scan
    // nested in the collapse clears in turn.
    EXPECT_EQ(Picture(*g), ".....\n"
                           ".....\n"
                           ".....\n"
                           "#....\n");
    EXPECT_EQ(g->points, 50);
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\plop.ogg"});
    // Both scans judged their own rows: two speed-ups.
    EXPECT_FLOAT_EQ(g->downwait, 48.0f / 1.115f / 1.115f);
    EXPECT_FLOAT_EQ(effects.tint, 274.0f);
}

TEST_F(RulesTest, LossNeedsABlockAboveRowOneAfterTheScan)
{
    auto g = BoardGame("#...\n"
                       "....\n");
    g->Rules();
    EXPECT_EQ(g->lost, 1);

    g = BoardGame("#...\n"
                  "####\n");
    g->Rules();
    EXPECT_EQ(g->lost, 0); // the clear below moved it to row 1

    g = BoardGame("....\n"
                  "####\n");
    AddBlock(*g, 0, -1);
    g->Rules();
    EXPECT_EQ(g->lost, 1); // one clear only brings it to row 0

    g = BoardGame("....\n"
                  "####\n"
                  "####\n");
    AddBlock(*g, 0, -1);
    g->Rules();
    EXPECT_EQ(g->lost, 0);
    EXPECT_EQ(Picture(*g), "....\n"
                           "#...\n"
                           "....\n");

    g->lost = 1; // recomputed by every scan
    g->Rules();
    EXPECT_EQ(g->lost, 0);
}

TEST_F(RulesTest, SpeedBelowTheBoundsLastsUntilTheNextScan)
{
    auto g = StandardGame();
    g->NewPiece();
    for (int col = 0; col < 20; ++col)
        AddBlock(*g, col, 31);
    g->downwait = 30.0f;
    g->maxdown = 1.0f;
    g->Rules();
    EXPECT_FLOAT_EQ(g->downwait, 30.0f / 1.115f);
    EXPECT_FLOAT_EQ(g->maxdown, 1.0f / 1.115f);
    g->nextdown = 1;
    g->DoPiece(controls);
    EXPECT_EQ(g->nextdown, 26);
    controls.keyfast = 1;
    g->nextdown = 1;
    g->DoPiece(controls);
    EXPECT_EQ(g->nextdown, 0); // trunc(0.897): the next frame steps again
    g->Rules();
    EXPECT_FLOAT_EQ(g->downwait, 30.0f);
    EXPECT_FLOAT_EQ(g->maxdown, 1.0f);
}

TEST_F(RulesTest, QueuedBlastFiresAfterItsRowIsHandled)
{
    // The column above the blast drops first, bringing (4,3) within reach and (4,2) not.
    auto g = BoardGame(".........\n"
                       ".........\n"
                       "....#....\n"
                       "....#....\n"
                       ".........\n"
                       ".........\n"
                       ".........\n"
                       "####2####\n"
                       "#...#....\n");
    g->Rules();
    EXPECT_EQ(Picture(*g), ".........\n"
                           ".........\n"
                           ".........\n"
                           "....#....\n"
                           ".........\n"
                           ".........\n"
                           ".........\n"
                           ".........\n"
                           "#........\n");
    EXPECT_EQ(g->points, 25);
    EXPECT_TRUE(g->bangs.IsEmpty());
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\explode.ogg"});
    EXPECT_FLOAT_EQ(effects.flash, 1.578f); // a scan that queued a blast keeps the blast's flash
    EXPECT_FLOAT_EQ(effects.tint, 262.0f);
    ASSERT_EQ(booms.Count(), 1u);
    EXPECT_EQ(booms.First()->x, 4 * 16);
    EXPECT_EQ(booms.First()->y, 7 * 16);
}

TEST_F(RulesTest, QueuedBlastInACollapsingRowFiresAfterTheCollapse)
{
    // Before the collapse (5,1) is out of reach of (2,3); after it, (5,3) is within.
    auto g = BoardGame(".....#.\n"
                       ".......\n"
                       ".......\n"
                       "##2###3\n");
    g->Rules();
    EXPECT_EQ(Picture(*g), ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n");
    EXPECT_EQ(sounds, (std::vector<std::string>{"sfx\\plop.ogg", "sfx\\explode.ogg"}));
    EXPECT_TRUE(g->bangs.IsEmpty());
}

TEST_F(RulesTest, BlastThatCollapsesIsFiredAgainByTheNestedScan)
{
    // The queued blast at (2,4) catches the collapse block dropped into its row; the scan
    // nested in the collapse fires the same blast again, which reaches (5,4).
    auto g = BoardGame(".....#.\n"
                       ".......\n"
                       ".......\n"
                       "...3...\n"
                       "##2####\n");
    g->Rules();
    EXPECT_EQ(Picture(*g), ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n");
    EXPECT_EQ(sounds, (std::vector<std::string>{"sfx\\explode.ogg", "sfx\\plop.ogg", "sfx\\explode.ogg"}));
    ASSERT_EQ(booms.Count(), 2u);
    for (const auto& b : booms) {
        EXPECT_EQ(b->x, 2 * 16);
        EXPECT_EQ(b->y, 4 * 16);
    }
    EXPECT_TRUE(g->bangs.IsEmpty());
    EXPECT_EQ(g->points, 25);
}

TEST_F(RulesTest, BlastAfterFlipHitsTheTurnedStack)
{
    // The row holds a blast and one flip: the stack is turned before the blast fires.
    auto g = BoardGame("#......\n"
                       ".......\n"
                       ".......\n"
                       ".......\n"
                       ".......\n"
                       "#2#4###\n");
    g->Rules();
    // (0,0) dropped to (0,1), the flip sent it to row 4, where the blast at (1,5) reaches it.
    EXPECT_EQ(Picture(*g), ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n"
                           ".......\n");
    EXPECT_EQ(sounds, (std::vector<std::string>{"sfx\\switch.ogg", "sfx\\explode.ogg"}));
}
