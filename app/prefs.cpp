#include "app/prefs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/paths.h"
#include "app/screens.h"
#include "app/sound.h"
#include "app/text.h"
#include "draw2d/draw2d.h"
#include "game/settings.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/stream.h"

namespace {

// False when the file cannot be opened or holds fewer than 3 bytes; the settings are then untouched.
bool ReadPrefsFile()
{
    auto stream = OpenReadStream(PreferencesFile);
    if (!stream)
        return false;
    int music, sound, visible;
    try {
        music = stream->ReadByte();
        sound = stream->ReadByte();
        visible = stream->ReadByte();
    } catch (const TStreamException&) {
        return false;
    }
    settings.musicvolume = std::min(music / 4.0f, 1.0f);
    settings.soundvolume = std::min(sound / 4.0f, 1.0f);
    settings.visibility = visible;
    return true;
}

bool WritePrefs(int music, int sound, int visible)
{
    return ReplaceFile(PreferencesFile, {static_cast<uint8_t>(music), static_cast<uint8_t>(sound),
                                         static_cast<uint8_t>(visible)});
}

} // namespace

void LoadPrefs()
{
    int kind = PathKind(PreferencesFile);
    bool loaded = kind == PathFile && ReadPrefsFile();
    if (kind == PathFile && !loaded) {
        MoveAside(PreferencesFile);
        kind = PathKind(PreferencesFile);
    }
    if (kind != PathFile) {
        std::printf("Yo. %d\n", kind);
        std::fflush(stdout);
        WritePrefs(1, 1, 0);
        loaded = ReadPrefsFile();
    }
    if (!loaded) {
        // The file can be neither read nor made: run on the defaults it would have held.
        settings.musicvolume = 0.25f;
        settings.soundvolume = 0.25f;
        settings.visibility = 0;
    }
}

bool SavePrefs()
{
    return WritePrefs(static_cast<int>(settings.musicvolume * 4), static_cast<int>(settings.soundvolume * 4), settings.visibility);
}

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

void OptionsScreen()
{
    // Label and value of a row: the label is centred on x = 250, its trailing spaces pushing
    // the words left of the value column at x = 320.
    const auto row = [](const char* label, const std::string& value, int32_t y) {
        const int32_t hover = HoverItem(320, y, 55, 17);
        DrawFontText(label, 250, y, 1, 0);
        DrawFontText(value, 320, y, 0, 0);
        return hover;
    };
    for (;;) {
        Cls();
        const int32_t click = TakeMouseHits(MouseLeft);
        DrawBackdrop();

        if (row("Music Volume:          ", LevelBar(settings.musicvolume), 200) && click) {
            sound::Play(gamesounds.blipsound);
            settings.musicvolume = VolumeAtColumn(CursorX());
        }
        // The blip still plays at the old effect volume: it starts before the change.
        if (row("Sound Volume:          ", LevelBar(settings.soundvolume), 220) && click) {
            sound::Play(gamesounds.blipsound);
            settings.soundvolume = VolumeAtColumn(CursorX());
        }
        if (row("Visibility:          ", settings.visibility != 0 ? "High" : "Low", 240) && click) {
            sound::Play(gamesounds.blipsound);
            settings.visibility = settings.visibility != 0 ? 0 : 1;
        }
        if (ReturnClicked(click)) {
            SavePrefs();
            break;
        }
        FinishFrame();
        // Closing the window leaves the settings unsaved, as on every other screen.
        if (EscapeToMenu()) {
            SavePrefs();
            break;
        }
    }
}
