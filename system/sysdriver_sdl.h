#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "system/event.h"
#include "system/sysdriver.h"

// The graphics window's own handling of its SDL events (focus for display-mode switching and so on).
using TSDLWindowProc = void (*)(const SDL_Event& event, void* context);

// Events of a registered window are translated into emitted TEvents, then handed to its proc.
// Events of other windows are taken from the queue and dropped.
void RegisterSDLWindow(SDL_Window* window, TSDLWindowProc proc, void* context);
void UnregisterSDLWindow(SDL_Window* window);

// The Windows virtual-key code (1..255) for an SDL key, or 0 for a key without one. Letters
// follow the keyboard layout, as Windows' codes do; every other key goes by its position on a
// US keyboard. Left and right Shift, Control and Alt are 160..165, never 16, 17, 18.
int32_t VirtualKeyForSDLKey(const SDL_Keysym& key);

// What the translation keeps between events.
struct TSDLTranslationState {
    int32_t mods = 0;            // modifier mask, rebuilt when a modifier key goes down or up
    Uint32 trackedWindow = 0;    // id of the window the pointer was last seen inside; 0 for none
    int32_t pointerX = 0;        // last pointer position reported, in that window's client coordinates
    int32_t pointerY = 0;
};

// The events one SDL event of a window with the given client size stands for (none, one, or a
// few: a key-down of Enter is "KeyDown" and "KeyChar", typed text one "KeyChar" per character, a
// move across the window's edge adds "MouseEnter" or "MouseLeave"). Touches nothing but state.
std::vector<TEvent> TranslateSDLEvent(const SDL_Event& event, int32_t clientWidth, int32_t clientHeight,
                                      TSDLTranslationState& state);

// The system driver over SDL's event queue and message boxes. It starts SDL's events subsystem;
// windows and video belong to the graphics layer.
class TSDLSystemDriver : public TSystemDriver {
public:
    TSDLSystemDriver();
    void Poll() override;
    void Wait() override;
    void MoveMouse(int32_t x, int32_t y) override;
    void SetMouseVisible(int32_t visible) override;
    void Notify(const std::string& text, int32_t serious) override;
    int32_t Confirm(const std::string& text, int32_t serious) override;
    int32_t Proceed(const std::string& text, int32_t serious) override;
    std::string RequestFile(const std::string& title, const std::string& extensions, int32_t save,
                            const std::string& path) override;
    std::string RequestDir(const std::string& title, const std::string& path) override;
    int32_t OpenURL(const std::string& url) override;
};
