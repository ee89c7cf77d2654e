// A real key press in a real window: xdotool types into an SDL window on the X display (Xvfb in
// the test run), and the presses must reach the polled input with Windows key codes.
#include <gtest/gtest.h>


#include <cstdlib>
#include <string>

#include "common/x_display.h"
#include "sdl_events.h"
#include "system/clock.h"
#include "system/event.h"
#include "system/hook.h"
#include "system/input.h"
#include "system/sysdriver.h"

#include <SDL_syswm.h>

namespace {

class X11Input : public SDLWindowTest {
protected:
    const char* VideoDriver() const override { return "x11"; }

    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no X display";
        if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "xdotool is not installed";
        SDLWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info)) << SDL_GetError();
        ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
        ASSERT_TRUE(x11.Open());
        xwindow = info.info.x11.window;
        xid = std::to_string(xwindow);
        ASSERT_TRUE(Xdotool("windowfocus --sync " + xid));
        ASSERT_TRUE(Eventually([&] {
            PumpSystemEvents();
            return SDL_GetKeyboardFocus() == window;
        })) << "the window never got the keyboard focus";
        ResetKeyState();
        ResetMouseState();
    }

    static bool Xdotool(const std::string& arguments)
    {
        return std::system(("timeout 20 xdotool " + arguments).c_str()) == 0;
    }

    // Polls until the condition holds, giving the X server up to 500 rounds of 10 ms.
    template <class Condition>
    static bool Eventually(Condition condition)
    {
        for (int round = 0; round < 500; ++round) {
            if (condition())
                return true;
            SleepMillis(10);
        }
        return false;
    }

    // What a window manager sends when the close box is clicked.
    void PressCloseBox() { x11.ClickCloseBox(xwindow); }

    // Takes the keyboard focus away from every window, as switching to another program does.
    void FocusNowhere() { x11.DropFocus(); }

    XDisplay x11;
    Window xwindow = 0;
    std::string xid;
};

int CountQuit(void* count, SDL_Event* event)
{
    if (event->type == SDL_QUIT)
        ++*static_cast<int*>(count);
    return 0;
}

} // namespace

TEST_F(X11Input, KeyPressReachesPolledInput)
{
    ASSERT_TRUE(Xdotool("keydown a"));
    ASSERT_TRUE(Eventually([] { return IsKeyDown('A') == 1; }));
    EXPECT_EQ(TakeKeyHits('A'), 1);
    ASSERT_TRUE(Xdotool("keyup a"));
    ASSERT_TRUE(Eventually([] { return IsKeyDown('A') == 0; }));
    EXPECT_EQ(TakeTypedChar(), 'a');
    EXPECT_EQ(TakeTypedChar(), 0);
    EXPECT_EQ(TakeKeyHits('A'), 0);

    ASSERT_TRUE(Xdotool("key s s"));
    ASSERT_TRUE(Eventually([] { return TakeTypedChar() == 's'; }));
    ASSERT_TRUE(Eventually([] { return TakeTypedChar() == 's'; }));
    EXPECT_EQ(TakeKeyHits('S'), 2);
}

TEST_F(X11Input, ShiftEnterAndEscape)
{
    ASSERT_TRUE(Xdotool("keydown Shift_L"));
    ASSERT_TRUE(Eventually([] { return IsKeyDown(160) == 1; }));
    EXPECT_EQ(IsKeyDown(16), 0);
    ASSERT_TRUE(Xdotool("keyup Shift_L"));
    ASSERT_TRUE(Eventually([] { return IsKeyDown(160) == 0; }));

    ASSERT_TRUE(Xdotool("key Return"));
    ASSERT_TRUE(Eventually([] { return TakeTypedChar() == 13; }));
    EXPECT_EQ(TakeKeyHits(13), 1);

    ASSERT_TRUE(Xdotool("key Escape"));
    ASSERT_TRUE(Eventually([] { return TakeKeyHits(27) == 1; }));
    EXPECT_EQ(TakeTypedChar(), 27);
}

TEST_F(X11Input, ClickReachesPolledInput)
{
    ASSERT_TRUE(Xdotool("mousemove --window " + xid + " 20 30"));
    ASSERT_TRUE(Eventually([] { return CursorX() == 20 && CursorY() == 30; }));
    ASSERT_TRUE(Xdotool("click 1"));
    ASSERT_TRUE(Eventually([] { return TakeMouseHits(1) == 1; }));
    EXPECT_EQ(IsMouseDown(1), 0);
}

TEST_F(X11Input, MoveMouseWarpsThePointerIntoTheWindow)
{
    SystemDriver()->MoveMouse(11, 13);
    ASSERT_TRUE(Eventually([] { return CursorX() == 11 && CursorY() == 13; }));
    SystemDriver()->MoveMouse(40, 2);
    ASSERT_TRUE(Eventually([] { return CursorX() == 40 && CursorY() == 2; }));
}

// A pointer resting over a window that appears or comes back into focus may have sent no motion
// the input heard; showing and focus take the position the window system last gave.
TEST_F(X11Input, ShowingAndFocusLearnWhereThePointerRests)
{
    ASSERT_TRUE(Xdotool("mousemove --window " + xid + " 20 30"));
    ASSERT_TRUE(Eventually([] { return CursorX() == 20 && CursorY() == 30; }));
    for (const SDL_WindowEventID reveal : {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_SHOWN}) {
        Push(MotionEvent(1, 1)); // a motion the window system never saw
        PumpSystemEvents();
        ASSERT_EQ(CursorX(), 1);
        Push(WindowEvent(reveal));
        PumpSystemEvents();
        EXPECT_EQ(CursorX(), 20) << reveal;
        EXPECT_EQ(CursorY(), 30) << reveal;
    }
}

TEST_F(X11Input, CloseBoxAsksToTerminateAndTheWindowStays)
{
    int quits = 0;
    SDL_AddEventWatch(CountQuit, &quits);
    PressCloseBox();
    ASSERT_TRUE(Eventually([] { return TakeTerminateRequest() == 1; }));
    EXPECT_EQ(TakeTerminateRequest(), 0);
    SDL_DelEventWatch(CountQuit, &quits);
    EXPECT_EQ(quits, 0) << "closing the only window is no quit of the program";
    EXPECT_EQ(SDL_GetWindowFromID(windowId), window);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN);
}

TEST_F(X11Input, FocusMovingBetweenOwnWindowsIsNoSuspend)
{
    SDL_Window* second = SDL_CreateWindow("Brimstrand second window", 0, 0, 32, 32, SDL_WINDOW_SHOWN);
    ASSERT_NE(second, nullptr) << SDL_GetError();
    RegisterSDLWindow(second, nullptr, nullptr);
    static int32_t suspends = 0;
    suspends = 0;
    const THookFunc countSuspends = [](int32_t, void* data, void*) -> void* {
        if (static_cast<const TEvent*>(data)->id == EVENT_APPSUSPEND)
            ++suspends;
        return data;
    };
    InsertHook(EventHookId(), countSuspends, nullptr, 1);

    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(second, &info));
    ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(info.info.x11.window)));
    EXPECT_TRUE(Eventually([&] {
        PumpSystemEvents();
        return SDL_GetKeyboardFocus() == second;
    }));
    ASSERT_TRUE(Xdotool("windowfocus --sync " + xid));
    EXPECT_TRUE(Eventually([&] {
        PumpSystemEvents();
        return SDL_GetKeyboardFocus() == window;
    }));
    EXPECT_EQ(suspends, 0);
    EXPECT_EQ(IsAppSuspended(), 0);

    // Focus leaving every window of this process is a switch of application.
    FocusNowhere();
    EXPECT_TRUE(Eventually([] { return IsAppSuspended() == 1; }));
    EXPECT_EQ(suspends, 1);
    ASSERT_TRUE(Xdotool("windowfocus --sync " + xid));
    EXPECT_TRUE(Eventually([] { return IsAppSuspended() == 0; }));
    DeleteHook(EventHookId(), countSuspends, nullptr);
    UnregisterSDLWindow(second);
    SDL_DestroyWindow(second);
}
