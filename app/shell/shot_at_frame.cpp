#include "app/shell/shot_at_frame.h"

#include <cstdlib>

#include "app/shell/screenshot.h"
#include "draw2d/graphics.h"
#include "system/hook.h"

namespace {

long g_shotFrame = 0;
long g_frames = 0;

// Runs before the frame is shown, so the picture is the finished frame.
void* ShotAtFrameHook(int32_t, void* data, void*)
{
    if (++g_frames < g_shotFrame)
        return data;
    std::exit(TakeScreenshot().empty() ? EXIT_FAILURE : EXIT_SUCCESS);
}

} // namespace

void InstallShotAtFrame()
{
    const char* value = std::getenv("BRIM_SHOT_FRAME");
    if (!value)
        return;
    g_shotFrame = std::strtol(value, nullptr, 10);
    if (g_shotFrame > 0)
        InsertHook(FlipHookId(), ShotAtFrameHook, nullptr, 0);
}
