#include "app/shell/display.h"

#include <cstdio>

#include "app/settings/settings_file.h"
#include "app/shell/canvas.h"
#include "app/shell/screenshot.h"
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

// The window switches fullscreen by itself (F11, Alt+Enter); a switch is saved when a frame sees it.
bool g_shownFullscreen = false;

void* DisplayKeysHook(int32_t, void* data, void*)
{
    if (IsDesktopFullscreen() != g_shownFullscreen) {
        g_shownFullscreen = !g_shownFullscreen;
        KeepDisplaySettings();
    }
    if (TakeKeyHits(VK_F12))
        TakeScreenshot();
    return data;
}

} // namespace

TWindowSize AutomaticWindowSize(int32_t usableHeight)
{
    return SquareAtScale(LargestWholeScale(usableHeight * DesktopShareNumerator / DesktopShareDenominator,
                                           WindowHeight));
}

TWindowPlan ChooseWindowPlan(const TCommandLine& options, const TDisplaySettings& remembered, int32_t usableHeight)
{
    TWindowPlan plan;
    if (options.scale > 0)
        plan.size = SquareAtScale(options.scale);
    else if (remembered.windowed.width > 0 && remembered.windowed.height > 0)
        plan.size = remembered.windowed;
    else
        plan.size = AutomaticWindowSize(usableHeight);
    plan.fullscreen = options.windowed ? false : options.fullscreen || remembered.fullscreen;
    return plan;
}

void ChooseDisplay(const TCommandLine& options)
{
    const TDisplaySettingsRead read = ReadDisplaySettings(SettingsFilePath(TSettingFile::Display));
    for (const std::string& warning : read.warnings)
        std::fprintf(stderr, "%s\n", warning.c_str());
    g_display = {options, read.settings};
}

void PrepareWindow()
{
    PlanWindow(ChooseWindowPlan(g_display.options, g_display.remembered, UsableDesktopSize().height));
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
    now.windowed = windowed;
    now.fullscreen = IsDesktopFullscreen();
    if (now == g_display.remembered)
        return;
    if (SaveDisplaySettings(SettingsFilePath(TSettingFile::Display), now))
        g_display.remembered = now;
}
