#include "app/screens/display_screen.h"

#include <vector>

#include "app/screens/settings_page.h"
#include "app/shell/display.h"
#include "draw2d/window.h"

namespace {

constexpr int32_t ValueWidth = 120;

std::string OnOff(bool on) { return on ? "On" : "Off"; }

std::string ScaleText() { return std::to_string(WindowScale()) + "x"; }

// One scale up (step +1, also a click) or down, round from the largest that fits to 1.
void StepScale(int32_t step)
{
    const int32_t largest = LargestWindowScale();
    const int32_t next = WindowScale() + (step < 0 ? -1 : 1);
    SetWindowScale(next < 1 ? largest : next > largest ? 1 : next);
}

} // namespace

std::string DisplayPageValue() { return IsDesktopFullscreen() ? "Fullscreen" : "Window " + ScaleText(); }

void DisplayScreen()
{
    std::vector<TPageRow> rows;
    rows.push_back({"Window scale:       ", ScaleText, StepScale});
    rows.push_back({"Whole scales:       ", [] { return OnOff(WholeScaleOnly()); },
                    [](int32_t) { SetIntegerScale(!WholeScaleOnly()); }});
    // The display keys' hook saves a fullscreen switch at the next frame, as for F11.
    rows.push_back({"Fullscreen:       ", [] { return OnOff(IsDesktopFullscreen()); },
                    [](int32_t) { SetDesktopFullscreen(!IsDesktopFullscreen()); }});
    TSettingsPage page(std::move(rows), {.top = PlayOptionsTop, .pitch = PlayOptionsPitch, .valueWidth = ValueWidth});
    page.Run([] { return true; });
}
