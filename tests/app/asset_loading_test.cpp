// The generated assets go through the game's own loaders with the arguments start-up uses.
#include "asset_files.h"

#include "audio/modules.h"
#include "audio/sample.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "draw2d/pngloader.h"

#include <gtest/gtest.h>

#include <string>

TEST(AssetLoading, EveryPictureLoadsAsStartUpLoadsIt)
{
    StartPNGLoader();
    std::vector<std::string> singles = {"shadow.png", "circle.png", "loading.png", "logo.png", "block1.png",
                                        "paused.png", "flashboom.png", "hud.png", "menu1.png", "menu2.png",
                                        "menu3.png", "menu4.png"};
    for (int i = 1; i <= 4; ++i)
        singles.push_back("powerup" + std::to_string(i) + ".png");
    for (int i = 1; i <= 10; ++i)
        singles.push_back("back" + std::to_string(i) + ".png");
    for (const std::string& file : singles) {
        std::shared_ptr<TImage> image = LoadImageFile(AssetPath("gfx/" + file), 0);
        ASSERT_TRUE(image) << file;
        EXPECT_EQ(image->pixmaps.size(), 1u) << file;
        EXPECT_GT(image->width, 0) << file;
    }
    std::shared_ptr<TImage> points = LoadAnimStrip(AssetPath("gfx/points.png"), 10, 8, 0, 17, 0);
    ASSERT_TRUE(points);
    EXPECT_EQ(points->pixmaps.size(), 17u);
    EXPECT_EQ(points->width, 10);
    EXPECT_EQ(points->height, 8);
    std::shared_ptr<TImage> font = LoadAnimStrip(AssetPath("gfx/options.png"), 12, 16, 0, 78, 0);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->pixmaps.size(), 78u);
    // Cell 26 is "A": the game's text drawing finds ink there.
    std::shared_ptr<TPixmap> a = font->pixmaps[26];
    int inked = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 12; ++x)
            inked += (a->ReadPixel(x, y) >> 24) > 128;
    EXPECT_GT(inked, 10);
}

TEST(AssetLoading, EverySoundDecodesAsTheGameLoadsIt)
{
    StartAudioLoaders();
    for (const char* file : {"plop.ogg", "explode.ogg", "switch.ogg", "falling.ogg", "blip.ogg"}) {
        std::shared_ptr<TAudioSample> sample = LoadAudioSampleFrom(AssetPath(std::string("sfx/") + file));
        ASSERT_TRUE(sample) << file;
        EXPECT_EQ(sample->format, 2) << file << ": mono 16-bit";
        EXPECT_EQ(sample->hertz, 44100) << file;
        EXPECT_GT(sample->length, 1000) << file;
    }
    for (const char* file : {"game (half bit).ogg", "title (space fighter loop).ogg"}) {
        std::shared_ptr<TAudioSample> sample = LoadAudioSampleFrom(AssetPath(std::string("sfx/") + file));
        ASSERT_TRUE(sample) << file;
        EXPECT_EQ(sample->format, 5) << file << ": stereo 16-bit";
        EXPECT_EQ(sample->hertz, 44100) << file;
        EXPECT_GE(sample->length, 40 * 44100) << file;
        EXPECT_EQ(ReadOgg(AssetPath(std::string("sfx/") + file)).Frames(), size_t(sample->length)) << file;
    }
}
