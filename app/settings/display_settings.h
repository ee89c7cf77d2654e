#pragma once
#include <string>

#include "draw2d/window.h"

// The display choices the game remembers between runs, in "display.cfg" in the data folder.
struct TDisplaySettings {
    TWindowSize windowed;      // the last window size; zero until there is one
    bool fullscreen = false;   // desktop fullscreen
    bool integerScale = false; // whole-number scales only
    bool operator==(const TDisplaySettings&) const = default;
};

// A remembered window side outside these is no size a player chose.
constexpr int32_t MinWindowSide = 128;
constexpr int32_t MaxWindowSide = 16384;

std::string DisplaySettingsFile();

struct TDisplaySettingsRead {
    TDisplaySettings settings;
    std::string warning; // one line; empty when the file was fine or missing
};

// A file with any line the game cannot use is damaged: it gives the defaults and one warning
// naming the first such line, so a half-understood file never mixes with the defaults.
TDisplaySettingsRead ReadDisplaySettings(const std::string& path);

bool SaveDisplaySettings(const std::string& path, const TDisplaySettings& settings);
