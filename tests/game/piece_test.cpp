#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <vector>

#include "board_picture.h"
#include "game/effects.h"
#include "system/random.h"

namespace {

using Cells = std::vector<std::pair<int, int>>;

// Spawns pieces until one of the wanted type comes up.
void Spawn(game& g, int type)
{
    SeedRandom(1);
    do
        g.NewPiece();
    while (g.ptype != type);
}

Cells Shifted(Cells cells, int dx, int dy)
{
    for (auto& [cx, cy] : cells) {
        cx += dx;
        cy += dy;
    }
    return cells;
}

class PieceTest : public GameTest {};

} // namespace

TEST_F(PieceTest, FirstFrameStepsDownAndPlaysFallingSound)
{
    auto g = StandardGame();
    g->NewPiece();
    const Cells spawned = PieceCells(*g);
    ASSERT_EQ(g->nextdown, 0);
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), Shifted(spawned, 0, 1));
    EXPECT_EQ(g->py, -1);
    EXPECT_EQ(g->nextdown, 48);
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\falling.ogg"});
}

TEST_F(PieceTest, GravityStepsEveryTruncatedDownwaitFrames)
{
    auto g = StandardGame();
    g->NewPiece();
    std::vector<int> steps;
    for (int frame = 1; frame <= 140; ++frame) {
        if (frame == 60)
            g->downwait = 30.9f; // read only when the running wait is over
        const int before = g->py;
        g->DoPiece(controls);
        if (g->py != before)
            steps.push_back(frame);
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 49, 97, 127}));
    EXPECT_EQ(SoundCount("sfx\\falling.ogg"), 4);
}

TEST_F(PieceTest, EndlessWaitSaturates)
{
    auto g = StandardGame();
    g->NewPiece();
    g->downwait = 1e30f; // many slow-downs in a row
    g->DoPiece(controls);
    EXPECT_EQ(g->nextdown, INT_MAX);
    g->DoPiece(controls);
    EXPECT_EQ(g->nextdown, INT_MAX - 1);
}

TEST_F(PieceTest, FastDropWaitsForTheRunningWaitAndIsSilent)
{
    auto g = StandardGame();
    g->NewPiece();
    g->DoPiece(controls); // first step; a wait of 48 frames starts
    controls.keyfast = 1;
    std::vector<int> steps;
    for (int frame = 2; frame <= 60; ++frame) {
        const int before = g->py;
        g->DoPiece(controls);
        if (g->py != before)
            steps.push_back(frame);
    }
    EXPECT_EQ(steps, (std::vector<int>{49, 51, 53, 55, 57, 59}));
    EXPECT_EQ(SoundCount("sfx\\falling.ogg"), 1);

    controls.keyfast = 0; // the fast wait of 2 runs out first, then the falling sound returns
    g->DoPiece(controls);
    EXPECT_EQ(g->nextdown, 48);
    EXPECT_EQ(SoundCount("sfx\\falling.ogg"), 2);
}

TEST_F(PieceTest, SeveralPressesInOneFrameMoveOnce)
{
    auto g = StandardGame();
    g->NewPiece();
    g->nextdown = 100;
    const Cells spawned = PieceCells(*g);
    controls.keyleft = 3;
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), Shifted(spawned, -1, 0));
    EXPECT_EQ(g->px, 9);
    controls.keyleft = 0;
    controls.keyright = 2;
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), spawned);
    EXPECT_EQ(g->px, 10);
    EXPECT_TRUE(sounds.empty()); // refused or not, moves are silent
}

TEST_F(PieceTest, MovesAboveTheBoardStopAtWallsAndSettledBlocks)
{
    auto g = BoardGame("......\n"
                       "......\n");
    Spawn(*g, 0); // the bar lies in row -2, columns 2 to 5
    g->nextdown = 100;
    ASSERT_EQ(PieceCells(*g), (Cells{{2, -2}, {3, -2}, {4, -2}, {5, -2}}));
    controls.keyright = 1;
    g->DoPiece(controls);
    EXPECT_EQ(g->px, 3);
    controls.keyright = 0;
    controls.keyleft = 1;
    for (int i = 0; i < 4; ++i)
        g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), (Cells{{0, -2}, {1, -2}, {2, -2}, {3, -2}}));
    EXPECT_EQ(g->px, 1);

    controls.keyleft = 0;
    controls.keyright = 1;
    AddBlock(*g, 5, -2); // settled blocks refuse moves also above the board
    g->DoPiece(controls);
    EXPECT_EQ(g->px, 2);
    g->DoPiece(controls);
    EXPECT_EQ(g->px, 2);
    EXPECT_EQ(PieceCells(*g), (Cells{{1, -2}, {2, -2}, {3, -2}, {4, -2}}));
}

TEST_F(PieceTest, TurnsAboutThePivotWithoutWallKick)
{
    auto g = StandardGame();
    Spawn(*g, 0);
    g->nextdown = 100;
    controls.keyrotright = 1;
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), (Cells{{10, -3}, {10, -2}, {10, -1}, {10, 0}}));
    EXPECT_EQ(g->rot, 1);
    controls.keyrotright = 0;
    controls.keyleft = 1;
    for (int i = 0; i < 12; ++i)
        g->DoPiece(controls);
    ASSERT_EQ(g->px, 0);
    const Cells atWall = PieceCells(*g);
    controls.keyleft = 0;
    controls.keyrotleft = 1; // would reach column -1
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), atWall);
    controls.keyrotleft = 0;
    controls.keyrotright = 1; // would reach columns -1 and -2
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), atWall);
    EXPECT_EQ(g->rot, 1);

    controls.keyrotright = 0;
    controls.keyright = 1;
    g->DoPiece(controls);
    controls.keyright = 0;
    controls.keyrotleft = 1; // one column from the wall the turn fits: back to horizontal, counted as -1
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), (Cells{{0, -2}, {1, -2}, {2, -2}, {3, -2}}));
    EXPECT_EQ(g->rot, 0);
}

TEST_F(PieceTest, TurnRefusedByFloorAndSettledBlock)
{
    const std::string empty = "........\n"
                              "........\n"
                              "........\n";
    auto g = BoardGame(empty);
    Spawn(*g, 6); // T: (3,-2) (4,-3) (4,-2) (5,-2), pivot (4,-2)
    g->downwait = 1;
    for (int i = 0; i < 4; ++i)
        g->DoPiece(controls);
    const Cells resting = PieceCells(*g);
    ASSERT_EQ(resting, (Cells{{3, 2}, {4, 1}, {4, 2}, {5, 2}}));
    g->nextdown = 100;
    controls.keyrotright = 1; // the stem would point into row 3, below the floor
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), resting);
    EXPECT_EQ(g->rot, 0);

    auto h = BoardGame(empty);
    Spawn(*h, 6);
    h->downwait = 1;
    controls.keyrotright = 0;
    for (int i = 0; i < 3; ++i)
        h->DoPiece(controls);
    h->nextdown = 100;
    const Cells hanging = PieceCells(*h);
    AddBlock(*h, 4, 2); // where the clockwise turn would put the stem
    controls.keyrotright = 1;
    h->DoPiece(controls);
    EXPECT_EQ(PieceCells(*h), hanging);
    EXPECT_EQ(h->rot, 0);
    h->blocks.Clear();
    h->DoPiece(controls);
    EXPECT_EQ(PieceCells(*h), (Cells{{4, 0}, {5, 1}, {4, 1}, {4, 2}}));
    EXPECT_EQ(h->rot, 1);
}

TEST_F(PieceTest, SquareTradesCornersAndAlwaysTurns)
{
    auto g = StandardGame();
    Spawn(*g, 5);
    g->nextdown = 100;
    std::map<std::pair<int, int>, block*> before;
    for (const auto& b : g->place)
        before[{b->x, b->y}] = b.get();
    // Corners: top left (9,-3), bottom left (9,-2), bottom right (10,-2), top right (10,-3).
    controls.keyrotleft = 1;
    g->DoPiece(controls);
    std::map<std::pair<int, int>, block*> after;
    for (const auto& b : g->place)
        after[{b->x, b->y}] = b.get();
    EXPECT_EQ(after[std::make_pair(9, -2)], before[std::make_pair(9, -3)]);
    EXPECT_EQ(after[std::make_pair(10, -2)], before[std::make_pair(9, -2)]);
    EXPECT_EQ(after[std::make_pair(10, -3)], before[std::make_pair(10, -2)]);
    EXPECT_EQ(after[std::make_pair(9, -3)], before[std::make_pair(10, -3)]);
    EXPECT_EQ(g->rot, 0);

    controls.keyrotleft = 0;
    controls.keyrotright = 1;
    g->DoPiece(controls);
    for (const auto& b : g->place)
        EXPECT_EQ(b.get(), before[std::make_pair(b->x, b->y)]);

    // Against the wall and a settled block the square still turns: its cells do not change.
    controls.keyrotright = 0;
    controls.keyleft = 1;
    for (int i = 0; i < 12; ++i)
        g->DoPiece(controls);
    AddBlock(*g, 2, -3);
    const Cells cells = PieceCells(*g);
    controls.keyleft = 0;
    controls.keyrotright = 1;
    g->DoPiece(controls);
    EXPECT_NE(PieceCells(*g), cells);
    auto sorted = [](Cells c) { std::sort(c.begin(), c.end()); return c; };
    EXPECT_EQ(sorted(PieceCells(*g)), sorted(cells));
}

TEST_F(PieceTest, RestingPieceSlidesAndFallsFurtherUntilAGravityStepLandsIt)
{
    auto g = BoardGame("......\n"
                       "......\n"
                       "..##..\n"
                       "..##..\n");
    Spawn(*g, 5); // square in columns 2 and 3
    g->downwait = 1;
    for (int i = 0; i < 3; ++i)
        g->DoPiece(controls);
    ASSERT_EQ(g->py, 1); // resting on the stack
    ASSERT_EQ(g->place.Count(), 4u);
    g->nextdown = 3;
    controls.keyright = 1;
    g->DoPiece(controls);
    g->DoPiece(controls); // now over the gap in columns 4 and 5
    controls.keyright = 0;
    EXPECT_EQ(g->px, 5);
    EXPECT_EQ(SoundCount("sfx\\plop.ogg"), 0);
    for (int i = 0; i < 3; ++i)
        g->DoPiece(controls);
    EXPECT_EQ(SoundCount("sfx\\plop.ogg"), 1);
    EXPECT_EQ(Picture(*g), "......\n"
                           "......\n"
                           "..####\n"
                           "..####\n");
}

TEST_F(PieceTest, LandingSettlesInListOrderAndKeysMoveTheNewPiece)
{
    auto g = BoardGame("......\n"
                       "......\n");
    Spawn(*g, 0);
    std::vector<block*> piece;
    for (const auto& b : g->place)
        piece.push_back(b.get());
    g->downwait = 1;
    for (int i = 0; i < 3; ++i)
        g->DoPiece(controls);
    ASSERT_EQ(g->blocks.Count(), 0u);
    controls.keyleft = 1;
    g->DoPiece(controls); // the step to row 2 fails: the bar lands in row 1
    std::vector<block*> settled;
    for (const auto& b : g->blocks)
        settled.push_back(b.get());
    EXPECT_EQ(settled, piece);
    EXPECT_EQ(Picture(*g), "......\n"
                           "..####\n");
    EXPECT_EQ(g->place.Count(), 4u);
    EXPECT_EQ(g->px, 2); // new piece, already moved
    EXPECT_EQ(g->py, -2);
    EXPECT_EQ(g->nextdown, 0);
    EXPECT_EQ(sounds.back(), "sfx\\plop.ogg");
}

TEST_F(PieceTest, NoNewPieceOnceLost)
{
    auto g = BoardGame("....\n"
                       "....\n");
    Spawn(*g, 5);
    g->lost = 1;
    g->downwait = 1;
    for (int i = 0; i < 5; ++i)
        g->DoPiece(controls);
    EXPECT_TRUE(g->place.IsEmpty());
    EXPECT_EQ(Picture(*g), ".##.\n"
                           ".##.\n");
    EXPECT_EQ(g->blocks.Count(), 4u);
}
