#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "app/storage/data_folder.h"

// The ten best scores, index 0 the best, and the three-letter names that go with them.
struct THighScores {
    std::array<int32_t, 10> scores{};
    std::array<std::string, 10> names{};
};

extern THighScores highscores;

// 10 records of a little-endian 32-bit score and a 3-byte name: 70 bytes.
inline std::string HighScoreFile() { return DataFilePath("highscores.dat"); }

// Fills the table from the file. A missing or short file gives the default table, written to
// the file (a short one is first moved aside to "...dat.bad"); one that cannot be read gives the
// defaults and is left as it is.
void LoadScores();
// Writes the table; false (and the old file intact, the reason on stderr) when it cannot be written.
bool SaveScores();
// Puts a new entry into the table as the file holds it now, under the data folder's lock, and
// saves it, so entries another copy of the game saved meanwhile stay. False (said on stderr)
// when the table could not be read or written.
bool RecordHighScore(int32_t points, const std::string& name);
// The default table: "DEF" with 2500 down to 250; written to the file.
void ResetScores();

// A score equal to the tenth entry qualifies.
bool QualifiesForTable(int32_t points);
// Puts points and name in place, dropping the former tenth entry; returns the index used.
int InsertHighScore(int32_t points, const std::string& name);
// One typed character of the name entry: a letter of the name alphabet (either case) replaces
// the character at cursor (1 to 3) and moves the cursor on, from 3 back to 1; others are ignored.
// Returns true for Enter (13), which ends the entry.
bool TypeNameChar(std::string& name, int& cursor, int32_t c);
