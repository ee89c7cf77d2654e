// Strength and speed of the built-in player: twenty seeded plays of the real rules, run
// without window, sound or pacing. Prints every play, then reports the score distribution,
// the median play length and the frames played per second. Then ten hours of game time in one
// run, for its speed and its memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "bot/headless_play.h"
#include "bot/player.h"
#include "system/process_memory.h"

namespace {

constexpr int kPlays = 20;
constexpr int32_t kFirstSeed = 1;
// One hour of game time at 60 frames per second; a play still going then is cut short and
// counted with the score it has, which only lowers the median.
constexpr int64_t kFrameLimit = 60LL * 60 * 60;

template <class T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_SeededPlays(benchmark::State& state)
{
    const TPlayer player;
    std::vector<TPlayRecord> plays;
    double seconds = 0, cpuSeconds = 0;
    for (auto _ : state) {
        plays.clear();
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        for (int i = 0; i < kPlays; ++i)
            plays.push_back(PlayHeadless(player, kFirstSeed + i, kFrameLimit));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpuSeconds += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    }

    std::vector<int> scores;
    std::vector<int64_t> lengths;
    int64_t frames = 0;
    int cut = 0;
    for (const TPlayRecord& p : plays) {
        std::printf("seed %3d: %6d points in %8lld frames%s\n", p.seed, p.points, static_cast<long long>(p.frames),
                    p.lost ? "" : " (frame limit)");
        scores.push_back(p.points);
        lengths.push_back(p.frames);
        frames += p.frames;
        cut += !p.lost;
    }
    std::sort(scores.begin(), scores.end());
    std::printf("scores sorted:");
    for (int s : scores)
        std::printf(" %d", s);
    std::printf("\n");

    state.counters["median_points"] = Median(scores);
    state.counters["min_points"] = scores.front();
    state.counters["max_points"] = scores.back();
    state.counters["median_frames"] = static_cast<double>(Median(lengths));
    state.counters["cut_short"] = cut;
    // Wall time counts the other processes on a busy machine; processor time does not.
    state.counters["frames_per_s"] = static_cast<double>(frames) / seconds;
    state.counters["frames_per_cpu_s"] = static_cast<double>(frames) / cpuSeconds;
}
BENCHMARK(BM_SeededPlays)->Iterations(1)->Unit(benchmark::kSecond);

// Ten hours of game time, a new play after each loss: speed and resident memory after the first
// play and at the end, which should not drift.
void BM_TenHours(benchmark::State& state)
{
    constexpr int64_t kTenHours = 10 * kFrameLimit;
    const TPlayer player;
    std::vector<TPlayRecord> plays;
    TProcessMemory afterFirst;
    double cpuSeconds = 0;
    for (auto _ : state) {
        const std::clock_t cpuStart = std::clock();
        plays = PlayHeadlessSession(player, kFirstSeed, kTenHours, {}, [&](const TPlayRecord&) {
            if (afterFirst.residentKiB == 0)
                afterFirst = ReadProcessMemory();
        });
        cpuSeconds += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    }
    const TProcessMemory end = ReadProcessMemory();
    std::vector<int> scores;
    for (const TPlayRecord& p : plays)
        scores.push_back(p.points);
    state.counters["plays"] = static_cast<double>(plays.size());
    state.counters["median_points"] = Median(scores);
    state.counters["frames_per_cpu_s"] = static_cast<double>(kTenHours) / cpuSeconds;
    state.counters["rss_first_play_kib"] = static_cast<double>(afterFirst.residentKiB);
    state.counters["rss_end_kib"] = static_cast<double>(end.residentKiB);
    state.counters["peak_kib"] = static_cast<double>(end.peakKiB);
}
BENCHMARK(BM_TenHours)->Iterations(1)->Unit(benchmark::kSecond);

// An hour of game time with every play option off, then with every one on: coming pieces,
// shadow, hard drop, hold, the rapid pace and the figures. With every option on the player must
// keep at least 20,000 frames per processor second and never stall.
void BM_HourOfPlay(benchmark::State& state, TPlayOptions options)
{
    const TPlayer player;
    std::vector<TPlayRecord> plays;
    double cpuSeconds = 0;
    for (auto _ : state) {
        const std::clock_t cpuStart = std::clock();
        plays = PlayHeadlessSession(player, kFirstSeed, kFrameLimit, {}, {}, options);
        cpuSeconds += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    }
    std::vector<int> scores;
    for (const TPlayRecord& p : plays)
        scores.push_back(p.points);
    state.counters["plays"] = static_cast<double>(plays.size());
    state.counters["median_points"] = Median(scores);
    state.counters["frames_per_cpu_s"] = static_cast<double>(kFrameLimit) / cpuSeconds;
}
BENCHMARK_CAPTURE(BM_HourOfPlay, every_option_off, TPlayOptions{})->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_HourOfPlay, every_option_on, TPlayOptions{MaxNextPieces, true, true, true, TPace::Rapid, true})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
