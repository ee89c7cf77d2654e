#include "app/shell/key.h"

#include "app/settings/controls_file.h"
#include "app/settings/registry.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

int32_t g_fasthits = 0;
// Frames each move (left, right) has been held, counting the frame of its press as the first.
int32_t g_heldframes[2] = {};

// Presses of the action's keys and pad buttons.
int32_t Hits(TPlayAction action)
{
    int32_t hits = 0;
    for (const int32_t code : CurrentSettings().Keys(ActionSettings[action]))
        hits += TakeKeyHits(code);
    for (const int32_t button : CurrentSettings().Keys(ActionPadSettings[action]))
        hits += TakePadHits(button);
    return hits;
}

bool Held(TPlayAction action)
{
    for (const int32_t code : CurrentSettings().Keys(ActionSettings[action]))
        if (IsKeyDown(code))
            return true;
    for (const int32_t button : CurrentSettings().Keys(ActionPadSettings[action]))
        if (IsPadDown(button))
            return true;
    return false;
}

// Presses of a move, plus its automatic repeat while held.
int32_t MoveHits(TPlayAction action, int32_t& heldframes)
{
    const int32_t hits = Hits(action);
    heldframes = Held(action) ? heldframes + 1 : 0;
    const int32_t sincePress = heldframes - 1;
    const int32_t delayMillis = CurrentSettings().Number(SettingRepeatDelay);
    const int32_t intervalMillis = CurrentSettings().Number(SettingRepeatInterval);
    if (delayMillis == 0 || intervalMillis == 0)
        return hits;
    const int32_t delay = FramesForMillis(delayMillis);
    if (sincePress < delay)
        return hits;
    const bool repeat = (sincePress - delay) % FramesForMillis(intervalMillis) == 0;
    return hits + (repeat ? 1 : 0);
}

} // namespace

TControls key::Update()
{
    TControls controls;
    controls.keyrotleft = Hits(ActionTurnLeft) != 0 ? 1 : 0;
    controls.keyrotright = Hits(ActionTurnRight) != 0 ? 1 : 0;
    controls.keyleft = MoveHits(ActionMoveLeft, g_heldframes[0]);
    controls.keyright = MoveHits(ActionMoveRight, g_heldframes[1]);
    g_fasthits = Hits(ActionDropFast);
    controls.keyfast = Held(ActionDropFast) ? 1 : 0;
    // Taken in every frame, so presses never pile up; the rules use them only when the options are on.
    controls.keyharddrop = Hits(ActionHardDrop) != 0 ? 1 : 0;
    controls.keyhold = Hits(ActionHold) != 0 ? 1 : 0;
    return controls;
}

int32_t key::FastHits()
{
    return g_fasthits;
}

void key::Reset()
{
    g_heldframes[0] = g_heldframes[1] = 0;
}

bool key::PauseRequested()
{
    return IsKeyDown(VK_ESCAPE) || TakePadHits(PadStart) || IsAppSuspended();
}
