#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The game's data files (preferences and high scores) as more than one copy of the game may
// share them: reads that tell a damaged file from one that cannot be read, one lock for the
// folder, saves that say when they fail.

// Held while a data file is read and written back, so copies of the game take turns.
std::string DataLockFile();

enum class DataFileState {
    Missing,    // nothing there, or no regular file
    Valid,      // bytes holds at least the size asked for
    Damaged,    // too short: move it aside
    Unreadable, // cannot be opened or read (reason says why): leave it alone
};

struct DataFileRead {
    DataFileState state = DataFileState::Missing;
    std::vector<uint8_t> bytes;
    std::string reason;
};

// Reads the data file at path, which holds size bytes when valid (more are ignored).
DataFileRead ReadDataFile(const std::string& path, size_t size);

// Reads a text file of the game's own whole: Valid, Missing, Unreadable, or Damaged when it holds
// more than limit bytes.
DataFileRead ReadTextDataFile(const std::string& path, size_t limit);

// Reads a text file of the game's own, up to limit bytes, under the lock the caller holds, and
// hands its text to parse, which says what is wrong when it refuses it. Missing: true, nothing
// parsed. Unreadable: reported, false. Too large or refused: moved aside with one line on stderr
// ending in what happens instead, then true as if missing.
bool ReadOwnTextFile(const std::string& path, size_t limit,
                     const std::function<bool(std::string_view text, std::string& error)>& parse,
                     const std::string& instead);

// Says once per file on stderr that it could not be read and is left as it is.
void ReportUnreadable(const std::string& path, const std::string& reason);

// ReplaceFile with the failure told on stderr: one line naming the file and the reason.
bool SaveDataFile(const std::string& path, const std::vector<uint8_t>& bytes);
// The same line for a save given up before writing.
void ReportSaveFailure(const std::string& path, const std::string& reason);

// Removes what interrupted saves of the data files left behind; takes the folder's lock.
void RemoveDataLeftovers(const std::vector<std::string>& paths);
