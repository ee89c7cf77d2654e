#include "system/pad_names.h"

#include <strings.h>

#include <array>

#include "system/keycodes.h"

namespace {

// In button order from PadA.
constexpr std::array<const char*, PadButtonCount - 1> Names = {
    "A",          "B",          "X",          "Y",          "Back",          "Guide",         "Start",
    "L Stick Press", "R Stick Press", "L Shoulder", "R Shoulder", "D-pad Up", "D-pad Down", "D-pad Left",
    "D-pad Right", "Stick Up",  "Stick Down", "Stick Left", "Stick Right"};

} // namespace

int32_t PadButtonForName(const std::string& name)
{
    for (size_t i = 0; i < Names.size(); ++i)
        if (strcasecmp(name.c_str(), Names[i]) == 0)
            return PadA + static_cast<int32_t>(i);
    return 0;
}

std::string PadButtonName(int32_t button)
{
    return button >= PadA && button < PadButtonCount ? Names[static_cast<size_t>(button - PadA)] : "";
}
