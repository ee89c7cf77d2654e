#pragma once
#include <cstdint>

#include "app/settings/controls_file.h"
#include "app/settings/registry.h"

// Changing one play action's key or pad button, as the controls page does: the new one takes
// the place of the action's first, and a key another action has is swapped, never doubled.

enum class TBindingKind : int32_t { Key, PadButton };

enum class TBindingOutcome : int32_t {
    Bound,     // the action has the new one first
    Swapped,   // and the action that had it took the one it replaced
    Unchanged, // the action had it already
    Reserved,  // the game keeps it for itself: nothing changed
};

struct TBindingResult {
    TBindingOutcome outcome = TBindingOutcome::Unchanged;
    TPlayAction other = ActionMoveLeft; // Swapped: the action that had the new one
};

// Binds code (a VK_ key or a PadA... button) to action in values, with the text the file writes.
TBindingResult Bind(TSettingValues& values, TPlayAction action, TBindingKind kind, int32_t code);

// The setting an action's keys or pad buttons are in.
TSettingId BindingSetting(TPlayAction action, TBindingKind kind);
// "A, Left": the names of a list of keys or pad buttons as the file writes them.
std::string BindingText(TBindingKind kind, const std::vector<int32_t>& codes);
// The name of one key or pad button.
std::string BindingName(TBindingKind kind, int32_t code);
