#include "draw2d/draw2d.h"
#include "game/boom.h"
#include "game/pictures.h"

void boom::update()
{
    for (const auto& b : booms) {
        const float s = (11 - b->time) / 16.0f + 0.4f;
        SetScale(s, s);
        SetAlpha(b->time / 26.0f);
        SetColor(255, 250, 39);
        SetRotation(static_cast<float>(b->time * 32));
        DrawImage(pictures.flashboomimage, static_cast<float>(b->x), static_cast<float>(b->y), 0);
        b->time -= 1;
        if (b->time < 0)
            booms.Remove(b);
    }
    SetScale(1, 1);
    SetAlpha(1);
    SetColor(255, 255, 255);
    SetRotation(0);
}
