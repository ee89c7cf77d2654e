#include <gtest/gtest.h>

#include "fake_driver.h"
#include "system/event.h"
#include "system/hook.h"
#include "system/input.h"

namespace {

// Polled input fed by events emitted straight into the event chain.
class PolledInput : public ::testing::Test {
protected:
    void SetUp() override { StartInputPolling(nullptr); }
    void TearDown() override { StopInputPolling(); }

    static void Emit(int32_t id, int32_t data = 0, int32_t x = 0, int32_t y = 0, void* source = nullptr)
    {
        TEvent::Create(id, source, data, 0, x, y)->Emit();
    }

    FakeSystemDriver driver;
};

} // namespace

TEST_F(PolledInput, EveryQueryPumpsFirst)
{
    driver.Queue(TEvent::Create(EVENT_KEYDOWN, nullptr, 'S'));
    EXPECT_EQ(IsKeyDown('S'), 1);
    driver.Queue(TEvent::Create(EVENT_MOUSEMOVE, nullptr, 0, 0, 12, 34));
    EXPECT_EQ(CursorX(), 12);
    driver.Queue(TEvent::Create(EVENT_APPTERMINATE));
    EXPECT_EQ(TakeTerminateRequest(), 1);
    EXPECT_EQ(TakeTerminateRequest(), 0);
}

TEST_F(PolledInput, OutOfRangeCodesAreIgnored)
{
    for (const int32_t code : {-1, 256, 100000, INT32_MIN}) {
        Emit(EVENT_KEYDOWN, code);
        Emit(EVENT_KEYUP, code);
        Emit(EVENT_MOUSEDOWN, code);
        EXPECT_EQ(IsKeyDown(code), 0);
        EXPECT_EQ(TakeKeyHits(code), 0);
        EXPECT_EQ(IsMouseDown(code), 0);
        EXPECT_EQ(TakeMouseHits(code), 0);
    }
    Emit(EVENT_MOUSEDOWN, 4);
    EXPECT_EQ(TakeMouseHits(4), 0);
    Emit(EVENT_KEYDOWN, 255);
    Emit(EVENT_MOUSEDOWN, 3);
    EXPECT_EQ(TakeKeyHits(255), 1);
    EXPECT_EQ(TakeMouseHits(3), 1);
}

TEST_F(PolledInput, CharacterQueueHolds256AndDropsTheRest)
{
    for (int32_t i = 1; i <= 300; ++i)
        Emit(EVENT_KEYCHAR, i);
    for (int32_t i = 1; i <= 256; ++i)
        ASSERT_EQ(TakeTypedChar(), i);
    EXPECT_EQ(TakeTypedChar(), 0);
    // The ring keeps working past its end.
    for (int32_t round = 0; round < 3; ++round) {
        for (int32_t i = 0; i < 200; ++i)
            Emit(EVENT_KEYCHAR, 1000 + i);
        for (int32_t i = 0; i < 200; ++i)
            ASSERT_EQ(TakeTypedChar(), 1000 + i);
    }
    EXPECT_EQ(TakeTypedChar(), 0);
}

TEST_F(PolledInput, MouseButtonsPositionAndWheel)
{
    Emit(EVENT_MOUSEMOVE, 0, 0, 0);
    // The last-read values persist from earlier use; read them once to start from here.
    CursorXDelta();
    CursorYDelta();
    WheelDelta();
    Emit(EVENT_MOUSEMOVE, 0, 100, 50);
    Emit(EVENT_MOUSEDOWN, 1);
    Emit(EVENT_MOUSEUP, 1);
    Emit(EVENT_MOUSEDOWN, 1);
    EXPECT_EQ(TakeMouseHits(1), 2);
    EXPECT_EQ(TakeMouseHits(1), 0);
    EXPECT_EQ(IsMouseDown(1), 1);
    Emit(EVENT_MOUSEUP, 1);
    EXPECT_EQ(IsMouseDown(1), 0);

    EXPECT_EQ(CursorXDelta(), 100);
    EXPECT_EQ(CursorYDelta(), 50);
    Emit(EVENT_MOUSEMOVE, 0, 90, 70);
    EXPECT_EQ(CursorXDelta(), -10);
    EXPECT_EQ(CursorXDelta(), 0);
    EXPECT_EQ(CursorYDelta(), 20);

    Emit(EVENT_MOUSEWHEEL, 2);
    Emit(EVENT_MOUSEWHEEL, -1);
    EXPECT_EQ(WheelPos(), 1);
    EXPECT_EQ(WheelDelta(), 1);
    EXPECT_EQ(WheelDelta(), 0);
    Emit(EVENT_MOUSEDOWN, 2);
    ResetMouseState();
    EXPECT_EQ(WheelPos(), 0);
    EXPECT_EQ(IsMouseDown(2), 0);
    EXPECT_EQ(TakeMouseHits(2), 0);
    EXPECT_EQ(CursorX(), 90);
    EXPECT_EQ(CursorY(), 70);
    EXPECT_EQ(WheelDelta(), -1) << "the last-read wheel value survives the reset";
}

TEST_F(PolledInput, SourceFilterAndLaterHooks)
{
    StopInputPolling();
    int window = 0, other = 0;
    StartInputPolling(&window);
    Emit(EVENT_KEYDOWN, 'Q', 0, 0, &other);
    EXPECT_EQ(TakeKeyHits('Q'), 0);
    Emit(EVENT_KEYDOWN, 'Q', 0, 0, &window);
    EXPECT_EQ(TakeKeyHits('Q'), 1);

    // The polled-input hook passes the event on unchanged.
    static const TEvent* seen = nullptr;
    const THookFunc later = [](int32_t, void* data, void*) -> void* {
        seen = static_cast<const TEvent*>(data);
        return data;
    };
    InsertHook(EventHookId(), later, nullptr, -1);
    const auto event = TEvent::Create(EVENT_KEYDOWN, &window, 'E');
    event->Emit();
    DeleteHook(EventHookId(), later, nullptr);
    EXPECT_EQ(seen, event.get());
    EXPECT_EQ(TakeKeyHits('E'), 1);
}

TEST_F(PolledInput, StoppedPollingKeepsNoState)
{
    Emit(EVENT_KEYDOWN, 'A');
    StopInputPolling();
    EXPECT_EQ(IsKeyDown('A'), 0);
    Emit(EVENT_KEYDOWN, 'A');
    Emit(EVENT_APPTERMINATE);
    EXPECT_EQ(IsKeyDown('A'), 0);
    EXPECT_EQ(TakeTerminateRequest(), 0);
    StartInputPolling(nullptr);
    StartInputPolling(nullptr); // a second start inserts no second hook
    Emit(EVENT_KEYCHAR, 'x');
    EXPECT_EQ(TakeTypedChar(), 'x');
    EXPECT_EQ(TakeTypedChar(), 0);
}

TEST_F(PolledInput, WaitForKeyCharAndMouse)
{
    driver.Queue(TEvent::Create(EVENT_KEYDOWN, nullptr, 'Q')); // pending before the wait: reset away
    driver.QueueOnWait(TEvent::Create(EVENT_MOUSEMOVE));
    driver.QueueOnWait(TEvent::Create(EVENT_KEYDOWN, nullptr, 'S'));
    EXPECT_EQ(WaitForKey(), 'S');
    EXPECT_EQ(driver.waits, 2);

    driver.QueueOnWait(TEvent::Create(EVENT_KEYDOWN, nullptr, 'X'));
    driver.QueueOnWait(TEvent::Create(EVENT_KEYCHAR, nullptr, 'x'));
    EXPECT_EQ(WaitForChar(), 'x');

    driver.QueueOnWait(TEvent::Create(EVENT_MOUSEDOWN, nullptr, 3));
    EXPECT_EQ(WaitForMouse(), 3);
}

// Idle time is measured by the activity count: every press, move and wheel turn counts, but a
// release, a typed character or the window coming and going do not, and no reset lowers it.
TEST_F(PolledInput, ActivityCountsPressesMovesAndWheelTurns)
{
    const uint32_t start = InputActivity();
    Emit(EVENT_KEYUP, 'A');
    Emit(EVENT_MOUSEUP, 1);
    Emit(EVENT_KEYCHAR, 'a');
    Emit(EVENT_APPSUSPEND);
    Emit(EVENT_APPRESUME);
    EXPECT_EQ(InputActivity(), start);
    Emit(EVENT_KEYDOWN, 'A');
    Emit(EVENT_KEYDOWN, 999); // a code the key table ignores is still somebody at the keyboard
    Emit(EVENT_MOUSEDOWN, 1);
    Emit(EVENT_MOUSEMOVE, 0, 3, 4);
    Emit(EVENT_MOUSEWHEEL, 1);
    ResetKeyState();
    ResetMouseState();
    EXPECT_EQ(InputActivity(), start + 5);
}
