#include <gtest/gtest.h>

#include <vector>

#include "sdl_events.h"
#include "system/event.h"
#include "system/sysdriver_sdl.h"

namespace {

constexpr int kWidth = 64, kHeight = 48;

struct Expected {
    int32_t id, data, x, y;
};

std::vector<Expected> Translate(const SDL_Event& event, TSDLTranslationState& state)
{
    std::vector<Expected> out;
    for (const TEvent& e : TranslateSDLEvent(event, kWidth, kHeight, state)) {
        EXPECT_EQ(e.source, nullptr);
        EXPECT_EQ(e.extra, "");
        out.push_back({e.id, e.data, e.x, e.y});
    }
    return out;
}

bool operator==(const Expected& a, const Expected& b)
{
    return a.id == b.id && a.data == b.data && a.x == b.x && a.y == b.y;
}

void PrintTo(const Expected& e, std::ostream* os)
{
    *os << "{" << TEvent::DescriptionForId(e.id) << ", " << e.data << ", " << e.x << ", " << e.y << "}";
}

int32_t KeyDownCode(const SDL_Event& event)
{
    TSDLTranslationState state;
    const auto events = TranslateSDLEvent(event, kWidth, kHeight, state);
    if (events.empty())
        return 0;
    EXPECT_EQ(events.front().id, EVENT_KEYDOWN);
    return events.front().data;
}

struct KeyCase {
    SDL_Scancode scancode;
    int32_t code;
};

} // namespace

TEST(Translate, WholePcKeyboardGivesWindowsKeyCodes)
{
    const KeyCase table[] = {
        {SDL_SCANCODE_A, 65}, {SDL_SCANCODE_D, 68}, {SDL_SCANCODE_E, 69}, {SDL_SCANCODE_Q, 81},
        {SDL_SCANCODE_S, 83}, {SDL_SCANCODE_Z, 90}, {SDL_SCANCODE_0, 48}, {SDL_SCANCODE_1, 49},
        {SDL_SCANCODE_9, 57}, {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_TAB, 9}, {SDL_SCANCODE_RETURN, 13},
        {SDL_SCANCODE_ESCAPE, 27}, {SDL_SCANCODE_SPACE, 32}, {SDL_SCANCODE_PAGEUP, 33},
        {SDL_SCANCODE_PAGEDOWN, 34}, {SDL_SCANCODE_END, 35}, {SDL_SCANCODE_HOME, 36}, {SDL_SCANCODE_LEFT, 37},
        {SDL_SCANCODE_UP, 38}, {SDL_SCANCODE_RIGHT, 39}, {SDL_SCANCODE_DOWN, 40}, {SDL_SCANCODE_PRINTSCREEN, 44},
        {SDL_SCANCODE_INSERT, 45}, {SDL_SCANCODE_DELETE, 46}, {SDL_SCANCODE_PAUSE, 19},
        {SDL_SCANCODE_CAPSLOCK, 20}, {SDL_SCANCODE_LGUI, 91}, {SDL_SCANCODE_RGUI, 92},
        {SDL_SCANCODE_APPLICATION, 93}, {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107},
        {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_DIVIDE, 111}, {SDL_SCANCODE_KP_ENTER, 13},
        {SDL_SCANCODE_F1, 112}, {SDL_SCANCODE_F10, 121}, {SDL_SCANCODE_F12, 123}, {SDL_SCANCODE_F13, 124},
        {SDL_SCANCODE_F24, 135}, {SDL_SCANCODE_NUMLOCKCLEAR, 144}, {SDL_SCANCODE_SCROLLLOCK, 145},
        {SDL_SCANCODE_LSHIFT, 160}, {SDL_SCANCODE_RSHIFT, 161}, {SDL_SCANCODE_LCTRL, 162},
        {SDL_SCANCODE_RCTRL, 163}, {SDL_SCANCODE_LALT, 164}, {SDL_SCANCODE_RALT, 165},
        {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187}, {SDL_SCANCODE_COMMA, 188},
        {SDL_SCANCODE_MINUS, 189}, {SDL_SCANCODE_PERIOD, 190}, {SDL_SCANCODE_SLASH, 191},
        {SDL_SCANCODE_GRAVE, 192}, {SDL_SCANCODE_LEFTBRACKET, 219}, {SDL_SCANCODE_BACKSLASH, 220},
        {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
        {SDL_SCANCODE_VOLUMEUP, 175}, {SDL_SCANCODE_MUTE, 173}, {SDL_SCANCODE_AUDIOPLAY, 179},
    };
    for (const KeyCase& key : table) {
        EXPECT_EQ(KeyDownCode(UsKeyEvent(true, key.scancode)), key.code)
            << SDL_GetScancodeName(key.scancode);
    }
}

TEST(Translate, NumpadFollowsNumLock)
{
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_0, KMOD_NUM)), 96);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_5, KMOD_NUM)), 101);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_9, KMOD_NUM)), 105);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_PERIOD, KMOD_NUM)), 110);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_0)), 45);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_1)), 35);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_5)), 12);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_8)), 38);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_9)), 33);
    EXPECT_EQ(KeyDownCode(UsKeyEvent(true, SDL_SCANCODE_KP_PERIOD)), 46);
}

TEST(Translate, LettersFollowTheLayout)
{
    // The key in the Q position of a French keyboard types "a".
    EXPECT_EQ(KeyDownCode(KeyEvent(true, SDL_SCANCODE_Q, SDLK_a)), 65);
    EXPECT_EQ(KeyDownCode(KeyEvent(true, SDL_SCANCODE_W, SDLK_z)), 90);
}

TEST(Translate, KeysWithoutACodeGiveNoEvent)
{
    TSDLTranslationState state;
    EXPECT_TRUE(Translate(KeyEvent(true, SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN), state).empty());
    EXPECT_TRUE(Translate(UsKeyEvent(true, SDL_SCANCODE_KP_EQUALSAS400), state).empty());
    EXPECT_TRUE(Translate(UsKeyEvent(false, SDL_SCANCODE_LANG1), state).empty());
}

TEST(Translate, KeyDownRepeatAndUp)
{
    TSDLTranslationState state;
    EXPECT_EQ(Translate(LetterEvent(true, 'a'), state), (std::vector<Expected>{{EVENT_KEYDOWN, 65, 0, 0}}));
    EXPECT_EQ(Translate(LetterEvent(true, 'a', true), state), (std::vector<Expected>{{EVENT_KEYREPEAT, 65, 0, 0}}));
    EXPECT_EQ(Translate(LetterEvent(false, 'a'), state), (std::vector<Expected>{{EVENT_KEYUP, 65, 0, 0}}));
}

TEST(Translate, ControlKeysAlsoTypeTheirCharacter)
{
    struct Case {
        SDL_Scancode scancode;
        int32_t code;
    };
    for (const Case c : {Case{SDL_SCANCODE_RETURN, 13}, Case{SDL_SCANCODE_KP_ENTER, 13},
                         Case{SDL_SCANCODE_BACKSPACE, 8}, Case{SDL_SCANCODE_TAB, 9}, Case{SDL_SCANCODE_ESCAPE, 27}}) {
        TSDLTranslationState state;
        EXPECT_EQ(Translate(UsKeyEvent(true, c.scancode), state),
                  (std::vector<Expected>{{EVENT_KEYDOWN, c.code, 0, 0}, {EVENT_KEYCHAR, c.code, 0, 0}}));
        EXPECT_EQ(Translate(UsKeyEvent(true, c.scancode, KMOD_NONE, true), state),
                  (std::vector<Expected>{{EVENT_KEYREPEAT, c.code, 0, 0}, {EVENT_KEYCHAR, c.code, 0, 0}}));
        EXPECT_EQ(Translate(UsKeyEvent(false, c.scancode), state),
                  (std::vector<Expected>{{EVENT_KEYUP, c.code, 0, 0}}));
    }
    // Printable keys type through text input, not through their key-down.
    TSDLTranslationState state;
    EXPECT_EQ(Translate(UsKeyEvent(true, SDL_SCANCODE_SPACE), state).size(), 1u);
    // With Alt held they are commands (Alt+Enter switches fullscreen) and type nothing.
    EXPECT_EQ(Translate(UsKeyEvent(true, SDL_SCANCODE_RETURN, KMOD_LALT), state),
              (std::vector<Expected>{{EVENT_KEYDOWN, 13, 0, 0}}));
}

TEST(Translate, TextIsDecodedToCodePoints)
{
    TSDLTranslationState state;
    EXPECT_EQ(Translate(TextEvent("ab"), state),
              (std::vector<Expected>{{EVENT_KEYCHAR, 97, 0, 0}, {EVENT_KEYCHAR, 98, 0, 0}}));
    EXPECT_EQ(Translate(TextEvent("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), state),
              (std::vector<Expected>{{EVENT_KEYCHAR, 0xE9, 0, 0}, {EVENT_KEYCHAR, 0x20AC, 0, 0},
                                     {EVENT_KEYCHAR, 0x1F600, 0, 0}}));
    // Stray, overlong, surrogate and truncated sequences are skipped; what is sound survives.
    EXPECT_EQ(Translate(TextEvent("\xFF" "x\xC0\xAF" "y\xED\xA0\x80z\xE2\x82"), state),
              (std::vector<Expected>{{EVENT_KEYCHAR, 'x', 0, 0}, {EVENT_KEYCHAR, 'y', 0, 0},
                                     {EVENT_KEYCHAR, 'z', 0, 0}}));
}

TEST(Translate, ModifierMaskIsRebuiltByModifierKeysOnly)
{
    TSDLTranslationState state;
    auto mods = [&](const SDL_Event& event) {
        const auto events = TranslateSDLEvent(event, kWidth, kHeight, state);
        EXPECT_FALSE(events.empty());
        return events.empty() ? -1 : events.front().mods;
    };
    EXPECT_EQ(mods(UsKeyEvent(true, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT)), 1);
    // A letter's own SDL modifier state does not change the mask.
    EXPECT_EQ(mods(KeyEvent(true, SDL_SCANCODE_A, SDLK_a, KMOD_NONE)), 1);
    EXPECT_EQ(mods(UsKeyEvent(true, SDL_SCANCODE_RCTRL, KMOD_LSHIFT | KMOD_RCTRL)), 3);
    EXPECT_EQ(mods(UsKeyEvent(true, SDL_SCANCODE_LALT, KMOD_LSHIFT | KMOD_RCTRL | KMOD_LALT)), 7);
    EXPECT_EQ(mods(UsKeyEvent(true, SDL_SCANCODE_RGUI, KMOD_LSHIFT | KMOD_RCTRL | KMOD_LALT | KMOD_RGUI)), 15);
    EXPECT_EQ(mods(ButtonEvent(true, SDL_BUTTON_LEFT, 1, 1)), 15);
    EXPECT_EQ(mods(UsKeyEvent(false, SDL_SCANCODE_LSHIFT, KMOD_RCTRL)), 2);
    EXPECT_EQ(mods(UsKeyEvent(false, SDL_SCANCODE_RCTRL, KMOD_NUM)), 0);
    EXPECT_EQ(mods(TextEvent("q")), 0);
}

TEST(Translate, MouseButtonsMoveAndWheel)
{
    TSDLTranslationState state;
    state.trackedWindow = 1;
    EXPECT_EQ(Translate(ButtonEvent(true, SDL_BUTTON_LEFT, 10, 20), state),
              (std::vector<Expected>{{EVENT_MOUSEDOWN, 1, 10, 20}}));
    EXPECT_EQ(Translate(ButtonEvent(true, SDL_BUTTON_LEFT, 10, 20, 2), state),
              (std::vector<Expected>{{EVENT_MOUSEDOWN, 1, 10, 20}}))
        << "a double click is a press like any other";
    EXPECT_EQ(Translate(ButtonEvent(false, SDL_BUTTON_RIGHT, 3, 4), state),
              (std::vector<Expected>{{EVENT_MOUSEUP, 2, 3, 4}}));
    EXPECT_EQ(Translate(ButtonEvent(true, SDL_BUTTON_MIDDLE, 5, 6), state),
              (std::vector<Expected>{{EVENT_MOUSEDOWN, 3, 5, 6}}));
    EXPECT_TRUE(Translate(ButtonEvent(true, SDL_BUTTON_X1, 5, 6), state).empty());

    EXPECT_EQ(Translate(MotionEvent(7, 8, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), state),
              (std::vector<Expected>{{EVENT_MOUSEMOVE, 1, 7, 8}}));
    EXPECT_EQ(Translate(MotionEvent(7, 9, SDL_BUTTON_MMASK), state),
              (std::vector<Expected>{{EVENT_MOUSEMOVE, 3, 7, 9}}));

    EXPECT_EQ(Translate(WheelEvent(1, 30, 31), state), (std::vector<Expected>{{EVENT_MOUSEWHEEL, 1, 30, 31}}));
    EXPECT_EQ(Translate(WheelEvent(-3, 30, 31), state), (std::vector<Expected>{{EVENT_MOUSEWHEEL, -3, 30, 31}}));
    EXPECT_EQ(Translate(WheelEvent(2, 0, 0, 1, SDL_MOUSEWHEEL_FLIPPED), state),
              (std::vector<Expected>{{EVENT_MOUSEWHEEL, -2, 0, 0}}));
    EXPECT_TRUE(Translate(WheelEvent(0, 0, 0), state).empty()) << "sideways scrolling";
}

TEST(Translate, PointerEnteringAndLeavingTheClientArea)
{
    TSDLTranslationState state;
    EXPECT_EQ(Translate(MotionEvent(5, 6), state),
              (std::vector<Expected>{{EVENT_MOUSEENTER, 0, 5, 6}, {EVENT_MOUSEMOVE, 0, 5, 6}}));
    EXPECT_EQ(state.trackedWindow, 1u);
    EXPECT_EQ(Translate(MotionEvent(kWidth - 1, kHeight - 1), state),
              (std::vector<Expected>{{EVENT_MOUSEMOVE, 0, kWidth - 1, kHeight - 1}}));
    // Held buttons keep reporting moves outside the window, with negative positions too.
    EXPECT_EQ(Translate(MotionEvent(kWidth, 10, SDL_BUTTON_LMASK), state),
              (std::vector<Expected>{{EVENT_MOUSELEAVE, 0, kWidth, 10}, {EVENT_MOUSEMOVE, 1, kWidth, 10}}));
    EXPECT_EQ(state.trackedWindow, 0u);
    EXPECT_EQ(Translate(MotionEvent(-3, -4, SDL_BUTTON_LMASK), state),
              (std::vector<Expected>{{EVENT_MOUSEMOVE, 1, -3, -4}}));
    EXPECT_EQ(Translate(MotionEvent(0, 0), state),
              (std::vector<Expected>{{EVENT_MOUSEENTER, 0, 0, 0}, {EVENT_MOUSEMOVE, 0, 0, 0}}));
    Translate(MotionEvent(2, 47), state);
    // The window system says the pointer has gone: leave where it was last seen.
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_LEAVE), state),
              (std::vector<Expected>{{EVENT_MOUSELEAVE, 0, 2, 47}}));
    EXPECT_TRUE(Translate(WindowEvent(SDL_WINDOWEVENT_LEAVE), state).empty());
    EXPECT_TRUE(Translate(WindowEvent(SDL_WINDOWEVENT_ENTER), state).empty());
}

TEST(Translate, ActivationAndClose)
{
    TSDLTranslationState state;
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), state),
              (std::vector<Expected>{{EVENT_APPSUSPEND, 0, 0, 0}}));
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), state),
              (std::vector<Expected>{{EVENT_APPRESUME, 0, 0, 0}}));
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_CLOSE), state),
              (std::vector<Expected>{{EVENT_APPTERMINATE, 0, 0, 0}}));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(Translate(quit, state), (std::vector<Expected>{{EVENT_APPTERMINATE, 0, 0, 0}}));
    EXPECT_TRUE(Translate(WindowEvent(SDL_WINDOWEVENT_MOVED), state).empty());
    EXPECT_TRUE(Translate(WindowEvent(SDL_WINDOWEVENT_EXPOSED), state).empty());
}
