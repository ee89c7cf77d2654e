#include "app/screens/pause.h"

#include <string>

#include "app/screens/frame.h"
#include "app/screens/hint.h"
#include "app/screens/keys_page.h"
#include "app/screens/layout.h"
#include "app/screens/menu_input.h"
#include "app/screens/play_frames.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

// A second Escape ends the program: the line says so before it happens.
const std::string PauseHint = "Enter or click: resume - Escape: quit - F1: keys";

} // namespace

void PauseScreen()
{
    ResetMouseState();
    for (;;) {
        PauseFrame();
        // Resuming is the pause screen's one item, focused for a keyboard or pad player.
        DrawHint(PauseHint, PauseHintY, MenuKeysLead());
        EndFrame();
        const TMenuKeys keys = TMenuKeys::Take();
        if (TakeMouseHits(MouseLeft) || keys.activate || TakePadHits(PadStart)) {
            ResetMouseState();
            // Presses made while paused were meant for no one: play resumes as it was left.
            DropPendingInput();
            return;
        }
        EndIfAsked();
        // The page draws the pause frames under itself, so the play stays paused and a replay
        // shows those frames as the pause they were.
        if (KeysPageAsked())
            KeysPage(PauseFrame);
    }
}
