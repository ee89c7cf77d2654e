#include "app/screens/pause.h"

#include "app/screens/frame.h"
#include "app/screens/menu_input.h"
#include "app/screens/play_frames.h"
#include "system/input.h"
#include "system/keycodes.h"

void PauseScreen()
{
    ResetMouseState();
    for (;;) {
        PauseFrame();
        EndFrame();
        const TMenuKeys keys = TMenuKeys::Take();
        if (TakeMouseHits(MouseLeft) || keys.activate || TakePadHits(PadStart)) {
            ResetMouseState();
            // Presses made while paused were meant for no one: play resumes as it was left.
            DropPendingInput();
            return;
        }
        EndIfAsked();
    }
}
