#include "app/display_settings.h"

#include <charconv>
#include <optional>

#include "app/config_file.h"
#include "app/data_folder.h"
#include "system/stream.h"

namespace {

constexpr char KeyWidth[] = "window_width";
constexpr char KeyHeight[] = "window_height";
constexpr char KeyFullscreen[] = "fullscreen";
constexpr char KeyIntegerScale[] = "integer_scale";

std::optional<int32_t> Side(const std::string& text)
{
    int32_t side = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
    if (error != std::errc() || end != text.data() + text.size() || side < MinWindowSide || side > MaxWindowSide)
        return std::nullopt;
    return side;
}

std::optional<bool> YesNo(const std::string& text)
{
    if (text == "yes" || text == "Yes")
        return true;
    if (text == "no" || text == "No")
        return false;
    return std::nullopt;
}

const char* YesNoText(bool on) { return on ? "yes" : "no"; }

// Stores one entry; false when the key is unknown or its value unusable.
bool Apply(const TConfigEntry& entry, TDisplaySettings& settings)
{
    if (entry.key == KeyWidth || entry.key == KeyHeight) {
        const std::optional<int32_t> side = Side(entry.value);
        if (side)
            (entry.key == KeyWidth ? settings.windowed.width : settings.windowed.height) = *side;
        return side.has_value();
    }
    if (entry.key == KeyFullscreen || entry.key == KeyIntegerScale) {
        const std::optional<bool> on = YesNo(entry.value);
        if (on)
            (entry.key == KeyFullscreen ? settings.fullscreen : settings.integerScale) = *on;
        return on.has_value();
    }
    return false;
}

} // namespace

std::string DisplaySettingsFile() { return ConfigFilePath("display.cfg"); }

TDisplaySettingsRead ReadDisplaySettings(const std::string& path)
{
    const TConfigFile file = ReadConfigFile(path);
    TDisplaySettingsRead read;
    std::string problem = file.warnings.empty() ? std::string() : file.warnings.front();
    for (const TConfigEntry& entry : file.entries) {
        if (problem.empty() && !Apply(entry, read.settings))
            problem = ConfigWarning(path, entry.line, "cannot use \"" + entry.key + " = " + entry.value + "\"");
    }
    // A width without a height (or the reverse) is half a size.
    if (problem.empty() && (read.settings.windowed.width == 0) != (read.settings.windowed.height == 0))
        problem = NativePath(path) + ": window_width and window_height come together";
    if (!problem.empty()) {
        read.settings = {};
        read.warning = problem + "; using the default display settings";
    }
    return read;
}

bool SaveDisplaySettings(const std::string& path, const TDisplaySettings& settings)
{
    std::vector<std::pair<std::string, std::string>> entries;
    if (settings.windowed.width > 0 && settings.windowed.height > 0) {
        entries.emplace_back(KeyWidth, std::to_string(settings.windowed.width));
        entries.emplace_back(KeyHeight, std::to_string(settings.windowed.height));
    }
    entries.emplace_back(KeyFullscreen, YesNoText(settings.fullscreen));
    entries.emplace_back(KeyIntegerScale, YesNoText(settings.integerScale));
    return SaveConfigFile(path,
                          {"Brimstrand display settings, kept by the game.",
                           "window_width, window_height: the last window size in pixels (" +
                               std::to_string(MinWindowSide) + " to " + std::to_string(MaxWindowSide) + ")",
                           "fullscreen: yes or no (F11 or Alt+Enter switches)",
                           "integer_scale: yes shows the game at whole-number scales only"},
                          entries);
}
