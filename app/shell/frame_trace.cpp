#include "app/shell/frame_trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <time.h>

#include "draw2d/graphics.h"
#include "system/hook.h"

namespace {

constexpr long BenchFramesPerLine = 60;

long g_frames = 0;
long g_framesPerLine = BenchFramesPerLine;

void* FrameTraceHook(int32_t, void* data, void*)
{
    if (++g_frames % g_framesPerLine != 0)
        return data;
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "frames: %ld cpu %.3f\n", g_frames,
                 static_cast<double>(cpu.tv_sec) * 1000 + static_cast<double>(cpu.tv_nsec) / 1e6);
    std::fflush(stderr);
    return data;
}

} // namespace

void InstallFrameTrace()
{
    const char* value = std::getenv("BRIM_TRACE_FRAMES");
    if (!value)
        return;
    if (std::strcmp(value, "every") == 0)
        g_framesPerLine = 1;
    else if (std::strcmp(value, "1") != 0)
        return;
    InsertHook(ShownHookId(), FrameTraceHook, nullptr, 0);
}
