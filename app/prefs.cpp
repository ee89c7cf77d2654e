#include "app/prefs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/paths.h"
#include "game/settings.h"
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
    musicvolume = std::min(music / 4.0f, 1.0f);
    soundvolume = std::min(sound / 4.0f, 1.0f);
    visibility = visible;
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
    bool loaded = kind == 1 && ReadPrefsFile();
    if (kind == 1 && !loaded) {
        MoveAside(PreferencesFile);
        kind = PathKind(PreferencesFile);
    }
    if (kind != 1) {
        std::printf("Yo. %d\n", kind);
        std::fflush(stdout);
        WritePrefs(1, 1, 0);
        loaded = ReadPrefsFile();
    }
    if (!loaded) {
        // The file can be neither read nor made: run on the defaults it would have held.
        musicvolume = 0.25f;
        soundvolume = 0.25f;
        visibility = 0;
    }
}

bool SavePrefs()
{
    return WritePrefs(static_cast<int>(musicvolume * 4), static_cast<int>(soundvolume * 4), visibility);
}

std::string LevelBar(float volume)
{
    const int n = static_cast<int>(volume * 4);
    std::string bar = "-----";
    if (n >= 0 && n < 5)
        bar[n] = '_';
    return bar;
}

float VolumeAtColumn(int x) { return static_cast<int>(std::floor((x - 320) / 11.0)) * 0.25f; }
