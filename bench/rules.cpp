// Cost of one frame of play: the falling piece and the row scan on a crowded board, and the
// scan of a board where one clear sets off long chains of blasts and collapses.
#include <benchmark/benchmark.h>

#include <array>
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
    TControls controls;
    controls.keyleft = controls.keyright = controls.keyrotleft = controls.keyrotright = controls.keyfast = 1;
    for (auto _ : state) {
        g->nextdown = 1;
        g->DoPiece(controls);
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

// Kinds drawn uniformly from a mix for rows 1 to 31 of the board. With `holes`, every row
// but the bottom one misses one block, so only one row is full at first and the rest clear
// as collapses fill the gaps.
using TMix = std::array<int, 12>;
constexpr TMix blastMix = {2, 2, 2, 3, 3, 4, 1, 0, 0, 0, 0, 0};    // a quarter blasts
constexpr TMix collapseMix = {2, 2, 3, 3, 3, 3, 3, 3, 0, 0, 0, 0}; // half collapses
constexpr TMix flipMix = {2, 3, 3, 3, 4, 4, 0, 0, 0, 0, 0, 0};     // collapses and flips

std::unique_ptr<game> ChainBoard(bool holes, const TMix& mix)
{
    std::mt19937 rng(11);
    auto g = StandardGame();
    for (int row = 1; row < 32; ++row) {
        const int hole = holes && row < 31 ? static_cast<int>(rng() % 20) : -1;
        for (int col = 0; col < 20; ++col)
            if (col != hole)
                AddBlock(*g, col, row, mix[rng() % mix.size()]);
    }
    return g;
}

void BM_ChainFrame(benchmark::State& state, bool holes, TMix mix)
{
    int blasts = 0, collapses = 0, flips = 0;
    SetSoundPlayer([&](const std::string& name) {
        blasts += name == "sfx\\explode.ogg";
        collapses += name == "sfx\\plop.ogg";
        flips += name == "sfx\\switch.ogg";
    });
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto g = ChainBoard(holes, mix);
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
    state.counters["flips"] = static_cast<double>(flips) / runs;
}
BENCHMARK_CAPTURE(BM_ChainFrame, full_blasts, false, blastMix)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ChainFrame, one_clear_blasts, true, blastMix)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ChainFrame, full_collapses, false, collapseMix)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ChainFrame, one_clear_collapses, true, collapseMix)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ChainFrame, full_flips, false, flipMix)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ChainFrame, one_clear_flips, true, flipMix)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
