#include "app/cli/headless_bot.h"

#include <chrono>
#include <ctime>
#include <vector>

#include "app/cli/replay_verify.h"
#include "app/screens/play_frames.h"
#include "app/screens/play_recording.h"
#include "app/screens/frame.h"
#include "app/storage/challenge_tables.h"
#include "app/storage/replay_store.h"
#include "bot/headless_play.h"
#include "game/game.h"
#include "system/random.h"
#include "system/process_memory.h"

namespace {

// Seeds are numbered from 1, as in the strength benchmark, so a run repeats its plays.
constexpr int32_t FirstSeed = 1;
constexpr int ExitNoDataFolder = 1;
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

namespace {

// --keep: a challenge play by the built-in player through the play screen's frames, recorded as
// a play in the window is so that its replay reruns exactly; the replay is saved under the name
// and a result that makes the table is entered in it.
TPlayRecord PlayAndKeepChallenge(TChallenge challenge, const std::string& day, const TPlayOptions& options,
                                 const std::string& keepName)
{
    PrepareHeadlessPlay();
    SeedRandom(FirstSeed);
    const std::shared_ptr<game> play = NewPlay();
    play->SetOptions(options);
    play->SetChallenge(challenge, day);
    TPlayRecording recording(*play);
    play->NewPiece();
    const TPlayer player;
    TPlayRecord record;
    record.seed = FirstSeed;
    while (record.frames < ChallengeFrameLimit && !play->Over()) {
        const TControls controls = player.Decide(*play);
        PlayFrame(*play, controls);
        EndFrame();
        recording.AddPlayFrame(controls, *play);
        ++record.frames;
    }
    record.points = play->points;
    record.lost = play->lost != 0;
    record.rows = play->figures.rows;
    record.result = ResultOf(challenge, play->figures, play->points);
    recording.Save(keepName);
    TChallengeTable table;
    if (record.result.achieved)
        RecordChallengeEntry(challenge, {record.result.value, keepName, ReplayDate(recording.Ended()), day}, table);
    return record;
}

} // namespace

int RunHeadlessChallenge(const std::string& name, const TPlayOptions& options, const std::string& keepName,
                         std::FILE* out)
{
    TChallenge challenge = TChallenge::None;
    // Racing needs a recorded best, which a run without a data folder does not have.
    if (!ChallengeFromName(name, challenge) || challenge == TChallenge::None || challenge == TChallenge::Race) {
        std::fprintf(stderr, "brimstrand: --challenge: expected sprint, ultra or daily, found \"%s\"\n", name.c_str());
        return ExitUsage;
    }
    if (!keepName.empty() && !ValidEntryName(keepName)) {
        std::fprintf(stderr, "brimstrand: --keep: expected one to three visible characters, found \"%s\"\n",
                     keepName.c_str());
        return ExitUsage;
    }
    if (!keepName.empty() && ReplayFolder().empty()) {
        std::fprintf(stderr, "brimstrand: --keep: no data folder to keep the play in\n");
        return ExitNoDataFolder;
    }
    const std::string day = challenge == TChallenge::Daily ? ReplayDay(std::time(nullptr)) : std::string();
    const TPlayer player;
    const TPlayRecord play = keepName.empty()
                                 ? PlayHeadlessChallenge(player, FirstSeed, challenge, day, options, ChallengeFrameLimit)
                                 : PlayAndKeepChallenge(challenge, day, options, keepName);
    std::fprintf(out, "challenge: %s%s%s\n", std::string(ChallengeName(challenge)).c_str(), day.empty() ? "" : " ", day.c_str());
    if (play.result.achieved)
        std::fprintf(out, "result: %s\n", FormatResult(challenge, play.result.value).c_str());
    else
        std::fprintf(out, "result: none (lost after %lld rows)\n", static_cast<long long>(play.rows));
    std::fprintf(out, "score: %d\nframes: %lld\n", play.points, static_cast<long long>(play.frames));
    return 0;
}
