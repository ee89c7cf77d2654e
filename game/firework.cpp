#include "game/firework.h"

#include <cmath>

#include "draw2d/draw2d.h"
#include "game/effects.h"
#include "game/pictures.h"
#include "system/random.h"

TList<firework> fireworks;

namespace {

constexpr float TrailLength = 18; // circles behind the head, the head making 19

void DrawTrail(const firework& f)
{
    SetColor(f.r, f.g, f.b);
    for (int i = 0; i <= TrailLength; ++i) {
        const float along = (i + 1) / TrailLength;
        SetAlpha(0.345f - along / 4);
        const float s = f.size * (TrailLength + 2 - (along + 1)) * 0.062f;
        SetScale(s, s);
        DrawImage(pictures.circleimage, f.x - f.xv * i / 2.3f, f.y - f.yv * i / 2.3f, 0);
    }
}

// The first three bounds move with the velocity, so a fast firework leaves room for its trail.
bool HasLeftWindow(const firework& f)
{
    return f.x < -f.size + 8 * f.xv || f.x > GraphicsWidth() + f.size + 8 * f.xv ||
           f.y < -f.size + 8 * f.yv || f.y > GraphicsHeight() + f.size + 40;
}

// The random draws are made in this order so that a seeded run repeats.
void Spawn()
{
    auto f = std::make_shared<firework>();
    f->x = static_cast<float>(RandomInt(48, GraphicsWidth() - 48));
    f->size = static_cast<float>(RandomReal(0.8, 1.2));
    f->y = GraphicsHeight() + f->size;
    f->xv = static_cast<float>(RandomReal(-1.1, 1.1));
    f->yv = static_cast<float>(RandomReal(FireworkSlowestRise, FireworkFastestRise));
    f->r = static_cast<uint8_t>(RandomInt(180, 210));
    f->g = static_cast<uint8_t>(RandomInt(240, 250));
    f->b = static_cast<uint8_t>(RandomInt(180, 210));
    fireworks.AddLast(std::move(f));
}

} // namespace

void firework::Update()
{
    if (effects.tint < 150)
        effects.tint = 150;
    for (const auto& f : fireworks) {
        DrawTrail(*f);
        f->x += f->xv;
        f->y += f->yv;
        if (HasLeftWindow(*f))
            fireworks.Remove(f);
    }
    SetScale(1, 1);
    SetAlpha(1);
    if (RandomInt(0, static_cast<int32_t>(std::trunc(effects.tint + 30))) == 0)
        Spawn();
}
