#pragma once
// SDL events as a window system would deliver them, and a registered SDL window to deliver them to.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include "system/input.h"
#include "system/sysdriver_sdl.h"

inline SDL_Event KeyEvent(bool down, SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE,
                          bool repeat = false, Uint32 windowId = 1)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = windowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    return event;
}

// A key of a US layout, whose SDL key is the one its position names.
inline SDL_Event UsKeyEvent(bool down, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, bool repeat = false,
                            Uint32 windowId = 1)
{
    return KeyEvent(down, scancode, SDL_SCANCODE_TO_KEYCODE(scancode), mod, repeat, windowId);
}

inline SDL_Event LetterEvent(bool down, char letter, bool repeat = false, Uint32 windowId = 1)
{
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (letter - 'a'));
    return KeyEvent(down, scancode, letter, KMOD_NONE, repeat, windowId);
}

inline SDL_Event TextEvent(const std::string& text, Uint32 windowId = 1)
{
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = windowId;
    std::strncpy(event.text.text, text.c_str(), sizeof event.text.text - 1);
    return event;
}

inline SDL_Event WindowEvent(SDL_WindowEventID id, Uint32 windowId = 1)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = windowId;
    event.window.event = id;
    return event;
}

inline SDL_Event MotionEvent(int x, int y, Uint32 buttons = 0, Uint32 windowId = 1)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = windowId;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.state = buttons;
    return event;
}

inline SDL_Event ButtonEvent(bool down, Uint8 button, int x, int y, Uint8 clicks = 1, Uint32 windowId = 1)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = windowId;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = clicks;
    event.button.x = x;
    event.button.y = y;
    return event;
}

inline SDL_Event WheelEvent(int notches, int x, int y, Uint32 windowId = 1,
                            Uint32 direction = SDL_MOUSEWHEEL_NORMAL)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = windowId;
    event.wheel.y = notches;
    event.wheel.preciseY = static_cast<float>(notches);
    event.wheel.direction = direction;
    event.wheel.mouseX = x;
    event.wheel.mouseY = y;
    return event;
}

// A 64 by 48 window on SDL's offscreen video driver (override VideoDriver for another), registered
// with the system driver, with polled input on. Events pushed with Push() carry its window id.
class SDLWindowTest : public ::testing::Test {
protected:
    virtual const char* VideoDriver() const { return "offscreen"; }

    void SetUp() override
    {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, VideoDriver(), SDL_HINT_OVERRIDE);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("Brimstrand input test", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 64, 48,
                                  SDL_WINDOW_SHOWN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        windowId = SDL_GetWindowID(window);
        RegisterSDLWindow(window, &SDLWindowTest::RecordProc, this);
        StartInputPolling(nullptr); // takes the window's own start-up events first
        procEvents.clear();
        keyDownSeenByProc.clear();
    }

    void TearDown() override
    {
        StopInputPolling();
        if (window) {
            UnregisterSDLWindow(window);
            SDL_DestroyWindow(window);
        }
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // Re-addresses the event to this window and queues it.
    void Push(SDL_Event event)
    {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: event.key.windowID = windowId; break;
        case SDL_TEXTINPUT: event.text.windowID = windowId; break;
        case SDL_WINDOWEVENT: event.window.windowID = windowId; break;
        case SDL_MOUSEMOTION: event.motion.windowID = windowId; break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: event.button.windowID = windowId; break;
        case SDL_MOUSEWHEEL: event.wheel.windowID = windowId; break;
        default: break;
        }
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    static void RecordProc(const SDL_Event& event, void* context)
    {
        auto* self = static_cast<SDLWindowTest*>(context);
        self->procEvents.push_back(event);
        self->keyDownSeenByProc.push_back(IsKeyDown('A'));
    }

    SDL_Window* window = nullptr;
    Uint32 windowId = 0;
    std::vector<SDL_Event> procEvents;
    std::vector<int32_t> keyDownSeenByProc; // IsKeyDown('A') as the proc saw it
};
