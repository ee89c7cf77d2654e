// What the play options cost a frame of play: the rules and the board's drawing (through the
// driver that draws nothing, so the drawing code itself is measured), with every option off and
// with every option on, in alternating rounds of the same plays of the built-in player. Prints
// both and the median of their ratios, which should stay at most 1.10.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>
#include <utility>
#include <iterator>

#include "draw2d/draw2d.h"
#include "draw2d/nulldraw2d.h"
#include "app/screens/play_frames.h"
#include "bot/player.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/firework.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

constexpr int kFramesPerPlay = 20000;
constexpr uint32_t kSeeds[] = {101, 102, 103};
constexpr int kRounds = 7;

double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::unique_ptr<game> NewSeededPlay(const TPlayOptions& options, uint32_t seed)
{
    SeedRandom(static_cast<int32_t>(seed));
    effects.Reset();
    fireworks.Clear();
    booms.Clear();
    auto play = std::make_unique<game>();
    StartPlay(*play);
    play->SetOptions(options);
    // The pieces come from a generator of their own, as a daily play's do: the fireworks of the
    // play screen draw from the global one, and with coming pieces made earlier those draws
    // would fall between other pieces, so each option set would play a board of its own.
    play->pieceRandom.emplace(static_cast<int32_t>(seed));
    play->NewPiece();
    return play;
}

// The controls the built-in player gives a play of the seed with every option off, frame by
// frame, a new play after a loss: a stack as real plays build it, chosen before any timing.
std::vector<TControls> PlayerControls(uint32_t seed)
{
    const TPlayer player;
    std::vector<TControls> controls;
    auto play = NewSeededPlay({}, seed);
    for (int frame = 0; frame < kFramesPerPlay; ++frame) {
        controls.push_back(player.Decide(*play));
        play->DoPiece(controls.back());
        play->Rules();
        booms.Clear();
        if (play->lost)
            play = NewSeededPlay({}, seed + 1000);
    }
    return controls;
}

// How much of a frame is timed: the rules and the board's drawing, or the whole frame of the play
// screen (its backdrop with the turning background and the fireworks, the rules, the board, the
// flashes).
enum class TFramePart { Board, PlayScreen };

const char* PartName(TFramePart part) { return part == TFramePart::Board ? "rules and board" : "play screen frame"; }

// The processor seconds of the frames of those controls. The player never
// presses hard drop or hold, so every option set plays the very same frames (the coming pieces
// draw the same pieces, only earlier) and the runs differ only by what the options cost.
double PlayFrames(const TPlayOptions& options, uint32_t seed, const std::vector<TControls>& controls, TFramePart part)
{
    auto play = NewSeededPlay(options, seed);
    const double start = ProcessSeconds();
    for (const TControls& c : controls) {
        if (part == TFramePart::PlayScreen) {
            PlayFrame(*play, c);
        } else {
            play->DoPiece(c);
            play->Rules();
            play->Draw();
        }
        booms.Clear();
        if (play->lost)
            play = NewSeededPlay(options, seed + 1000);
    }
    return ProcessSeconds() - start;
}

void BM_FrameCostOfEveryOption(benchmark::State& state, TFramePart part)
{
    if (shapecount == 0)
        shape::Init();
    SetGraphicsDriver(NullDraw2DDriverInstance());
    SetGraphics(CreateGraphics(512, 512, 0, 0, 0));
    std::vector<std::vector<TControls>> controls;
    for (uint32_t seed : kSeeds)
        controls.push_back(PlayerControls(seed));
    const TPlayOptions none;
    const TPlayOptions all{MaxNextPieces, true, true, true, TPace::Classic, true};
    // Each option alone too, to show where the cost lies.
    const std::pair<const char*, TPlayOptions> alone[] = {
        {"next pieces", {MaxNextPieces, false, false, false, TPace::Classic, false}},
        {"landing shadow", {0, true, false, false, TPace::Classic, false}},
        {"hold", {0, false, false, true, TPace::Classic, false}},
        {"figures", {0, false, false, false, TPace::Classic, true}},
    };
    // Timed in trials of every set on one seed, each trial starting one set further on, so no set
    // always runs first or right after another; medians of the trials keep a busy machine's
    // slow moments out of the figures.
    std::vector<TPlayOptions> sets = {none, all};
    for (const auto& [name, options] : alone)
        sets.push_back(options);
    std::vector<std::vector<double>> seconds(sets.size());
    std::vector<std::vector<double>> ratios(sets.size());
    size_t trial = 0;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            for (size_t s = 0; s < std::size(kSeeds); ++s, ++trial) {
                std::vector<double> took(sets.size());
                for (size_t k = 0; k < sets.size(); ++k) {
                    const size_t set = (trial + k) % sets.size();
                    took[set] = PlayFrames(sets[set], kSeeds[s], controls[s], part);
                }
                for (size_t set = 0; set < sets.size(); ++set) {
                    seconds[set].push_back(took[set]);
                    ratios[set].push_back(took[set] / took[0]);
                }
            }
        }
    }
    const double noneNs = Median(seconds[0]) / kFramesPerPlay * 1e9;
    const double allNs = Median(seconds[1]) / kFramesPerPlay * 1e9;
    const double ratio = Median(ratios[1]);
    for (size_t i = 0; i < std::size(alone); ++i)
        std::printf("%s, %s alone: ratio %.3f\n", PartName(part), alone[i].first, Median(ratios[2 + i]));
    std::printf("%s: cpu per frame with every option off %.0f ns, with every option on %.0f ns, ratio %.3f\n",
                PartName(part), noneNs, allNs, ratio);
    state.counters["off_ns_per_frame"] = noneNs;
    state.counters["on_ns_per_frame"] = allNs;
    state.counters["ratio"] = ratio;
}
BENCHMARK_CAPTURE(BM_FrameCostOfEveryOption, rules_and_board, TFramePart::Board)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameCostOfEveryOption, play_screen_frame, TFramePart::PlayScreen)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
