// What the play options cost a frame of play: the rules and the board's drawing (through the
// driver that draws nothing, so the drawing code itself is measured), with every option off and
// with every option on, in alternating rounds of the same seeded plays. Prints both and their
// ratio, which should stay at most 1.10.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>

#include "draw2d/draw2d.h"
#include "draw2d/nulldraw2d.h"
#include "game/boom.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

constexpr int kFramesPerRound = 20000;
constexpr int kRounds = 10;

double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Frames of seeded plays with random presses, a new play after each loss; the processor seconds
// they took.
double PlayFrames(const TPlayOptions& options, uint32_t seed)
{
    std::mt19937 rng(seed);
    SeedRandom(static_cast<int32_t>(seed));
    auto play = std::make_unique<game>();
    StartPlay(*play);
    play->SetOptions(options);
    play->NewPiece();
    const double start = ProcessSeconds();
    for (int frame = 0; frame < kFramesPerRound; ++frame) {
        TControls controls;
        const uint32_t r = rng();
        controls.keyleft = r % 7 == 0;
        controls.keyright = r % 7 == 1;
        controls.keyrotright = r % 11 == 0;
        controls.keyfast = r % 3 != 0;
        controls.keyharddrop = r % 97 == 0;
        controls.keyhold = r % 89 == 0;
        play->DoPiece(controls);
        play->Rules();
        play->Draw();
        booms.Clear();
        if (play->lost) {
            play = std::make_unique<game>();
            StartPlay(*play);
            play->SetOptions(options);
            play->NewPiece();
        }
    }
    return ProcessSeconds() - start;
}

void BM_FrameCostOfEveryOption(benchmark::State& state)
{
    if (shapecount == 0)
        shape::Init();
    SetGraphicsDriver(NullDraw2DDriverInstance());
    SetGraphics(CreateGraphics(512, 512, 0, 0, 0));
    const TPlayOptions none;
    const TPlayOptions all{MaxNextPieces, true, true, true, TPace::Classic, true};
    double noneSeconds = 0, allSeconds = 0;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            noneSeconds += PlayFrames(none, 100 + round);
            allSeconds += PlayFrames(all, 100 + round);
        }
    }
    const double frames = static_cast<double>(kFramesPerRound) * kRounds * static_cast<double>(state.iterations());
    const double noneNs = noneSeconds / frames * 1e9, allNs = allSeconds / frames * 1e9;
    std::printf("cpu per frame: every option off %.0f ns, every option on %.0f ns, ratio %.3f\n", noneNs, allNs,
                allNs / noneNs);
    state.counters["off_ns_per_frame"] = noneNs;
    state.counters["on_ns_per_frame"] = allNs;
    state.counters["ratio"] = allNs / noneNs;
}
BENCHMARK(BM_FrameCostOfEveryOption)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
