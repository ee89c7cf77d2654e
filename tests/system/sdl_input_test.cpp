// The whole path: SDL events of a real (offscreen) SDL window through the driver, the
// translation and the event chain into the polled state.
#include <gtest/gtest.h>

#include <utility>

#include "sdl_events.h"
#include "system/event.h"
#include "system/hook.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/sysdriver.h"

using SDLInput = SDLWindowTest;

TEST_F(SDLInput, HeldKeyWithManyRepeatsCountsOnce)
{
    Push(LetterEvent(true, 'a'));
    for (int i = 0; i < 40; ++i)
        Push(LetterEvent(true, 'a', true));
    EXPECT_EQ(TakeKeyHits('A'), 1);
    EXPECT_EQ(IsKeyDown('A'), 1);
    for (int i = 0; i < 10; ++i)
        Push(LetterEvent(true, 'a', true));
    EXPECT_EQ(TakeKeyHits('A'), 0);
    Push(LetterEvent(false, 'a'));
    EXPECT_EQ(IsKeyDown('A'), 0);
    Push(LetterEvent(true, 'a'));
    EXPECT_EQ(TakeKeyHits('A'), 1);
}

TEST_F(SDLInput, TwoPressesBetweenQueriesCountTwo)
{
    for (int i = 0; i < 2; ++i) {
        Push(LetterEvent(true, 'd'));
        Push(LetterEvent(false, 'd'));
    }
    EXPECT_EQ(TakeKeyHits('D'), 2);
    EXPECT_EQ(TakeKeyHits('D'), 0);
}

// What the pause screen does on resume: presses, characters and clicks not yet taken are gone,
// while a key or button still held stays held.
TEST_F(SDLInput, DroppingPendingInputKeepsWhatIsHeld)
{
    Push(LetterEvent(true, 'a'));
    Push(LetterEvent(false, 'a'));
    Push(LetterEvent(true, 's'));
    Push(TextEvent("ae"));
    Push(ButtonEvent(true, SDL_BUTTON_LEFT, 5, 5));
    Push(ButtonEvent(false, SDL_BUTTON_LEFT, 5, 5));
    Push(ButtonEvent(true, SDL_BUTTON_RIGHT, 5, 5));
    Push(MotionEvent(7, 9));
    DropPendingInput();
    EXPECT_EQ(TakeKeyHits('A'), 0);
    EXPECT_EQ(TakeKeyHits('S'), 0);
    EXPECT_EQ(IsKeyDown('S'), 1) << "a held key is no pending press";
    EXPECT_EQ(TakeTypedChar(), 0);
    EXPECT_EQ(TakeMouseHits(MouseLeft), 0);
    EXPECT_EQ(TakeMouseHits(MouseRight), 0);
    EXPECT_EQ(IsMouseDown(MouseRight), 1);
    EXPECT_EQ(CursorX(), 7);
    EXPECT_EQ(CursorY(), 9);
    Push(LetterEvent(true, 'e'));
    EXPECT_EQ(TakeKeyHits('E'), 1) << "presses after the drop count as ever";
}

// The game-over view ends on any key: the lowest key with presses is taken, one key at a time.
TEST_F(SDLInput, AnyKeyHitTakesTheLowestPressedKey)
{
    EXPECT_EQ(TakeAnyKeyHit(), 0);
    Push(LetterEvent(true, 'q'));
    Push(UsKeyEvent(true, SDL_SCANCODE_SPACE));
    EXPECT_EQ(TakeAnyKeyHit(), VK_SPACE);
    EXPECT_EQ(TakeAnyKeyHit(), 'Q');
    EXPECT_EQ(TakeAnyKeyHit(), 0) << "held keys are no new presses";
    EXPECT_EQ(TakeKeyHits('Q'), 0);
}

TEST_F(SDLInput, ModifierKeysReportTheirSide)
{
    Push(UsKeyEvent(true, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT));
    EXPECT_EQ(IsKeyDown(160), 1);
    EXPECT_EQ(IsKeyDown(16), 0);
    EXPECT_EQ(IsKeyDown(161), 0);
    Push(UsKeyEvent(true, SDL_SCANCODE_RCTRL, KMOD_LSHIFT | KMOD_RCTRL));
    Push(UsKeyEvent(true, SDL_SCANCODE_RALT, KMOD_LSHIFT | KMOD_RCTRL | KMOD_RALT));
    EXPECT_EQ(IsKeyDown(163), 1);
    EXPECT_EQ(IsKeyDown(165), 1);
    EXPECT_EQ(IsKeyDown(17), 0);
    EXPECT_EQ(IsKeyDown(18), 0);
    Push(UsKeyEvent(false, SDL_SCANCODE_LSHIFT, KMOD_RCTRL | KMOD_RALT));
    EXPECT_EQ(IsKeyDown(160), 0);
}

TEST_F(SDLInput, CloseRequestIsTakenOnceAndTheWindowStays)
{
    Push(WindowEvent(SDL_WINDOWEVENT_CLOSE));
    EXPECT_EQ(TakeTerminateRequest(), 1);
    EXPECT_EQ(TakeTerminateRequest(), 0);
    EXPECT_EQ(SDL_GetWindowFromID(windowId), window);

    SDL_Event quit{};
    quit.type = SDL_QUIT; // a signal to the process
    SDL_PushEvent(&quit);
    EXPECT_EQ(TakeTerminateRequest(), 1);
    EXPECT_EQ(TakeTerminateRequest(), 0);
}

TEST_F(SDLInput, SuspendClearsHeldKeysAndButtons)
{
    Push(LetterEvent(true, 's'));
    Push(TextEvent("s"));
    Push(ButtonEvent(true, SDL_BUTTON_LEFT, 5, 5));
    EXPECT_EQ(IsKeyDown('S'), 1);
    EXPECT_EQ(IsMouseDown(1), 1);
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(IsAppSuspended(), 1);
    EXPECT_EQ(IsKeyDown('S'), 0);
    EXPECT_EQ(TakeKeyHits('S'), 0);
    EXPECT_EQ(TakeTypedChar(), 0);
    EXPECT_EQ(IsMouseDown(1), 0);
    EXPECT_EQ(TakeMouseHits(1), 0);
    // The release happens elsewhere; back in the window the key is not stuck.
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_EQ(IsAppSuspended(), 0);
    EXPECT_EQ(IsKeyDown('S'), 0);
}

TEST_F(SDLInput, WheelNotchesAndPointer)
{
    Push(MotionEvent(30, 40));
    Push(WheelEvent(1, 30, 40));
    EXPECT_EQ(WheelPos(), 1);
    Push(WheelEvent(-1, 30, 40));
    Push(WheelEvent(-1, 30, 40));
    EXPECT_EQ(WheelPos(), -1);
    ResetMouseState();
    EXPECT_EQ(WheelPos(), 0);
    EXPECT_EQ(CursorX(), 30);
    EXPECT_EQ(CursorY(), 40);
}

TEST_F(SDLInput, MouseClicksDoubleClicksCount)
{
    Push(ButtonEvent(true, SDL_BUTTON_LEFT, 8, 9, 1));
    Push(ButtonEvent(false, SDL_BUTTON_LEFT, 8, 9, 1));
    Push(ButtonEvent(true, SDL_BUTTON_LEFT, 8, 9, 2));
    Push(ButtonEvent(false, SDL_BUTTON_LEFT, 8, 9, 2));
    Push(ButtonEvent(true, SDL_BUTTON_RIGHT, 8, 9));
    EXPECT_EQ(TakeMouseHits(1), 2);
    EXPECT_EQ(TakeMouseHits(2), 1);
    EXPECT_EQ(IsMouseDown(2), 1);
    EXPECT_EQ(TakeMouseHits(1), 0);
}

TEST_F(SDLInput, TypedTextAndEnter)
{
    Push(TextEvent("a"));
    Push(TextEvent("b"));
    EXPECT_EQ(TakeTypedChar(), 97);
    EXPECT_EQ(TakeTypedChar(), 98);
    EXPECT_EQ(TakeTypedChar(), 0);

    Push(UsKeyEvent(true, SDL_SCANCODE_RETURN));
    Push(UsKeyEvent(false, SDL_SCANCODE_RETURN));
    EXPECT_EQ(TakeTypedChar(), 13);
    EXPECT_EQ(TakeTypedChar(), 0);
    EXPECT_EQ(TakeKeyHits(13), 1);
}

namespace {

// The ids of the events emitted while it lives.
class EventRecorder {
public:
    EventRecorder() { InsertHook(EventHookId(), &EventRecorder::Record, this, 1000); }
    ~EventRecorder() { DeleteHook(EventHookId(), &EventRecorder::Record, this); }
    std::vector<int32_t> Take() { return std::exchange(ids_, {}); }

private:
    static void* Record(int32_t, void* data, void* context)
    {
        static_cast<EventRecorder*>(context)->ids_.push_back(static_cast<TEvent*>(data)->id);
        return data;
    }
    std::vector<int32_t> ids_;
};

} // namespace

TEST_F(SDLInput, FirstActivationAfterOpeningResumesLikeEveryLaterOne)
{
    EventRecorder events;
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    PumpSystemEvents();
    EXPECT_EQ(events.Take(), std::vector<int32_t>{EVENT_APPRESUME});
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)); // already active: no switch of application
    PumpSystemEvents();
    EXPECT_EQ(events.Take(), std::vector<int32_t>{});
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    PumpSystemEvents();
    EXPECT_EQ(events.Take(), (std::vector<int32_t>{EVENT_APPSUSPEND, EVENT_APPRESUME}));
}
