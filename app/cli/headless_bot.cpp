#include "app/cli/headless_bot.h"

#include <chrono>
#include <ctime>
#include <vector>

#include "app/storage/replay_store.h"
#include "bot/headless_play.h"
#include "system/process_memory.h"

namespace {

// Seeds are numbered from 1, as in the strength benchmark, so a run repeats its plays.
constexpr int32_t FirstSeed = 1;
constexpr int ExitUsage = 2;
// A challenge play of the built-in player that goes on past this is cut short: a day of frames.
constexpr int64_t ChallengeFrameLimit = 24LL * 60 * 60 * FramesPerSecond;

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

int RunHeadlessChallenge(const std::string& name, const TPlayOptions& options, std::FILE* out)
{
    TChallenge challenge = TChallenge::None;
    // Racing needs a recorded best, which a run without a data folder does not have.
    if (!ChallengeFromName(name, challenge) || challenge == TChallenge::None || challenge == TChallenge::Race) {
        std::fprintf(stderr, "brimstrand: --challenge: expected sprint, ultra or daily, found \"%s\"\n", name.c_str());
        return ExitUsage;
    }
    const std::string day = challenge == TChallenge::Daily ? ReplayDay(std::time(nullptr)) : std::string();
    const TPlayer player;
    const TPlayRecord play = PlayHeadlessChallenge(player, FirstSeed, challenge, day, options, ChallengeFrameLimit);
    std::fprintf(out, "challenge: %s%s%s\n", std::string(ChallengeName(challenge)).c_str(), day.empty() ? "" : " ", day.c_str());
    if (play.result.achieved)
        std::fprintf(out, "result: %s\n", FormatResult(challenge, play.result.value).c_str());
    else
        std::fprintf(out, "result: none (lost after %lld rows)\n", static_cast<long long>(play.rows));
    std::fprintf(out, "score: %d\nframes: %lld\n", play.points, static_cast<long long>(play.frames));
    return 0;
}
