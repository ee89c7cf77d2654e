#include "app/shell/display.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

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

struct TDisplayChoice {
    TCommandLine options;
    TDisplaySettings remembered; // as display.cfg holds it
};

TDisplayChoice g_display;

TWindowSize SquareAtScale(int32_t scale) { return {WindowWidth * scale, WindowHeight * scale}; }

// The largest scale --scale and the Display page may ask for.
constexpr int32_t MaximumWindowScale = 8;

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

TWindowPlan ChooseWindowPlan(const TCommandLine& options, const TDisplaySettings& remembered, TWindowSize usable)
{
    TWindowPlan plan;
    const bool known = usable.width > 0 && usable.height > 0;
    const int32_t fitting = known ? std::min(LargestWholeScale(usable.width, WindowWidth),
                                             LargestWholeScale(usable.height, WindowHeight))
                                  : options.scale;
    if (options.scale > 0)
        plan.size = SquareAtScale(std::min(options.scale, fitting));
    else if (remembered.windowed.width > 0 && remembered.windowed.height > 0 && FitsDesktop(remembered.windowed, usable))
        plan.size = remembered.windowed;
    else
        plan.size = AutomaticWindowSize(usable.height);
    plan.fullscreen = options.windowed ? false : options.fullscreen || remembered.fullscreen;
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
    const TWindowPlan plan = ChooseWindowPlan(g_display.options, g_display.remembered, usable);
    if (g_display.options.scale > 0 && plan.size != SquareAtScale(g_display.options.scale))
        std::fprintf(stderr, "brimstrand: --scale %d does not fit the desktop (%dx%d); opening at %dx%d\n",
                     g_display.options.scale, usable.width, usable.height, plan.size.width, plan.size.height);
    PlanWindow(plan);
    SetWholeScaleOnly(g_display.options.integerScale || g_display.remembered.integerScale);
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
        return MaximumWindowScale;
    return std::clamp(std::min(LargestWholeScale(usable.width, WindowWidth), LargestWholeScale(usable.height, WindowHeight)),
                      1, MaximumWindowScale);
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
