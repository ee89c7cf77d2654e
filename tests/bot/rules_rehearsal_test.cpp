#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "bot/rules_rehearsal.h"
#include "game/board_picture.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/shape.h"
#include "game/sounds.h"
#include "system/random.h"

namespace {

class RulesRehearsalTest : public GameTest {
protected:
    static TPieceModel Piece(int type)
    {
        auto g = StandardGame();
        SeedRandom(1);
        do
            g->NewPiece();
        while (g->ptype != type);
        return TPieceModel::Of(*g);
    }

    static std::string Cells(const TOccupancy& cells)
    {
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
            if (c != '.' && c != '\n')
                c = '#';
        return picture;
    }
};

} // namespace

// Random stacks crowded with power-ups and nearly full rows, a piece landing on each: the
// rehearsal reports the cells, rows and verdict the rules reach with the same landing in play.
TEST_F(RulesRehearsalTest, ReportsWhatTheRulesMakeOfTheLanding)
{
    std::mt19937 rng(5);
    const TPieceModel pieces[] = {Piece(PieceBar), Piece(PieceT), Piece(PieceSquare)};
    int rows = 0, removed = 0;
    for (int board = 0; board < 300; ++board) {
        const int w = 6 + static_cast<int>(rng() % 6), h = 8 + static_cast<int>(rng() % 8);
        const int top = 3 + static_cast<int>(rng() % (h - 3));
        auto g = BoardGame(std::string());
        g->w = w;
        g->h = h;
        for (int y = top; y < h; ++y) {
            const int gap = static_cast<int>(rng() % w);
            for (int x = 0; x < w; ++x) {
                if (x == gap || rng() % 12 == 0)
                    continue;
                const int roll = static_cast<int>(rng() % 10);
                AddBlock(*g, x, y, roll < 6 ? BlockPlain : roll - 5);
            }
        }
        const TPieceModel& piece = pieces[rng() % 3];
        const int px = 2 + static_cast<int>(rng() % (w - 4)), py = 1 + static_cast<int>(rng() % (h - 2));
        const TRehearsal rehearsal = RehearseLanding(*g, piece, px, py);

        for (int i = 0; i < piece.Count(); ++i)
            AddBlock(*g, px + piece.Block(i).dx, py + piece.Block(i).dy, piece.Block(i).kind);
        g->Rules();
        ASSERT_EQ(Cells(rehearsal.board), Plain(Picture(*g))) << "board " << board;
        ASSERT_EQ(rehearsal.rows * 25, g->points) << "board " << board;
        ASSERT_EQ(rehearsal.lost, g->lost != 0) << "board " << board;
        rows += rehearsal.rows;
        removed += rehearsal.removed;
    }
    EXPECT_GT(rows, 50);
    EXPECT_GT(removed, 50);
}

// A landing that sets off a blast: the play hears nothing, and its effect levels, blast flashes,
// blocks and random numbers are as they were.
TEST_F(RulesRehearsalTest, LeavesThePlayAsItWas)
{
    auto g = BoardGame("......\n"
                       "......\n"
                       "##2##.\n"
                       "##.###\n");
    effects.tint = 130;
    effects.glow = 0.2f;
    const TEffects before = effects;
    const auto earlier = boom::Add(5, 5);
    TPieceModel bar = Piece(PieceBar);
    if (bar.Block(0).dx != bar.Block(1).dx)
        bar = bar.Turned(true);
    int lowest = 0;
    for (int i = 0; i < bar.Count(); ++i)
        lowest = std::max(lowest, bar.Block(i).dy);
    const int32_t seed = RandomSeedValue();

    // Standing in column 5 on the floor: it fills row 2, whose blast goes off.
    const TRehearsal rehearsal = RehearseLanding(*g, bar, 5, 3 - lowest);
    EXPECT_EQ(rehearsal.rows, 1);
    EXPECT_GT(rehearsal.removed, 0);

    EXPECT_TRUE(sounds.empty());
    PlaySoundEffect("sfx\\blip.ogg");
    EXPECT_EQ(SoundCount("sfx\\blip.ogg"), 1); // the play's sound player is back
    EXPECT_EQ(std::memcmp(&effects, &before, sizeof before), 0);
    ASSERT_EQ(booms.Count(), 1u);
    EXPECT_EQ(booms.First(), earlier);
    EXPECT_EQ(RandomSeedValue(), seed);
    EXPECT_EQ(Picture(*g), "......\n"
                           "......\n"
                           "##2##.\n"
                           "##.###\n");
}
