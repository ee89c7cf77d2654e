// The generated pictures: every one decodes and has the geometry the game draws it with.
#include "asset_files.h"
#include "game/assets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct InkBox {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    bool Empty() const { return x1 < 0; }
    int Width() const { return x1 - x0 + 1; }
};

InkBox Ink(const PngPicture& p, int x, int y, int w, int h, int threshold = 32)
{
    InkBox box;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (p.Alpha(i, j) >= threshold) {
                box.x0 = std::min(box.x0, i - x), box.x1 = std::max(box.x1, i - x);
                box.y0 = std::min(box.y0, j - y), box.y1 = std::max(box.y1, j - y);
            }
    return box;
}

PngPicture Load(const std::string& file)
{
    PngPicture p = ReadPng(AssetPath("gfx/" + file));
    EXPECT_GT(p.width, 0) << file << " is missing or does not decode";
    return p;
}

double Luminance(const uint8_t* px) { return 0.3 * px[0] + 0.59 * px[1] + 0.11 * px[2]; }

} // namespace

TEST(PictureAssets, EveryPictureDecodesAtItsSize)
{
    struct Size {
        const char* file;
        int width, height;
    } sizes[] = {
        {"block1.png", 16, 16}, {"powerup1.png", 16, 16}, {"powerup2.png", 16, 16}, {"powerup3.png", 16, 16},
        {"powerup4.png", 16, 16}, {"circle.png", 16, 16}, {"hud.png", 512, 512},
    };
    for (const Size& s : sizes) {
        PngPicture p = Load(s.file);
        EXPECT_EQ(p.width, s.width) << s.file;
        EXPECT_EQ(p.height, s.height) << s.file;
        EXPECT_TRUE(p.has_alpha) << s.file;
    }
    for (int i = 1; i <= 10; ++i) {
        std::string file = "back" + std::to_string(i) + ".png";
        PngPicture p = Load(file);
        EXPECT_EQ(p.width, 1024) << file;
        EXPECT_EQ(p.height, 1024) << file;
    }
    PngPicture shadow = Load("shadow.png");
    EXPECT_EQ(shadow.width, 16);
    EXPECT_GE(shadow.height, 16);
    EXPECT_LE(shadow.height, 48);
    PngPicture flash = Load("flashboom.png");
    EXPECT_EQ(flash.width, flash.height);
    EXPECT_GE(flash.width, 64);
}

TEST(PictureAssets, StripsHoldTheirCellsInReadingOrder)
{
    // Cells are read left to right, then top to bottom, as many as fit whole.
    PngPicture points = Load("points.png");
    EXPECT_GE((points.width / 10) * (points.height / 8), 17);
    PngPicture font = Load("options.png");
    EXPECT_GE((font.width / 12) * (font.height / 16), 78);
}

TEST(PictureAssets, FontGlyphsHaveInkWithinTheirWidthClass)
{
    const std::string order = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:-_.?!,'\"@";
    const std::string narrow = "iltz1:.,!-\"ITZ";
    PngPicture font = Load("options.png");
    ASSERT_GT(font.width, 0);
    int across = font.width / 12;
    for (int cell = 0; cell < 78; ++cell) {
        int x = (cell % across) * 12, y = (cell / across) * 16;
        InkBox ink = Ink(font, x, y, 12, 16);
        if (cell >= 72) {
            EXPECT_TRUE(ink.Empty()) << "unused cell " << cell;
            continue;
        }
        char c = order[size_t(cell)];
        ASSERT_FALSE(ink.Empty()) << "glyph '" << c << "' has no ink";
        // A glyph leaves at least one clear column before the next character starts.
        int advance = narrow.find(c) != std::string::npos ? 10 : 12;
        EXPECT_LE(ink.x1, advance - 2) << "glyph '" << c << "' is wider than its class";
        EXPECT_LE(ink.x0, 3) << "glyph '" << c << "' is not left-aligned";
        // Text is tinted by the caller, so the glyphs themselves are white.
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 12; ++i) {
                if (font.Alpha(x + i, y + j) > 128) {
                    ASSERT_GE(Luminance(font.At(x + i, y + j)), 250) << "glyph '" << c << "' is not white";
                }
            }
    }
}

TEST(PictureAssets, ScoreGlyphsHaveInkWithinEightPixels)
{
    PngPicture points = Load("points.png");
    ASSERT_GT(points.width, 0);
    int across = points.width / 10;
    for (int frame = 0; frame < 17; ++frame) {
        InkBox ink = Ink(points, (frame % across) * 10, (frame / across) * 8, 10, 8);
        ASSERT_FALSE(ink.Empty()) << "frame " << frame;
        EXPECT_LE(ink.x1, 7) << "frame " << frame << " reaches into the next glyph";
    }
}

// Whatever a turn brings behind the well (within 436 pixels of the centre) is calm, as the well
// test checks it drawn; each picture's mood comes back by 580 pixels out, and there they must be
// neither black nor alike.
TEST(PictureAssets, BackgroundsAreOpaqueSubduedAndDistinct)
{
    constexpr int MoodRadius = 580;
    constexpr int Tile = 16;
    std::vector<std::vector<double>> thumbs;
    for (int i = 1; i <= 10; ++i) {
        std::string file = "back" + std::to_string(i) + ".png";
        PngPicture p = Load(file);
        ASSERT_EQ(p.width, 1024);
        double light = 0, moodLight = 0;
        int moodPixels = 0;
        std::vector<double> thumb;
        for (int ty = 0; ty < 1024 / Tile; ++ty)
            for (int tx = 0; tx < 1024 / Tile; ++tx) {
                const bool mood = std::hypot((tx + 0.5) * Tile - 512, (ty + 0.5) * Tile - 512) > MoodRadius;
                double tile[3] = {0, 0, 0};
                for (int y = ty * Tile; y < (ty + 1) * Tile; ++y)
                    for (int x = tx * Tile; x < (tx + 1) * Tile; ++x) {
                        const uint8_t* px = p.At(x, y);
                        ASSERT_EQ(px[3], 255) << file << " has a transparent pixel at " << x << "," << y;
                        light += Luminance(px);
                        if (mood)
                            moodLight += Luminance(px), ++moodPixels;
                        for (int c = 0; c < 3; ++c)
                            tile[c] += px[c] / double(Tile * Tile);
                    }
                if (mood)
                    thumb.insert(thumb.end(), tile, tile + 3);
            }
        light /= 1024.0 * 1024.0;
        EXPECT_GT(moodLight / moodPixels, 20) << file << " is nearly black";
        EXPECT_LT(light, 110) << file << " is too bright behind the board";
        thumbs.push_back(thumb);
    }
    for (size_t a = 0; a < thumbs.size(); ++a)
        for (size_t b = a + 1; b < thumbs.size(); ++b) {
            double diff = 0;
            for (size_t k = 0; k < thumbs[a].size(); ++k)
                diff += std::abs(thumbs[a][k] - thumbs[b][k]);
            EXPECT_GT(diff / double(thumbs[a].size()), 6) << "back" << a + 1 << " and back" << b + 1 << " look alike";
        }
}

TEST(PictureAssets, ShadowIsBlackAndFadesDownward)
{
    PngPicture shadow = Load("shadow.png");
    ASSERT_GT(shadow.width, 0);
    for (int x = 0; x < shadow.width; ++x) {
        EXPECT_GE(shadow.Alpha(x, 0), 200);
        EXPECT_LE(shadow.Alpha(x, shadow.height - 1), 20);
        for (int y = 1; y < shadow.height; ++y) {
            EXPECT_LE(shadow.Alpha(x, y), shadow.Alpha(x, y - 1));
            EXPECT_LE(Luminance(shadow.At(x, y)), 10);
        }
    }
}

TEST(PictureAssets, TilesAreOpaqueCellsAndPowerupsDiffer)
{
    PngPicture block = Load("block1.png");
    ASSERT_GT(block.width, 0);
    EXPECT_EQ(block.Alpha(8, 8), 255);
    EXPECT_GE(Luminance(block.At(8, 8)), 180) << "blocks are tinted, so the picture is light";
    PngPicture kinds[4];
    for (int k = 0; k < 4; ++k) {
        kinds[k] = Load("powerup" + std::to_string(k + 1) + ".png");
        ASSERT_EQ(kinds[k].width, 16);
        EXPECT_EQ(kinds[k].Alpha(8, 8), 255);
    }
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            double diff = 0;
            for (size_t i = 0; i < kinds[a].rgba.size(); ++i)
                diff += std::abs(kinds[a].rgba[i] - kinds[b].rgba[i]);
            EXPECT_GT(diff / double(kinds[a].rgba.size()), 20) << "power-ups " << a + 1 << " and " << b + 1;
        }
}

TEST(PictureAssets, LettersAreLightAndCentred)
{
    struct Item {
        const char* file;
        double squeeze; // horizontal scale the game draws it at
        int max_width;  // on screen
    } items[] = {{"logo.png", 1, 480}, {"menu1.png", 0.6, 200}, {"menu2.png", 0.6, 250}, {"menu3.png", 0.6, 250}, {"menu4.png", 0.6, 250},
                 {"paused.png", 1, 240}, {"loading.png", 1, 240}};
    for (const Item& item : items) {
        PngPicture p = Load(item.file);
        ASSERT_GT(p.width, 0);
        InkBox ink = Ink(p, 0, 0, p.width, p.height, 128);
        ASSERT_FALSE(ink.Empty()) << item.file;
        EXPECT_LE(ink.Width() * item.squeeze, item.max_width) << item.file;
        EXPECT_NEAR((ink.x0 + ink.x1) / 2.0, p.width / 2.0, 8) << item.file << " is not centred";
        EXPECT_NEAR((ink.y0 + ink.y1) / 2.0, p.height / 2.0, p.height / 6.0) << item.file << " is not centred";
        double light = 0;
        int count = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.Alpha(x, y) == 255)
                    light += Luminance(p.At(x, y)), ++count;
        EXPECT_GT(light / std::max(count, 1), 120) << item.file << " is not light";
    }
}

TEST(PictureAssets, FrameDarkensTheBoardAndKeepsTheScoreReadable)
{
    PngPicture hud = Load("hud.png");
    ASSERT_EQ(hud.width, 512);
    // The board's well is translucent: dark enough for the blocks, open to the background.
    for (int y = 0; y < 512; y += 37)
        for (int x = 104; x < 408; x += 23) {
            EXPECT_GE(hud.Alpha(x, y), 90) << x << "," << y;
            EXPECT_LE(hud.Alpha(x, y), 245) << x << "," << y;
            EXPECT_LE(Luminance(hud.At(x, y)), 90) << x << "," << y;
        }
    // Behind the score: an opaque-enough dark plate.
    for (int y = 28; y < 48; ++y)
        for (int x = 12; x < 70; ++x) {
            EXPECT_GE(hud.Alpha(x, y), 180) << x << "," << y;
            EXPECT_LE(Luminance(hud.At(x, y)), 80) << x << "," << y;
        }
    // Beside the board, below the score, the turning background shows.
    int open = 0, total = 0;
    for (int y = 80; y < 512; y += 4)
        for (int x = 0; x < 512; x += 4)
            if (x < 80 || x > 432)
                open += hud.Alpha(x, y) < 40, ++total;
    EXPECT_GT(open, total * 3 / 4);
}

TEST(PictureAssets, FlashAndParticleAreSoftRoundLights)
{
    for (const char* file : {"flashboom.png", "circle.png"}) {
        PngPicture p = Load(file);
        ASSERT_GT(p.width, 0);
        int c = p.width / 2;
        EXPECT_GE(p.Alpha(c, c), 200) << file;
        EXPECT_GE(Luminance(p.At(c, c)), 240) << file << " is tinted when drawn, so it is white";
        for (int i = 0; i < p.width; ++i) {
            EXPECT_LE(p.Alpha(i, 0), 8) << file;
            EXPECT_LE(p.Alpha(0, i), 8) << file;
        }
        // Soft: alpha falls off gradually from the middle to the edge.
        int steps = 0;
        for (int x = c; x < p.width - 1; ++x)
            steps = std::max(steps, p.Alpha(x, c) - p.Alpha(x + 1, c));
        EXPECT_LE(steps, p.width <= 16 ? 90 : 40) << file;
    }
}

// Each version painted denser is its picture at density times the size, painted in the same place:
// averaged back over density by density blocks it differs from the picture by little.
TEST(PictureAssets, DenserVersionsAreTheirPictureAtEachDensity)
{
    for (const TAssetFile& file : AssetFiles) {
        if (!PaintedDenser(file.group))
            continue;
        std::string name = file.name;
        name = name.substr(name.find('\\') + 1);
        const PngPicture picture = Load(name);
        ASSERT_GT(picture.width, 0);
        for (int density : DenserVersions) {
            const std::string dense_name = DenserName(name, density);
            const PngPicture dense = Load(dense_name);
            ASSERT_EQ(dense.width, picture.width * density) << dense_name;
            ASSERT_EQ(dense.height, picture.height * density) << dense_name;
            ASSERT_TRUE(dense.has_alpha) << dense_name;
            double alpha = 0, ink = 0;
            for (int y = 0; y < picture.height; ++y)
                for (int x = 0; x < picture.width; ++x) {
                    double a = 0, light = 0;
                    for (int j = 0; j < density; ++j)
                        for (int i = 0; i < density; ++i) {
                            const uint8_t* px = dense.At(x * density + i, y * density + j);
                            a += px[3];
                            light += Luminance(px) * px[3] / 255.0;
                        }
                    const double n = density * density;
                    const uint8_t* own = picture.At(x, y);
                    alpha += std::abs(a / n - own[3]);
                    ink += std::abs(light / n - Luminance(own) * own[3] / 255.0);
                }
            const double pixels = double(picture.width) * picture.height;
            EXPECT_LT(alpha / pixels, 3.0) << dense_name << ": mean alpha difference";
            EXPECT_LT(ink / pixels, 3.0) << dense_name << ": mean difference of the ink's light";
        }
    }
}
