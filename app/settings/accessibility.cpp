#include "app/settings/accessibility.h"

#include <strings.h>
#include <utility>
#include <vector>

#include "app/settings/config_file.h"

TAccessibility accessibility;

namespace {

constexpr const char* FlashesKey = "flashes";

} // namespace

const char* FlashesName(bool reduced) { return reduced ? "Reduced" : "Full"; }

void LoadAccessibility()
{
    accessibility.Reset();
    TConfigFile file = ReadConfigFile(GameSettingsFile());
    for (const TConfigEntry& entry : file.entries) {
        if (entry.key != FlashesKey)
            continue;
        if (strcasecmp(entry.value.c_str(), "reduced") == 0)
            accessibility.reducedflashes = true;
        else if (strcasecmp(entry.value.c_str(), "full") == 0)
            accessibility.reducedflashes = false;
        else
            file.warnings.push_back(ConfigWarning(GameSettingsFile(), entry.line,
                                                  "flashes must be \"full\" or \"reduced\", using full"));
    }
    ReportConfigWarnings(file);
}

bool SaveAccessibility()
{
    const std::string value = accessibility.reducedflashes ? "reduced" : "full";
    std::vector<std::pair<std::string, std::string>> entries;
    bool placed = false;
    for (const TConfigEntry& entry : ReadConfigFile(GameSettingsFile()).entries) {
        if (entry.key != FlashesKey) {
            entries.emplace_back(entry.key, entry.value);
        } else if (!placed) {
            entries.emplace_back(FlashesKey, value);
            placed = true;
        }
    }
    if (!placed)
        entries.emplace_back(FlashesKey, value);
    return SaveConfigFile(GameSettingsFile(), {"Brimstrand settings: key = value, one a line.",
                                               "flashes: full or reduced (a faint tint, at most three a second)"},
                          entries);
}
