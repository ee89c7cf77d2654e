#include <gtest/gtest.h>

#include <array>
#include <string>

#include "bot/board_memo.h"
#include "bot/occupancy.h"
#include "bot/piece_model.h"
#include "game/board_picture.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

// Overhangs, a covered hole, a lone block in the top row and an open floor cell.
const std::string kRagged = "..........\n"
                            "......#...\n"
                            "..#.......\n"
                            "..#....##.\n"
                            ".......#..\n"
                            "#..#...#..\n"
                            "##.#.#.##.\n";

class BoardMemoTest : public GameTest {
protected:
    // The model of the first piece of the type the seeded draws bring, in each orientation.
    static std::array<TPieceModel, 4> Orientations(game& g, int type)
    {
        SeedRandom(3);
        do
            g.NewPiece();
        while (g.ptype != type);
        const TPieceModel piece = TPieceModel::Of(g);
        return {piece, piece.Turned(true), piece.Turned(true).Turned(true), piece.Turned(false)};
    }
};

} // namespace

// Every template in every orientation, from every column in and beyond the walls and every row
// from above the board to below the floor: the drop stops where the row-by-row fall stops.
TEST_F(BoardMemoTest, DropsWhereTheRowByRowFallStops)
{
    auto g = BoardGame(kRagged);
    TBoardMemo memo;
    memo.Use(*g);
    const TOccupancy board = TOccupancy::Of(*g);
    for (int type = 0; type < shapecount; ++type) {
        int o = 0;
        for (const TPieceModel& piece : Orientations(*g, type)) {
            for (int px = -3; px < g->w + 3; ++px) {
                for (int py = -5; py <= g->h + 1; ++py) {
                    int rest = py;
                    while (board.Fits(piece, px, rest + 1))
                        ++rest;
                    ASSERT_EQ(memo.Drop(piece, px, py), rest) << "type " << type << " turn " << o << " at " << px
                                                              << "," << py;
                }
            }
            ++o;
        }
    }
}

// A score is made once per landing while the board stands, on any game with the same settled
// blocks; a different power-up, or the same cells settled in another order, is another board.
TEST_F(BoardMemoTest, KeepsScoresOnlyWhileTheBoardStands)
{
    auto g = BoardGame(kRagged);
    const TPieceModel piece = Orientations(*g, PieceT)[0];
    TBoardMemo memo;
    int made = 0;
    auto score = [&] { return static_cast<double>(++made); };

    memo.Use(*g);
    EXPECT_EQ(memo.Score(piece, 4, 3, score), 1);
    EXPECT_EQ(memo.Score(piece, 4, 3, score), 1);
    EXPECT_EQ(memo.Score(piece, 5, 3, score), 2);
    EXPECT_EQ(memo.Score(piece.Turned(true), 4, 3, score), 3);

    auto same = BoardGame(kRagged);
    memo.Use(*same);
    EXPECT_EQ(memo.Score(piece, 4, 3, score), 1);

    g->blocks.First()->kind = BlockBlast;
    memo.Use(*g);
    EXPECT_EQ(memo.Score(piece, 4, 3, score), 4);
    EXPECT_EQ(memo.StackHeight(), 6);
    EXPECT_FALSE(memo.LostAlready());

    const auto first = g->blocks.First();
    g->blocks.Remove(first.get());
    g->blocks.AddLast(first);
    memo.Use(*g);
    EXPECT_EQ(memo.Score(piece, 4, 3, score), 5);

    AddBlock(*g, 0, 0);
    memo.Use(*g);
    EXPECT_TRUE(memo.LostAlready());
    EXPECT_EQ(memo.StackHeight(), g->h);
    EXPECT_EQ(memo.Score(piece, 4, 3, score), 6);
}
