// Key sampling through the real polled input: SDL key events of a real (offscreen) window go
// through the system driver, the translation and the event chain before key::Update reads them.
#include <gtest/gtest.h>

#include "app/shell/key.h"

#include "app/settings/registry.h"

#include <vector>

#include "app/settings/controls_file.h"
#include "app/settings/key_binding.h"
#include "game/game.h"
#include "game/shape.h"
#include "system/keycodes.h"
#include "system/sdl_events.h"
#include "system/virtual_pad.h"

namespace {

class KeySampling : public SDLWindowTest {
protected:
    void Tap(char letter, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            Push(LetterEvent(true, letter));
            Push(LetterEvent(false, letter));
        }
    }

    TControls controls;
};

TEST_F(KeySampling, PressesSinceTheLastFrameAreCountedForMovesAndFlaggedForTurns)
{
    Tap('a', 2);
    Tap('d', 3);
    Tap('q', 3);
    Tap('e', 2);
    controls = key::Update();
    EXPECT_EQ(controls.keyleft, 2);
    EXPECT_EQ(controls.keyright, 3);
    EXPECT_EQ(controls.keyrotleft, 1);
    EXPECT_EQ(controls.keyrotright, 1);
    EXPECT_EQ(controls.keyfast, 0);

    // Each press is seen in exactly one frame.
    controls = key::Update();
    EXPECT_EQ(controls.keyleft, 0);
    EXPECT_EQ(controls.keyright, 0);
    EXPECT_EQ(controls.keyrotleft, 0);
    EXPECT_EQ(controls.keyrotright, 0);
}

TEST_F(KeySampling, TwoPressesOfAMoveThePieceOneColumn)
{
    if (shapecount == 0)
        shape::Init();
    game g;
    g.w = 20;
    g.h = 32;
    g.x = 96;
    g.NewPiece();
    g.nextdown = 100; // no gravity step in this frame
    std::vector<int> columns;
    for (const auto& b : g.place)
        columns.push_back(b->x);
    const int px = g.px;

    Tap('a', 2);
    controls = key::Update();
    ASSERT_EQ(controls.keyleft, 2);
    g.DoPiece(controls);
    EXPECT_EQ(g.px, px - 1);
    size_t i = 0;
    for (const auto& b : g.place)
        EXPECT_EQ(b->x, columns[i++] - 1);
}

TEST_F(KeySampling, HoldingSSetsFastWithoutPilingUpPresses)
{
    Push(LetterEvent(true, 's'));
    for (int frame = 0; frame < 5; ++frame) {
        for (int i = 0; i < 8; ++i)
            Push(LetterEvent(true, 's', true)); // the platform's auto-repeat
        controls = key::Update();
        EXPECT_EQ(controls.keyfast, 1) << frame;
        EXPECT_EQ(key::FastHits(), frame == 0 ? 1 : 0) << frame;
    }
    Push(LetterEvent(false, 's'));
    controls = key::Update();
    EXPECT_EQ(controls.keyfast, 0);

    // Presses of S made between frames are taken by the sampling, so none are left over.
    Tap('s', 3);
    controls = key::Update();
    EXPECT_EQ(key::FastHits(), 3);
    EXPECT_EQ(TakeKeyHits(VK_S), 0);
}

} // namespace

namespace {

class KeyBindingsSampling : public KeySampling {
protected:
    void TearDown() override
    {
        CurrentSettings().ResetFile(TSettingFile::Controls);
        key::Reset();
        KeySampling::TearDown();
    }
    void Key(bool down, SDL_Scancode scancode) { Push(UsKeyEvent(down, scancode)); }
    // The frames, counting from 0, in which a move to the left was asked for.
    std::vector<int> LeftFrames(int frames)
    {
        std::vector<int> moved;
        for (int frame = 0; frame < frames; ++frame) {
            Push(UsKeyEvent(true, SDL_SCANCODE_LEFT, KMOD_NONE, true)); // the platform's own repeat
            if (key::Update().keyleft != 0)
                moved.push_back(frame);
        }
        return moved;
    }
};

TEST_F(KeyBindingsSampling, ArrowsMoveTurnClockwiseAndDropFastBesideTheLetters)
{
    for (const SDL_Scancode scancode : {SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UP})
        Key(true, scancode), Key(false, scancode);
    Key(true, SDL_SCANCODE_DOWN);
    controls = key::Update();
    EXPECT_EQ(controls.keyleft, 1);
    EXPECT_EQ(controls.keyright, 1);
    EXPECT_EQ(controls.keyrotright, 1);
    EXPECT_EQ(controls.keyrotleft, 0);
    EXPECT_EQ(controls.keyfast, 1);
    EXPECT_EQ(key::FastHits(), 1);
    Key(false, SDL_SCANCODE_DOWN);
    EXPECT_EQ(key::Update().keyfast, 0);
}

TEST_F(KeyBindingsSampling, ARemapReplacesTheKeysOfItsAction)
{
    CurrentSettings().Set(SettingMoveLeft, {0, {VK_J}, "J"});
    Tap('a');
    Tap('j', 2);
    controls = key::Update();
    EXPECT_EQ(controls.keyleft, 2) << "J moves, A no longer does";
    EXPECT_EQ(TakeKeyHits(VK_A), 1) << "A was left alone";
}

TEST_F(KeyBindingsSampling, HeldMovesRepeatOnlyWhenAskedAfterTheDelayThenEveryInterval)
{
    Key(true, SDL_SCANCODE_LEFT);
    EXPECT_EQ(LeftFrames(30), (std::vector<int>{0})) << "by default a held move is one move";
    Key(false, SDL_SCANCODE_LEFT);
    key::Update();

    CurrentSettings().SetNumber(SettingRepeatDelay, 250);   // 15 frames
    CurrentSettings().SetNumber(SettingRepeatInterval, 50); // 3 frames
    Key(true, SDL_SCANCODE_LEFT);
    EXPECT_EQ(LeftFrames(28), (std::vector<int>{0, 15, 18, 21, 24, 27}));
    Key(false, SDL_SCANCODE_LEFT);
    EXPECT_EQ(key::Update().keyleft, 0);
    Key(true, SDL_SCANCODE_LEFT);
    EXPECT_EQ(LeftFrames(16), (std::vector<int>{0, 15})) << "a new press starts the delay again";
}

TEST_F(KeyBindingsSampling, FocusLossAndEscapeAskForThePause)
{
    EXPECT_FALSE(key::PauseRequested());
    Push(UsKeyEvent(true, SDL_SCANCODE_ESCAPE));
    EXPECT_TRUE(key::PauseRequested());
    Push(UsKeyEvent(false, SDL_SCANCODE_ESCAPE));
    EXPECT_FALSE(key::PauseRequested());
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_TRUE(key::PauseRequested()) << "switching to another window pauses the play";
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_FALSE(key::PauseRequested());
}

TEST_F(KeyBindingsSampling, AKeyAndAPadButtonBoundAsTheControlsPageDoesWorkAtOnce)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    Bind(CurrentSettings(), ActionTurnLeft, TBindingKind::PadButton, PadX);
    Bind(CurrentSettings(), ActionHold, TBindingKind::Key, VK_J);
    pad.Tap(SDL_CONTROLLER_BUTTON_X);
    Tap('j');
    controls = key::Update();
    EXPECT_EQ(controls.keyrotleft, 1) << "X turns counter-clockwise now";
    EXPECT_EQ(controls.keyhold, 1) << "J holds now";
    pad.Tap(SDL_CONTROLLER_BUTTON_B);
    Tap('c');
    controls = key::Update();
    EXPECT_EQ(controls.keyrotleft, 0) << "B no longer does";
    EXPECT_EQ(controls.keyhold, 0) << "C no longer does";
}

TEST_F(KeyBindingsSampling, AGamepadPlaysThroughTheSameControls)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    pad.Tap(SDL_CONTROLLER_BUTTON_A);
    controls = key::Update();
    EXPECT_EQ(controls.keyleft, 1);
    EXPECT_EQ(controls.keyrotright, 1) << "A turns clockwise";
    pad.Tap(SDL_CONTROLLER_BUTTON_B);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    controls = key::Update();
    EXPECT_EQ(controls.keyrotleft, 1) << "B turns counter-clockwise";
    EXPECT_EQ(controls.keyright, 1) << "the stick moves";
    EXPECT_EQ(controls.keyfast, 1) << "down drops fast while held";
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_EQ(key::Update().keyfast, 1) << "and so does the stick";
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_EQ(key::Update().keyfast, 0);

    pad.Tap(SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_FALSE(key::PauseRequested()) << "Back never stops a play";
    pad.Tap(SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(key::PauseRequested());
}

} // namespace
