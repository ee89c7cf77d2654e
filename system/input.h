#pragma once
#include <cstdint>

// Polled keyboard, gamepad and mouse state, kept by a hook on the event chain while polling is on.
// Every query first pumps pending platform events. Key codes outside 0..255 and buttons
// outside 0..3 read as 0 and are ignored in events.

// Starts keeping state for events from source (none: from every source), from a clean state.
void StartInputPolling(void* source);
void StopInputPolling();

// Presses of the key since the last call (a held key counts once however long it repeats).
int32_t TakeKeyHits(int32_t key);
int32_t IsKeyDown(int32_t key);
// Releases of the key since the last call.
int32_t TakeKeyReleases(int32_t key);
// Gamepad buttons (PadA...), of all pads together, as the keys: presses since the last call, held.
int32_t TakePadHits(int32_t button);
int32_t IsPadDown(int32_t button);
// The next typed character, or 0 when none is queued; the queue holds 256 and drops the rest.
int32_t TakeTypedChar();
// Forgets held and pressed keys and gamepad buttons and the typed characters: a key or button
// held across the reset reads as up until pressed again.
void ResetKeyState();
// Forgets key presses, typed characters and button presses not yet taken; keys and buttons held
// stay held. For input that was meant for a screen that has gone.
void DropPendingInput();
// The lowest key code with presses not yet taken (taking them), or 0 when there are none.
int32_t TakeAnyKeyHit();

// 1 once after the user asked the program to end (window close box, Alt+F4).
int32_t TakeTerminateRequest();
int32_t IsAppSuspended();

// The position the program works in: the window position, or what the installed mapping makes
// of it (the graphics layer maps onto its scaled drawing). Movements are measured the same way.
int32_t CursorX();
int32_t CursorY();
using TCursorMapping = void (*)(int32_t& x, int32_t& y);
// None keeps window positions.
void SetCursorMapping(TCursorMapping mapping);
int32_t WheelPos();
// Movement since the previous call for the same axis.
int32_t CursorXDelta();
int32_t CursorYDelta();
int32_t WheelDelta();
// Buttons: 1 left, 2 right, 3 middle.
int32_t TakeMouseHits(int32_t button);
int32_t IsMouseDown(int32_t button);
// Clears buttons and the wheel position; the cursor position stays.
void ResetMouseState();

// A count of the user's input events so far (key, button and gamepad presses, cursor moves, wheel turns),
// which only grows; a change between two calls means somebody touched something.
uint32_t InputActivity();

// Block until a key is pressed, a character typed or a button pressed; each returns what came.
int32_t WaitForKey();
int32_t WaitForChar();
int32_t WaitForMouse();
