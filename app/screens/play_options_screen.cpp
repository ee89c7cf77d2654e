#include "app/screens/play_options_screen.h"

#include <string>
#include <vector>

#include "app/screens/layout.h"
#include "app/screens/settings_page.h"
#include "app/settings/play_settings.h"
#include "app/settings/settings_file.h"

namespace {

constexpr int32_t ValueWidth = 84;

struct TOptionRow {
    const char* label;
    TSettingId setting;
};

// The rows under Handling.
const TOptionRow OptionRows[] = {
    {"Next pieces:       ", SettingNextPieces}, {"Shadow:       ", SettingLandingShadow},
    {"Hard drop:       ", SettingHardDrop},     {"Hold:       ", SettingHold},
    {"Pace:       ", SettingPace},              {"Figures:       ", SettingPlayFigures},
};

// The value as the page shows it: the file's word with a capital, or the number.
std::string Shown(TSettingId id)
{
    std::string text = CurrentSettings().Text(id);
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// The next (step +1) or previous value, round the setting's range.
void StepSetting(TSettingId id, int32_t step)
{
    const TSettingDeclaration& declaration = Declaration(id);
    const int32_t count = declaration.kind == TSettingKind::Number
                              ? declaration.maximum - declaration.minimum + 1
                              : static_cast<int32_t>(SettingWords(id).size());
    const int32_t base = declaration.kind == TSettingKind::Number ? declaration.minimum : 0;
    const int32_t at = CurrentSettings().Number(id) - base;
    CurrentSettings().SetNumber(id, base + ((at + step) % count + count) % count);
}

// Classic and Modern in turn; Custom steps to Classic.
void StepHandling()
{
    const bool classic = HandlingOf(CurrentSettings()) == THandling::Classic;
    SetHandling(CurrentSettings(), classic ? THandling::Modern : THandling::Classic);
}

} // namespace

void PlayOptionsScreen()
{
    const TSettingValues before = CurrentSettings();
    std::vector<TPageRow> rows;
    rows.push_back({"Handling:       ", [] { return HandlingName(HandlingOf(CurrentSettings())); },
                    [](int32_t) { StepHandling(); }});
    for (const TOptionRow& row : OptionRows)
        rows.push_back({row.label, [id = row.setting] { return Shown(id); },
                        [id = row.setting](int32_t step) { StepSetting(id, step < 0 ? -1 : 1); }});
    TSettingsPage page(std::move(rows), {.top = PlayOptionsTop, .pitch = PlayOptionsPitch, .valueWidth = ValueWidth});
    page.Run([&] {
        std::vector<TSettingId> changed;
        for (const TSettingId id : PlayOptionSettings())
            if (!(CurrentSettings().Value(id) == before.Value(id)))
                changed.push_back(id);
        return changed.empty() || SaveSettings(TSettingFile::Game, changed);
    });
}
