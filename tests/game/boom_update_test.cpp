#include <gtest/gtest.h>

#include "game/boom.h"
#include "game/pictures.h"
#include "recording_driver.h"

namespace {

class BoomUpdateTest : public RecordingTest {
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        booms.Clear();
        pictures.flashboomimage = driver.MakeImage("flashboom", 64, 64);
        pictures.flashboomimage->handle_x = pictures.flashboomimage->handle_y = 32;
    }
    void TearDown() override
    {
        booms.Clear();
        pictures.flashboomimage.reset();
        RecordingTest::TearDown();
    }
};

TEST_F(BoomUpdateTest, FlashGrowsFadesAndTurnsOverTwelveFramesThenIsGone)
{
    auto b = boom::Add(120, 200);
    std::vector<TRecordedCall> seen;
    for (int frame = 0; frame < 12; ++frame) {
        SCOPED_TRACE(frame);
        const int time = 11 - frame;
        driver.calls.clear();
        boom::update();
        const auto draws = driver.Images("flashboom");
        ASSERT_EQ(draws.size(), 1u);
        const auto& d = draws[0];
        seen.push_back(d);
        EXPECT_EQ(d.frame, 0);
        EXPECT_EQ(d.x, 120); // the centred handle lands here
        EXPECT_EQ(d.y, 200);
        EXPECT_FLOAT_EQ(d.scaleX, (11 - time) / 16.0f + 0.4f);
        EXPECT_FLOAT_EQ(d.scaleY, d.scaleX);
        EXPECT_FLOAT_EQ(d.alpha, time / 26.0f);
        EXPECT_EQ(d.rotation, time * 32);
        EXPECT_EQ(d.r, 255);
        EXPECT_EQ(d.g, 250);
        EXPECT_EQ(d.b, 39);
        EXPECT_EQ(b->time, time - 1);
        EXPECT_EQ(booms.Contains(b.get()), frame < 11);
    }
    EXPECT_TRUE(booms.IsEmpty());
    EXPECT_FLOAT_EQ(seen.front().scaleX, 0.4f);
    EXPECT_NEAR(seen.front().alpha, 0.42, 0.01);
    EXPECT_EQ(seen.front().rotation, 352);
    EXPECT_FLOAT_EQ(seen.back().scaleX, 1.0875f);
    EXPECT_EQ(seen.back().alpha, 0);
    EXPECT_EQ(seen.back().rotation, 0);
    driver.calls.clear();
    boom::update();
    EXPECT_TRUE(driver.Images().empty());
}

TEST_F(BoomUpdateTest, StateIsResetAfterTheWalkAndOverlappingFlashesDrawInOrder)
{
    boom::Add(10, 20);
    boom::update(); // the first one ages
    boom::Add(10, 20);
    boom::Add(30, 40);
    driver.calls.clear();
    boom::update();
    const auto draws = driver.Images("flashboom");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].rotation, 10 * 32);
    EXPECT_EQ(draws[1].rotation, 11 * 32);
    EXPECT_EQ(draws[2].x, 30);

    // After the last draw: scale, alpha, colour, rotation, each restored once, in that order.
    std::vector<std::string> tail;
    for (size_t i = driver.calls.size() - 4; i < driver.calls.size(); ++i)
        tail.push_back(driver.calls[i].op);
    EXPECT_EQ(tail, (std::vector<std::string>{"SetTransform", "SetAlpha", "SetColor", "SetTransform"}));
    const TDraw2DGraphics* g = TDraw2DGraphics::Current();
    EXPECT_EQ(g->tform_scale_x, 1);
    EXPECT_EQ(g->tform_scale_y, 1);
    EXPECT_EQ(g->color_alpha, 1);
    EXPECT_EQ(g->color_red + g->color_green + g->color_blue, 3 * 255);
    EXPECT_EQ(g->tform_rot, 0);
    EXPECT_EQ(driver.calls.back().args, (std::vector<float>{1, 0, 0, 1}));
}

TEST_F(BoomUpdateTest, MissingPictureStillAgesTheFlash)
{
    pictures.flashboomimage.reset();
    auto b = boom::Add(5, 5);
    boom::update();
    EXPECT_EQ(b->time, 10);
    EXPECT_TRUE(driver.Images().empty());
}

} // namespace
