#include "app/settings/display_settings.h"

#include "app/settings/settings_file.h"
#include "system/stream.h"

TDisplaySettingsRead ReadDisplaySettings(const std::string& path)
{
    TSettingsRead file = ReadSettings(TSettingFile::Display, path);
    TDisplaySettingsRead read;
    read.warnings = std::move(file.warnings);
    read.settings.windowed = {file.values.Number(SettingWindowWidth), file.values.Number(SettingWindowHeight)};
    read.settings.fullscreen = file.values.On(SettingFullscreen);
    read.settings.integerScale = file.values.On(SettingIntegerScale);
    if ((read.settings.windowed.width == 0) != (read.settings.windowed.height == 0)) {
        read.settings.windowed = {};
        read.warnings.push_back(NativePath(path) + ": window_width and window_height come together; using no window size");
    }
    return read;
}

bool SaveDisplaySettings(const std::string& path, const TDisplaySettings& settings)
{
    TSettingValues values;
    values.SetNumber(SettingWindowWidth, settings.windowed.width);
    values.SetNumber(SettingWindowHeight, settings.windowed.height);
    values.SetNumber(SettingFullscreen, settings.fullscreen ? 1 : 0);
    values.SetNumber(SettingIntegerScale, settings.integerScale ? 1 : 0);
    std::vector<TSettingId> ids = {SettingFullscreen, SettingIntegerScale};
    if (settings.windowed.width > 0 && settings.windowed.height > 0)
        ids.insert(ids.begin(), {SettingWindowWidth, SettingWindowHeight});
    return SaveSettings(TSettingFile::Display, path, values, ids);
}
