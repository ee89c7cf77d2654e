// The name entry's input through the real polled input: a key held as the entry opens types
// nothing until released, Backspace, and a gamepad spelling the name.
#include "app/screens/name_entry.h"

#include "system/keycodes.h"
#include "system/sdl_events.h"
#include "system/virtual_pad.h"

namespace {

class NameEntryInput : public SDLWindowTest {
protected:
    // A letter key going down and typing, as SDL reports it (the repeat flag for the platform's own).
    void Letter(char letter, bool repeat = false)
    {
        Push(LetterEvent(true, letter, repeat));
        Push(TextEvent(std::string(1, letter)));
    }
    void Type(char letter)
    {
        Letter(letter);
        Push(LetterEvent(false, letter));
    }
    bool Frame() { return input_->Update(name_, cursor_); }
    // Opens the entry as the game does: the input made first, then the key state reset.
    void Open()
    {
        input_ = std::make_unique<TNameEntryInput>();
        ResetKeyState();
    }

    std::unique_ptr<TNameEntryInput> input_;
    std::string name_ = "AAA";
    int cursor_ = 1;
};

TEST_F(NameEntryInput, AKeyHeldWhenTheEntryOpensTypesNothingUntilReleased)
{
    Letter('s');
    IsKeyDown(VK_S);
    Open();
    for (int i = 0; i < 5; ++i)
        Letter('s', true);
    Type('x');
    EXPECT_FALSE(Frame());
    EXPECT_EQ(name_, "XAA") << "only the new key typed";
    Letter('s', true);
    Push(LetterEvent(false, 's'));
    Frame();
    EXPECT_EQ(name_, "XAA") << "what the held key typed before its release is still its own";
    Type('s');
    Type('y');
    Frame();
    EXPECT_EQ(name_, "XSY") << "once released, it types like any other";
}

TEST_F(NameEntryInput, AHeldEnterDoesNotEndTheEntryButANewOneDoes)
{
    Push(UsKeyEvent(true, SDL_SCANCODE_RETURN));
    IsKeyDown(VK_RETURN);
    Open();
    Push(UsKeyEvent(true, SDL_SCANCODE_RETURN, KMOD_NONE, true));
    EXPECT_FALSE(Frame());
    Push(UsKeyEvent(false, SDL_SCANCODE_RETURN));
    Frame();
    Push(UsKeyEvent(true, SDL_SCANCODE_RETURN));
    EXPECT_TRUE(Frame());
}

TEST_F(NameEntryInput, BackspaceTakesTheLastLetterBackAndMovesTheCursorBack)
{
    Open();
    Push(UsKeyEvent(true, SDL_SCANCODE_BACKSPACE));
    Frame();
    EXPECT_EQ(cursor_, 1) << "nothing typed, nothing to take back";
    Type('x');
    Type('y');
    Push(UsKeyEvent(true, SDL_SCANCODE_BACKSPACE));
    Frame();
    EXPECT_EQ(name_, "XAA");
    EXPECT_EQ(cursor_, 2);
    Type('q');
    Type('r');
    Frame();
    EXPECT_EQ(name_, "XQR");
    EXPECT_EQ(cursor_, 1);
    Push(UsKeyEvent(true, SDL_SCANCODE_BACKSPACE));
    Frame();
    EXPECT_EQ(name_, "XQA") << "the third letter, though the cursor had gone round";
    EXPECT_EQ(cursor_, 3);
}

TEST_F(NameEntryInput, AGamepadChangesTheLetterMovesOnAndFinishes)
{
    TVirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    Open();
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_FALSE(Frame());
    EXPECT_EQ(name_, "CAA");
    pad.Tap(SDL_CONTROLLER_BUTTON_A);
    Frame();
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    Frame();
    EXPECT_EQ(name_, "C@A") << "down from A goes round to the end of the alphabet";
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Frame();
    pad.Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    Frame();
    EXPECT_EQ(name_, "C@B");
    pad.Tap(SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(Frame());
}

} // namespace
