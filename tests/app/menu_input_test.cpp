// The shared menu highlight through the real polled input: keys and a virtual gamepad move it,
// the mouse takes it back, and a screen opened by key starts on its first item.
#include "app/screens/menu_input.h"

#include "system/sdl_events.h"
#include "system/virtual_pad.h"

namespace {

class MenuFocus : public SDLWindowTest {
protected:
    void SetUp() override
    {
        SDLWindowTest::SetUp();
        menulead.Reset();
    }
    void Tap(SDL_Scancode scancode)
    {
        Push(UsKeyEvent(true, scancode));
        Push(UsKeyEvent(false, scancode));
    }
    // The items shown as hovered, with the mouse over none of them.
    std::vector<int32_t> Shown(const TMenuFocus& focus, int32_t count, int32_t mouseItem = -1)
    {
        std::vector<int32_t> shown;
        for (int32_t item = 0; item < count; ++item)
            if (focus.Shows(item, item == mouseItem ? 1 : 0))
                shown.push_back(item);
        return shown;
    }
};

TEST_F(MenuFocus, UpAndDownMoveTheHighlightRoundTheItems)
{
    TMenuFocus focus(3);
    focus.Update();
    EXPECT_EQ(Shown(focus, 3, 1), (std::vector<int32_t>{1})) << "the mouse hover leads until a key is pressed";
    Tap(SDL_SCANCODE_DOWN);
    focus.Update();
    EXPECT_EQ(Shown(focus, 3, 1), (std::vector<int32_t>{0})) << "the first Down lands on the first item";
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_DOWN);
    focus.Update();
    EXPECT_EQ(focus.Highlighted(), 2);
    Tap(SDL_SCANCODE_DOWN);
    focus.Update();
    EXPECT_EQ(focus.Highlighted(), 0) << "past the last item comes the first";
    Tap(SDL_SCANCODE_UP);
    focus.Update();
    EXPECT_EQ(focus.Highlighted(), 2);

    TMenuFocus other(3);
    Tap(SDL_SCANCODE_UP);
    other.Update();
    EXPECT_EQ(other.Highlighted(), 2) << "the first Up lands on the last item";
}

TEST_F(MenuFocus, ReturnEnterSpaceActivateTheHighlightedItemOnlyAndClicksStillWork)
{
    TMenuFocus focus(2);
    Tap(SDL_SCANCODE_RETURN);
    focus.Update();
    EXPECT_FALSE(focus.Chosen(0, false, 0)) << "nothing is highlighted yet";
    EXPECT_TRUE(focus.Chosen(1, true, 1)) << "a click on an item chooses it";
    for (const SDL_Scancode key : {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_SPACE}) {
        Tap(SDL_SCANCODE_DOWN);
        Tap(key);
        focus.Update();
        const int32_t item = focus.Highlighted();
        EXPECT_TRUE(focus.Chosen(item, false, 0)) << key;
        EXPECT_FALSE(focus.Chosen(1 - item, false, 0)) << key;
        focus.Update();
        EXPECT_FALSE(focus.Chosen(item, false, 0)) << "one press, one choice";
    }
}

TEST_F(MenuFocus, MovingTheMouseHandsTheHighlightBack)
{
    TMenuFocus focus(3);
    Push(MotionEvent(10, 10));
    focus.Update();
    Tap(SDL_SCANCODE_DOWN);
    focus.Update();
    EXPECT_EQ(focus.Highlighted(), 0);
    focus.Update();
    EXPECT_EQ(focus.Highlighted(), 0) << "a mouse that stays put leaves the highlight";
    Push(MotionEvent(12, 10));
    focus.Update();
    EXPECT_EQ(focus.Highlighted(), -1);
    EXPECT_EQ(Shown(focus, 3, 2), (std::vector<int32_t>{2}));
}

TEST_F(MenuFocus, LeftAndRightStepTheHighlightedItem)
{
    TMenuFocus focus(2);
    Tap(SDL_SCANCODE_DOWN);
    Tap(SDL_SCANCODE_LEFT);
    focus.Update();
    EXPECT_EQ(focus.Step(0), -1);
    EXPECT_EQ(focus.Step(1), 0);
    Tap(SDL_SCANCODE_RIGHT);
    focus.Update();
    EXPECT_EQ(focus.Step(0), 1);
    focus.Update();
    EXPECT_EQ(focus.Step(0), 0);
}

TEST_F(MenuFocus, AScreenOpenedByKeyStartsOnItsFirstItemAndTheArrowsCountAsBefore)
{
    Push(MotionEvent(10, 10));
    TMenuFocus byMouse(3);
    byMouse.Update();
    EXPECT_EQ(byMouse.Highlighted(), -1) << "no key pressed yet: the screen looks as it always did";

    Tap(SDL_SCANCODE_RETURN);
    byMouse.Update();
    ASSERT_TRUE(MenuKeysLead());
    TMenuFocus byKey(3);
    byKey.Update();
    EXPECT_TRUE(byKey.Focuses(0));
    EXPECT_EQ(Shown(byKey, 3, 2), (std::vector<int32_t>{0})) << "the key focus leads the resting mouse";
    Tap(SDL_SCANCODE_RIGHT);
    Tap(SDL_SCANCODE_SPACE);
    byKey.Update();
    EXPECT_EQ(byKey.Step(0), 1);
    EXPECT_TRUE(byKey.Chosen(0, false, 0));
    Tap(SDL_SCANCODE_DOWN);
    byKey.Update();
    EXPECT_EQ(byKey.Highlighted(), 0) << "the first Down keeps the first item";
    Tap(SDL_SCANCODE_DOWN);
    byKey.Update();
    EXPECT_EQ(byKey.Highlighted(), 1);

    TMenuFocus fromTheBottom(3);
    Tap(SDL_SCANCODE_UP);
    fromTheBottom.Update();
    EXPECT_EQ(fromTheBottom.Highlighted(), 2) << "the first Up still lands on the last item";

    TMenuFocus title(3, TFocusStart::Nothing);
    title.Update();
    EXPECT_EQ(title.Highlighted(), -1) << "the title menu starts with nothing highlighted";

    Push(MotionEvent(40, 10));
    title.Update();
    EXPECT_FALSE(MenuKeysLead()) << "the mouse moved: the next screen is the mouse's";
    TMenuFocus afterTheMouse(3);
    afterTheMouse.Update();
    EXPECT_FALSE(afterTheMouse.Focuses(0));
}

TEST_F(MenuFocus, AGamepadNavigatesChoosesAndGoesBack)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    TMenuFocus focus(3);
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    focus.Update();
    EXPECT_EQ(focus.Highlighted(), 1);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -30000); // the stick pushed up
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    focus.Update();
    EXPECT_EQ(focus.Highlighted(), 0);
    EXPECT_EQ(focus.Step(0), 1);
    pad.Tap(SDL_CONTROLLER_BUTTON_A);
    focus.Update();
    EXPECT_TRUE(focus.Chosen(0, false, 0));
    EXPECT_FALSE(focus.Back());
    pad.Tap(SDL_CONTROLLER_BUTTON_BACK);
    focus.Update();
    EXPECT_TRUE(focus.Back());
}

} // namespace
