// A real key press in a real window: xdotool types into an SDL window on the X display (Xvfb in
// the test run), and the presses must reach the polled input with Windows key codes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "sdl_events.h"
#include "system/clock.h"
#include "system/input.h"

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
        xid = std::to_string(info.info.x11.window);
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

    std::string xid;
};

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
