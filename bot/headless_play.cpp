#include "bot/headless_play.h"

#include "game/boom.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/random.h"

TPlayRecord PlayHeadless(const TPlayer& player, int32_t seed, int64_t frameLimit, const TFrameWatch& watch,
                         const TPlayOptions& options)
{
    if (shapecount == 0)
        shape::Init();
    SeedRandom(seed);
    game play;
    StartPlay(play);
    play.SetOptions(options);
    play.NewPiece();

    TPlayRecord record;
    record.seed = seed;
    while (record.frames < frameLimit && !play.lost) {
        play.DoPiece(player.Decide(play));
        play.Rules();
        booms.Clear();
        ++record.frames;
        if (watch)
            watch(play);
    }
    record.points = play.points;
    record.lost = play.lost != 0;
    return record;
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
