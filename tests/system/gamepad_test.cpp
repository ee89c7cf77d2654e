// Gamepads through SDL's game-controller layer into the polled input, with SDL's virtual joystick
// standing in for the hardware: plugged in while running, buttons, the stick, pulled out.
#include <gtest/gtest.h>

#include "sdl_events.h"
#include "system/gamepad_sdl.h"
#include "system/keycodes.h"
#include "virtual_pad.h"

using Gamepads = SDLWindowTest;

TEST_F(Gamepads, APadPluggedInWhileRunningIsOpenedAndItsButtonsArePolled)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    ASSERT_NE(pad.Controller(), nullptr) << "the game opens a pad as it arrives";

    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(IsPadDown(PadA), 1);
    EXPECT_EQ(TakePadHits(PadA), 1);
    EXPECT_EQ(TakePadHits(PadA), 0) << "a press is taken once";
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(IsPadDown(PadA), 0);

    const std::pair<SDL_GameControllerButton, int32_t> buttons[] = {
        {SDL_CONTROLLER_BUTTON_B, PadB},           {SDL_CONTROLLER_BUTTON_BACK, PadBack},
        {SDL_CONTROLLER_BUTTON_START, PadStart},   {SDL_CONTROLLER_BUTTON_DPAD_UP, PadUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadDown}, {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadRight}};
    for (const auto& [button, code] : buttons) {
        pad.Tap(button);
        pad.Tap(button);
        EXPECT_EQ(TakePadHits(code), 2) << code;
    }
}

TEST_F(Gamepads, TheLeftStickPastHalfWayIsADirectionAndDoesNotChatterNearIt)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -10000);
    EXPECT_EQ(IsPadDown(PadStickLeft), 0) << "less than half way";
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    EXPECT_EQ(IsPadDown(PadStickLeft), 1);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -12000); // back a little, still held
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    EXPECT_EQ(TakePadHits(PadStickLeft), 1) << "one push, one press";
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(IsPadDown(PadStickLeft), 0);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(IsPadDown(PadStickRight), 1);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 32767); // down is positive
    EXPECT_EQ(IsPadDown(PadStickDown), 1);
    EXPECT_EQ(IsPadDown(PadStickUp), 0);
    EXPECT_EQ(IsPadDown(PadLeft), 0) << "the D-pad is apart from the stick";
}

TEST_F(Gamepads, APadPulledOutReleasesWhatItHeld)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    ASSERT_EQ(IsPadDown(PadDown), 1);
    pad.Unplug();
    EXPECT_EQ(IsPadDown(PadDown), 0);
    EXPECT_EQ(IsPadDown(PadStickLeft), 0);

    TVirtualPad again; // and a pad plugged in afterwards works as the first did
    ASSERT_TRUE(again.Plugged()) << SDL_GetError();
    again.Tap(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(TakePadHits(PadStart), 1);
}

TEST_F(Gamepads, KeyStateResetForgetsHeldButtons)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    pad.Button(SDL_CONTROLLER_BUTTON_START, true);
    ResetKeyState();
    EXPECT_EQ(IsPadDown(PadStart), 0);
    EXPECT_EQ(TakePadHits(PadStart), 0) << "a Start held into the pause screen does not also resume it";
}

TEST(PadTranslation, EventsOfUnknownButtonsAndOtherAxesGiveNothing)
{
    TPadTranslationState state;
    SDL_Event event{};
    event.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.axis = SDL_CONTROLLER_AXIS_TRIGGERLEFT;
    event.caxis.value = 32767;
    EXPECT_TRUE(TranslatePadEvent(event, state).empty());
    event = {};
    event.type = SDL_CONTROLLERBUTTONDOWN;
    event.cbutton.button = SDL_CONTROLLER_BUTTON_MAX + 3;
    EXPECT_TRUE(TranslatePadEvent(event, state).empty());
    event.cbutton.button = SDL_CONTROLLER_BUTTON_X;
    ASSERT_EQ(TranslatePadEvent(event, state).size(), 1u);
    EXPECT_TRUE(TranslatePadEvent(event, state).empty()) << "a second down of a held button is no new press";
}

TEST_F(Gamepads, PadPressesCountAsActivityAndReleasesDoNot)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    const uint32_t start = InputActivity();
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(InputActivity(), start + 1) << "somebody is there: no attract demo";
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(InputActivity(), start + 2);
}
