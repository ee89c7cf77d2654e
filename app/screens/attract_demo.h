#pragma once
#include <cstdint>

// Measures how long nobody has touched the keyboard, mouse or a gamepad: 30 seconds by default,
// or the milliseconds in BRIM_DEMO_IDLE_MS, which the end-to-end tests set so as not to wait.
class TIdleWatch {
public:
    TIdleWatch();
    // True once no input has come for the idle time; any input, or the window being hidden,
    // starts the wait again.
    bool Expired();
    void Restart();

private:
    int32_t idleMillis_;
    uint32_t activity_ = 0;
    uint32_t timesHidden_ = 0;
    int32_t since_ = 0;
};

// The title menu's attract demo: a play by the built-in player under a "Demo" caption. It is
// never entered in the table, never saved and shows no game-over view. Returns at once on any
// key, click, cursor move or gamepad press, which then does nothing else, or when the play ends.
// The effect levels are as they were before it.
void AttractDemo();

// --bot: plays by the built-in player one after another, for watching; Escape or the window's
// close box ends the program.
[[noreturn]] void BotScreen();
