#include "bot/rules_rehearsal.h"

#include <memory>
#include <utility>

#include "game/boom.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/sounds.h"

namespace {

// Keeps a rehearsal out of sight and earshot: silent while it runs, and afterwards the
// effect levels are as they were and the blast flashes it added are gone.
class TOffstage {
public:
    TOffstage() : effects_(effects), sounds_(SetSoundPlayer(nullptr)), lastBoom_(booms.Last()) {}
    ~TOffstage()
    {
        effects = effects_;
        SetSoundPlayer(std::move(sounds_));
        bool added = false;
        for (const auto& b : booms) {
            if (added)
                booms.Remove(b.get());
            added = added || b == lastBoom_;
        }
        if (!lastBoom_)
            booms.Clear();
    }
    TOffstage(const TOffstage&) = delete;
    TOffstage& operator=(const TOffstage&) = delete;

private:
    TEffects effects_;
    TSoundPlayer sounds_;
    std::shared_ptr<boom> lastBoom_;
};

void Settle(game& copy, int x, int y, int kind)
{
    auto b = std::make_shared<block>();
    b->x = x;
    b->y = y;
    b->kind = kind;
    copy.blocks.AddLast(std::move(b));
}

} // namespace

TRehearsal RehearseLanding(const game& g, const TPieceModel& piece, int px, int py)
{
    game copy;
    copy.w = g.w;
    copy.h = g.h;
    copy.x = g.x;
    copy.y = g.y;
    for (const auto& b : g.blocks)
        Settle(copy, b->x, b->y, b->kind);
    for (int i = 0; i < piece.Count(); ++i)
        Settle(copy, px + piece.Block(i).dx, py + piece.Block(i).dy, piece.Block(i).kind);
    const auto before = static_cast<int>(copy.blocks.Count());
    {
        const TOffstage offstage;
        copy.Rules();
    }

    constexpr int kRowPoints = 25;
    TRehearsal result{TOccupancy(g.w, g.h)};
    for (const auto& b : copy.blocks)
        result.board.Fill(b->x, b->y);
    result.rows = copy.points / kRowPoints;
    result.removed = before - static_cast<int>(copy.blocks.Count()) - result.rows * g.w;
    result.lost = copy.lost != 0;
    return result;
}
