#include <gtest/gtest.h>

#include <stdexcept>

#include "fake_driver.h"
#include "sdl_events.h"
#include "system/input.h"
#include "system/sysdriver.h"

TEST(Pump, NestedPumpsReturnAtOnce)
{
    FakeSystemDriver driver;
    int nestedPolls = -1;
    driver.onPoll = [&] {
        PumpSystemEvents();
        WaitSystemEvent();
        nestedPolls = driver.polls;
    };
    PumpSystemEvents();
    EXPECT_EQ(driver.polls, 1);
    EXPECT_EQ(driver.waits, 0);
    EXPECT_EQ(nestedPolls, 1);
    WaitSystemEvent();
    EXPECT_EQ(driver.waits, 1);
    EXPECT_EQ(driver.polls, 2);
}

TEST(Pump, ErrorInsideThePumpDoesNotStopLaterPumps)
{
    FakeSystemDriver driver;
    driver.onPoll = [] { throw std::runtime_error("hook failed"); };
    EXPECT_THROW(PumpSystemEvents(), std::runtime_error);
    driver.onPoll = nullptr;
    PumpSystemEvents();
    EXPECT_EQ(driver.polls, 2);
}

TEST(Pump, InstallingNoneRestoresThePlatformDriver)
{
    TSystemDriver* platform = SystemDriver();
    ASSERT_NE(platform, nullptr);
    {
        FakeSystemDriver driver;
        EXPECT_EQ(SystemDriver(), &driver);
    }
    EXPECT_EQ(SystemDriver(), platform);
    EXPECT_NE(dynamic_cast<TSDLSystemDriver*>(platform), nullptr);
}

using SDLDriver = SDLWindowTest;

TEST_F(SDLDriver, WindowProcGetsItsEventsAfterTheTranslation)
{
    Push(LetterEvent(true, 'a'));
    Push(MotionEvent(3, 4));
    PumpSystemEvents();
    ASSERT_EQ(procEvents.size(), 2u);
    EXPECT_EQ(procEvents[0].type, SDL_KEYDOWN);
    EXPECT_EQ(keyDownSeenByProc[0], 1) << "the polled state already has the key";
    EXPECT_EQ(procEvents[1].type, SDL_MOUSEMOTION);
}

TEST_F(SDLDriver, WaitLeavesTheEventForThePoll)
{
    Push(LetterEvent(true, 'q'));
    WaitSystemEvent();
    ASSERT_EQ(procEvents.size(), 1u);
    EXPECT_EQ(procEvents[0].type, SDL_KEYDOWN);
    EXPECT_EQ(TakeKeyHits('Q'), 1);
}

TEST_F(SDLDriver, EventsOfOtherWindowsAreTakenAndDropped)
{
    SDL_Event key = LetterEvent(true, 'a', false, windowId + 100);
    ASSERT_EQ(SDL_PushEvent(&key), 1);
    EXPECT_EQ(TakeKeyHits('A'), 0);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0);
    EXPECT_TRUE(procEvents.empty());

    UnregisterSDLWindow(window);
    Push(LetterEvent(true, 'a'));
    EXPECT_EQ(TakeKeyHits('A'), 0);
    EXPECT_TRUE(procEvents.empty());
}

TEST_F(SDLDriver, CursorHidesOnlyInsideTheWindow)
{
    SystemDriver()->SetMouseVisible(0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE) << "the pointer is not over the window yet";
    Push(MotionEvent(10, 10));
    PumpSystemEvents();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    Push(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    PumpSystemEvents();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    Push(MotionEvent(10, 10));
    PumpSystemEvents();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    SystemDriver()->SetMouseVisible(1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    SystemDriver()->SetMouseVisible(0);
    UnregisterSDLWindow(window);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE) << "no window tracked any more";
    SystemDriver()->SetMouseVisible(1);
}
