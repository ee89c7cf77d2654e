// Cost of the replay pieces that run once per frame (the board hash) or once per file (writing
// and reading the text), on a ten-minute play with a busy player; and the speed of --verify on
// the recorded ten-minute golden play.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "app/storage/replay_store.h"
#include "app/cli/replay_verify.h"
#include "game/board_hash.h"
#include "game/game.h"
#include "game/replay_format.h"

namespace {

constexpr uint32_t TenMinutes = 60 * 60 * 10;

// Two presses a second, the fast key held for stretches, a pause, and a board change every
// second and a half.
TReplay TenMinutePlay()
{
    std::mt19937 rng(10);
    TReplayRecorder recorder({}, 0, 0);
    int32_t score = 0;
    uint64_t board = 0;
    TFrameInput held = 0;
    for (uint32_t f = 0; f < TenMinutes; ++f) {
        if (rng() % 40 == 0)
            held ^= InputFast;
        TFrameInput input = held;
        if (rng() % 30 == 0)
            input |= static_cast<TFrameInput>(1u << (rng() % 4));
        if (f >= 20000 && f < 20300)
            input = InputPaused;
        if (rng() % 90 == 0)
            board = rng();
        if (rng() % 400 == 0)
            score += 25;
        recorder.AddFrame(input, score, board);
    }
    return recorder.Finish("1.0", "2026-12-08T20:44:33Z", "ABC");
}

void BM_WriteTenMinuteReplay(benchmark::State& state)
{
    const TReplay replay = TenMinutePlay();
    size_t bytes = 0;
    for (auto _ : state)
        bytes = WriteReplay(replay).size();
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteTenMinuteReplay)->Unit(benchmark::kMillisecond);

void BM_ParseTenMinuteReplay(benchmark::State& state)
{
    const std::string text = WriteReplay(TenMinutePlay());
    for (auto _ : state) {
        TReplay replay;
        std::string error;
        benchmark::DoNotOptimize(ParseReplay(text, replay, error));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseTenMinuteReplay)->Unit(benchmark::kMillisecond);

// The hash taken after every frame of a rerun, on a full board of 640 blocks.
void BM_BoardHashFullBoard(benchmark::State& state)
{
    game g;
    g.w = 20;
    g.h = 32;
    for (int y = 0; y < g.h; ++y)
        for (int x = 0; x < g.w; ++x) {
            auto b = std::make_shared<block>();
            b->x = x;
            b->y = y;
            g.blocks.AddLast(b);
        }
    for (auto _ : state)
        benchmark::DoNotOptimize(BoardHash(g));
    state.counters["hashes_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BoardHashFullBoard);

// A whole rerun of a recorded ten-minute play through the frames of the play and pause screens
// with nothing drawn, as --verify does it: frames per second on one core.
void BM_VerifyTenMinutePlay(benchmark::State& state)
{
    TReplay replay;
    std::string error;
    if (!LoadReplay(BRIM_LONG_REPLAY, replay, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    PrepareHeadlessPlay();
    uint64_t frames = 0;
    for (auto _ : state) {
        const TRerunOutcome outcome = RerunReplay(replay);
        if (outcome.differs) {
            state.SkipWithError("the golden play no longer reruns as recorded");
            return;
        }
        frames += outcome.frames;
    }
    state.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["file_bytes"] = static_cast<double>(WriteReplay(replay).size());
    state.counters["frames"] = replay.frames;
}
BENCHMARK(BM_VerifyTenMinutePlay)->Unit(benchmark::kMillisecond);

} // namespace
