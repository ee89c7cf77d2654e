#include "system/input.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "system/event.h"
#include "system/hook.h"
#include "system/keycodes.h"
#include "system/sysdriver.h"

namespace {

constexpr int32_t kKeys = 256;
constexpr int32_t kButtons = 4;
constexpr uint32_t kCharQueue = 256;

struct TInputState {
    int32_t keyDown[kKeys] = {};
    int32_t keyHits[kKeys] = {};
    int32_t keyReleases[kKeys] = {};
    int32_t padDown[PadButtonCount] = {};
    int32_t padHits[PadButtonCount] = {};
    int32_t charQueue[kCharQueue] = {};
    // Unsigned so the put and get counters wrap without overflow; the slot is the counter modulo 256.
    uint32_t charPut = 0, charGet = 0;
    int32_t mouseDown[kButtons] = {};
    int32_t mouseHits[kButtons] = {};
    int32_t mouseX = 0, mouseY = 0, mouseZ = 0;
    int32_t lastX = 0, lastY = 0, lastZ = 0;
    int32_t suspended = 0, terminate = 0;
    uint32_t activity = 0; // key, button and gamepad presses, cursor moves and wheel turns so far
    void* source = nullptr;
    bool enabled = false;
};

TInputState g_input;
TCursorMapping g_cursorMapping = nullptr;

struct TCursorPoint {
    int32_t x, y;
};

// The one place window positions become the program's positions; mapped when read, so a window
// resized under a still cursor still reads right.
TCursorPoint MappedCursor()
{
    PumpSystemEvents();
    TCursorPoint point{g_input.mouseX, g_input.mouseY};
    if (g_cursorMapping)
        g_cursorMapping(point.x, point.y);
    return point;
}

bool ValidKey(int32_t key)
{
    return key >= 0 && key < kKeys;
}

bool ValidButton(int32_t button)
{
    return button >= 0 && button < kButtons;
}

bool ValidPadButton(int32_t button)
{
    return button >= 0 && button < PadButtonCount;
}

void Press(int32_t* down, int32_t* hits, int32_t index)
{
    if (!down[index]) {
        down[index] = 1;
        ++hits[index];
    }
}

int32_t Take(int32_t& counter)
{
    return std::exchange(counter, 0);
}

// Wrapping, so no amount of wheel turning overflows.
int32_t WrappingAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Current minus last read, and the current value becomes the last read.
int32_t Delta(int32_t current, int32_t& last)
{
    const int32_t delta = static_cast<int32_t>(static_cast<uint32_t>(current) - static_cast<uint32_t>(last));
    last = current;
    return delta;
}

void* PolledInputHook(int32_t, void* data, void*)
{
    const TEvent* event = static_cast<const TEvent*>(data);
    if (!event || (g_input.source && g_input.source != event->source))
        return data;
    switch (event->id) {
    case EVENT_APPSUSPEND:
    case EVENT_APPRESUME:
        ResetKeyState();
        ResetMouseState();
        g_input.suspended = event->id == EVENT_APPSUSPEND ? 1 : 0;
        break;
    case EVENT_APPTERMINATE:
        g_input.terminate = 1;
        break;
    case EVENT_KEYDOWN:
        ++g_input.activity;
        if (ValidKey(event->data))
            Press(g_input.keyDown, g_input.keyHits, event->data);
        break;
    case EVENT_KEYUP:
        if (ValidKey(event->data)) {
            g_input.keyDown[event->data] = 0;
            ++g_input.keyReleases[event->data];
        }
        break;
    case EVENT_PADDOWN:
        ++g_input.activity;
        if (ValidPadButton(event->data))
            Press(g_input.padDown, g_input.padHits, event->data);
        break;
    case EVENT_PADUP:
        if (ValidPadButton(event->data))
            g_input.padDown[event->data] = 0;
        break;
    case EVENT_KEYCHAR:
        if (g_input.charPut - g_input.charGet < kCharQueue)
            g_input.charQueue[g_input.charPut++ % kCharQueue] = event->data;
        break;
    case EVENT_MOUSEDOWN:
        ++g_input.activity;
        if (ValidButton(event->data))
            Press(g_input.mouseDown, g_input.mouseHits, event->data);
        break;
    case EVENT_MOUSEUP:
        if (ValidButton(event->data))
            g_input.mouseDown[event->data] = 0;
        break;
    case EVENT_MOUSEMOVE:
        ++g_input.activity;
        g_input.mouseX = event->x;
        g_input.mouseY = event->y;
        break;
    case EVENT_MOUSEWHEEL:
        ++g_input.activity;
        g_input.mouseZ = WrappingAdd(g_input.mouseZ, event->data);
        break;
    default:
        break;
    }
    return data;
}

} // namespace

void StartInputPolling(void* source)
{
    if (g_input.enabled)
        return;
    g_input.source = source;
    // Hooked before the resets pump: what the pending events say of the pointer is kept (the
    // resets clear keys and buttons only), where it used to be lost with them.
    InsertHook(EventHookId(), PolledInputHook, nullptr, 0);
    g_input.enabled = true;
    ResetKeyState();
    ResetMouseState();
}

void StopInputPolling()
{
    if (!g_input.enabled)
        return;
    DeleteHook(EventHookId(), PolledInputHook, nullptr);
    ResetKeyState();
    ResetMouseState();
    g_input.source = nullptr;
    g_input.enabled = false;
}

int32_t TakeKeyHits(int32_t key)
{
    PumpSystemEvents();
    return ValidKey(key) ? Take(g_input.keyHits[key]) : 0;
}

int32_t IsKeyDown(int32_t key)
{
    PumpSystemEvents();
    return ValidKey(key) ? g_input.keyDown[key] : 0;
}

int32_t TakeKeyReleases(int32_t key)
{
    PumpSystemEvents();
    return ValidKey(key) ? Take(g_input.keyReleases[key]) : 0;
}

int32_t TakePadHits(int32_t button)
{
    PumpSystemEvents();
    return ValidPadButton(button) ? Take(g_input.padHits[button]) : 0;
}

int32_t IsPadDown(int32_t button)
{
    PumpSystemEvents();
    return ValidPadButton(button) ? g_input.padDown[button] : 0;
}

int32_t TakeTypedChar()
{
    PumpSystemEvents();
    if (g_input.charGet == g_input.charPut)
        return 0;
    return g_input.charQueue[g_input.charGet++ % kCharQueue];
}

void ResetKeyState()
{
    PumpSystemEvents();
    g_input.charPut = g_input.charGet = 0;
    std::fill(std::begin(g_input.keyDown), std::end(g_input.keyDown), 0);
    std::fill(std::begin(g_input.keyHits), std::end(g_input.keyHits), 0);
    std::fill(std::begin(g_input.keyReleases), std::end(g_input.keyReleases), 0);
    std::fill(std::begin(g_input.padDown), std::end(g_input.padDown), 0);
    std::fill(std::begin(g_input.padHits), std::end(g_input.padHits), 0);
}

void DropPendingInput()
{
    PumpSystemEvents();
    g_input.charPut = g_input.charGet = 0;
    std::fill(std::begin(g_input.keyHits), std::end(g_input.keyHits), 0);
    std::fill(std::begin(g_input.mouseHits), std::end(g_input.mouseHits), 0);
}

int32_t TakeAnyKeyHit()
{
    PumpSystemEvents();
    for (int32_t key = 1; key < kKeys; ++key)
        if (Take(g_input.keyHits[key]))
            return key;
    return 0;
}

int32_t TakeTerminateRequest()
{
    PumpSystemEvents();
    return Take(g_input.terminate);
}

int32_t IsAppSuspended()
{
    PumpSystemEvents();
    return g_input.suspended;
}

int32_t CursorX() { return MappedCursor().x; }

int32_t CursorY() { return MappedCursor().y; }

void SetCursorMapping(TCursorMapping mapping) { g_cursorMapping = mapping; }

int32_t WheelPos()
{
    PumpSystemEvents();
    return g_input.mouseZ;
}

int32_t CursorXDelta() { return Delta(MappedCursor().x, g_input.lastX); }

int32_t CursorYDelta() { return Delta(MappedCursor().y, g_input.lastY); }

int32_t WheelDelta()
{
    PumpSystemEvents();
    return Delta(g_input.mouseZ, g_input.lastZ);
}

uint32_t InputActivity()
{
    PumpSystemEvents();
    return g_input.activity;
}

int32_t TakeMouseHits(int32_t button)
{
    PumpSystemEvents();
    return ValidButton(button) ? Take(g_input.mouseHits[button]) : 0;
}

int32_t IsMouseDown(int32_t button)
{
    PumpSystemEvents();
    return ValidButton(button) ? g_input.mouseDown[button] : 0;
}

void ResetMouseState()
{
    PumpSystemEvents();
    std::fill(std::begin(g_input.mouseDown), std::end(g_input.mouseDown), 0);
    std::fill(std::begin(g_input.mouseHits), std::end(g_input.mouseHits), 0);
    g_input.mouseZ = 0;
}

int32_t WaitForKey()
{
    ResetKeyState();
    for (;;) {
        WaitSystemEvent();
        if (const int32_t key = TakeAnyKeyHit())
            return key;
    }
}

int32_t WaitForChar()
{
    ResetKeyState();
    for (;;) {
        WaitSystemEvent();
        if (const int32_t character = TakeTypedChar())
            return character;
    }
}

int32_t WaitForMouse()
{
    ResetMouseState();
    for (;;) {
        WaitSystemEvent();
        for (int32_t button = 1; button < kButtons; ++button)
            if (TakeMouseHits(button))
                return button;
    }
}
