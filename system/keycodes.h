#pragma once
#include <cstdint>

// Key codes of the polled input (IsKeyDown, TakeKeyHits): the Windows virtual-key codes on every
// platform, so the numbers stay those the game has always used. Letters and digits are their
// upper-case ASCII characters.
enum : int32_t {
    VK_BACK = 8, VK_TAB = 9, VK_CLEAR = 12, VK_RETURN = 13, VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27,
    VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38,
    VK_RIGHT = 39, VK_DOWN = 40, VK_SELECT = 41, VK_EXECUTE = 43, VK_SNAPSHOT = 44, VK_INSERT = 45,
    VK_DELETE = 46, VK_HELP = 47, VK_LWIN = 91, VK_RWIN = 92, VK_APPS = 93, VK_SLEEP = 95, VK_NUMPAD0 = 96,
    VK_MULTIPLY = 106, VK_ADD = 107, VK_SEPARATOR = 108, VK_SUBTRACT = 109, VK_DECIMAL = 110, VK_DIVIDE = 111,
    VK_F1 = 112, VK_F11 = 122, VK_F12 = 123, VK_F13 = 124, VK_NUMLOCK = 144, VK_SCROLL = 145, VK_LSHIFT = 160, VK_RSHIFT = 161,
    VK_LCONTROL = 162, VK_RCONTROL = 163, VK_LMENU = 164, VK_RMENU = 165, VK_BROWSER_BACK = 166,
    VK_BROWSER_FORWARD = 167, VK_BROWSER_REFRESH = 168, VK_BROWSER_STOP = 169, VK_BROWSER_SEARCH = 170,
    VK_BROWSER_FAVORITES = 171, VK_BROWSER_HOME = 172, VK_VOLUME_MUTE = 173, VK_VOLUME_DOWN = 174,
    VK_VOLUME_UP = 175, VK_MEDIA_NEXT_TRACK = 176, VK_MEDIA_PREV_TRACK = 177, VK_MEDIA_STOP = 178,
    VK_MEDIA_PLAY_PAUSE = 179, VK_LAUNCH_MAIL = 180, VK_LAUNCH_MEDIA_SELECT = 181, VK_LAUNCH_APP1 = 182,
    VK_LAUNCH_APP2 = 183, VK_OEM_1 = 186, VK_OEM_PLUS = 187, VK_OEM_COMMA = 188, VK_OEM_MINUS = 189,
    VK_OEM_PERIOD = 190, VK_OEM_2 = 191, VK_OEM_3 = 192, VK_OEM_4 = 219, VK_OEM_5 = 220, VK_OEM_6 = 221,
    VK_OEM_7 = 222, VK_OEM_102 = 226,
    VK_A = 'A', VK_B, VK_C, VK_D, VK_E, VK_F, VK_G, VK_H, VK_I, VK_J, VK_K, VK_L, VK_M,
    VK_N, VK_O, VK_P, VK_Q, VK_R, VK_S, VK_T, VK_U, VK_V, VK_W, VK_X, VK_Y, VK_Z,
};

// Mouse buttons of the polled input (IsMouseDown, TakeMouseHits); 0 is no button.
enum : int32_t { MouseLeft = 1, MouseRight = 2, MouseMiddle = 3 };

// The typed character (TakeTypedChar) of the Enter key.
constexpr int32_t CharEnter = 13;
