#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "bot/piece_model.h"
#include "game/board_picture.h"
#include "game/effects.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

using TCells = std::vector<std::tuple<int, int, int>>; // column, row, kind

TCells GameCells(const game& g)
{
    TCells cells;
    for (const auto& b : g.place)
        cells.emplace_back(b->x, b->y, b->kind);
    return cells;
}

TCells ModelCells(const TPieceModel& piece, int px, int py)
{
    TCells cells;
    for (int i = 0; i < piece.Count(); ++i)
        cells.emplace_back(px + piece.Block(i).dx, py + piece.Block(i).dy, piece.Block(i).kind);
    return cells;
}

class PieceModelTest : public GameTest {};

} // namespace

// Every template, with a power-up on each block, turned four times each way in open space
// by the rules and by the model: the same cells carry the same power-ups, block for block.
TEST_F(PieceModelTest, TurnsLikeTheRules)
{
    SeedRandom(9);
    for (int type = 0; type < shapecount; ++type) {
        for (const bool clockwise : {false, true}) {
            auto g = StandardGame();
            do
                g->NewPiece();
            while (g->ptype != type);
            int kind = 1;
            for (const auto& b : g->place)
                b->kind = kind++;
            g->nextdown = 1000;
            TPieceModel model = TPieceModel::Of(*g);
            TControls turn{};
            (clockwise ? turn.keyrotright : turn.keyrotleft) = 1;
            for (int quarter = 0; quarter < 4; ++quarter) {
                g->DoPiece(turn);
                model = model.Turned(clockwise);
                ASSERT_EQ(ModelCells(model, g->px, g->py), GameCells(*g)) << "type " << type << " turn " << quarter;
            }
            EXPECT_EQ(model.Square(), type == PieceSquare);
        }
    }
}

TEST_F(PieceModelTest, KeepsAtMostFourBlocks)
{
    auto g = StandardGame();
    for (int i = 0; i < 5; ++i)
        g->place.AddLast(std::make_shared<block>());
    const TPieceModel model = TPieceModel::Of(*g);
    EXPECT_EQ(model.Count(), TPieceModel::kMaxBlocks);
    EXPECT_FALSE(model.Complete());
}
