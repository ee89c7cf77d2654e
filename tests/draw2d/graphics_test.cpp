#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/shell.h"
#include "draw2d/draw2d.h"
#include "draw2d/glcontext.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/graphics.h"
#include "fakegraphics.h"
#include "system/event.h"
#include "system/input.h"
#include "system/sysdriver.h"

namespace {

TEST(GraphicsMode, PrintsAsWidthHeightDepthAndHertz)
{
    EXPECT_EQ((TGraphicsMode{800, 600, 32, 75}.ToString()), "800,600,32 75Hz");
    EXPECT_EQ((TGraphicsMode{640, 480, 32, 60}.ToString()), "640,480,32 60Hz");
}

TEST(GraphicsSeq, WrapsAroundSkippingZero)
{
    EXPECT_EQ(NextGraphicsSeq(1), 2);
    EXPECT_EQ(NextGraphicsSeq(-1), 1);
    EXPECT_EQ(NextGraphicsSeq(INT32_MAX), INT32_MIN);
    EXPECT_NE(GraphicsSeq(), 0);
}

// The graphics module over a driver with no surface.
class GraphicsModule : public ::testing::Test {
protected:
    void SetUp() override { SetGraphicsDriver(&driver, 0); }
    void TearDown() override
    {
        CloseOpenedGraphics();
        SetGraphicsDriver(nullptr, 0);
    }
    TFakeGraphicsDriver driver;
};

TEST_F(GraphicsModule, SettingsAreZeroUntilGraphicsAreOpened)
{
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(GraphicsHeight(), 0);
    auto g = OpenGraphics(512, 512, 0, 60, 0);
    ASSERT_TRUE(g);
    EXPECT_EQ(CurrentGraphics(), g);
    EXPECT_EQ(driver.selected, g);
    EXPECT_EQ(GraphicsWidth(), 512);
    EXPECT_EQ(GraphicsHeight(), 512);
    EXPECT_EQ(GraphicsHertz(), 60);
    CloseOpenedGraphics();
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(CurrentGraphics(), nullptr);
    EXPECT_EQ(driver.selected, nullptr);
}

TEST_F(GraphicsModule, DefaultFlagsJoinEveryCreation)
{
    SetGraphicsDriver(&driver, GraphicsBackBuffer);
    EXPECT_EQ(DefaultGraphicsFlags(), GraphicsBackBuffer);
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, GraphicsDepthBuffer));
    EXPECT_EQ(GraphicsFlags(), GraphicsBackBuffer | GraphicsDepthBuffer);
}

TEST_F(GraphicsModule, ReopeningClosesTheOldGraphicsAndMovesTheSequenceTwice)
{
    auto first = std::static_pointer_cast<TFakeGraphicsDriver::Graphics>(OpenGraphics(512, 512, 0, 60, 0));
    ASSERT_TRUE(first);
    const int32_t seq = GraphicsSeq();
    auto second = OpenGraphics(256, 256, 0, 60, 0);
    ASSERT_TRUE(second);
    EXPECT_TRUE(first->closed);
    EXPECT_EQ(GraphicsSeq(), NextGraphicsSeq(NextGraphicsSeq(seq)));
    EXPECT_EQ(GraphicsWidth(), 256);
}

TEST_F(GraphicsModule, SelectingADriverMovesTheSequenceAndDropsTheCurrentGraphics)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    const int32_t seq = GraphicsSeq();
    TFakeGraphicsDriver other;
    SetGraphicsDriver(&other, 0);
    EXPECT_EQ(GraphicsSeq(), NextGraphicsSeq(seq));
    EXPECT_EQ(GetGraphicsDriver(), &other);
    EXPECT_EQ(driver.selected, nullptr); // released by its old driver
    EXPECT_EQ(GraphicsWidth(), 0);
}

TEST_F(GraphicsModule, FailedCreationGivesNoneAndLeavesNoGraphics)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    driver.failCreate = true;
    const int32_t seq = GraphicsSeq();
    EXPECT_EQ(CreateGraphics(512, 512, 0, 60, 0), nullptr); // the driver's error is swallowed
    EXPECT_EQ(OpenGraphics(512, 512, 0, 60, 0), nullptr);
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(CurrentGraphics(), nullptr);
    EXPECT_EQ(GraphicsSeq(), NextGraphicsSeq(seq)); // only the close of the previous graphics counted
}

TEST_F(GraphicsModule, SelectingGraphicsOfAnotherDriverSwitchesTheDriver)
{
    TFakeGraphicsDriver other;
    auto g = other.CreateGraphics(100, 50, 0, 0, 0);
    SetGraphics(g);
    EXPECT_EQ(GetGraphicsDriver(), &other);
    EXPECT_EQ(other.selected, g);
    EXPECT_EQ(GraphicsWidth(), 100);
    CloseGraphics(g);
    EXPECT_TRUE(std::static_pointer_cast<TFakeGraphicsDriver::Graphics>(g)->closed);
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(other.selected, nullptr);
}

TEST_F(GraphicsModule, ModesAreFetchedOnceAndMatchedWithWildcards)
{
    driver.modes = {{640, 480, 32, 60}, {800, 600, 32, 75}};
    EXPECT_EQ(CountGraphicsModes(), 2);
    EXPECT_EQ(CountGraphicsModes(), 2);
    EXPECT_EQ(driver.modeRequests, 1);
    int32_t w, h, d, hz;
    GetGraphicsMode(1, w, h, d, hz);
    EXPECT_EQ(TGraphicsMode({w, h, d, hz}).ToString(), "800,600,32 75Hz");
    EXPECT_EQ(GraphicsModeExists(800, 600, 0, 0), 1);
    EXPECT_EQ(GraphicsModeExists(0, 0, 32, 75), 1);
    EXPECT_EQ(GraphicsModeExists(800, 600, 32, 60), 0);
    EXPECT_EQ(GraphicsModeExists(1024, 0, 0, 0), 0);

    TFakeGraphicsDriver other;
    SetGraphicsDriver(&other, 0); // a new driver has its own modes
    EXPECT_EQ(CountGraphicsModes(), 0);
}

TEST_F(GraphicsModule, PolledInputIsOnExactlyWhileGraphicsAreOpen)
{
    TEvent::Create(EVENT_APPTERMINATE)->Emit();
    EXPECT_EQ(TakeTerminateRequest(), 0);
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    TEvent::Create(EVENT_APPTERMINATE)->Emit();
    EXPECT_EQ(TakeTerminateRequest(), 1);
    CloseOpenedGraphics();
    TEvent::Create(EVENT_APPTERMINATE)->Emit();
    EXPECT_EQ(TakeTerminateRequest(), 0);
}

// A real window and GL context (under Xvfb).
class GraphicsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!GLDraw2DDriverInstance())
            GTEST_SKIP() << "no video";
        SetAppTitle("Brimstrand window test");
        SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
    }
    void TearDown() override { CloseOpenedGraphics(); }

    static SDL_Window* Window() { return GLContextCurrent() ? GLContextCurrent()->window : nullptr; }
};

TEST_F(GraphicsWindow, OpensACentredFixedSizeCaptionedWindow)
{
    EXPECT_EQ(GraphicsWidth(), 0);
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    EXPECT_EQ(GraphicsWidth(), 512);
    EXPECT_EQ(GraphicsHeight(), 512);
    SDL_Window* window = Window();
    ASSERT_TRUE(window);
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 512);
    EXPECT_EQ(h, 512);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Brimstrand window test");
    const Uint32 flags = SDL_GetWindowFlags(window);
    EXPECT_FALSE(flags & SDL_WINDOW_RESIZABLE);
    EXPECT_FALSE(flags & SDL_WINDOW_BORDERLESS);
    EXPECT_TRUE(flags & SDL_WINDOW_SHOWN);
    EXPECT_EQ(GraphicsSeq() != 0, true);

    // What the X server itself says about the window, when its tools are at hand.
    if (std::getenv("DISPLAY") && !Shell("command -v xdotool").empty()) {
        PumpSystemEvents();
        const std::string geometry =
            Shell("xdotool search --name '^Brimstrand window test$' getwindowgeometry 2>/dev/null");
        EXPECT_NE(geometry.find("Geometry: 512x512"), std::string::npos) << geometry;
        SDL_DisplayMode desktop;
        ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
        const std::string position = "Position: " + std::to_string(desktop.w / 2 - 256) + "," +
                                     std::to_string(desktop.h / 2 - 256);
        EXPECT_NE(geometry.find(position), std::string::npos) << geometry;
        const std::string hints =
            Shell("xprop -id $(xdotool search --name '^Brimstrand window test$' | head -1) WM_NORMAL_HINTS");
        EXPECT_NE(hints.find("program specified minimum size: 512 by 512"), std::string::npos) << hints;
        EXPECT_NE(hints.find("program specified maximum size: 512 by 512"), std::string::npos) << hints;
    }
}

// The window manager's close: a WM_DELETE_WINDOW message from the X server, sent through SDL's own
// connection with the Xlib that SDL loaded.
bool SendDeleteWindow(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!xlib)
        return false;
    auto internAtom = reinterpret_cast<Atom (*)(Display*, const char*, Bool)>(dlsym(xlib, "XInternAtom"));
    auto sendEvent = reinterpret_cast<Status (*)(Display*, Window, Bool, long, XEvent*)>(dlsym(xlib, "XSendEvent"));
    auto flush = reinterpret_cast<int (*)(Display*)>(dlsym(xlib, "XFlush"));
    Display* display = info.info.x11.display;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = info.info.x11.window;
    event.xclient.message_type = internAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    sendEvent(display, info.info.x11.window, False, NoEventMask, &event);
    flush(display);
    dlclose(xlib);
    return true;
}

// Pumps until the terminate request shows, for at most about a second.
int32_t AwaitTerminateRequest()
{
    for (int i = 0; i < 100; ++i) {
        if (TakeTerminateRequest())
            return 1;
        SDL_Delay(10);
    }
    return 0;
}

TEST_F(GraphicsWindow, CloseRequestsRaiseTheTerminateRequestAndLeaveTheWindowOpen)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    SDL_Window* window = Window();
    ASSERT_TRUE(window);
    const Uint32 id = SDL_GetWindowID(window);
    EXPECT_EQ(TakeTerminateRequest(), 0);

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = id;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&close);
    EXPECT_EQ(TakeTerminateRequest(), 1);
    EXPECT_EQ(TakeTerminateRequest(), 0);

    if (SendDeleteWindow(window)) {
        EXPECT_EQ(AwaitTerminateRequest(), 1);
    }

    EXPECT_EQ(SDL_GetWindowFromID(id), window);
    EXPECT_EQ(GraphicsWidth(), 512);
}

TEST_F(GraphicsWindow, AltF4AsksToClose)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    ASSERT_TRUE(Window());
    if (!std::getenv("DISPLAY") || Shell("command -v xdotool").empty())
        GTEST_SKIP() << "needs X and xdotool";
    PumpSystemEvents();
    // Without a window manager the keyboard follows the pointer.
    Shell("xdotool search --name '^Brimstrand window test$' windowfocus --sync mousemove --window %1 256 256 "
        "key alt+F4");
    EXPECT_EQ(AwaitTerminateRequest(), 1);
    EXPECT_EQ(GraphicsWidth(), 512);
}

TEST_F(GraphicsWindow, ReopeningReplacesTheWindow)
{
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 60, 0));
    const Uint32 firstId = SDL_GetWindowID(Window());
    const int32_t seq = GraphicsSeq();
    ASSERT_TRUE(OpenGraphics(320, 200, 0, 60, 0));
    EXPECT_EQ(SDL_GetWindowFromID(firstId), nullptr);
    EXPECT_EQ(GraphicsSeq(), NextGraphicsSeq(NextGraphicsSeq(seq)));
    int w = 0, h = 0;
    SDL_GetWindowSize(Window(), &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 200);
    EXPECT_EQ(GraphicsWidth(), 320);
}

TEST_F(GraphicsWindow, ImpossibleWindowsGiveNone)
{
    EXPECT_EQ(OpenGraphics(0, 512, 0, 60, 0), nullptr);
    EXPECT_EQ(OpenGraphics(-5, -5, 0, 60, 0), nullptr);
    EXPECT_EQ(GraphicsWidth(), 0);
    // No display mode of this size exists: the switch fails and the window goes again.
    EXPECT_EQ(OpenGraphics(4321, 1234, 32, 60, 0), nullptr);
    EXPECT_EQ(GLContextCurrent(), nullptr);
}

TEST_F(GraphicsWindow, FlagsChooseThePixelFormat)
{
    ASSERT_TRUE(OpenGraphics(64, 64, 0, 0, GraphicsAlphaBuffer | GraphicsDepthBuffer | GraphicsStencilBuffer));
    GLint alpha = 0, depth = 0, stencil = 0;
    GLboolean doubled = GL_FALSE;
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubled);
    EXPECT_GE(alpha, 1);
    EXPECT_GE(depth, 1);
    EXPECT_GE(stencil, 1);
    // SDL's offscreen driver draws into a single surface whatever is asked.
    if (std::string(SDL_GetCurrentVideoDriver()) != "x11")
        return;
    EXPECT_TRUE(doubled); // the default flags carry the back buffer

    SetGraphicsDriver(GLDraw2DDriverInstance(), 0);
    if (OpenGraphics(64, 64, 0, 0, 0)) { // a single-buffered surface, where the platform has one
        glGetBooleanv(GL_DOUBLEBUFFER, &doubled);
        EXPECT_FALSE(doubled);
        Flip(0);
    }
}

TEST_F(GraphicsWindow, AttachedGraphicsFollowTheForeignWindowAndLeaveItOpen)
{
    SDL_Window* foreign = SDL_CreateWindow("foreign", 0, 0, 200, 100, SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    ASSERT_TRUE(foreign);
    auto g = AttachGraphics(foreign, 0);
    ASSERT_TRUE(g);
    EXPECT_TRUE(std::dynamic_pointer_cast<TDraw2DGraphics>(g));
    int32_t w, h, d, hz, f;
    g->GetSettings(w, h, d, hz, f);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 100);
    SDL_SetWindowSize(foreign, 300, 120);
    g->GetSettings(w, h, d, hz, f);
    EXPECT_EQ(w, 300);
    SetGraphics(g);
    EXPECT_EQ(GraphicsWidth(), 300);
    CloseGraphics(g);
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(SDL_GetWindowFromID(SDL_GetWindowID(foreign)), foreign);
    SDL_DestroyWindow(foreign);
    EXPECT_EQ(AttachGraphics(nullptr, 0), nullptr);
}

void SendFocus(SDL_Window* window, Uint8 change)
{
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.windowID = SDL_GetWindowID(window);
    focus.window.event = change;
    SDL_PushEvent(&focus);
    PumpSystemEvents();
}

TEST_F(GraphicsWindow, FullscreenHoldsTheDisplayModeOnlyWhileFocused)
{
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    if (!GraphicsModeExists(desktop.w, desktop.h, 32, 0))
        GTEST_SKIP() << "no 32-bit display mode of the desktop's size";
    ASSERT_TRUE(OpenGraphics(desktop.w, desktop.h, 32, desktop.refresh_rate, 0));
    SDL_Window* window = Window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(GraphicsDepth(), 32);

    SendFocus(window, SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    SendFocus(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    CloseOpenedGraphics();
    EXPECT_EQ(GLContextCurrent(), nullptr);
}

TEST_F(GraphicsWindow, ModesListOnlyDeepColourModes)
{
    EXPECT_LE(CountGraphicsModes(), 1024);
    for (const TGraphicsMode& mode : GraphicsModes())
        EXPECT_GT(mode.depth, 15) << mode.ToString();
}

} // namespace
