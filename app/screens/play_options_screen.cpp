#include "app/screens/play_options_screen.h"

#include <string>
#include <vector>

#include "app/screens/backdrop.h"
#include "app/screens/frame.h"
#include "app/screens/layout.h"
#include "app/screens/menu_input.h"
#include "app/screens/menu_items.h"
#include "app/screens/notice.h"
#include "app/settings/play_settings.h"
#include "app/settings/settings_file.h"
#include "app/shell/sound.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

// The page's items for the key highlight, top to bottom.
enum : int32_t {
    RowHandling,
    RowNextPieces,
    RowShadow,
    RowHardDrop,
    RowHold,
    RowPace,
    RowFigures,
    RowReturn,
    RowCount
};

constexpr int32_t ValueWidth = 84;

struct TOptionRow {
    const char* label;
    TSettingId setting; // unused by the Handling row
};

// Rows after Handling, in order from RowNextPieces.
const TOptionRow OptionRows[] = {
    {"Next pieces:       ", SettingNextPieces}, {"Shadow:       ", SettingLandingShadow},
    {"Hard drop:       ", SettingHardDrop},     {"Hold:       ", SettingHold},
    {"Pace:       ", SettingPace},              {"Figures:       ", SettingPlayFigures},
};

int32_t RowY(int32_t row) { return PlayOptionsTop + PlayOptionsPitch * row; }

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
    TMenuFocus focus(RowCount);
    const TSettingValues before = CurrentSettings();
    // Draws the rows; with act, also takes this frame's clicks and keys on them.
    const auto rows = [&](int32_t click, bool act) {
        bool changed = false;
        const int32_t handlingHover = SettingRow(focus, "Handling:       ", HandlingName(HandlingOf(CurrentSettings())),
                                                 RowY(RowHandling), RowHandling, ValueWidth);
        if (act && (focus.Chosen(RowHandling, click != 0, handlingHover) || focus.Step(RowHandling))) {
            StepHandling();
            changed = true;
        }
        for (int32_t i = 0; i < static_cast<int32_t>(std::size(OptionRows)); ++i) {
            const int32_t item = RowNextPieces + i;
            const TOptionRow& row = OptionRows[i];
            const int32_t hover = SettingRow(focus, row.label, Shown(row.setting), RowY(item), item, ValueWidth);
            const int32_t step = focus.Step(item);
            if (act && (focus.Chosen(item, click != 0, hover) || step != 0)) {
                StepSetting(row.setting, step < 0 ? -1 : 1);
                changed = true;
            }
        }
        if (changed)
            sound::Play(gamesounds.blipsound);
    };
    const auto still = [&] {
        DrawBackdrop();
        rows(0, false);
        ReturnClicked(0, focus, RowReturn);
    };
    const auto save = [&] {
        std::vector<TSettingId> changed;
        for (const TSettingId id : PlayOptionSettings())
            if (!(CurrentSettings().Value(id) == before.Value(id)))
                changed.push_back(id);
        if (!changed.empty() && !SaveSettings(TSettingFile::Game, changed))
            ShowNotice("Could not save options", still);
    };
    for (;;) {
        focus.Update();
        Cls();
        const int32_t click = TakeMouseHits(MouseLeft);
        DrawBackdrop();
        rows(click, true);
        if (ReturnClicked(click, focus, RowReturn)) {
            save();
            break;
        }
        FinishFrame();
        if (EscapeToMenu() || focus.Back()) {
            save();
            break;
        }
    }
}
