#include "app/cli/headless_bot.h"

#include <chrono>
#include <vector>

#include "bot/headless_play.h"
#include "system/process_memory.h"

namespace {

// Seeds are numbered from 1, as in the strength benchmark, so a run repeats its plays.
constexpr int32_t FirstSeed = 1;

} // namespace

int RunHeadlessBot(int64_t frames, std::FILE* out)
{
    const TPlayer player;
    const auto start = std::chrono::steady_clock::now();
    const std::vector<TPlayRecord> plays = PlayHeadlessSession(player, FirstSeed, frames);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    int lost = 0;
    for (const TPlayRecord& p : plays)
        lost += p.lost;
    std::fprintf(out, "frames: %lld in %.2f s, %.0f frames/s\n", static_cast<long long>(frames), seconds,
                 seconds > 0 ? static_cast<double>(frames) / seconds : 0.0);
    std::fprintf(out, "plays: %zu (%d lost)\n", plays.size(), lost);
    std::fprintf(out, "scores:");
    for (const TPlayRecord& p : plays)
        std::fprintf(out, " %d%s", p.points, p.lost ? "" : " (cut short)");
    std::fprintf(out, "\npeak memory: %lld KiB\n", static_cast<long long>(ReadProcessMemory().peakKiB));
    return 0;
}
