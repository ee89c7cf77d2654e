#pragma once
#include <SDL.h>

#include <cstdint>
#include <map>
#include <vector>

#include "system/event.h"

// Gamepads through SDL's game-controller layer: every pad SDL knows a layout for is opened when
// it is plugged in (or found at start) and closed when it goes, its buttons becoming "PadDown" and
// "PadUp" events for the polled input.

// What the translation keeps between events: per pad (by SDL instance id), the buttons it holds
// down as far as the events told, so a pad pulled out releases them.
struct TPadTranslationState {
    std::map<SDL_JoystickID, uint32_t> held; // bit n: button n (PadA...)
};

// The events one SDL game-controller event stands for: a button maps to its Pad code, the left
// stick to PadStick directions (pressed past half way, released below a quarter, so a stick
// resting near the threshold does not chatter), a removed pad to the release of all it held.
// Touches nothing but state.
std::vector<TEvent> TranslatePadEvent(const SDL_Event& event, TPadTranslationState& state);

// True for the SDL events the gamepads raise.
bool IsPadEvent(const SDL_Event& event);

// Starts SDL's game-controller layer; without it (no joystick support) there are simply no pads.
void StartGamepads();
// Opens a plugged-in pad, closes a removed one, and emits the events an event of a pad stands for.
void DispatchPadEvent(const SDL_Event& event);
