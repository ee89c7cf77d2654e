#include "app/screens/frame.h"

#include <cstdlib>

#include "app/screens/backdrop.h"
#include "app/screens/menu_input.h"
#include "app/shell/display.h"
#include "app/shell/passing_notice.h"
#include "app/shell/sound.h"
#include "draw2d/draw2d.h"
#include "draw2d/window.h"
#include "game/boom.h"
#include "system/clock.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

// Long enough to cost nothing, short enough that a restored window shows its frames at once.
constexpr int32_t HiddenNapMillis = 50;

uint64_t g_framesshown = 0;
uint32_t g_timeshidden = 0;
bool g_keysasked = false;

void WaitWhileHidden()
{
    if (!IsWindowHidden())
        return;
    ++g_timeshidden;
    do {
        if (TakeTerminateRequest())
            EndProgram();
        sound::Update();
        SleepMillis(HiddenNapMillis);
    } while (IsWindowHidden());
}

} // namespace

int32_t StartMenuFrame(TMenuFocus& focus)
{
    focus.Update();
    Cls();
    const int32_t click = TakeMouseHits(MouseLeft);
    DrawBackdrop();
    return click;
}

void EndIfAsked()
{
    if (TakeTerminateRequest() || IsKeyDown(VK_ESCAPE))
        EndProgram();
}

bool EscapeToMenu()
{
    if (TakeTerminateRequest())
        EndProgram();
    if (!IsKeyDown(VK_ESCAPE))
        return false;
    ResetKeyState();
    return true;
}

void FinishFrame()
{
    DrawFlash();
    boom::update();
    EndFrame();
}

void EndFrame()
{
    DrawPassingNotices();
    g_keysasked = TakeKeyHits(VK_F1) != 0;
    ++g_framesshown;
    sound::Update();
    Flip(-1);
    WaitWhileHidden();
}

uint32_t TimesHidden() { return g_timeshidden; }

bool KeysPageAsked() { return g_keysasked; }

uint64_t FramesShown() { return g_framesshown; }

void EndProgram()
{
    KeepDisplaySettings();
    std::exit(0);
}
