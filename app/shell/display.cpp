#include "app/shell/display.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/settings/settings_file.h"
#include "app/shell/canvas.h"
#include "app/shell/passing_notice.h"
#include "app/shell/screenshot.h"
#include "draw2d/canvas_fit.h"
#include "draw2d/graphics.h"
#include "system/hook.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

// The first window leaves a quarter of the desktop's height free.
constexpr int32_t DesktopShareNumerator = 3;
constexpr int32_t DesktopShareDenominator = 4;

// What llvmpipe fills per thread and second, from the 2-core machine's title menu at scale 2
// (about three window-sized layers a frame at 47.8 frames a second on two threads), and what a
// frame asks of it at 60 frames a second.
constexpr double SoftwarePixelsPerThreadSecond = 75e6;
constexpr double LayersPerFrame = 3;
constexpr double FramesPerSecond = 60;
constexpr int32_t LargestScale = 8;

struct TDisplayChoice {
    TCommandLine options;
    TDisplaySettings remembered; // as display.cfg holds it
};

TDisplayChoice g_display;
TWindowPlan g_plan; // as the window was planned

TWindowSize SquareAtScale(int32_t scale) { return {WindowWidth * scale, WindowHeight * scale}; }

// The threads llvmpipe draws with: its own variable's number, else one a processor.
int32_t RenderThreads()
{
    if (const char* set = std::getenv("LP_NUM_THREADS"))
        return std::max(std::atoi(set), 1);
    return static_cast<int32_t>(std::max(std::thread::hardware_concurrency(), 1u));
}

void SaveRemembered(const TDisplaySettings& now)
{
    if (now != g_display.remembered && SaveDisplaySettings(SettingsFilePath(TSettingFile::Display), now))
        g_display.remembered = now;
}

// The window switches fullscreen by itself (F11, Alt+Enter); a switch is saved when a frame sees it.
bool g_shownFullscreen = false;

void* DisplayKeysHook(int32_t, void* data, void*)
{
    if (IsDesktopFullscreen() != g_shownFullscreen) {
        g_shownFullscreen = !g_shownFullscreen;
        KeepDisplaySettings();
    }
    if (TakeKeyHits(VK_F12))
        if (const std::string path = TakeScreenshot(); !path.empty())
            PostNotice(TNoticeKind::Screenshot, "Screenshot saved: " + std::filesystem::path(path).filename().string());
    return data;
}

} // namespace

TWindowSize AutomaticWindowSize(int32_t usableHeight)
{
    return SquareAtScale(LargestWholeScale(usableHeight * DesktopShareNumerator / DesktopShareDenominator,
                                           WindowHeight));
}

bool FitsDesktop(TWindowSize size, TWindowSize usable)
{
    const bool known = usable.width > 0 && usable.height > 0;
    return !known || (size.width <= usable.width && size.height <= usable.height);
}

int32_t LargestSmoothSoftwareScale(int32_t threads)
{
    const double canvasPixels = static_cast<double>(WindowWidth) * WindowHeight;
    const double budget = std::max(threads, 1) * SoftwarePixelsPerThreadSecond;
    int32_t scale = 1;
    while (scale < LargestScale &&
           (scale + 1.0) * (scale + 1.0) * canvasPixels * LayersPerFrame * FramesPerSecond <= budget)
        ++scale;
    return scale;
}

TWindowPlan ChooseWindowPlan(const TCommandLine& options, const TDisplaySettings& remembered, TWindowSize usable,
                             int32_t softwareScale)
{
    TWindowPlan plan;
    bool automatic = false;
    const bool known = usable.width > 0 && usable.height > 0;
    const int32_t fitting = known ? std::min(LargestWholeScale(usable.width, WindowWidth),
                                             LargestWholeScale(usable.height, WindowHeight))
                                  : options.scale;
    if (options.scale > 0)
        plan.size = SquareAtScale(std::min(options.scale, fitting));
    else if (remembered.windowed.width > 0 && remembered.windowed.height > 0 && FitsDesktop(remembered.windowed, usable))
        plan.size = remembered.windowed;
    else {
        plan.size = AutomaticWindowSize(usable.height);
        automatic = true;
    }
    plan.fullscreen = options.windowed ? false : options.fullscreen || remembered.fullscreen;
    if (automatic && !plan.fullscreen && softwareScale > 0 && SquareAtScale(softwareScale).height < plan.size.height)
        plan.softwareSize = SquareAtScale(softwareScale);
    return plan;
}

void ChooseDisplay(const TCommandLine& options)
{
    const TDisplaySettingsRead read = ReadDisplaySettings(SettingsFilePath(TSettingFile::Display));
    for (const std::string& warning : read.warnings)
        std::fprintf(stderr, "%s\n", warning.c_str());
    if (!read.warnings.empty())
        NoteBadSettingsFile(FileDeclaration(TSettingFile::Display).name);
    g_display = {options, read.settings};
}

void PrepareWindow()
{
    const TWindowSize usable = UsableDesktopSize();
    const TWindowPlan plan =
        ChooseWindowPlan(g_display.options, g_display.remembered, usable, LargestSmoothSoftwareScale(RenderThreads()));
    if (g_display.options.scale > 0 && plan.size != SquareAtScale(g_display.options.scale))
        std::fprintf(stderr, "brimstrand: --scale %d does not fit the desktop (%dx%d); opening at %dx%d\n",
                     g_display.options.scale, usable.width, usable.height, plan.size.width, plan.size.height);
    PlanWindow(plan);
    g_plan = plan;
    SetWholeScaleOnly(g_display.options.integerScale || g_display.remembered.integerScale);
}

void NoteSoftwareWindow()
{
    const TWindowSize software = g_plan.softwareSize;
    if (software.width <= 0 || !RendersInSoftware() || WindowClientSize() != software)
        return;
    std::fprintf(stderr,
                 "brimstrand: OpenGL draws in software here; the window opens at %dx%d, the largest size it draws "
                 "at 60 frames a second (--scale or a resized window chooses another)\n",
                 software.width, software.height);
}

void InstallDisplayKeys()
{
    g_shownFullscreen = IsDesktopFullscreen();
    InsertHook(FlipHookId(), DisplayKeysHook, nullptr, 0);
}

void KeepDisplaySettings()
{
    const TWindowSize windowed = WindowedSize();
    if (windowed.width <= 0 || windowed.height <= 0)
        return; // no scalable window: nothing to remember
    TDisplaySettings now = g_display.remembered;
    if (FitsDesktop(windowed, UsableDesktopSize()))
        now.windowed = windowed;
    now.fullscreen = IsDesktopFullscreen();
    SaveRemembered(now);
}

int32_t WindowScale()
{
    const TWindowSize size = WindowedSize();
    return std::max(1, std::min(size.width / WindowWidth, size.height / WindowHeight));
}

int32_t LargestWindowScale()
{
    const TWindowSize usable = UsableDesktopSize();
    if (usable.width <= 0 || usable.height <= 0)
        return LargestScale;
    return std::clamp(std::min(LargestWholeScale(usable.width, WindowWidth), LargestWholeScale(usable.height, WindowHeight)),
                      1, LargestScale);
}

void SetWindowScale(int32_t scale)
{
    SetWindowedSize(SquareAtScale(std::clamp(scale, 1, LargestWindowScale())));
    KeepDisplaySettings();
}

void SetIntegerScale(bool on)
{
    SetWholeScaleOnly(on);
    TDisplaySettings now = g_display.remembered;
    now.integerScale = on;
    SaveRemembered(now);
}
