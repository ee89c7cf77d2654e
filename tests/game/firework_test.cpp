#include <gtest/gtest.h>

#include <cmath>

#include "game/effects.h"
#include "game/firework.h"
#include "game/pictures.h"
#include "recording_driver.h"
#include "system/random.h"

namespace {

// tint so high that no firework is spawned for many thousand frames: RandomInt(0, 10^6 + 30).
constexpr float NoSpawnTint = 1e6f;

class FireworkTest : public RecordingTest {
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        fireworks.Clear();
        pictures.circleimage = driver.MakeImage("circle", 8, 8);
        SeedRandom(12345);
        effects.tint = NoSpawnTint;
    }
    void TearDown() override
    {
        fireworks.Clear();
        pictures.circleimage.reset();
        effects.tint = 250;
        RecordingTest::TearDown();
    }

    std::shared_ptr<firework> Add(float x, float y, float xv, float yv, float size = 1)
    {
        auto f = std::make_shared<firework>();
        f->x = x, f->y = y, f->xv = xv, f->yv = yv, f->size = size;
        f->r = 190, f->g = 245, f->b = 200;
        fireworks.AddLast(f);
        return f;
    }

    // Frames until f leaves the list, or -1 when it is still there after limit frames.
    int FramesUntilRemoved(const std::shared_ptr<firework>& f, int limit = 1000)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            firework::Update();
            if (!fireworks.Contains(f.get()))
                return frame;
        }
        return -1;
    }

    // A seed whose first draw of RandomInt(0, bound) is 0, so the next Update spawns.
    static int32_t SpawningSeed(int32_t bound)
    {
        for (int32_t seed = 1;; ++seed) {
            SeedRandom(seed);
            if (RandomInt(0, bound) == 0)
                return seed;
        }
    }
};

TEST_F(FireworkTest, TintIsRaisedTo150ButNeverLowered)
{
    effects.tint = 120;
    firework::Update();
    EXPECT_EQ(effects.tint, 150);
    effects.tint = 300;
    firework::Update();
    EXPECT_EQ(effects.tint, 300);
}

TEST_F(FireworkTest, TrailIsNineteenCirclesBehindTheHeadFadingAndShrinking)
{
    Add(200, 300, 1.15f, -10, 1.1f);
    firework::Update();

    const auto circles = driver.Images("circle");
    ASSERT_EQ(circles.size(), 19u);
    for (int i = 0; i <= 18; ++i) {
        const auto& c = circles[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(c.frame, 0);
        EXPECT_NEAR(c.x, 200 - 1.15f * i / 2.3f, 1e-4);
        EXPECT_NEAR(c.y, 300 + 10 * i / 2.3f, 1e-4);
        EXPECT_NEAR(c.alpha, 0.345 - (i + 1) / 18.0 / 4, 1e-6);
        const double s = 1.1 * (20 - ((i + 1) / 18.0 + 1)) * 0.062;
        EXPECT_NEAR(c.scaleX, s, 1e-5);
        EXPECT_NEAR(c.scaleY, s, 1e-5);
        EXPECT_EQ(c.r, 190);
        EXPECT_EQ(c.g, 245);
        EXPECT_EQ(c.b, 200);
    }
    EXPECT_NEAR(circles.front().alpha, 0.331, 0.001);
    EXPECT_NEAR(circles.back().alpha, 0.081, 0.001);

    // The head moved by one frame's travel, without gravity or drag.
    const auto f = fireworks.First();
    EXPECT_NEAR(f->x, 201.15f, 1e-4);
    EXPECT_NEAR(f->y, 290, 1e-4);
    EXPECT_EQ(f->yv, -10);

    // Scale and alpha are back to 1 after the walk; the colour stays the last firework's.
    const TDraw2DGraphics* g = TDraw2DGraphics::Current();
    EXPECT_EQ(g->tform_scale_x, 1);
    EXPECT_EQ(g->tform_scale_y, 1);
    EXPECT_EQ(g->color_alpha, 1);
    EXPECT_EQ(g->color_red, 190);
}

TEST_F(FireworkTest, EveryFireworkIsDrawnInListOrder)
{
    Add(100, 300, 0, -5);
    Add(400, 200, 0, -5);
    firework::Update();
    const auto circles = driver.Images("circle");
    ASSERT_EQ(circles.size(), 38u);
    EXPECT_EQ(circles[0].x, 100);
    EXPECT_EQ(circles[19].x, 400);
}

TEST_F(FireworkTest, RisingFireworksLeaveRoomAboveTheTopForTheirTrail)
{
    // Removed once the head is above -size + 8 * yv: 41 pixels up at 5 a frame, 137 at 17.
    // Both heads reach their bound exactly after 9 frames and stay, and go in the 10th.
    auto slow = Add(256, -41 + 9 * 5, 0, -5);
    EXPECT_EQ(FramesUntilRemoved(slow), 10);
    auto fast = Add(256, -137 + 9 * 17, 0, -17);
    EXPECT_EQ(FramesUntilRemoved(fast), 10);
}

TEST_F(FireworkTest, SidewaysAndDownwardBounds)
{
    // Left: x < -size + 8 * xv = -1 - 8 = -9.
    auto left = Add(-8, 300, -1, 0);
    firework::Update();
    EXPECT_TRUE(fireworks.Contains(left.get())); // -9
    firework::Update();
    EXPECT_FALSE(fireworks.Contains(left.get())); // -10

    // Right: x > 512 + size + 8 * xv = 521.
    auto right = Add(520, 300, 1, 0);
    firework::Update();
    EXPECT_TRUE(fireworks.Contains(right.get())); // 521
    firework::Update();
    EXPECT_FALSE(fireworks.Contains(right.get())); // 522

    // Down: y > 512 + size + 40 = 553, whatever the speed.
    auto down = Add(256, 550, 0, 3);
    firework::Update();
    EXPECT_TRUE(fireworks.Contains(down.get())); // 553
    firework::Update();
    EXPECT_FALSE(fireworks.Contains(down.get())); // 556
}

TEST_F(FireworkTest, SpawnDrawsItsValuesInOrderAndIsNotDrawnInItsFirstFrame)
{
    effects.tint = 150;
    const int32_t seed = SpawningSeed(180);

    // The same draws in the stated order give the expected firework.
    SeedRandom(seed);
    ASSERT_EQ(RandomInt(0, 180), 0);
    const int x = RandomInt(48, 512 - 48);
    const double size = RandomReal(0.8, 1.2);
    const double xv = RandomReal(-1.1, 1.1);
    const double yv = RandomReal(-5, -17);
    const int r = RandomInt(180, 210), g = RandomInt(240, 250), b = RandomInt(180, 210);

    SeedRandom(seed);
    firework::Update();
    ASSERT_EQ(fireworks.Count(), 1u);
    EXPECT_TRUE(driver.Images("circle").empty());
    const auto f = fireworks.First();
    EXPECT_EQ(f->x, x);
    EXPECT_FLOAT_EQ(f->size, static_cast<float>(size));
    EXPECT_FLOAT_EQ(f->y, 512 + static_cast<float>(size));
    EXPECT_FLOAT_EQ(f->xv, static_cast<float>(xv));
    EXPECT_FLOAT_EQ(f->yv, static_cast<float>(yv));
    EXPECT_EQ(f->r, r);
    EXPECT_EQ(f->g, g);
    EXPECT_EQ(f->b, b);
    EXPECT_GE(f->x, 48);
    EXPECT_LE(f->x, 464);
    EXPECT_GE(f->size, 0.8f);
    EXPECT_LE(f->size, 1.2f);
    EXPECT_GE(f->yv, -17);
    EXPECT_LE(f->yv, -5);
    EXPECT_GE(f->g, 240);
}

TEST_F(FireworkTest, LongSeededRunKeepsEveryFireworkInsideItsBoundsAndTheListSmall)
{
    effects.tint = 150;
    SeedRandom(2024);
    int spawned = 0;
    size_t most = 0;
    const int frames = 181 * 100;
    for (int frame = 0; frame < frames; ++frame) {
        const size_t before = fireworks.Count();
        driver.calls.clear();
        firework::Update();
        EXPECT_EQ(driver.Images("circle").size(), 19 * before);
        if (fireworks.Count() > 0 && fireworks.Last()->y > 512) {
            const auto last = fireworks.Last();
            if (last->y == 512 + last->size)
                ++spawned;
        }
        most = std::max(most, fireworks.Count());
        for (const auto& f : fireworks) {
            ASSERT_GE(f->y, -f->size + 8 * f->yv);
            ASSERT_LE(f->y, 512 + f->size + 40);
        }
    }
    // 1 in 181 per frame: about 100 in this run, and each gone within 120 frames.
    EXPECT_GT(spawned, 60);
    EXPECT_LT(spawned, 140);
    EXPECT_LE(most, 6u);
}

} // namespace
