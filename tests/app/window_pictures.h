#pragma once
// Reading the game's window from screenshots: what the end-to-end tests look for in it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "app/shell/canvas.h"
#include "draw2d/pixmap.h"

namespace game_run {

// Relative luminance as readability guidelines count it, 0 to 1: sRGB channels made linear.
inline double Luminance(uint32_t argb)
{
    const auto channel = [](uint32_t value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((argb >> 16) & 0xFF) + 0.7152 * channel((argb >> 8) & 0xFF) + 0.0722 * channel(argb & 0xFF);
}

// Contrast as readability guidelines count it: (lighter + 0.05) over (darker + 0.05).
inline double ContrastRatio(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// The screenshot of a 512 by 512 window; null when it could not be read or has another size.
inline std::shared_ptr<TPixmap> WindowPicture(const std::filesystem::path& screenshot)
{
    auto pixmap = LoadPixmap(screenshot.string());
    return pixmap && pixmap->width == WindowWidth && pixmap->height == WindowHeight ? pixmap : nullptr;
}

// The board's columns (16 pixels from x = 96) with a block in the top rows: where the falling
// piece is at the start of a play, the only blocks there. Even the darkest piece colour is several
// times lighter than the board behind it, over the whole cell.
inline std::vector<int> PieceColumns(const std::filesystem::path& screenshot)
{
    std::vector<int> columns;
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap)
        return columns;
    for (int column = 0; column < 20; ++column) {
        bool block = false;
        // A whole cell light, not a spark of a firework passing behind the board.
        for (int y = 8; y < 160 && !block; y += 16) {
            block = true;
            for (const auto& [dx, dy] : {std::pair{0, 0}, {-4, -4}, {4, -4}, {-4, 4}, {4, 4}})
                block = block && Luminance(pixmap->ReadPixel(96 + 16 * column + 8 + dx, y + dy)) > 0.08;
        }
        if (block)
            columns.push_back(column);
    }
    return columns;
}

// A play: no logo across the top (every menu screen and the pause have it) and the light
// "POINTS" words in the box at the top left.
inline bool ShowsPlay(const std::filesystem::path& screenshot)
{
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap)
        return false;
    int logo = 0, points = 0;
    for (int x = 40; x < WindowWidth - 40; ++x)
        logo += Luminance(pixmap->ReadPixel(x, 66)) > 0.3 ? 1 : 0;
    for (int y = 24; y < 38; ++y)
        for (int x = 32; x < 96; ++x)
            points += Luminance(pixmap->ReadPixel(x, y)) > 0.45 ? 1 : 0;
    return logo < 10 && points > 20;
}

// The demo's caption: a word of light letters centred above the board. Read as text, not as
// light pixels: a light piece spawning there is as bright, but its cells are long solid runs,
// while a row through the letters crosses many thin strokes.
inline bool ShowsDemoCaption(const std::filesystem::path& screenshot)
{
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap)
        return false;
    constexpr int StrokeWidth = 10;
    constexpr int StrokesInALine = 5;
    int lines_of_text = 0;
    for (int y = 2; y < 22; ++y) {
        int strokes = 0, run = 0;
        for (int x = WindowWidth / 2 - 32; x <= WindowWidth / 2 + 32; ++x) {
            const uint32_t p = pixmap->ReadPixel(x, y);
            const bool light = std::min({(p >> 16) & 255, (p >> 8) & 255, p & 255}) > 170;
            if (light && x < WindowWidth / 2 + 32) {
                ++run;
                continue;
            }
            strokes += run > 0 && run <= StrokeWidth;
            run = 0;
        }
        lines_of_text += strokes >= StrokesInALine;
    }
    return lines_of_text >= 3;
}

} // namespace game_run
