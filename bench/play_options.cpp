// What the play options cost a frame of play, with every option off and with every option on,
// in alternating rounds of the same plays of the built-in player. Three measures: the rules and
// the board's drawing, and the whole play screen's frame, through the driver that draws nothing
// (so the drawing code itself is measured), and the whole frame drawn into a real OpenGL window
// as a player's machine draws it (run under xvfb-run, or it opens offscreen). Prints each and the
// median of their ratios, which should stay at most 1.10.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>
#include <utility>
#include <iterator>

#include "draw2d/draw2d.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/nulldraw2d.h"
#include "app/screens/play_frames.h"
#include "app/shell/shell_state.h"
#include "app/storage/asset_folder.h"
#include "game/assets.h"
#include "game/pictures.h"
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
// A frame through llvmpipe costs a thousand times one through the driver that draws nothing:
// fewer frames, timed on stacks the player has built by then.
constexpr int kGLWarmFrames = 4000;
constexpr int kGLTimedFrames = 600;
constexpr int kGLRounds = 3;

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
// flashes), drawn by the driver that draws nothing or by OpenGL into a window and shown.
enum class TFramePart { Board, PlayScreen, PlayScreenGL };

const char* PartName(TFramePart part)
{
    switch (part) {
    case TFramePart::Board: return "rules and board";
    case TFramePart::PlayScreen: return "play screen frame";
    case TFramePart::PlayScreenGL: return "play screen frame through OpenGL";
    }
    return "";
}

// The processor seconds a frame of those controls takes, from frame `first` on; the frames
// before it only build the stack, untimed. The player never presses hard drop or hold, so every
// option set plays the very same frames (the coming pieces draw the same pieces, only earlier)
// and the runs differ only by what the options cost.
double SecondsPerFrame(const TPlayOptions& options, uint32_t seed, const std::vector<TControls>& controls,
                       TFramePart part, size_t first)
{
    auto play = NewSeededPlay(options, seed);
    background.Reset();
    background.backindex = 1;
    background.backtimer = backperiod;
    double start = ProcessSeconds();
    for (size_t frame = 0; frame < controls.size(); ++frame) {
        const TControls& c = controls[frame];
        if (frame == first)
            start = ProcessSeconds();
        if (frame < first || part == TFramePart::Board) {
            play->DoPiece(c);
            play->Rules();
            if (frame >= first)
                play->Draw();
        } else {
            PlayFrame(*play, c);
            if (part == TFramePart::PlayScreenGL)
                Flip(0);
        }
        booms.Clear();
        if (play->lost)
            play = NewSeededPlay(options, seed + 1000);
    }
    return (ProcessSeconds() - start) / static_cast<double>(controls.size() - first);
}

// Every picture a play frame draws, read from the build's gfx/ as start-up reads them.
bool LoadPlayPictures()
{
    UseAssetFolder(BRIM_BIN_DIR);
    auto path = [](TAsset group, int index = 0) { return AssetFilePath(AssetName(group, index)); };
    auto centred = [](std::shared_ptr<TImage> image) {
        CentreImageHandle(image);
        return image;
    };
    // As start-up does: these two with the framework's default flags, the rest with none.
    pictures.shadowimage = LoadImageFile(path(TAsset::Shadow));
    pictures.circleimage = LoadImageFile(path(TAsset::Circle));
    SetAutoImageFlags(0);
    for (int i = 0; i < backcount; ++i)
        shellpictures.backimages[static_cast<size_t>(i)] = centred(LoadImageFile(path(TAsset::Back, i)));
    shellpictures.hudimage = centred(LoadImageFile(path(TAsset::Hud)));
    pictures.blockimage = LoadImageFile(path(TAsset::Block));
    for (int i = 0; i < PowerUpKinds; ++i)
        pictures.powerupimages[static_cast<size_t>(i)] = LoadImageFile(path(TAsset::Powerup, i));
    pictures.pointsimage = LoadAnimStrip(path(TAsset::Points), 10, 8, 0, 17, -1);
    pictures.flashboomimage = centred(LoadImageFile(path(TAsset::FlashBoom)));
    bool all = pictures.shadowimage && pictures.circleimage && shellpictures.hudimage && pictures.blockimage &&
               pictures.pointsimage && pictures.flashboomimage;
    for (const auto& image : shellpictures.backimages)
        all = all && image;
    for (const auto& image : pictures.powerupimages)
        all = all && image;
    return all;
}

// The window the game opens at scale 1, with its clear colour and blending.
bool OpenPlayWindow()
{
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!GLDraw2DDriverInstance())
        return false;
    SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
    if (!OpenGraphics(512, 512, 0, 0, 0))
        return false;
    SetBlend(BlendAlpha);
    SetClsColor(50, 50, 50);
    return LoadPlayPictures();
}

void BM_FrameCostOfEveryOption(benchmark::State& state, TFramePart part)
{
    if (part == TFramePart::PlayScreenGL) {
        if (!OpenPlayWindow()) {
            state.SkipWithError("no OpenGL window, or the build's pictures are missing");
            return;
        }
    } else {
        SetGraphicsDriver(NullDraw2DDriverInstance());
        SetGraphics(CreateGraphics(512, 512, 0, 0, 0));
    }
    if (shapecount == 0)
        shape::Init();
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
    const bool gl = part == TFramePart::PlayScreenGL;
    const size_t first = gl ? kGLWarmFrames : 0;
    if (gl)
        for (auto& play : controls)
            play.resize(kGLWarmFrames + kGLTimedFrames);
    for (auto _ : state) {
        for (int round = 0; round < (gl ? kGLRounds : kRounds); ++round) {
            for (size_t s = 0; s < std::size(kSeeds); ++s, ++trial) {
                std::vector<double> took(sets.size());
                for (size_t k = 0; k < sets.size(); ++k) {
                    const size_t set = (trial + k) % sets.size();
                    took[set] = SecondsPerFrame(sets[set], kSeeds[s], controls[s], part, first);
                }
                for (size_t set = 0; set < sets.size(); ++set) {
                    seconds[set].push_back(took[set]);
                    ratios[set].push_back(took[set] / took[0]);
                }
            }
        }
    }
    if (gl)
        CloseOpenedGraphics();
    const double noneNs = Median(seconds[0]) * 1e9;
    const double allNs = Median(seconds[1]) * 1e9;
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
BENCHMARK_CAPTURE(BM_FrameCostOfEveryOption, play_screen_frame_opengl, TFramePart::PlayScreenGL)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
