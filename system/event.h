#pragma once
#include <cstdint>
#include <memory>
#include <string>

// Event ids; each id's registered description is its name without the prefix ("KeyDown").
enum : int32_t {
    EVENT_APPSUSPEND = 0x101,
    EVENT_APPRESUME = 0x102,
    EVENT_APPTERMINATE = 0x103,
    EVENT_APPOPENFILE = 0x104,
    EVENT_APPIDLE = 0x105,
    EVENT_KEYDOWN = 0x201,
    EVENT_KEYUP = 0x202,
    EVENT_KEYCHAR = 0x203,
    EVENT_KEYREPEAT = 0x204,
    EVENT_MOUSEDOWN = 0x401,
    EVENT_MOUSEUP = 0x402,
    EVENT_MOUSEMOVE = 0x403,
    EVENT_MOUSEWHEEL = 0x404,
    EVENT_MOUSEENTER = 0x405,
    EVENT_MOUSELEAVE = 0x406,
    EVENT_PADDOWN = 0x501, // data: the gamepad button (PadA...)
    EVENT_PADUP = 0x502,
    EVENT_TIMERTICK = 0x801,
    EVENT_HOTKEYHIT = 0x1001,
    EVENT_GADGETACTION = 0x2001,
    EVENT_GADGETPAINT = 0x2002,
    EVENT_GADGETSELECT = 0x2003,
    EVENT_GADGETMENU = 0x2004,
    EVENT_GADGETOPEN = 0x2005,
    EVENT_GADGETCLOSE = 0x2006,
    EVENT_GADGETDONE = 0x2007,
    EVENT_GADGETLOSTFOCUS = 0x2008,
    EVENT_GADGETSHAPE = 0x2009,
    EVENT_WINDOWMOVE = 0x4001,
    EVENT_WINDOWSIZE = 0x4002,
    EVENT_WINDOWCLOSE = 0x4003,
    EVENT_WINDOWACTIVATE = 0x4004,
    EVENT_WINDOWACCEPT = 0x4005,
    EVENT_MENUACTION = 0x8001,
    EVENT_STREAMEOF = 0x10001,
    EVENT_STREAMAVAIL = 0x10002,
    EVENT_PROCESSEXIT = 0x20001,
};

// Modifier mask bits of TEvent::mods.
enum : int32_t {
    MODIFIER_SHIFT = 1,
    MODIFIER_CONTROL = 2,
    MODIFIER_ALT = 4,
    MODIFIER_SYSTEM = 8, // the Windows key, either side
};

// One event, passed as the data of the event hook chain (a TEvent*).
class TEvent {
public:
    int32_t id = 0;
    void* source = nullptr;  // what raised it; only its identity matters
    int32_t data = 0;        // key code, character code, mouse button or wheel steps, by id
    int32_t mods = 0;
    int32_t x = 0, y = 0;
    std::string extra;       // the extra object's text form; empty for none

    static std::shared_ptr<TEvent> Create(int32_t id, void* source = nullptr, int32_t data = 0, int32_t mods = 0,
                                          int32_t x = 0, int32_t y = 0, std::string extra = {});

    // Runs the event hook chain with this event.
    void Emit();
    std::string ToString() const;

    static int32_t AllocUserId();
    static void RegisterId(int32_t id, const std::string& description);
    // The registered description, or empty text.
    static std::string DescriptionForId(int32_t id);
};

// The id of the hook chain every emitted event runs through.
int32_t EventHookId();

// A fresh user event id (top bit set), registered under name unless name is empty.
int32_t NewUserEventId(const std::string& name);
