#include "system/sysdriver_sdl.h"

#include <cstring>
#include <initializer_list>
#include <optional>
#include <utility>

#include "system/error.h"
#include "system/gamepad_sdl.h"
#include "system/keycodes.h"

namespace {

// Numpad keys give digits with Num Lock on and move the caret with it off, as on Windows.
int32_t NumpadKey(SDL_Scancode scancode, bool numLock)
{
    static const int32_t navigation[10] = {VK_INSERT, VK_END,   VK_DOWN, VK_NEXT, VK_LEFT,
                                           VK_CLEAR,  VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};
    if (scancode == SDL_SCANCODE_KP_PERIOD)
        return numLock ? VK_DECIMAL : VK_DELETE;
    const int digit = scancode == SDL_SCANCODE_KP_0 ? 0 : scancode - SDL_SCANCODE_KP_1 + 1;
    return numLock ? VK_NUMPAD0 + digit : navigation[digit];
}

int32_t KeyByPosition(SDL_Scancode scancode, bool numLock)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VK_F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return VK_F13 + (scancode - SDL_SCANCODE_F13);
    if ((scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0) || scancode == SDL_SCANCODE_KP_PERIOD)
        return NumpadKey(scancode, numLock);
    switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN: return VK_RETURN;
    case SDL_SCANCODE_RETURN2: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_BACKSLASH: return VK_OEM_5;
    case SDL_SCANCODE_NONUSHASH: return VK_OEM_5;
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_102;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
    case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_KP_COMMA: return VK_SEPARATOR;
    case SDL_SCANCODE_CLEAR: return VK_CLEAR;
    case SDL_SCANCODE_APPLICATION: return VK_APPS;
    case SDL_SCANCODE_MENU: return VK_APPS;
    case SDL_SCANCODE_HELP: return VK_HELP;
    case SDL_SCANCODE_SELECT: return VK_SELECT;
    case SDL_SCANCODE_EXECUTE: return VK_EXECUTE;
    case SDL_SCANCODE_SLEEP: return VK_SLEEP;
    case SDL_SCANCODE_LCTRL: return VK_LCONTROL;
    case SDL_SCANCODE_LSHIFT: return VK_LSHIFT;
    case SDL_SCANCODE_LALT: return VK_LMENU;
    case SDL_SCANCODE_LGUI: return VK_LWIN;
    case SDL_SCANCODE_RCTRL: return VK_RCONTROL;
    case SDL_SCANCODE_RSHIFT: return VK_RSHIFT;
    case SDL_SCANCODE_RALT: return VK_RMENU;
    case SDL_SCANCODE_RGUI: return VK_RWIN;
    case SDL_SCANCODE_MUTE: return VK_VOLUME_MUTE;
    case SDL_SCANCODE_VOLUMEUP: return VK_VOLUME_UP;
    case SDL_SCANCODE_VOLUMEDOWN: return VK_VOLUME_DOWN;
    case SDL_SCANCODE_AUDIONEXT: return VK_MEDIA_NEXT_TRACK;
    case SDL_SCANCODE_AUDIOPREV: return VK_MEDIA_PREV_TRACK;
    case SDL_SCANCODE_AUDIOSTOP: return VK_MEDIA_STOP;
    case SDL_SCANCODE_AUDIOPLAY: return VK_MEDIA_PLAY_PAUSE;
    case SDL_SCANCODE_MAIL: return VK_LAUNCH_MAIL;
    case SDL_SCANCODE_MEDIASELECT: return VK_LAUNCH_MEDIA_SELECT;
    case SDL_SCANCODE_COMPUTER: return VK_LAUNCH_APP1;
    case SDL_SCANCODE_CALCULATOR: return VK_LAUNCH_APP2;
    case SDL_SCANCODE_WWW: return VK_BROWSER_HOME;
    case SDL_SCANCODE_AC_HOME: return VK_BROWSER_HOME;
    case SDL_SCANCODE_AC_SEARCH: return VK_BROWSER_SEARCH;
    case SDL_SCANCODE_AC_BACK: return VK_BROWSER_BACK;
    case SDL_SCANCODE_AC_FORWARD: return VK_BROWSER_FORWARD;
    case SDL_SCANCODE_AC_STOP: return VK_BROWSER_STOP;
    case SDL_SCANCODE_AC_REFRESH: return VK_BROWSER_REFRESH;
    case SDL_SCANCODE_AC_BOOKMARKS: return VK_BROWSER_FAVORITES;
    default: return 0;
    }
}

bool IsModifierKey(int32_t key)
{
    return (key >= VK_LSHIFT && key <= VK_RMENU) || key == VK_LWIN || key == VK_RWIN;
}

int32_t ModifierMask(Uint16 sdlMods)
{
    int32_t mask = 0;
    if (sdlMods & KMOD_SHIFT)
        mask |= MODIFIER_SHIFT;
    if (sdlMods & KMOD_CTRL)
        mask |= MODIFIER_CONTROL;
    if (sdlMods & KMOD_ALT)
        mask |= MODIFIER_ALT;
    if (sdlMods & KMOD_GUI)
        mask |= MODIFIER_SYSTEM;
    return mask;
}

// The character a Windows character message carries for keys that type no text through SDL.
int32_t ControlCharacter(int32_t key)
{
    switch (key) {
    case VK_RETURN:
    case VK_BACK:
    case VK_TAB:
    case VK_ESCAPE:
        return key;
    default:
        return 0;
    }
}

int32_t MouseButton(Uint8 sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return MouseLeft;
    case SDL_BUTTON_RIGHT: return MouseRight;
    case SDL_BUTTON_MIDDLE: return MouseMiddle;
    default: return 0;
    }
}

int32_t HeldButton(Uint32 buttonState)
{
    if (buttonState & SDL_BUTTON_LMASK)
        return MouseLeft;
    if (buttonState & SDL_BUTTON_RMASK)
        return MouseRight;
    if (buttonState & SDL_BUTTON_MMASK)
        return MouseMiddle;
    return 0;
}

// Code points of UTF-8 text; a malformed sequence is skipped byte by byte.
std::vector<int32_t> DecodeUtf8(const char* text, size_t length)
{
    std::vector<int32_t> codes;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        const unsigned char lead = bytes[i];
        size_t extra = 0;
        int32_t code = lead;
        int32_t minimum = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, code = lead & 0x07, minimum = 0x10000;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, code = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, code = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0x80) {
            ++i;
            continue;
        }
        bool valid = i + extra < length;
        for (size_t k = 1; valid && k <= extra; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if (valid && code >= minimum && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
            codes.push_back(code);
            i += extra + 1;
        } else {
            ++i;
        }
    }
    return codes;
}

TEvent MakeEvent(int32_t id, const TSDLTranslationState& state, int32_t data = 0, int32_t x = 0, int32_t y = 0)
{
    TEvent event;
    event.id = id;
    event.data = data;
    event.mods = state.mods;
    event.x = x;
    event.y = y;
    return event;
}

// Moves the tracked window to `inside` (0 for none), leaving the old one at (x, y) when it is the
// window this position belongs to, else at the last position reported for it.
void Track(Uint32 window, Uint32 inside, int32_t x, int32_t y, TSDLTranslationState& state,
           std::vector<TEvent>& events)
{
    if (inside == state.trackedWindow)
        return;
    if (state.trackedWindow != 0) {
        const bool here = state.trackedWindow == window;
        events.push_back(MakeEvent(EVENT_MOUSELEAVE, state, 0, here ? x : state.pointerX, here ? y : state.pointerY));
    }
    state.trackedWindow = inside;
    if (inside != 0)
        events.push_back(MakeEvent(EVENT_MOUSEENTER, state, 0, x, y));
}

void TranslateKey(const SDL_KeyboardEvent& key, TSDLTranslationState& state, std::vector<TEvent>& events)
{
    const int32_t code = VirtualKeyForSDLKey(key.keysym);
    if (code == 0)
        return;
    if (IsModifierKey(code))
        state.mods = ModifierMask(key.keysym.mod);
    if (key.type == SDL_KEYUP) {
        events.push_back(MakeEvent(EVENT_KEYUP, state, code));
        return;
    }
    events.push_back(MakeEvent(key.repeat ? EVENT_KEYREPEAT : EVENT_KEYDOWN, state, code));
    // With Alt held these keys are commands (Alt+Enter), not typing, as on Windows.
    if ((key.keysym.mod & KMOD_ALT) != 0)
        return;
    if (const int32_t character = ControlCharacter(code))
        events.push_back(MakeEvent(EVENT_KEYCHAR, state, character));
}

void TranslateWindowEvent(const SDL_WindowEvent& window, TSDLTranslationState& state, std::vector<TEvent>& events)
{
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        events.push_back(MakeEvent(EVENT_APPRESUME, state));
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        events.push_back(MakeEvent(EVENT_APPSUSPEND, state));
        break;
    case SDL_WINDOWEVENT_CLOSE:
        events.push_back(MakeEvent(EVENT_APPTERMINATE, state));
        break;
    case SDL_WINDOWEVENT_LEAVE:
        if (state.trackedWindow == window.windowID)
            Track(window.windowID, 0, state.pointerX, state.pointerY, state, events);
        break;
    default:
        break;
    }
}

} // namespace

int32_t VirtualKeyForSDLKey(const SDL_Keysym& key)
{
    if (key.sym >= SDLK_a && key.sym <= SDLK_z)
        return 'A' + (key.sym - SDLK_a);
    return KeyByPosition(key.scancode, (key.mod & KMOD_NUM) != 0);
}

std::vector<TEvent> TranslateSDLEvent(const SDL_Event& event, int32_t clientWidth, int32_t clientHeight,
                                      TSDLTranslationState& state)
{
    std::vector<TEvent> events;
    switch (event.type) {
    case SDL_QUIT:
        events.push_back(MakeEvent(EVENT_APPTERMINATE, state));
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window, state, events);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key, state, events);
        break;
    case SDL_TEXTINPUT:
        for (const int32_t code : DecodeUtf8(event.text.text, strnlen(event.text.text, sizeof event.text.text)))
            events.push_back(MakeEvent(EVENT_KEYCHAR, state, code));
        break;
    case SDL_MOUSEMOTION: {
        const SDL_MouseMotionEvent& motion = event.motion;
        const bool inside = motion.x >= 0 && motion.y >= 0 && motion.x < clientWidth && motion.y < clientHeight;
        Track(motion.windowID, inside ? motion.windowID : 0, motion.x, motion.y, state, events);
        state.pointerX = motion.x;
        state.pointerY = motion.y;
        events.push_back(MakeEvent(EVENT_MOUSEMOVE, state, HeldButton(motion.state), motion.x, motion.y));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const SDL_MouseButtonEvent& button = event.button;
        if (const int32_t which = MouseButton(button.button)) {
            state.pointerX = button.x;
            state.pointerY = button.y;
            const int32_t id = event.type == SDL_MOUSEBUTTONDOWN ? EVENT_MOUSEDOWN : EVENT_MOUSEUP;
            events.push_back(MakeEvent(id, state, which, button.x, button.y));
        }
        break;
    }
    case SDL_MOUSEWHEEL: {
        const SDL_MouseWheelEvent& wheel = event.wheel;
        const int32_t steps = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
        if (steps != 0) // a purely sideways turn is no wheel event
            events.push_back(MakeEvent(EVENT_MOUSEWHEEL, state, steps, wheel.mouseX, wheel.mouseY));
        break;
    }
    default:
        break;
    }
    return events;
}

namespace {

struct TRegisteredWindow {
    SDL_Window* window;
    Uint32 windowId;
    TSDLWindowProc proc;
    void* context;
};

std::vector<TRegisteredWindow> registeredWindows;
TSDLTranslationState g_translation;
int32_t mouseVisible = 1;
// Cleared by an "AppSuspend" sent, set by an "AppResume" sent: focus passing between windows of
// this process is no switch of application. It starts cleared, and is cleared again once the last
// window goes, so the first activation of a new window resumes like every later one.
bool appActive = false;

const TRegisteredWindow* FindWindow(Uint32 windowId)
{
    for (const TRegisteredWindow& entry : registeredWindows)
        if (entry.windowId == windowId)
            return &entry;
    return nullptr;
}

Uint32 WindowIdOf(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_TEXTEDITING: return event.edit.windowID;
    case SDL_TEXTINPUT: return event.text.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
    case SDL_DROPBEGIN:
    case SDL_DROPCOMPLETE: return event.drop.windowID;
    default: return 0;
    }
}

// Activation changes that are no switch of application: focus gained while minimised, and
// focus moving from one registered window to another.
bool IsInternalActivation(const SDL_Event& event, SDL_Window* window)
{
    if (event.type != SDL_WINDOWEVENT)
        return false;
    if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        SDL_Window* focus = SDL_GetKeyboardFocus();
        if (focus && focus != window && FindWindow(SDL_GetWindowID(focus)))
            return true;
        appActive = false;
    } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        if (appActive || (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED))
            return true;
        appActive = true;
    }
    return false;
}

// The cursor shows while it is wanted or while it is outside every window.
void UpdateCursor()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(mouseVisible || g_translation.trackedWindow == 0 ? SDL_ENABLE : SDL_DISABLE);
}

void EmitAll(const SDL_Event& event, int32_t clientWidth, int32_t clientHeight)
{
    const Uint32 trackedBefore = g_translation.trackedWindow;
    for (TEvent& translated : TranslateSDLEvent(event, clientWidth, clientHeight, g_translation))
        translated.Emit();
    if (g_translation.trackedWindow != trackedBefore)
        UpdateCursor();
}

// A window that has just shown or taken the focus may have the pointer resting over it without
// any motion having reached the input; the position SDL last had from the window system is
// passed on as a motion, so a click there lands where the pointer is.
bool RevealsPointer(const SDL_Event& event)
{
    return event.type == SDL_WINDOWEVENT &&
           (event.window.event == SDL_WINDOWEVENT_SHOWN || event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
}

// SDL's own record, not its global query: that one is cached between raw motion events, which
// a warped or synthesised pointer never sends, and may be far older.
std::optional<SDL_Event> PointerOver(const TRegisteredWindow& target)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetMouseFocus() != target.window)
        return std::nullopt;
    SDL_Event motion{};
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.timestamp = SDL_GetTicks();
    motion.motion.windowID = target.windowId;
    motion.motion.state = SDL_GetMouseState(&motion.motion.x, &motion.motion.y);
    return motion;
}

void Dispatch(const SDL_Event& event)
{
    if (event.type == SDL_QUIT) { // a signal, or a last window closed despite the hint
        EmitAll(event, 0, 0);
        return;
    }
    if (IsPadEvent(event)) { // a pad belongs to no window
        DispatchPadEvent(event);
        return;
    }
    const TRegisteredWindow* entry = FindWindow(WindowIdOf(event));
    if (!entry)
        return;
    const TRegisteredWindow target = *entry; // the hooks may register or unregister windows
    if (!IsInternalActivation(event, target.window)) {
        int width = 0, height = 0;
        SDL_GetWindowSize(target.window, &width, &height);
        EmitAll(event, width, height);
    }
    if (target.proc && FindWindow(target.windowId))
        target.proc(event, target.context);
    if (RevealsPointer(event) && FindWindow(target.windowId))
        if (const std::optional<SDL_Event> motion = PointerOver(target))
            Dispatch(*motion);
}

SDL_Window* DialogParent()
{
    return registeredWindows.empty() ? nullptr : registeredWindows.front().window;
}

// Shows a message box; returns the id of the button chosen, or `failed` when no box could be shown.
int ShowMessageBox(const std::string& text, int32_t serious,
                   std::initializer_list<std::pair<int, const char*>> buttons, int failed)
{
    std::vector<SDL_MessageBoxButtonData> data;
    for (const auto& [id, label] : buttons)
        data.push_back({0, id, label});
    data.front().flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    data.back().flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;

    SDL_Window* parent = DialogParent();
    SDL_MessageBoxData box{};
    box.flags = serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    box.window = parent;
    box.title = parent ? SDL_GetWindowTitle(parent) : "";
    box.message = text.c_str();
    box.numbuttons = static_cast<int>(data.size());
    box.buttons = data.data();
    int chosen = failed;
    if (SDL_ShowMessageBox(&box, &chosen) != 0 || chosen < 0)
        return failed;
    return chosen;
}

} // namespace

void RegisterSDLWindow(SDL_Window* window, TSDLWindowProc proc, void* context)
{
    if (!window)
        return;
    // The close box only asks the program to end; the window stays until the graphics close it.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    UnregisterSDLWindow(window);
    registeredWindows.push_back({window, SDL_GetWindowID(window), proc, context});
}

void UnregisterSDLWindow(SDL_Window* window)
{
    for (auto it = registeredWindows.begin(); it != registeredWindows.end(); ++it) {
        if (it->window == window) {
            if (g_translation.trackedWindow == it->windowId) {
                g_translation.trackedWindow = 0;
                UpdateCursor();
            }
            registeredWindows.erase(it);
            if (registeredWindows.empty())
                appActive = false;
            return;
        }
    }
}

TSystemDriver* NewPlatformSystemDriver()
{
    return new TSDLSystemDriver();
}

TSDLSystemDriver::TSDLSystemDriver()
{
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0)
        throw TRuntimeError(std::string("Unable to start SDL events: ") + SDL_GetError());
    StartGamepads();
}

void TSDLSystemDriver::Poll()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Dispatch(event);
}

void TSDLSystemDriver::Wait()
{
    if (SDL_WaitEvent(nullptr))
        Poll();
}

void TSDLSystemDriver::MoveMouse(int32_t x, int32_t y)
{
    if (SDL_Window* window = DialogParent())
        SDL_WarpMouseInWindow(window, x, y);
    else if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_WarpMouseGlobal(x, y);
}

void TSDLSystemDriver::SetMouseVisible(int32_t visible)
{
    mouseVisible = visible ? 1 : 0;
    UpdateCursor();
}

void TSDLSystemDriver::Notify(const std::string& text, int32_t serious)
{
    ShowMessageBox(text, serious, {{0, "OK"}}, 0);
}

int32_t TSDLSystemDriver::Confirm(const std::string& text, int32_t serious)
{
    return ShowMessageBox(text, serious, {{1, "Yes"}, {0, "No"}}, 0);
}

int32_t TSDLSystemDriver::Proceed(const std::string& text, int32_t serious)
{
    return ShowMessageBox(text, serious, {{1, "Yes"}, {0, "No"}, {-1, "Cancel"}}, -1);
}

std::string TSDLSystemDriver::RequestFile(const std::string&, const std::string&, int32_t, const std::string&)
{
    return {}; // SDL has no file requester
}

std::string TSDLSystemDriver::RequestDir(const std::string&, const std::string&)
{
    return {}; // SDL has no directory requester
}

int32_t TSDLSystemDriver::OpenURL(const std::string& url)
{
    return SDL_OpenURL(url.c_str()) == 0 ? 1 : 0;
}
