// The built-in player at the challenges: twenty seeded Sprints and Ultras each, with the options
// challenge plays start with (Modern) and with Classic ones, through the real rules without
// window, sound or pacing. Reports the median Sprint time (of the Sprints finished) and the
// median Ultra score.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bot/headless_play.h"
#include "bot/player.h"
#include "game/challenge.h"

namespace {

constexpr int Plays = 20;
constexpr int32_t FirstSeed = 1;
// A Sprint still going after an hour of game time is not going to finish.
constexpr int64_t FrameLimit = 60LL * 60 * FramesPerSecond;

template <class T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? T{} : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

TPlayOptions Handling(bool modern)
{
    return modern ? TPlayOptions{MaxNextPieces, true, true, true, TPace::Classic, true} : TPlayOptions{};
}

void BM_ChallengePlays(benchmark::State& state)
{
    const TChallenge challenge = static_cast<TChallenge>(state.range(0));
    const bool modern = state.range(1) != 0;
    const TPlayer player;
    std::vector<int64_t> results;
    int finished = 0;
    for (auto _ : state) {
        results.clear();
        finished = 0;
        for (int i = 0; i < Plays; ++i) {
            const TPlayRecord play =
                PlayHeadlessChallenge(player, FirstSeed + i, challenge, "", Handling(modern), FrameLimit);
            if (play.result.achieved) {
                results.push_back(play.result.value);
                ++finished;
            }
        }
    }
    const int64_t median = Median(results);
    state.counters["finished"] = finished;
    state.counters["median"] = static_cast<double>(median);
    std::printf("%s, %s handling: %d of %d finished, median %s\n", std::string(ChallengeTitle(challenge)).c_str(),
                modern ? "Modern" : "Classic", finished, Plays, FormatResult(challenge, median).c_str());
}

} // namespace

BENCHMARK(BM_ChallengePlays)
    ->ArgsProduct({{static_cast<int>(TChallenge::Sprint), static_cast<int>(TChallenge::Ultra)}, {1, 0}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
