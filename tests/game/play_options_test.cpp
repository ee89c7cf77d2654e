// The rules of the play options on small boards: hard drop, hold, coming pieces, the landing
// shadow, the paces, and the figures every play counts.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "board_picture.h"
#include "game/effects.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

using Cells = std::vector<std::pair<int, int>>;

// What a piece is made of: its type and, per block in list order, cell, shades and kind.
using TPieceLook = std::tuple<int, std::vector<std::tuple<int, int, int, int, int, int>>>;

TPieceLook Look(int ptype, const std::vector<block>& blocks)
{
    std::vector<std::tuple<int, int, int, int, int, int>> cells;
    for (const block& b : blocks)
        cells.emplace_back(b.x, b.y, b.r, b.g, b.b, b.kind);
    return {ptype, cells};
}

TPieceLook Falling(const game& g)
{
    std::vector<block> blocks;
    for (const auto& b : g.place)
        blocks.push_back(*b);
    return Look(g.ptype, blocks);
}

TPieceLook Look(const TStampedPiece& piece) { return Look(piece.ptype, piece.blocks); }

// A falling piece put on the given cells by hand.
void PlacePiece(game& g, const Cells& cells, int type = PieceBar)
{
    g.place.Clear();
    for (const auto& [x, y] : cells) {
        auto b = std::make_shared<block>();
        b->x = x, b->y = y, b->r = 100, b->g = 110, b->b = 120;
        g.place.AddLast(b);
    }
    g.ptype = type;
    g.px = cells[1].first;
    g.py = cells[1].second;
}

TPlayOptions With(void (*set)(TPlayOptions&))
{
    TPlayOptions o;
    set(o);
    return o;
}

class PlayOptionsTest : public GameTest {};

} // namespace

TEST_F(PlayOptionsTest, HardDropLandsInItsFrameWithThePlopAndTheRowScanOfThatFrame)
{
    auto g = BoardGame("....\n"
                       "....\n"
                       "....\n"
                       "....\n"
                       "#.##\n"
                       "#.##\n");
    g->SetOptions(With([](TPlayOptions& o) { o.hardDrop = true; }));
    PlacePiece(*g, {{1, -1}, {1, 0}, {1, 1}, {1, 2}});
    g->nextdown = 10; // no gravity step in this frame
    controls.keyharddrop = 1;
    g->DoPiece(controls);
    EXPECT_EQ(Picture(*g), "....\n"
                           "....\n"
                           ".#..\n"
                           ".#..\n"
                           "####\n"
                           "####\n");
    EXPECT_EQ(sounds, std::vector<std::string>{"sfx\\plop.ogg"});
    EXPECT_EQ(g->place.Count(), 4u) << "the next piece comes in the same frame";
    EXPECT_EQ(g->nextdown, 0);
    g->Rules();
    EXPECT_EQ(Picture(*g), "....\n"
                           "....\n"
                           "....\n"
                           "....\n"
                           ".#..\n"
                           ".#..\n");
    EXPECT_EQ(g->points, 50);
    EXPECT_EQ(g->figures.pieces, 1);
    EXPECT_EQ(g->figures.rows, 2);
}

TEST_F(PlayOptionsTest, HardDropComesAfterTheMovesOfItsFrame)
{
    auto g = BoardGame("....\n"
                       "....\n"
                       "#...\n"
                       "#.#.\n");
    g->SetOptions(With([](TPlayOptions& o) { o.hardDrop = true; }));
    PlacePiece(*g, {{1, -2}, {1, -1}});
    g->nextdown = 10;
    controls.keyright = 1;
    controls.keyharddrop = 1;
    g->DoPiece(controls);
    EXPECT_EQ(Picture(*g), "....\n"
                           "..#.\n"
                           "#.#.\n"
                           "#.#.\n");
}

TEST_F(PlayOptionsTest, WithoutTheOptionHardDropAndHoldDoNothing)
{
    auto g = BoardGame("....\n"
                       "....\n"
                       "....\n");
    PlacePiece(*g, {{1, -1}, {1, 0}});
    g->nextdown = 10;
    controls.keyharddrop = 1;
    controls.keyhold = 1;
    g->DoPiece(controls);
    EXPECT_EQ(PieceCells(*g), (Cells{{1, -1}, {1, 0}}));
    EXPECT_FALSE(g->holdslot.full);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(Picture(*g), "....\n....\n....\n");
}

TEST_F(PlayOptionsTest, HoldKeepsShadesAndPowerUpsAndBringsThePieceBackAsFreshlyStamped)
{
    auto g = StandardGame();
    g->SetOptions(With([](TPlayOptions& o) {
        o.hold = true;
        o.hardDrop = true;
    }));
    SeedRandom(21);
    g->NewPiece();
    g->place.First()->kind = BlockBlast;
    const TPieceLook stamped = Falling(*g);
    // Turned and moved before it is held: it still comes back as stamped.
    controls.keyrotright = 1;
    controls.keyleft = 1;
    g->nextdown = 10;
    g->DoPiece(controls);
    controls = {};
    controls.keyhold = 1;
    g->DoPiece(controls);
    ASSERT_TRUE(g->holdslot.full);
    EXPECT_EQ(Look(g->holdslot.piece), stamped);
    const TPieceLook second = Falling(*g);
    EXPECT_NE(second, stamped);
    EXPECT_EQ(g->nextdown, 0);

    // A second hold before the piece lands is refused.
    g->nextdown = 10;
    g->DoPiece(controls);
    EXPECT_EQ(Falling(*g), second);
    EXPECT_EQ(Look(g->holdslot.piece), stamped);

    // After a landing the held piece comes back at the spawn, and the falling one is held.
    controls = {};
    controls.keyharddrop = 1;
    g->DoPiece(controls);
    const TPieceLook third = Falling(*g);
    controls = {};
    controls.keyhold = 1;
    g->nextdown = 10;
    g->DoPiece(controls);
    EXPECT_EQ(Falling(*g), stamped);
    EXPECT_EQ(g->px, g->w / 2);
    EXPECT_EQ(g->py, -2);
    EXPECT_EQ(g->rot, 0);
    EXPECT_EQ(Look(g->holdslot.piece), third);
}

TEST_F(PlayOptionsTest, HoldIntoAnEmptySlotTakesTheNextComingPiece)
{
    auto g = StandardGame();
    g->SetOptions(With([](TPlayOptions& o) {
        o.hold = true;
        o.nextPieces = 2;
    }));
    SeedRandom(4);
    g->NewPiece();
    ASSERT_EQ(g->coming.size(), 2u);
    const TPieceLook next = Look(g->coming.front());
    controls.keyhold = 1;
    g->nextdown = 10;
    g->DoPiece(controls);
    EXPECT_EQ(Falling(*g), next);
    EXPECT_EQ(g->coming.size(), 2u);
}

TEST_F(PlayOptionsTest, ComingPiecesAreThePiecesThatComeDrawnAsWithoutThem)
{
    // Without coming pieces, the pieces of a seed in the order they come.
    auto plain = StandardGame();
    SeedRandom(99);
    std::vector<TPieceLook> order;
    for (int i = 0; i < 12; ++i) {
        plain->NewPiece();
        order.push_back(Falling(*plain));
    }

    for (int shown = MinNextPieces + 1; shown <= MaxNextPieces; ++shown) {
        auto g = StandardGame();
        TPlayOptions o;
        o.nextPieces = shown;
        o.hardDrop = true;
        g->SetOptions(o);
        SeedRandom(99);
        g->NewPiece();
        controls.keyharddrop = 1;
        for (size_t i = 0; i + shown < order.size(); ++i) {
            ASSERT_EQ(g->coming.size(), static_cast<size_t>(shown));
            EXPECT_EQ(Falling(*g), order[i]) << shown << " shown, piece " << i;
            for (int k = 0; k < shown; ++k)
                EXPECT_EQ(Look(g->coming[k]), order[i + 1 + k]) << shown << " shown, piece " << i;
            g->DoPiece(controls); // lands the piece: the next one comes
            while (!g->blocks.IsEmpty())
                g->blocks.Remove(g->blocks.First());
        }
    }
}

TEST_F(PlayOptionsTest, LandingShadowAgainstTheWallsOverhangsAndAboveTheBoard)
{
    auto g = BoardGame("......\n"
                       "......\n"
                       "..##..\n"
                       "......\n"
                       "#....#\n"
                       "######\n");
    // On the overhang, from above the board.
    PlacePiece(*g, {{2, -3}, {3, -3}});
    EXPECT_EQ(g->LandingCells(), (Cells{{2, 1}, {3, 1}}));
    // Under the overhang, the overhang does not stop it.
    PlacePiece(*g, {{2, 3}, {3, 3}});
    EXPECT_EQ(g->LandingCells(), (Cells{{2, 4}, {3, 4}}));
    // Along the left wall, onto the block in the corner.
    PlacePiece(*g, {{0, 0}, {0, 1}});
    EXPECT_EQ(g->LandingCells(), (Cells{{0, 2}, {0, 3}}));
    // Where the stack reaches the top, the shadow stays above the board.
    AddBlock(*g, 5, 0);
    AddBlock(*g, 5, 1);
    AddBlock(*g, 5, 2);
    AddBlock(*g, 5, 3);
    PlacePiece(*g, {{5, -4}, {5, -3}});
    EXPECT_EQ(g->LandingCells(), (Cells{{5, -2}, {5, -1}}));
    // A settled block above the board stops it too.
    AddBlock(*g, 4, -1);
    PlacePiece(*g, {{4, -5}, {4, -4}});
    EXPECT_EQ(g->LandingCells(), (Cells{{4, -3}, {4, -2}}));
    // The shadow is where the hard drop lands.
    g->SetOptions(With([](TPlayOptions& o) { o.hardDrop = true; }));
    PlacePiece(*g, {{2, -3}, {3, -3}});
    g->nextdown = 10;
    controls.keyharddrop = 1;
    g->DoPiece(controls);
    EXPECT_EQ(Picture(*g), ".....#\n"
                           "..##.#\n"
                           "..##.#\n"
                           ".....#\n"
                           "#....#\n"
                           "######\n");
}

// Shapes no template makes, placed by hand, land by the same rule as the game's pieces.
TEST_F(PlayOptionsTest, LandingShadowOfPiecesNoTemplateMakes)
{
    auto g = BoardGame("......\n"
                       "......\n"
                       "..#...\n"
                       "......\n"
                       "......\n"
                       "......\n");
    // A column with a gap around a settled block: the cell above it stops the piece.
    PlacePiece(*g, {{2, 1}, {2, 3}});
    EXPECT_EQ(g->LandingCells(), (Cells{{2, 1}, {2, 3}}));
    // The same cell twice, and the gap is still there.
    PlacePiece(*g, {{2, 1}, {2, 1}, {2, 3}});
    EXPECT_EQ(g->LandingCells(), (Cells{{2, 1}, {2, 1}, {2, 3}}));
    // A piece that came in over a settled block stays where it is.
    PlacePiece(*g, {{2, 1}, {2, 2}, {2, 3}});
    EXPECT_EQ(g->LandingCells(), (Cells{{2, 1}, {2, 2}, {2, 3}}));
    // More cells than a template holds, down the left wall to the floor.
    Cells tall, landed;
    for (int y = -17; y < 0; ++y) {
        tall.emplace_back(0, y);
        landed.emplace_back(0, y + 6);
    }
    PlacePiece(*g, tall);
    EXPECT_EQ(g->LandingCells(), landed);
}

// A board wider and deeper than the rows and columns the shadow's marks hold lands the same way.
TEST_F(PlayOptionsTest, LandingShadowOnABoardPastTheMarkedColumnsAndRows)
{
    std::string picture;
    for (int row = 0; row < 40; ++row)
        picture += std::string(40, '.') + "\n";
    auto g = BoardGame(picture);
    // A block far down in a column past the marked ones.
    AddBlock(*g, 36, 38);
    PlacePiece(*g, {{36, 0}, {36, 1}});
    EXPECT_EQ(g->LandingCells(), (Cells{{36, 36}, {36, 37}}));
    // On a marked column, over a block below the marked rows, and to the floor past it.
    AddBlock(*g, 3, 35);
    PlacePiece(*g, {{3, 0}, {4, 0}});
    EXPECT_EQ(g->LandingCells(), (Cells{{3, 34}, {4, 34}}));
    PlacePiece(*g, {{5, 0}, {6, 0}});
    EXPECT_EQ(g->LandingCells(), (Cells{{5, 39}, {6, 39}}));
}

TEST_F(PlayOptionsTest, EachPaceStartsAtItsWaitAndSpeedsUpToItsFastest)
{
    const struct {
        TPace pace;
        float start, fastest;
    } paces[] = {{TPace::Classic, 48, 30}, {TPace::Brisk, 30, 12}, {TPace::Rapid, 16, 4}};
    for (const auto& p : paces) {
        auto g = StandardGame();
        TPlayOptions o;
        o.pace = p.pace;
        g->SetOptions(o);
        EXPECT_FLOAT_EQ(g->downwait, p.start);
        SeedRandom(3);
        g->NewPiece();
        g->DoPiece(controls);
        EXPECT_EQ(g->nextdown, static_cast<int>(p.start)) << "frames to the second row";
        g->downwait = 1.0f;
        g->Rules();
        EXPECT_FLOAT_EQ(g->downwait, p.fastest);
        EXPECT_FLOAT_EQ(g->maxdown, 2.0f) << "the fast drop is the same at every pace";
    }
    EXPECT_FLOAT_EQ(game{}.downwait, PaceRule(TPace::Classic).startWait);
}

TEST_F(PlayOptionsTest, FiguresCountRowsPiecesFramesAndPowerUps)
{
    // The blast in the cleared row reaches the one above it: a chain of two.
    auto g = BoardGame("...2...\n"
                       ".......\n"
                       "#2##3##\n");
    g->Rules();
    EXPECT_EQ(g->figures.rows, 1);
    EXPECT_EQ(g->figures.powerUps[BlockBlast], 2);
    EXPECT_EQ(g->figures.powerUps[BlockCollapse], 1);
    EXPECT_EQ(g->figures.powerUps[BlockSlowDown], 0);
    EXPECT_EQ(g->figures.longestChain, 2);
    // A later scan with a shorter chain leaves the longest.
    AddBlock(*g, 0, 2, BlockSlowDown);
    for (int col = 1; col < 7; ++col)
        AddBlock(*g, col, 2);
    g->Rules();
    EXPECT_EQ(g->figures.rows, 2);
    EXPECT_EQ(g->figures.powerUps[BlockSlowDown], 1);
    EXPECT_EQ(g->figures.longestChain, 2);

    // A blast that sets off a blast that sets off a third is a chain of three; the collapse in
    // the first one's reach lies in another row, so it is destroyed without taking effect.
    auto chain = BoardGame(".....2.\n"
                           "3......\n"
                           "...2...\n"
                           ".......\n"
                           "2######\n");
    chain->Rules();
    EXPECT_EQ(chain->figures.powerUps[BlockBlast], 3);
    EXPECT_EQ(chain->figures.powerUps[BlockCollapse], 0);
    EXPECT_EQ(chain->figures.longestChain, 3);
    EXPECT_EQ(Picture(*chain), ".......\n.......\n.......\n.......\n.......\n");

    // A blast sets off a slow-down anywhere in its reach, but flips only in its own row (where
    // the row above the cleared one has come down): both of those count, the one above does not.
    auto reach = BoardGame(".......\n"
                           ".......\n"
                           "..14...\n"
                           ".4...4.\n"
                           "###2###\n");
    reach->Rules();
    EXPECT_EQ(reach->figures.rows, 1);
    EXPECT_EQ(reach->figures.powerUps[BlockBlast], 1);
    EXPECT_EQ(reach->figures.powerUps[BlockSlowDown], 1);
    EXPECT_EQ(reach->figures.powerUps[BlockFlip], 2);
    EXPECT_EQ(reach->figures.longestChain, 1);

    auto play = StandardGame();
    SeedRandom(8);
    play->NewPiece();
    controls.keyfast = 1;
    while (play->figures.pieces < 3)
        play->DoPiece(controls);
    EXPECT_GT(play->figures.frames, 0);
    EXPECT_DOUBLE_EQ(play->figures.PiecesPerSecond(), 3.0 * 60 / static_cast<double>(play->figures.frames));
    EXPECT_EQ(TPlayFigures{}.PiecesPerSecond(), 0.0);
}

TEST(PlayOptions, DefaultsAndRanges)
{
    TPlayOptions o;
    EXPECT_TRUE(o.AllDefault());
    EXPECT_TRUE(o.Valid());
    o.nextPieces = MaxNextPieces + 1;
    EXPECT_FALSE(o.Valid());
    o.nextPieces = MinNextPieces - 1;
    EXPECT_FALSE(o.Valid());
    o = {};
    o.pace = static_cast<TPace>(PaceCount);
    EXPECT_FALSE(o.Valid());
    for (int p = 0; p < PaceCount; ++p) {
        TPace back = TPace::Classic;
        EXPECT_TRUE(PaceFromName(PaceName(static_cast<TPace>(p)), back));
        EXPECT_EQ(back, static_cast<TPace>(p));
    }
    TPace none = TPace::Brisk;
    EXPECT_FALSE(PaceFromName("slow", none));
    EXPECT_EQ(none, TPace::Brisk);
}
