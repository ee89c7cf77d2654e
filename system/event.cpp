#include "system/event.h"

#include <map>

#include "system/hook.h"

namespace {

std::map<int32_t, std::string>& Descriptions()
{
    static std::map<int32_t, std::string> registry = {
        {EVENT_APPSUSPEND, "AppSuspend"},
        {EVENT_APPRESUME, "AppResume"},
        {EVENT_APPTERMINATE, "AppTerminate"},
        {EVENT_APPOPENFILE, "AppOpenFile"},
        {EVENT_APPIDLE, "AppIdle"},
        {EVENT_KEYDOWN, "KeyDown"},
        {EVENT_KEYUP, "KeyUp"},
        {EVENT_KEYCHAR, "KeyChar"},
        {EVENT_KEYREPEAT, "KeyRepeat"},
        {EVENT_MOUSEDOWN, "MouseDown"},
        {EVENT_MOUSEUP, "MouseUp"},
        {EVENT_MOUSEMOVE, "MouseMove"},
        {EVENT_MOUSEWHEEL, "MouseWheel"},
        {EVENT_MOUSEENTER, "MouseEnter"},
        {EVENT_MOUSELEAVE, "MouseLeave"},
        {EVENT_PADDOWN, "PadDown"},
        {EVENT_PADUP, "PadUp"},
        {EVENT_TIMERTICK, "TimerTick"},
        {EVENT_HOTKEYHIT, "HotkeyHit"},
        {EVENT_GADGETACTION, "GadgetAction"},
        {EVENT_GADGETPAINT, "GadgetPaint"},
        {EVENT_GADGETSELECT, "GadgetSelect"},
        {EVENT_GADGETMENU, "GadgetMenu"},
        {EVENT_GADGETOPEN, "GadgetOpen"},
        {EVENT_GADGETCLOSE, "GadgetClose"},
        {EVENT_GADGETDONE, "GadgetDone"},
        {EVENT_GADGETLOSTFOCUS, "GadgetLostFocus"},
        {EVENT_GADGETSHAPE, "GadgetShape"},
        {EVENT_WINDOWMOVE, "WindowMove"},
        {EVENT_WINDOWSIZE, "WindowSize"},
        {EVENT_WINDOWCLOSE, "WindowClose"},
        {EVENT_WINDOWACTIVATE, "WindowActivate"},
        {EVENT_WINDOWACCEPT, "WindowAccept"},
        {EVENT_MENUACTION, "MenuAction"},
        {EVENT_STREAMEOF, "StreamEof"},
        {EVENT_STREAMAVAIL, "StreamAvail"},
        {EVENT_PROCESSEXIT, "ProcessExit"},
    };
    return registry;
}

constexpr uint32_t kUserIdBase = 0x80000000u;
uint32_t userIdCounter = kUserIdBase;

// The event module takes its hook id when the program starts, before any other module can
// use up the ids.
const int32_t eventHookIdAtStart = EventHookId();

} // namespace

std::shared_ptr<TEvent> TEvent::Create(int32_t id, void* source, int32_t data, int32_t mods, int32_t x, int32_t y,
                                       std::string extra)
{
    auto event = std::make_shared<TEvent>();
    event->id = id;
    event->source = source;
    event->data = data;
    event->mods = mods;
    event->x = x;
    event->y = y;
    event->extra = std::move(extra);
    return event;
}

void TEvent::Emit()
{
    RunHookChain(EventHookId(), this);
}

std::string TEvent::ToString() const
{
    std::string description = DescriptionForId(id);
    if (description.empty()) {
        const uint32_t bits = static_cast<uint32_t>(id);
        if (bits & kUserIdBase)
            description = "UserEvent" + std::to_string(bits - kUserIdBase);
        else
            description = "Unknown Event, id=" + std::to_string(id);
    }
    return description + ": data=" + std::to_string(data) + ", mods=" + std::to_string(mods) +
           ", x=" + std::to_string(x) + ", y=" + std::to_string(y) + ", extra=\"" + extra + "\"";
}

int32_t TEvent::AllocUserId()
{
    return static_cast<int32_t>(++userIdCounter);
}

void TEvent::RegisterId(int32_t id, const std::string& description)
{
    Descriptions()[id] = description;
}

std::string TEvent::DescriptionForId(int32_t id)
{
    const auto& registry = Descriptions();
    const auto found = registry.find(id);
    return found == registry.end() ? std::string() : found->second;
}

int32_t EventHookId()
{
    static const int32_t id = NewHookId();
    return id;
}

int32_t NewUserEventId(const std::string& name)
{
    const int32_t id = TEvent::AllocUserId();
    if (!name.empty())
        TEvent::RegisterId(id, name);
    return id;
}
