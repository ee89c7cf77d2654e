#include "bot/headless_play.h"

#include "game/boom.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/random.h"

TPlayRecord PlayHeadless(const TPlayer& player, int32_t seed, int64_t frameLimit)
{
    if (shapecount == 0)
        shape::Init();
    SeedRandom(seed);
    effects.Reset();

    game play;
    play.w = BoardColumns;
    play.h = BoardRows;
    play.x = BoardLeft;
    play.NewPiece();

    TPlayRecord record;
    record.seed = seed;
    while (record.frames < frameLimit && !play.lost) {
        play.DoPiece(player.Decide(play));
        play.Rules();
        booms.Clear();
        ++record.frames;
    }
    record.points = play.points;
    record.lost = play.lost != 0;
    return record;
}
