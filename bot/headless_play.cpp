#include "bot/headless_play.h"

#include "game/boom.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

TPlayRecord PlayOne(const TPlayer& player, int32_t seed, int64_t frameLimit, const TFrameWatch& watch,
                    const TPlayOptions& options, TChallenge challenge, const std::string& day)
{
    if (shapecount == 0)
        shape::Init();
    SeedRandom(seed);
    game play;
    StartPlay(play);
    play.SetOptions(options);
    play.SetChallenge(challenge, day);
    play.NewPiece();

    TPlayRecord record;
    record.seed = seed;
    while (record.frames < frameLimit && !play.Over()) {
        play.DoPiece(player.Decide(play));
        play.Rules();
        booms.Clear();
        ++record.frames;
        if (watch)
            watch(play);
    }
    record.points = play.points;
    record.lost = play.lost != 0;
    record.rows = play.figures.rows;
    record.result = ResultOf(challenge, play.figures, play.points);
    return record;
}

} // namespace

TPlayRecord PlayHeadless(const TPlayer& player, int32_t seed, int64_t frameLimit, const TFrameWatch& watch,
                         const TPlayOptions& options)
{
    return PlayOne(player, seed, frameLimit, watch, options, TChallenge::None, {});
}

TPlayRecord PlayHeadlessChallenge(const TPlayer& player, int32_t seed, TChallenge challenge, const std::string& day,
                                  const TPlayOptions& options, int64_t frameLimit)
{
    return PlayOne(player, seed, frameLimit, {}, options, challenge, day);
}

std::vector<TPlayRecord> PlayHeadlessSession(const TPlayer& player, int32_t firstSeed, int64_t frames,
                                             const TFrameWatch& watch,
                                             const std::function<void(const TPlayRecord&)>& afterPlay,
                                             const TPlayOptions& options)
{
    std::vector<TPlayRecord> plays;
    int64_t played = 0;
    for (int32_t seed = firstSeed; played < frames; ++seed) {
        plays.push_back(PlayHeadless(player, seed, frames - played, watch, options));
        played += plays.back().frames;
        if (afterPlay)
            afterPlay(plays.back());
    }
    return plays;
}
