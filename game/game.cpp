#include "game/game.h"

#include <climits>
#include <memory>
#include <utility>
#include <vector>

#include "game/assets.h"
#include "game/effects.h"
#include "game/shape.h"
#include "game/sounds.h"
#include "system/random.h"

namespace {

// Slow-downs multiply the waits without bound; a wait past the int range never ends anyway,
// and saturating keeps its conversion defined.
int WaitFrames(float wait)
{
    return wait >= 2147483647.0f ? INT_MAX : static_cast<int>(wait);
}

} // namespace

void game::NewPiece()
{
    place.Clear();
    px = w / 2;
    py = -2;
    rot = 0;
    ptype = RandomInt(0, shapecount - 1);

    int count = ptype;
    for (const auto& s : shapes) {
        if (count-- != 0)
            continue;
        for (int cx = 0; cx < 4; ++cx) {
            for (int cy = 0; cy < 4; ++cy) {
                if (!s->array[cx][cy])
                    continue;
                auto b = std::make_shared<block>();
                // The draws are made in this order: red, green, blue, then the power-up roll.
                b->r = static_cast<uint8_t>(s->r + RandomInt(-3, 3));
                b->g = static_cast<uint8_t>(s->g + RandomInt(-2, 2));
                b->b = static_cast<uint8_t>(s->b + RandomInt(-4, 4));
                b->x = cx + w / 2 - 1;
                b->y = cy - 3;
                if (RandomInt(0, 39) == 0)
                    b->kind = RandomInt(BlockSlowDown, BlockFlip);
                place.AddLast(b);
            }
        }
        break;
    }
}

void game::DoPiece(const TControls& controls)
{
    --nextdown;
    if (nextdown < 1) {
        if (controls.keyfast) {
            nextdown = WaitFrames(maxdown);
        } else {
            nextdown = WaitFrames(downwait);
            PlaySoundEffect(AssetName(TAsset::Falling));
        }
        ShiftPiece(0, 1);
        if (PieceFits()) {
            ++py;
        } else {
            PlaySoundEffect(AssetName(TAsset::Plop));
            for (const auto& b : place) {
                b->y -= 1;
                auto settled = b;
                place.Remove(b.get());
                blocks.AddLast(std::move(settled));
            }
            if (lost == 0) {
                NewPiece();
                nextdown = 0;
            }
        }
    }

    if (controls.keyrotleft)
        Turn(false);
    if (controls.keyrotright)
        Turn(true);
    if (controls.keyleft)
        Slide(-1);
    if (controls.keyright)
        Slide(1);
}

void game::rotleft()
{
    for (const auto& b : place) {
        const int ox = b->x - px, oy = b->y - py;
        b->x = px + oy;
        b->y = py - ox;
    }
}

void game::rotright()
{
    for (const auto& b : place) {
        const int ox = b->x - px, oy = b->y - py;
        b->x = px - oy;
        b->y = py + ox;
    }
}

// Rows above the board are allowed; the walls, the floor and settled blocks are not.
bool game::PieceFits() const
{
    std::vector<std::pair<int, int>> cells;
    for (const auto& b : place) {
        if (b->x < 0 || b->x > w - 1 || b->y > h - 1)
            return false;
        cells.emplace_back(b->x, b->y);
    }
    for (const auto& s : blocks)
        for (const auto& [cx, cy] : cells)
            if (s->x == cx && s->y == cy)
                return false;
    return true;
}

// A refused turn is undone by the opposite turn, which restores the cells exactly.
void game::Turn(bool clockwise)
{
    if (ptype == PieceSquare) {
        CycleSquare(clockwise);
        return;
    }
    clockwise ? rotright() : rotleft();
    if (PieceFits())
        rot += clockwise ? 1 : -1;
    else
        clockwise ? rotleft() : rotright();
}

void game::Slide(int dx)
{
    ShiftPiece(dx, 0);
    if (PieceFits())
        px += dx;
    else
        ShiftPiece(-dx, 0);
}

void game::ShiftPiece(int dx, int dy)
{
    for (const auto& b : place) {
        b->x += dx;
        b->y += dy;
    }
}

// The square does not turn about its pivot: its blocks trade corners, so its cells stay put.
void game::CycleSquare(bool clockwise)
{
    for (const auto& b : place) {
        const int cx = b->x - px + 1, cy = b->y - py + 1;
        const int nx = clockwise ? 1 - cy : cy;
        const int ny = clockwise ? cx : 1 - cx;
        b->x = px - 1 + nx;
        b->y = py - 1 + ny;
    }
}

void StartPlay(game& play)
{
    effects.tint = 250;
    play.w = BoardColumns;
    play.h = BoardRows;
    play.x = BoardLeft;
}
