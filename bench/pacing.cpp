// 600 real flips of Flip(-1) in a 60 Hz window, each after clearing the window, timed with a
// nanosecond clock. Reports the mean frame time and how far the frames stray from the pacing
// schedule (steps of 16, 17, 17 ms): the whole-run deviation from the schedule and the per-frame
// step error, as 99th percentiles (and the median deviation).
//
// Run under xvfb-run (or with SDL_VIDEODRIVER=offscreen).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/gldriver.h"
#include "draw2d/graphics.h"

namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void BM_PacedFlips(benchmark::State& state)
{
    constexpr int kFrames = 600;
    SetAppTitle("Brimstrand pacing benchmark");
    SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
    if (!OpenGraphics(512, 512, 0, 60, 0)) {
        state.SkipWithError("no window");
        return;
    }
    std::vector<Clock::time_point> times;
    for (auto _ : state) {
        times.clear();
        times.reserve(kFrames);
        for (int i = 0; i < kFrames; ++i) {
            Cls();
            Flip(-1);
            times.push_back(Clock::now());
        }
    }
    CloseOpenedGraphics();

    // The schedule after the first frame: 17, 17, 16, ... (the first frame was the 16 ms step).
    const int steps[3] = {16, 17, 17};
    std::vector<double> deviation, stepError;
    double scheduled = 0;
    for (int i = 1; i < kFrames; ++i) {
        const int step = steps[i % 3];
        scheduled += step;
        const double since = std::chrono::duration<double, std::milli>(times[i] - times[0]).count();
        const double frame = std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count();
        deviation.push_back(std::fabs(since - scheduled));
        stepError.push_back(std::fabs(frame - step));
    }
    const double total = std::chrono::duration<double, std::milli>(times.back() - times.front()).count();
    state.counters["mean_frame_ms"] = total / (kFrames - 1);
    state.counters["p50_schedule_dev_ms"] = Percentile(deviation, 0.5);
    state.counters["p99_schedule_dev_ms"] = Percentile(deviation, 0.99);
    state.counters["p99_step_error_ms"] = Percentile(stepError, 0.99);
    state.counters["max_schedule_dev_ms"] = *std::max_element(deviation.begin(), deviation.end());
}
BENCHMARK(BM_PacedFlips)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
