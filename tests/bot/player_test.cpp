#include <gtest/gtest.h>

#include <array>
#include <string>

#include "bot/headless_play.h"
#include "bot/occupancy.h"
#include "bot/player.h"
#include "game/board_picture.h"
#include "game/effects.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

// Far more frames than any piece needs to land on these boards.
constexpr int kLandingFrames = 2000;

// A board picture: rows of free cells over the stack, as wide as its rows.
std::string OverSky(int rows, const std::string& stack)
{
    std::string picture;
    for (int i = 0; i < rows; ++i)
        picture += std::string(stack.find('\n'), '.') + "\n";
    return picture + stack;
}

class PlayerTest : public GameTest {
protected:
    // Spawns pieces from a fixed seed until one of the type comes up, then gives its blocks
    // the kinds, in list order.
    static void SpawnPiece(game& g, int type, std::array<int, 4> kinds = {})
    {
        SeedRandom(1);
        do
            g.NewPiece();
        while (g.ptype != type);
        int i = 0;
        for (const auto& b : g.place)
            b->kind = kinds[i++];
    }

    // Lets the player steer the falling piece through the real rules until it lands.
    // Returns false when it never lands.
    bool Land(game& g)
    {
        const auto piece = g.place.First();
        for (int frame = 0; frame < kLandingFrames; ++frame) {
            const TControls controls = player.Decide(g);
            EXPECT_LE(controls.keyrotleft + controls.keyrotright + controls.keyleft + controls.keyright, 1)
                << "one turn or move per frame";
            g.DoPiece(controls);
            g.Rules();
            if (!g.place.Contains(piece.get()))
                return true;
        }
        return false;
    }

    // Free cells with a block somewhere above them in their column.
    static int Holes(const game& g)
    {
        const std::string picture = Picture(g);
        int holes = 0;
        for (int x = 0; x < g.w; ++x) {
            bool covered = false;
            for (int y = 0; y < g.h; ++y) {
                const char c = picture[static_cast<size_t>(y) * (g.w + 1) + x];
                holes += covered && c == '.';
                covered = covered || c != '.';
            }
        }
        return holes;
    }

    const TPlayer player;
};

} // namespace

TEST_F(PlayerTest, DropsTheBarIntoTheWellForFourRows)
{
    auto g = BoardGame(OverSky(5, "#.........\n"
                                  "#########.\n"
                                  "#########.\n"
                                  "#########.\n"
                                  "#########.\n"));
    SpawnPiece(*g, PieceBar);
    ASSERT_TRUE(Land(*g));
    EXPECT_EQ(g->points, 100);
    EXPECT_EQ(Picture(*g), OverSky(9, "#.........\n"));
}

TEST_F(PlayerTest, WithHardDropLandsTheBarInTheWellOnceItIsAboveIt)
{
    auto g = BoardGame(OverSky(5, "#.........\n"
                                  "#########.\n"
                                  "#########.\n"
                                  "#########.\n"
                                  "#########.\n"));
    TPlayOptions options;
    options.hardDrop = true;
    g->SetOptions(options);
    SpawnPiece(*g, PieceBar);
    const auto piece = g->place.First();
    int frames = 0;
    for (; frames < kLandingFrames && g->place.Contains(piece.get()); ++frames) {
        const TControls controls = player.Decide(*g);
        const bool turnsOrMoves = controls.keyrotleft + controls.keyrotright + controls.keyleft + controls.keyright > 0;
        EXPECT_FALSE(controls.keyharddrop && turnsOrMoves) << "the hard drop only once in place";
        g->DoPiece(controls);
        g->Rules();
        if (controls.keyharddrop) {
            EXPECT_FALSE(g->place.Contains(piece.get())) << "landed in the frame of the hard drop";
        }
    }
    EXPECT_EQ(g->points, 100);
    EXPECT_EQ(Picture(*g), OverSky(9, "#.........\n"));
    // Without the hard drop the same bar takes many frames longer to fall.
    auto slow = BoardGame(OverSky(5, "#.........\n"
                                     "#########.\n"
                                     "#########.\n"
                                     "#########.\n"
                                     "#########.\n"));
    SpawnPiece(*slow, PieceBar);
    const auto slowPiece = slow->place.First();
    int slowFrames = 0;
    for (; slowFrames < kLandingFrames && slow->place.Contains(slowPiece.get()); ++slowFrames) {
        const TControls controls = player.Decide(*slow);
        EXPECT_EQ(controls.keyharddrop, 0);
        slow->DoPiece(controls);
        slow->Rules();
    }
    EXPECT_LT(frames, slowFrames);
}

TEST_F(PlayerTest, FillsTheGapThatCompletesARow)
{
    auto g = BoardGame(OverSky(7, "#.........\n"
                                  "####...###\n"));
    SpawnPiece(*g, PieceT);
    ASSERT_TRUE(Land(*g));
    EXPECT_EQ(g->points, 25);
    EXPECT_EQ(Holes(*g), 0);
}

TEST_F(PlayerTest, KeepsTheSquareOffTheNotch)
{
    auto g = BoardGame(OverSky(6, "#.......\n"
                                  "###.####\n"));
    SpawnPiece(*g, PieceSquare);
    ASSERT_TRUE(Land(*g));
    EXPECT_EQ(Holes(*g), 0);
}

// A high stack whose top row is short of one block, with covered holes below so nothing
// else can clear. Filling the gap takes a standing bar that would stick out above the stack,
// unless a blast in the row clears the space around it.
std::unique_ptr<game> HighStack(const std::string& topRow)
{
    std::string stack = topRow;
    for (int i = 0; i < 4; ++i)
        stack += "###.######\n"
                 "######.###\n"
                 "#.########\n";
    return BoardGame(OverSky(4, stack));
}

TEST_F(PlayerTest, OnAHighStackSetsOffTheBlastInTheRowItClears)
{
    auto g = HighStack("##.2######\n");
    SpawnPiece(*g, PieceBar);
    ASSERT_TRUE(Land(*g));
    EXPECT_EQ(g->points, 25);
    EXPECT_EQ(SoundCount("sfx\\explode.ogg"), 1);
    EXPECT_EQ(Picture(*g).substr(0, 6 * 11), OverSky(5, ".......###\n"));
}

TEST_F(PlayerTest, OnAHighStackLeavesAPlainRowThatWouldNeedASpike)
{
    auto g = HighStack("##.#######\n");
    SpawnPiece(*g, PieceBar);
    ASSERT_TRUE(Land(*g));
    EXPECT_EQ(g->points, 0);
    EXPECT_EQ(Picture(*g).substr(0, 5 * 11), OverSky(3, "......####\n"
                                                        "##.#######\n"));
}

// The square's turns trade its corners: the blast it carries goes into the row it completes
// when that clears a high stack.
TEST_F(PlayerTest, TurnsTheSquareToPutItsBlastInTheClearedRow)
{
    auto g = HighStack("##..######\n");
    SpawnPiece(*g, PieceSquare, {BlockBlast, 0, 0, 0}); // the top left corner
    ASSERT_TRUE(Land(*g));
    EXPECT_EQ(g->points, 25);
    EXPECT_EQ(SoundCount("sfx\\explode.ogg"), 1);
}

TEST_F(PlayerTest, SameStateSameControlsAndNothingChanges)
{
    auto a = HighStack("##..######\n");
    auto b = HighStack("##..######\n");
    SpawnPiece(*a, PieceT, {0, BlockBlast, 0, 0});
    SpawnPiece(*b, PieceT, {0, BlockBlast, 0, 0});
    const int32_t seed = RandomSeedValue();
    const std::string picture = Picture(*a);
    const auto cells = PieceCells(*a);
    for (int frame = 0; frame < 3; ++frame) {
        const TControls first = player.Decide(*a);
        EXPECT_EQ(player.Decide(*a), first);
        EXPECT_EQ(player.Decide(*b), first);
    }
    EXPECT_EQ(RandomSeedValue(), seed); // the search draws no random numbers
    EXPECT_EQ(Picture(*a), picture);
    EXPECT_EQ(PieceCells(*a), cells);
}

TEST_F(PlayerTest, NoKeysInTheFrameThatLandsThePiece)
{
    auto g = BoardGame(OverSky(3, "###.##\n"));
    SpawnPiece(*g, PieceT);
    // Down onto the floor row: the T stands on the blocks either side of the gap.
    for (const auto& b : g->place)
        b->y += 4;
    g->py += 4;
    g->nextdown = 1; // this frame's gravity step lands it; keys would move the next piece
    EXPECT_EQ(player.Decide(*g), TControls{});
    g->nextdown = 2; // one more frame: the piece may still slide
    EXPECT_NE(player.Decide(*g), TControls{});
}

TEST_F(PlayerTest, BoardsWiderThanTheSearchGetNoControls)
{
    auto g = BoardGame(OverSky(3, std::string(TOccupancy::kMaxWidth + 1, '#') + "\n"));
    SpawnPiece(*g, PieceT);
    EXPECT_EQ(player.Decide(*g), TControls{});
    g->w = 0;
    EXPECT_EQ(player.Decide(*g), TControls{});
}

// What the player keeps between frames never changes a choice: frame after frame of seeded
// plays, with the options off and with every one on, a player that has followed the play
// presses what a player seeing it for the first time presses.
TEST_F(PlayerTest, KeepingWhatItWorkedOutChangesNoChoice)
{
    constexpr int64_t kFrames = 1500;
    for (const TPlayOptions& options : {TPlayOptions{}, TPlayOptions{MaxNextPieces, true, true, true, TPace::Rapid, true}}) {
        int64_t checked = 0;
        const TPlayRecord record = PlayHeadless(
            player, 5, kFrames,
            [&](const game& play) {
                if (!HasFailure()) {
                    ASSERT_EQ(player.Decide(play), TPlayer().Decide(play)) << "frame " << checked;
                }
                ++checked;
            },
            options);
        EXPECT_EQ(checked, record.frames);
        EXPECT_GT(record.frames, 0);
    }
}
