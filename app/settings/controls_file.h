#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "app/settings/registry.h"
#include "app/settings/settings_file.h"

// The play keys and pad buttons a player may change, in "controls.cfg" of the data folder:
// "action = Key, Key" lines with SDL's key names, "pad_action = Button, Button" with the pad's. Held left and right may also repeat on their own, which they do not
// unless the file asks for it, so the game plays as it always has.

// Hard drop and hold act only when their play options are on.
enum TPlayAction : int32_t {
    ActionMoveLeft,
    ActionMoveRight,
    ActionTurnLeft,
    ActionTurnRight,
    ActionDropFast,
    ActionHardDrop,
    ActionHold
};
constexpr int32_t PlayActionCount = 7;
// The setting that holds each action's keys, in TPlayAction order.
constexpr std::array<TSettingId, PlayActionCount> ActionSettings = {
    SettingMoveLeft, SettingMoveRight, SettingTurnLeft, SettingTurnRight, SettingDropFast, SettingHardDropKeys,
    SettingHoldKeys};
// The setting that holds each action's pad buttons, in TPlayAction order.
constexpr std::array<TSettingId, PlayActionCount> ActionPadSettings = {
    SettingMoveLeftPad, SettingMoveRightPad, SettingTurnLeftPad, SettingTurnRightPad, SettingDropFastPad, SettingHardDropPad,
    SettingHoldPad};

struct TKeyBindings {
    std::array<std::vector<int32_t>, PlayActionCount> keys; // key codes (VK_...) per action
    std::array<std::vector<int32_t>, PlayActionCount> pad;  // pad buttons (PadA...) per action
    // Frames a held move waits before its first repeat, then between repeats; 0 for no repeat.
    int32_t repeatDelay = 0;
    int32_t repeatInterval = 0;
};

// The bindings the settings ask for: repeats only when both times are set.
TKeyBindings BindingsFrom(const TSettingValues& values);
// Frames of the 60 a second the game runs at for a time in milliseconds, at least one.
int32_t FramesForMillis(int32_t millis);

// Reads the data folder's controls file into the running game's settings, reporting its warnings
// on stderr; a missing file is written with the defaults so a player finds what to edit. Returns
// what was read.
TSettingsRead LoadControls();
