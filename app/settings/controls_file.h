#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/settings/config_file.h"

// The play keys a player may change, in "controls.cfg" of the data folder: "action = Key, Key"
// lines with SDL's key names. Held left and right may also repeat on their own, which they do not
// unless the file asks for it, so the game plays as it always has.

enum TPlayAction : int32_t { ActionMoveLeft, ActionMoveRight, ActionTurnLeft, ActionTurnRight, ActionDropFast };
constexpr int32_t PlayActionCount = 5;

struct TKeyBindings {
    std::array<std::vector<int32_t>, PlayActionCount> keys; // key codes (VK_...) per action
    // Frames a held move waits before its first repeat, then between repeats; 0 for no repeat.
    int32_t repeatDelay = 0;
    int32_t repeatInterval = 0;
    void Reset(); // the game's own keys plus the arrows, no repeat
};
extern TKeyBindings keybindings;

constexpr char ControlsFileName[] = "controls.cfg";
// The action names of the file, in TPlayAction order, and the default keys by SDL name.
struct TActionText {
    const char* name;
    const char* keys;
};
extern const std::array<TActionText, PlayActionCount> ActionTexts;

// The bindings a read file asks for: the defaults, with each action the file names well replaced.
// A line it cannot use (unknown action, key name or number) keeps the default and adds one warning
// to the file's list.
TKeyBindings BindingsFromFile(TConfigFile& file, const std::string& path);
// Frames of the 60 a second the game runs at for a time in milliseconds, at least one.
int32_t FramesForMillis(int32_t millis);

// Reads the data folder's controls file into keybindings, reporting its warnings on stderr; a
// missing file is written with the defaults so a player finds what to edit.
void LoadControls();
