#include "app/settings/controls_file.h"

#include <algorithm>

#include "app/settings/settings_file.h"
#include "app/storage/data_folder.h"

namespace {

constexpr int32_t FramesPerSecond = 60;

} // namespace

int32_t FramesForMillis(int32_t millis)
{
    return std::max(1, (millis * FramesPerSecond + 500) / 1000);
}

TKeyBindings BindingsFrom(const TSettingValues& values)
{
    TKeyBindings bindings;
    for (int32_t action = 0; action < PlayActionCount; ++action) {
        bindings.keys[action] = values.Keys(ActionSettings[action]);
        bindings.pad[action] = values.Keys(ActionPadSettings[action]);
    }
    const int32_t delayMillis = values.Number(SettingRepeatDelay);
    const int32_t intervalMillis = values.Number(SettingRepeatInterval);
    if (delayMillis > 0 && intervalMillis > 0) {
        bindings.repeatDelay = FramesForMillis(delayMillis);
        bindings.repeatInterval = FramesForMillis(intervalMillis);
    }
    return bindings;
}

TSettingsRead LoadControls()
{
    const std::string path = SettingsFilePath(TSettingFile::Controls);
    if (path.empty()) {
        CurrentSettings().ResetFile(TSettingFile::Controls);
        return {};
    }
    const TSettingsRead read = LoadSettings(TSettingFile::Controls);
    // Where nothing can be saved start-up has said so already; the defaults file is no loss.
    if (!read.found && read.warnings.empty() && CanWriteOrCreateFolder(ConfigFolder()))
        WriteDefaultSettings(TSettingFile::Controls, path);
    return read;
}
