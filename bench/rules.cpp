// Cost of one frame of play: the falling piece and the row scan on a crowded board, and the
// scan of a board where one clear sets off long chains of blasts and collapses.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "game/boom.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/shape.h"
#include "game/sounds.h"
#include "system/random.h"

namespace {

void AddBlock(game& g, int x, int y, int kind)
{
    auto b = std::make_shared<block>();
    b->x = x;
    b->y = y;
    b->kind = kind;
    g.blocks.AddLast(b);
}

std::unique_ptr<game> StandardGame()
{
    auto g = std::make_unique<game>();
    g->w = 20;
    g->h = 32;
    g->x = 96;
    return g;
}

// 608 settled blocks, every row but a well in column 10, and a vertical bar falling down the
// well. Every frame takes a gravity step and tries both turns and both moves, which the
// walls of the well refuse, then scans the rows.
void BM_FrameOnCrowdedBoard(benchmark::State& state)
{
    if (shapecount == 0)
        shape::Init();
    SeedRandom(3);
    auto g = StandardGame();
    for (int row = 0; row < 32; ++row)
        for (int col = 0; col < 20; ++col)
            if (col != 10)
                AddBlock(*g, col, row, 0);
    do
        g->NewPiece();
    while (g->ptype != 0);
    g->rotright();
    keyleft = keyright = keyrotleft = keyrotright = keyfast = 1;
    for (auto _ : state) {
        g->nextdown = 1;
        g->DoPiece();
        g->Rules();
        if (g->py > 26) {
            for (const auto& b : g->place)
                b->y -= g->py + 2;
            g->py = -2;
        }
    }
    benchmark::DoNotOptimize(g->points);
    state.counters["settled"] = static_cast<double>(g->blocks.Count());
}
BENCHMARK(BM_FrameOnCrowdedBoard)->Repetitions(5)->ReportAggregatesOnly(true);

// Rows 1 to 31 of the board, with a quarter of the blocks blasts and a sixth collapses.
// With `holes`, every row but the bottom one misses one block, so only one row is full at
// first and the rest clear as the collapses fill the gaps.
std::unique_ptr<game> ChainBoard(bool holes)
{
    std::mt19937 rng(11);
    auto g = StandardGame();
    for (int row = 1; row < 32; ++row) {
        const int hole = holes && row < 31 ? static_cast<int>(rng() % 20) : -1;
        for (int col = 0; col < 20; ++col) {
            if (col == hole)
                continue;
            const int roll = static_cast<int>(rng() % 12);
            AddBlock(*g, col, row, roll < 3 ? 2 : roll < 5 ? 3 : roll == 5 ? 4 : roll == 6 ? 1 : 0);
        }
    }
    return g;
}

void ChainFrame(benchmark::State& state, bool holes)
{
    int blasts = 0, collapses = 0;
    SetSoundPlayer([&](const std::string& name) {
        blasts += name == "sfx\\explode.ogg";
        collapses += name == "sfx\\plop.ogg";
    });
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto g = ChainBoard(holes);
        booms.Clear();
        state.ResumeTiming();
        g->Rules();
        benchmark::DoNotOptimize(g->points);
        state.PauseTiming();
        g.reset();
        ++runs;
        state.ResumeTiming();
    }
    SetSoundPlayer(nullptr);
    state.counters["blasts"] = static_cast<double>(blasts) / runs;
    state.counters["collapses"] = static_cast<double>(collapses) / runs;
}

void BM_ChainFromFullBoard(benchmark::State& state)
{
    ChainFrame(state, false);
}
BENCHMARK(BM_ChainFromFullBoard)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ChainFromOneClear(benchmark::State& state)
{
    ChainFrame(state, true);
}
BENCHMARK(BM_ChainFromOneClear)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
