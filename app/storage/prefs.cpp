#include "app/storage/prefs.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/storage/datafile.h"
#include "game/settings.h"
#include "system/filelock.h"
#include "system/quarantine.h"
#include "system/stream.h"

namespace {

// Music volume × 4, sound volume × 4, visibility: the file's bytes.
using PrefsBytes = std::array<uint8_t, 3>;
constexpr PrefsBytes DefaultPrefs = {1, 1, 0};

// The bytes this copy last read or wrote; a setting differing from them was changed here.
std::optional<PrefsBytes> known;

void Apply(const PrefsBytes& bytes)
{
    settings.musicvolume = std::min(bytes[0] / 4.0f, 1.0f);
    settings.soundvolume = std::min(bytes[1] / 4.0f, 1.0f);
    settings.visibility = bytes[2];
    known = bytes;
}

PrefsBytes Current()
{
    return {static_cast<uint8_t>(settings.musicvolume * 4), static_cast<uint8_t>(settings.soundvolume * 4),
            static_cast<uint8_t>(settings.visibility)};
}

PrefsBytes AsPrefs(const std::vector<uint8_t>& bytes) { return {bytes[0], bytes[1], bytes[2]}; }

bool WritePrefs(const PrefsBytes& bytes) { return SaveDataFile(PreferencesFile(), {bytes.begin(), bytes.end()}); }

} // namespace

void LoadPrefs()
{
    const TFileLock lock(DataLockFile());
    const DataFileRead file = ReadDataFile(PreferencesFile(), DefaultPrefs.size());
    switch (file.state) {
    case DataFileState::Valid:
        Apply(AsPrefs(file.bytes));
        return;
    case DataFileState::Unreadable:
        ReportUnreadable(PreferencesFile(), file.reason);
        Apply(DefaultPrefs);
        return;
    case DataFileState::Damaged:
        MoveAside(PreferencesFile());
        break;
    case DataFileState::Missing:
        break;
    }
    std::printf("Yo. %d\n", PathKind(PreferencesFile()));
    std::fflush(stdout);
    WritePrefs(DefaultPrefs);
    // Where the file can be neither read nor made, the game runs on the defaults it would hold.
    Apply(DefaultPrefs);
}

bool SavePrefs()
{
    const TFileLock lock(DataLockFile());
    const PrefsBytes mine = Current();
    PrefsBytes merged = mine;
    const DataFileRead file = ReadDataFile(PreferencesFile(), DefaultPrefs.size());
    if (file.state == DataFileState::Unreadable) {
        ReportSaveFailure(PreferencesFile(), "the file there could not be read");
        return false;
    }
    // Settings another copy of the game saved meanwhile stay unless this copy changed them too.
    if (file.state == DataFileState::Valid && known) {
        const PrefsBytes theirs = AsPrefs(file.bytes);
        for (size_t i = 0; i < merged.size(); ++i)
            if (mine[i] == (*known)[i])
                merged[i] = theirs[i];
    }
    if (file.state == DataFileState::Damaged)
        MoveAside(PreferencesFile());
    if (!WritePrefs(merged))
        return false;
    Apply(merged);
    return true;
}
