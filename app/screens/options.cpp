#include "app/screens/options.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "app/screens/backdrop.h"
#include "app/screens/frame.h"
#include "app/screens/menu_input.h"
#include "app/screens/layout.h"
#include "app/screens/menu_items.h"
#include "app/screens/notice.h"
#include "app/screens/controls_screen.h"
#include "app/screens/display_screen.h"
#include "app/screens/play_options_screen.h"
#include "app/settings/play_settings.h"
#include "app/settings/registry.h"
#include "app/settings/settings_file.h"
#include "app/shell/sound.h"
#include "app/shell/text.h"
#include "app/storage/prefs.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "game/settings.h"
#include "system/input.h"
#include "system/keycodes.h"

std::string LevelBar(float volume)
{
    const int n = static_cast<int>(volume * 4);
    std::string bar = "-----";
    if (n >= 0 && n < 5)
        bar[n] = '_';
    return bar;
}

float VolumeAtColumn(int x)
{
    // The cursor is read again after the hover test, so keep a moved cursor inside the scale.
    return std::clamp(static_cast<int>(std::floor((x - 320) / 11.0)), 0, 4) * 0.25f;
}

void ChooseSoundVolume(int x)
{
    settings.soundvolume = VolumeAtColumn(x);
    sound::Play(gamesounds.blipsound);
}

namespace {

// The words of the Flashes row.
const char* FlashesName(bool reduced) { return reduced ? "Reduced" : "Full"; }

const char* const MusicLabel = "Music Volume:          ";
const char* const SoundLabel = "Sound Volume:          ";
const char* const VisibilityLabel = "Visibility:          ";
const char* const FlashesLabel = "Flashes:       ";

// The rows under Flashes open the settings pages.
struct TPageLink {
    const char* label;
    std::string (*value)();
    int32_t y;
    void (*open)();
};
// The keys reach them in this order, Play last, so Up from the top lands on Play as it always did.
// The Play row shows the handling.
const TPageLink PageLinks[] = {
    {"Controls:       ", [] { return std::string("Keys, pad"); }, ControlsRowY, ControlsScreen},
    {"Display:       ", [] { return DisplayPageValue(); }, DisplayRowY, DisplayScreen},
    {"Play:       ", []() -> std::string { return HandlingName(HandlingOf(CurrentSettings())); }, PlayRowY, PlayOptionsScreen},
};

// The value columns' hit boxes; the Flashes row's is wide enough for "Reduced".
constexpr int32_t ValueWidth = 55;
constexpr int32_t FlashesValueWidth = 84;
constexpr int32_t FlashesRowY = 260;

// The options screen's items for the key highlight, top to bottom.
// The page rows come after Return, so the keys reach Return as they always did.
enum : int32_t { OptionMusic, OptionSound, OptionVisibility, OptionFlashes, OptionReturn, OptionPages };
constexpr int32_t OptionCount = OptionPages + static_cast<int32_t>(std::size(PageLinks));

// One level up or down the five-step scale, for Left and Right.
float SteppedVolume(float volume, int32_t step)
{
    return std::clamp(static_cast<int>(std::lround(volume * 4)) + step, 0, 4) * 0.25f;
}

} // namespace

void OptionsScreen()
{
    TMenuFocus focus(OptionCount);
    const auto row = [&focus](const char* label, const std::string& value, int32_t y, int32_t item,
                              int32_t width = ValueWidth) { return SettingRow(focus, label, value, y, item, width); };
    const auto visibilityText = [] { return settings.visibility != 0 ? "High" : "Low"; };
    // The screen as it stands, under the notice of a failed save.
    const auto still = [&] {
        DrawBackdrop();
        row(MusicLabel, LevelBar(settings.musicvolume), 200, OptionMusic);
        row(SoundLabel, LevelBar(settings.soundvolume), 220, OptionSound);
        row(VisibilityLabel, visibilityText(), 240, OptionVisibility);
        row(FlashesLabel, FlashesName(CurrentSettings().On(SettingReducedFlashes)), FlashesRowY, OptionFlashes, FlashesValueWidth);
        for (int32_t i = 0; i < static_cast<int32_t>(std::size(PageLinks)); ++i)
            row(PageLinks[i].label, PageLinks[i].value(), PageLinks[i].y, OptionPages + i, FlashesValueWidth);
        ReturnClicked(0, focus, OptionReturn);
    };
    // Flashes live in a file of their own, written only when changed here.
    const bool flashesBefore = CurrentSettings().On(SettingReducedFlashes);
    const auto save = [&] {
        bool saved = SavePrefs();
        if (CurrentSettings().On(SettingReducedFlashes) != flashesBefore)
            saved = SaveSettings(TSettingFile::Game, {SettingReducedFlashes}) && saved;
        if (!saved)
            ShowNotice("Could not save options", still);
    };
    for (;;) {
        const int32_t click = StartMenuFrame(focus);

        if (row(MusicLabel, LevelBar(settings.musicvolume), 200, OptionMusic) && click) {
            sound::Play(gamesounds.blipsound);
            settings.musicvolume = VolumeAtColumn(CursorX());
        }
        if (const int32_t step = focus.Step(OptionMusic)) {
            sound::Play(gamesounds.blipsound);
            settings.musicvolume = SteppedVolume(settings.musicvolume, step);
        }
        if (row(SoundLabel, LevelBar(settings.soundvolume), 220, OptionSound) && click)
            ChooseSoundVolume(CursorX());
        if (const int32_t step = focus.Step(OptionSound)) {
            sound::Play(gamesounds.blipsound);
            settings.soundvolume = SteppedVolume(settings.soundvolume, step);
        }
        const int32_t visibilityHover = row(VisibilityLabel, visibilityText(), 240, OptionVisibility);
        if (focus.Chosen(OptionVisibility, click != 0, visibilityHover)) {
            sound::Play(gamesounds.blipsound);
            settings.visibility = settings.visibility != 0 ? 0 : 1;
        }
        const int32_t flashesHover = row(FlashesLabel, FlashesName(CurrentSettings().On(SettingReducedFlashes)), FlashesRowY,
                                         OptionFlashes, FlashesValueWidth);
        if (focus.Chosen(OptionFlashes, click != 0, flashesHover)) {
            sound::Play(gamesounds.blipsound);
            CurrentSettings().SetNumber(SettingReducedFlashes, CurrentSettings().On(SettingReducedFlashes) ? 0 : 1);
        }
        const TPageLink* opened = nullptr;
        for (int32_t i = 0; i < static_cast<int32_t>(std::size(PageLinks)); ++i) {
            const TPageLink& link = PageLinks[i];
            const int32_t hover = row(link.label, link.value(), link.y, OptionPages + i, FlashesValueWidth);
            if (focus.Chosen(OptionPages + i, click != 0, hover))
                opened = &link;
        }
        if (opened) {
            sound::Play(gamesounds.blipsound);
            FinishFrame();
            opened->open();
            continue;
        }
        // Closing the window leaves the settings unsaved, as on every other screen.
        if (MenuFrameLeaves(click, focus, OptionReturn)) {
            save();
            break;
        }
    }
}
