#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "system/event.h"
#include "system/hook.h"

TEST(Event, ToStringReadsAsDocumented)
{
    EXPECT_EQ(TEvent::Create(EVENT_KEYDOWN, nullptr, 65)->ToString(), "KeyDown: data=65, mods=0, x=0, y=0, extra=\"\"");
    EXPECT_EQ(TEvent::Create(EVENT_MOUSEMOVE, nullptr, 1, 3, -5, 600)->ToString(),
              "MouseMove: data=1, mods=3, x=-5, y=600, extra=\"\"");
    EXPECT_EQ(TEvent::Create(EVENT_APPOPENFILE, nullptr, 0, 0, 0, 0, "level.dat")->ToString(),
              "AppOpenFile: data=0, mods=0, x=0, y=0, extra=\"level.dat\"");
    EXPECT_EQ(TEvent::Create(12345, nullptr, -7)->ToString(), "Unknown Event, id=12345: data=-7, mods=0, x=0, y=0, extra=\"\"");
    EXPECT_EQ(TEvent::Create(static_cast<int32_t>(0x80000010u))->ToString(),
              "UserEvent16: data=0, mods=0, x=0, y=0, extra=\"\"");
    EXPECT_EQ(TEvent::Create(static_cast<int32_t>(0xFFFFFFFFu))->ToString(),
              "UserEvent2147483647: data=0, mods=0, x=0, y=0, extra=\"\"");
}

TEST(Event, CreateKeepsEveryField)
{
    int source = 0;
    const auto event = TEvent::Create(EVENT_MOUSEDOWN, &source, 2, 4, 10, 20, "x");
    EXPECT_EQ(event->id, EVENT_MOUSEDOWN);
    EXPECT_EQ(event->source, &source);
    EXPECT_EQ(event->data, 2);
    EXPECT_EQ(event->mods, 4);
    EXPECT_EQ(event->x, 10);
    EXPECT_EQ(event->y, 20);
    EXPECT_EQ(event->extra, "x");
}

TEST(Event, ThirtyFiveDescriptionsAreRegistered)
{
    const std::pair<int32_t, const char*> table[] = {
        {257, "AppSuspend"}, {258, "AppResume"}, {259, "AppTerminate"}, {260, "AppOpenFile"}, {261, "AppIdle"},
        {513, "KeyDown"}, {514, "KeyUp"}, {515, "KeyChar"}, {516, "KeyRepeat"}, {1025, "MouseDown"},
        {1026, "MouseUp"}, {1027, "MouseMove"}, {1028, "MouseWheel"}, {1029, "MouseEnter"},
        {1030, "MouseLeave"}, {2049, "TimerTick"}, {4097, "HotkeyHit"}, {8193, "GadgetAction"},
        {8194, "GadgetPaint"}, {8195, "GadgetSelect"}, {8196, "GadgetMenu"}, {8197, "GadgetOpen"},
        {8198, "GadgetClose"}, {8199, "GadgetDone"}, {8200, "GadgetLostFocus"}, {8201, "GadgetShape"},
        {16385, "WindowMove"}, {16386, "WindowSize"}, {16387, "WindowClose"}, {16388, "WindowActivate"},
        {16389, "WindowAccept"}, {32769, "MenuAction"}, {65537, "StreamEof"}, {65538, "StreamAvail"},
        {131073, "ProcessExit"},
    };
    EXPECT_EQ(std::size(table), 35u);
    for (const auto& [id, name] : table)
        EXPECT_EQ(TEvent::DescriptionForId(id), name) << id;
    EXPECT_EQ(TEvent::DescriptionForId(0), "");
    EXPECT_EQ(TEvent::DescriptionForId(262), "");
}

TEST(Event, UserIdsHaveTheTopBitAndOptionalNames)
{
    const int32_t first = TEvent::AllocUserId();
    EXPECT_NE(static_cast<uint32_t>(first) & 0x80000000u, 0u);
    EXPECT_GE(static_cast<uint32_t>(first), 0x80000001u);
    const int32_t named = NewUserEventId("LevelDone");
    EXPECT_EQ(named, first + 1);
    EXPECT_EQ(TEvent::DescriptionForId(named), "LevelDone");
    EXPECT_EQ(TEvent::Create(named, nullptr, 3)->ToString(), "LevelDone: data=3, mods=0, x=0, y=0, extra=\"\"");
    const int32_t unnamed = NewUserEventId("");
    EXPECT_EQ(unnamed, first + 2);
    EXPECT_EQ(TEvent::Create(unnamed)->ToString(),
              "UserEvent" + std::to_string(static_cast<uint32_t>(unnamed) - 0x80000000u) +
                  ": data=0, mods=0, x=0, y=0, extra=\"\"");
    TEvent::RegisterId(unnamed, "Renamed");
    EXPECT_EQ(TEvent::DescriptionForId(unnamed), "Renamed");
}

TEST(Event, EmitRunsTheEventChainWithTheEvent)
{
    static std::vector<TEvent*> seen;
    seen.clear();
    const THookFunc recorder = [](int32_t id, void* data, void*) -> void* {
        EXPECT_EQ(id, EventHookId());
        seen.push_back(static_cast<TEvent*>(data));
        return nullptr; // what a hook returns does not matter to Emit
    };
    InsertHook(EventHookId(), recorder, nullptr, 0);
    const auto event = TEvent::Create(EVENT_KEYUP, nullptr, 9);
    event->Emit();
    DeleteHook(EventHookId(), recorder, nullptr);
    event->Emit();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], event.get());
}
