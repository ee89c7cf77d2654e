// The driver's shortcuts (a clear an opaque picture covers, the clear parts of large pictures,
// pictures in white drawn as their texels alone) change no pixel: the menu screens' layers drawn from the game's own pictures (at scale 2 those
// painted at twice the size), in a window at scale 1 and 2, read back the same with the shortcuts
// on and off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_canvas.h"
#include "draw2d/draw2d.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "draw2d/window.h"

namespace {

class DrawShortcuts : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenTestCanvas(GetParam()));
        // As start-up loads them: a window at scale 2 draws the versions painted at twice the size.
        back = LoadCentredPicture("back1.png");
        hud = LoadCentredPicture("hud.png", true);
        logo = LoadCentredPicture("logo.png", true);
        paused = LoadCentredPicture("paused.png", true);
        ASSERT_TRUE(back && hud && logo && paused) << "pictures missing under " << BuiltPictures();
        SetClsColor(50, 50, 50);
    }
    void TearDown() override
    {
        SetDrawShortcuts(true);
        CloseTestCanvas();
    }

    // A pause frame as the game draws one: the clear, the turned background (reddened as in play)
    // with the one before it fading out over it, the frame picture (turned by a blast's wobble,
    // dimmed at Low visibility), the logo and the caption.
    std::shared_ptr<TPixmap> PauseFrame(float backAngle, float wobble, int frameGrey, int backGreen) const
    {
        Cls();
        SetColor(255, backGreen, backGreen);
        SetAlpha(1);
        SetRotation(backAngle);
        DrawImage(back, 256, 116);
        SetColor(255, 255, 255);
        SetAlpha(0.4f);
        DrawImage(back, 256, 116);
        SetAlpha(1);
        SetRotation(wobble);
        SetColor(frameGrey, frameGrey, frameGrey);
        DrawImage(hud, 256, 256);
        SetRotation(0);
        SetColor(255, 255, 255);
        DrawImage(logo, 256, 66);
        SetColor(140, 145, 145);
        DrawImage(paused, 256, 290);
        SetColor(255, 255, 255);
        return GrabWindowPixmap();
    }

    static bool SamePixels(TPixmap& a, TPixmap& b)
    {
        if (a.width != b.width || a.height != b.height)
            return false;
        for (int32_t y = 0; y < a.height; ++y)
            for (int32_t x = 0; x < a.width; ++x)
                if (a.ReadPixel(x, y) != b.ReadPixel(x, y))
                    return false;
        return true;
    }

    std::shared_ptr<TImage> back, hud, logo, paused;
};

TEST_P(DrawShortcuts, MenuFramesReadBackTheSameWithAndWithout)
{
    struct Case {
        float backAngle, wobble;
        int frameGrey, backGreen;
    };
    for (const Case c : {Case{17.3f, 0, 255, 255}, Case{241.9f, 0, 202, 255}, Case{90, 0.7f, 255, 120}}) {
        SetDrawShortcuts(false);
        const auto plain = PauseFrame(c.backAngle, c.wobble, c.frameGrey, c.backGreen);
        Flip(0);
        SetDrawShortcuts(true);
        const auto quick = PauseFrame(c.backAngle, c.wobble, c.frameGrey, c.backGreen);
        Flip(0);
        ASSERT_TRUE(plain && quick);
        EXPECT_TRUE(SamePixels(*plain, *quick)) << "background turned " << c.backAngle << ", frame " << c.wobble;
    }
}

// A clear that nothing covers still happens, whatever reads the pixels next.
TEST_P(DrawShortcuts, AnUncoveredClearIsStillDone)
{
    SetColor(255, 0, 0);
    DrawRect(0, 0, 512, 512);
    Cls();
    SetScale(0.25f, 0.25f);
    DrawImage(back, 256, 256); // covers only the middle
    SetScale(1, 1);
    const auto picture = GrabWindowPixmap();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->ReadPixel(1, 1) & 0xFFFFFF, 0x323232u);
}

INSTANTIATE_TEST_SUITE_P(Scales, DrawShortcuts, ::testing::Values(1, 2));

} // namespace
