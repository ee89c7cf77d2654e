#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "draw2d/graphics.h"
#include "fakegraphics.h"
#include "system/hook.h"

namespace {

// A clock that moves only when slept on or pushed by the test; it wraps like the real one.
int32_t now_ms = 0;
std::vector<int32_t> sleeps;

int32_t FakeClock() { return now_ms; }

void Advance(int32_t ms) { now_ms = static_cast<int32_t>(static_cast<uint32_t>(now_ms) + static_cast<uint32_t>(ms)); }

void FakeSleep(int32_t ms)
{
    sleeps.push_back(ms);
    Advance(ms);
}

int32_t Since(int32_t start) { return static_cast<int32_t>(static_cast<uint32_t>(now_ms) - static_cast<uint32_t>(start)); }

// Notes the clock at every swap. On a display of displayHertz, a swap on the retrace with
// retraceBlocks set waits for the display's next retrace, as a real one does.
class TimedDriver : public TFakeGraphicsDriver {
public:
    void Flip(int32_t sync) override
    {
        TFakeGraphicsDriver::Flip(sync);
        if (sync == 1 && retraceBlocks)
            WaitForRetrace();
        times.push_back(now_ms);
    }
    int32_t DisplayHertz() override { return displayHertz; }

    void WaitForRetrace()
    {
        // Retrace n is at n * 1000 / displayHertz ms from the clock's start; the clock shows whole ms.
        const int64_t since = static_cast<uint32_t>(now_ms) - static_cast<uint32_t>(retraceOrigin);
        const int64_t next = since * displayHertz / 1000 + 1;
        retraces.push_back(next);
        Advance(static_cast<int32_t>((next * 1000 + displayHertz - 1) / displayHertz - since));
    }

    std::vector<int32_t> times;
    std::vector<int64_t> retraces; // the retrace each swap was shown on
    int32_t displayHertz = 0;
    bool retraceBlocks = false;
    int32_t retraceOrigin = 0;
};

class Pacing : public ::testing::Test {
protected:
    void Start(int32_t clockStart)
    {
        now_ms = clockStart;
        sleeps.clear();
        SetPacingTimer(FakeClock, FakeSleep);
        SetGraphicsDriver(&driver, 0);
    }
    void SetUp() override { Start(5000); }
    void TearDown() override
    {
        CloseOpenedGraphics();
        SetGraphicsDriver(nullptr, 0);
        SetPacingTimer(nullptr, nullptr);
    }

    // Milliseconds between consecutive swaps, starting from start.
    std::vector<int32_t> Steps(int32_t start) const
    {
        std::vector<int32_t> steps;
        int32_t previous = start;
        for (int32_t t : driver.times) {
            steps.push_back(static_cast<int32_t>(static_cast<uint32_t>(t) - static_cast<uint32_t>(previous)));
            previous = t;
        }
        return steps;
    }

    TimedDriver driver;
};

void ExpectSixtyHertzSchedule(const std::vector<int32_t>& steps)
{
    // 1000 / 60 = 16 ms plus 40/60 ms carried over: the carry makes two of every three frames 17 ms.
    const int32_t pattern[3] = {16, 17, 17};
    int32_t total = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i], pattern[i % 3]) << "frame " << i;
        total += steps[i];
    }
    EXPECT_EQ(total, 1000);
}

TEST_F(Pacing, SixtyFlipsAtSixtyHertzTakeExactlyOneSecond)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    for (int i = 0; i < 60; ++i)
        Flip(-1);
    ASSERT_EQ(driver.times.size(), 60u);
    ExpectSixtyHertzSchedule(Steps(5000));
    EXPECT_EQ(Since(5000), 1000);
    for (int32_t sync : driver.flips)
        EXPECT_EQ(sync, 0); // a window is paced in software, never by the retrace
}

TEST_F(Pacing, ScheduleHoldsAcrossTheClockWrap)
{
    Start(INT32_MAX - 500);
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    for (int i = 0; i < 60; ++i)
        Flip(-1);
    ExpectSixtyHertzSchedule(Steps(INT32_MAX - 500));
}

TEST_F(Pacing, LateFrameRestartsTheScheduleFromNow)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    Flip(-1); // due at 5016
    Advance(40); // a slow frame: now 5056, the next was due at 5033
    Flip(-1);
    EXPECT_EQ(sleeps.size(), 1u); // the late frame does not sleep
    EXPECT_EQ(driver.times[1], 5056);
    Flip(-1); // 17 ms after the late frame, not 17 ms after 5033: nothing is made up
    EXPECT_EQ(driver.times[2], 5073);
    EXPECT_EQ(sleeps.back(), 17);
}

TEST_F(Pacing, RenderingTimeIsTakenFromTheSleep)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    Advance(10);
    Flip(-1);
    ASSERT_EQ(sleeps.size(), 1u);
    EXPECT_EQ(sleeps[0], 6);
    EXPECT_EQ(driver.times[0], 5016);
}

TEST_F(Pacing, HertzZeroNeverSleepsNorWaitsForRetrace)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 0, 0));
    for (int i = 0; i < 10; ++i)
        Flip(-1);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(driver.flips, std::vector<int32_t>(10, 0));
}

TEST_F(Pacing, NegativeHertzPacesNothing)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, -60, 0));
    for (int i = 0; i < 10; ++i)
        Flip(-1);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(driver.flips, std::vector<int32_t>(10, 0));
}

TEST_F(Pacing, FullscreenWaitsForRetraceInsteadOfSleeping)
{
    ASSERT_TRUE(OpenGraphics(640, 480, 32, 60, 0));
    Flip(-1);
    ASSERT_TRUE(OpenGraphics(640, 480, 32, 0, 0));
    Flip(-1);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(driver.flips, (std::vector<int32_t>{1, 0}));
}

TEST_F(Pacing, ExplicitSyncBypassesPacing)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    Flip(1);
    Flip(0);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(driver.flips, (std::vector<int32_t>{1, 0}));
}

TEST_F(Pacing, GraphicsOtherThanTheOpenedOnesFlipOnRetrace)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    SetGraphics(CreateGraphics(64, 64, 0, 60, 0));
    Flip(-1);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(driver.flips, std::vector<int32_t>{1});
}

TEST_F(Pacing, OnASixtyHertzDisplayFramesSwapOnTheRetraceAndTheTimerGuardsASwapThatDoesNotWait)
{
    driver.displayHertz = 60; // the swaps return at once, as under a virtual display
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    std::vector<int32_t> frameStarts;
    for (int i = 0; i < 60; ++i) {
        Advance(3); // drawing the frame
        Flip(-1);
        frameStarts.push_back(now_ms);
    }
    EXPECT_EQ(driver.flips, std::vector<int32_t>(60, 1));
    driver.times = frameStarts;
    ExpectSixtyHertzSchedule(Steps(5000));
}

TEST_F(Pacing, SwapsThatWaitForTheRetraceAreNeverHeldBackNorShownTwiceAtFiftyNineToSixtyOneHertz)
{
    for (int32_t hertz : {59, 60, 61}) {
        Start(5000);
        driver.times.clear();
        driver.retraces.clear();
        driver.displayHertz = hertz;
        driver.retraceBlocks = true;
        driver.retraceOrigin = 4997;
        ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
        for (int i = 0; i < 600; ++i) {
            Advance(i % 7 + 2); // drawing times vary, always within a refresh
            Flip(-1);
        }
        EXPECT_TRUE(sleeps.empty()) << hertz << " Hz: the timer held back a swap that waited";
        for (size_t i = 1; i < driver.retraces.size(); ++i)
            ASSERT_EQ(driver.retraces[i], driver.retraces[i - 1] + 1) << hertz << " Hz, frame " << i;
    }
}

TEST_F(Pacing, ALateFrameOnTheRetraceRestartsTheGuardFromNow)
{
    driver.displayHertz = 60;
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    Flip(-1); // due at 5016: the guard sleeps there
    Advance(40);
    Flip(-1); // at 5056, late for 5033
    EXPECT_EQ(sleeps.size(), 1u);
    Flip(-1); // 17 ms after the late frame
    EXPECT_EQ(driver.times[2], 5056);
    EXPECT_EQ(now_ms, 5073);
}

TEST_F(Pacing, FramesThatNearlyFillTheirTimeOnASwapThatDoesNotWaitComeNoFasterThanOnASixtyOneHertzDisplay)
{
    driver.displayHertz = 61;
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    constexpr int32_t kFrames = 610;
    for (int i = 0; i < kFrames; ++i) {
        Advance(15); // within the guard's margin of the 16.7 ms frame
        Flip(-1);
    }
    // A schedule following a display one millisecond every three frames allows 61.2 a second.
    EXPECT_GE(Since(5000), kFrames * 1000 / 61.5);
}

TEST_F(Pacing, DisplaysFarFromSixtyHertzArePacedByTheTimer)
{
    for (int32_t hertz : {0, 50, 75, 144}) {
        Start(5000);
        driver.times.clear();
        driver.flips.clear();
        driver.displayHertz = hertz;
        ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
        for (int i = 0; i < 60; ++i)
            Flip(-1);
        EXPECT_EQ(driver.flips, std::vector<int32_t>(60, 0)) << hertz << " Hz";
        ExpectSixtyHertzSchedule(Steps(5000));
    }
}

TEST_F(Pacing, EveryFlipRunsTheFlipHookFirst)
{
    static int hooked = 0;
    static size_t flipsSeenByHook = 0;
    hooked = 0;
    THookFunc hook = [](int32_t, void* data, void* context) -> void* {
        ++hooked;
        flipsSeenByHook = static_cast<TimedDriver*>(context)->flips.size();
        return data;
    };
    InsertHook(FlipHookId(), hook, &driver, 0);
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    Flip(-1);
    Flip(0);
    DeleteHook(FlipHookId(), hook, &driver);
    Flip(0);
    EXPECT_EQ(hooked, 2);
    EXPECT_EQ(flipsSeenByHook, 1u); // ran before the second swap
}

// The frame trace runs here, so a test that waits for a frame's line sees that frame on screen.
TEST_F(Pacing, EveryFlipRunsTheShownHookAfterItsSwap)
{
    static std::vector<size_t> flipsSeen;
    flipsSeen.clear();
    THookFunc hook = [](int32_t, void* data, void* context) -> void* {
        flipsSeen.push_back(static_cast<TimedDriver*>(context)->flips.size());
        return data;
    };
    InsertHook(ShownHookId(), hook, &driver, 0);
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    Flip(-1);
    Flip(0);
    Flip(1);
    DeleteHook(ShownHookId(), hook, &driver);
    Flip(0);
    EXPECT_EQ(flipsSeen, (std::vector<size_t>{1, 2, 3}));
}

} // namespace
