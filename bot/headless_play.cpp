#include "bot/headless_play.h"

#include "game/boom.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

// The board of every real play.
constexpr int kBoardWidth = 20, kBoardHeight = 32, kBoardLeft = 96;
constexpr float kStartTint = 250.0f;

} // namespace

void PressControls(const TBotControls& controls)
{
    keyrotleft = controls.rotleft;
    keyrotright = controls.rotright;
    keyleft = controls.left;
    keyright = controls.right;
    keyfast = controls.fast;
}

TPlayRecord PlayHeadless(const TPlayer& player, int32_t seed, int64_t frameLimit)
{
    if (shapecount == 0)
        shape::Init();
    SeedRandom(seed);
    tint = kStartTint;

    game play;
    play.w = kBoardWidth;
    play.h = kBoardHeight;
    play.x = kBoardLeft;
    play.NewPiece();

    TPlayRecord record;
    record.seed = seed;
    while (record.frames < frameLimit && !play.lost) {
        PressControls(player.Decide(play));
        play.DoPiece();
        play.Rules();
        booms.Clear();
        ++record.frames;
    }
    PressControls({});
    record.points = play.points;
    record.lost = play.lost != 0;
    return record;
}
