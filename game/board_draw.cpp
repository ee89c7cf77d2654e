#include <cmath>
#include <string>

#include "draw2d/draw2d.h"
#include "game/board_draw.h"
#include "game/block.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/pictures.h"
#include "game/settings.h"

namespace {

constexpr int GlyphPitch = 8;     // pixels between score glyphs
constexpr int FirstLabelFrame = 10;
constexpr int LabelGlyphs = 7;

float ShadowAlpha()
{
    return settings.visibility == 1 ? 0.395f - effects.glow / 2.08f : 0.895f - effects.glow;
}

} // namespace

void DrawPoints(int x, int y, int value, int mode)
{
    if (mode == 0 || mode > 1) {
        for (int i = 0; i < LabelGlyphs; ++i)
            DrawImage(pictures.pointsimage, static_cast<float>(x + GlyphPitch * i), static_cast<float>(y),
                      FirstLabelFrame + i);
    }
    if (mode > 0) {
        // Mode 1 puts the first digit at x; higher modes put the digits after the label.
        const int d = mode == 1 ? -GlyphPitch : 48;
        const std::string digits = std::to_string(value);
        for (size_t i = 1; i <= digits.size(); ++i) {
            const char c = digits[i - 1];
            // A minus sign has no glyph in the strip; it keeps its place and draws nothing.
            if (c < '0' || c > '9')
                continue;
            DrawImage(pictures.pointsimage, static_cast<float>(x + d + GlyphPitch * static_cast<int>(i)),
                      static_cast<float>(y), c - '0');
        }
    }
}

void block::Draw(int ox, int oy, int pass)
{
    const float bx = static_cast<float>(ox + x * cellsize);
    const float by = static_cast<float>(oy + y * cellsize);
    if (kind == BlockPlain) {
        if (pass == 0) {
            SetColor(r, g, b);
            if (y >= 0)
                DrawImage(pictures.blockimage, bx, by, 0);
        } else {
            // Drawn whatever the row, so a piece above the board shows its shadow on the top rows.
            SetScale(static_cast<float>(cellsize / 16), 1);
            SetColor(0, 0, 0);
            SetAlpha(ShadowAlpha());
            SetRotation(0);
            DrawImage(pictures.shadowimage, bx, by + static_cast<float>(cellsize), 0);
        }
    } else if (kind >= BlockSlowDown && kind <= BlockFlip && pass == 0) {
        SetColor(255, 255, 255);
        if (y >= 0)
            DrawImage(pictures.powerupimages[static_cast<size_t>(kind - 1)], bx, by, 0);
    }
    SetScale(1, 1);
    SetAlpha(1);
}

void game::Draw()
{
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawPoints(12, 28, 0, 0);
    DrawPoints(12, 40, points, 1);
    for (const auto& b : blocks)
        b->Draw(x, y, 0);
    for (const auto& b : place)
        b->Draw(x, y, 0);
    // Every shadow after every block, so shadows also darken the blocks below them.
    for (const auto& b : blocks)
        b->Draw(x, y, 1);
    for (const auto& b : place)
        b->Draw(x, y, 1);
    if (std::fabs(effects.glow) >= 0.002f)
        effects.glow = 0;
    else
        effects.glow -= 0.0078f;
}
