#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board_picture.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

// A template's grid as four rows of X and dots, top row first.
std::string Grid(const shape& s)
{
    std::string out;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col)
            out += s.array[col][row] ? 'X' : '.';
        out += '\n';
    }
    return out;
}

class ShapeTest : public GameTest {
protected:
    // Every test starts from no templates and leaves the seven of the game behind.
    void SetUp() override
    {
        GameTest::SetUp();
        shapes.Clear();
        shapecount = 0;
    }
    void TearDown() override
    {
        shapes.Clear();
        shapecount = 0;
        shape::Init();
        GameTest::TearDown();
    }
};

} // namespace

TEST_F(ShapeTest, InitCreatesTheSevenTemplatesInOrder)
{
    shape::Init();
    ASSERT_EQ(shapecount, 7);
    ASSERT_EQ(shapes.Count(), 7u);
    const std::vector<std::string> grids = {
        "....\nXXXX\n....\n....\n", "....\n.XX.\nXX..\n....\n", "....\nXX..\n.XX.\n....\n",
        "X...\nXXX.\n....\n....\n", "..X.\nXXX.\n....\n....\n", "XX..\nXX..\n....\n....\n",
        ".X..\nXXX.\n....\n....\n",
    };
    const std::vector<std::vector<int>> colours = {
        {189, 189, 189}, {148, 167, 148}, {148, 167, 148}, {124, 143, 216},
        {124, 143, 216}, {199, 176, 157}, {149, 122, 167},
    };
    int type = 0;
    for (const auto& s : shapes) {
        EXPECT_EQ(Grid(*s), grids[type]) << "type " << type;
        EXPECT_EQ((std::vector<int>{s->r, s->g, s->b}), colours[type]) << "type " << type;
        ++type;
    }
}

TEST_F(ShapeTest, SetReadsCellsRowByRowIntoColumnRowGrid)
{
    auto s = shape::Set(0, 1, 0, 0, //
                        0, 0, 0, 0, //
                        0, 0, 0, 0, //
                        0, 0, 0, 7, 1, 2, 3);
    EXPECT_EQ(s->array[1][0], 1); // c2: column 1 of the top row
    EXPECT_EQ(s->array[0][1], 0);
    EXPECT_EQ(s->array[3][3], 7); // c16: bottom right
    EXPECT_EQ((std::vector<int>{s->r, s->g, s->b}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(shapecount, 1);
    EXPECT_EQ(shapes.Last(), s);
}

TEST_F(ShapeTest, EmptyTemplateStampsNoBlocks)
{
    shape::Set(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 9);
    auto g = StandardGame();
    g->NewPiece();
    EXPECT_EQ(g->ptype, 0);
    EXPECT_TRUE(g->place.IsEmpty());
}

TEST_F(ShapeTest, PieceIsStampedColumnByColumnAboveTheBoard)
{
    shape::Init();
    const std::vector<std::vector<std::pair<int, int>>> cells = {
        {{9, -2}, {10, -2}, {11, -2}, {12, -2}},
        {{9, -1}, {10, -2}, {10, -1}, {11, -2}},
        {{9, -2}, {10, -2}, {10, -1}, {11, -1}},
        {{9, -3}, {9, -2}, {10, -2}, {11, -2}},
        {{9, -2}, {10, -2}, {11, -3}, {11, -2}},
        {{9, -3}, {9, -2}, {10, -3}, {10, -2}},
        {{9, -2}, {10, -3}, {10, -2}, {11, -2}},
    };
    std::vector<bool> seen(7);
    SeedRandom(5);
    for (int i = 0; i < 200; ++i) {
        auto g = StandardGame();
        g->NewPiece();
        ASSERT_GE(g->ptype, 0);
        ASSERT_LT(g->ptype, 7);
        EXPECT_EQ(PieceCells(*g), cells[g->ptype]) << "type " << g->ptype;
        EXPECT_EQ(g->px, 10);
        EXPECT_EQ(g->py, -2);
        EXPECT_EQ(g->rot, 0);
        seen[g->ptype] = true;
    }
    EXPECT_EQ(seen, std::vector<bool>(7, true));
}
