#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "app/storage/data_folder.h"
#include "game/replay.h"

// Finished plays kept as replay files in the data folder; empty when there is none.
inline std::string ReplayFolder() { return DataFilePath("replays"); }
constexpr size_t KeptBestReplays = 10;
constexpr size_t KeptRecentReplays = 10;

// "2026-12-08T20:44:33Z": the moment in UTC, as replays record it.
std::string ReplayDate(std::time_t when);
// The UTC day of that moment, "2026-12-08": the day of a daily play.
std::string ReplayDay(std::time_t when);

// "20261208-204433_1250_ABC.replay": date, score and name (without a name, no "_ABC"). Name
// characters other than letters, digits and "-" become "_", so the name never leaves the folder.
std::string ReplayFileName(const TReplay& replay);

// A replay file's date and score as its name tells them; false for other files.
struct TReplayFileInfo {
    std::string file;  // name within the folder
    std::string stamp; // "20261208-204433": sorts as the dates do
    int32_t score = 0;
    std::string name;  // as the file name spells it; empty when none was entered
};
bool ReadReplayFileName(const std::string& file, TReplayFileInfo& info);

// Which of the files to remove: all but the KeptBestReplays best scores (the earlier of equal
// scores first) and the KeptRecentReplays most recent. Only readable replays belong in files:
// a damaged one must neither take a kept place nor be removed.
std::vector<std::string> RedundantReplays(std::vector<TReplayFileInfo> files);

// Writes the replay into folder atomically under its file name (".2", ".3", ... before the
// extension when that name is taken), then removes the readable replays the retention rule
// drops, never the new one; damaged replays are left alone. Returns the path written, or "" when
// the replay could not be saved (errno says why); nothing else is touched then.
std::string SaveReplay(const TReplay& replay, const std::string& folder = ReplayFolder());
// Removes one replay file the game saved.
void RemoveReplay(const std::string& path);
// Removes what saves interrupted by a kill left in folder: "<replay name>.XXXXXX" temporary files.
void RemoveReplayLeftovers(const std::string& folder = ReplayFolder());

// The newest replay in folder of a play with this score and table name; "" when there is none.
std::string FindReplay(int32_t score, const std::string& name, const std::string& folder = ReplayFolder());
// The newest replay in folder of a play that ended at date ("2026-12-08T20:44:33Z") under this
// table name, whatever its score: how a challenge table's entry finds its play; "" when none.
std::string FindReplayAt(const std::string& date, const std::string& name, const std::string& folder = ReplayFolder());
// The replay in folder with the best score (the newest of equal ones); "" when there is none.
std::string BestReplay(const std::string& folder = ReplayFolder());

// The path of a replay file of the folder.
std::string ReplayFilePath(const std::string& file, const std::string& folder = ReplayFolder());
// The count newest replays in folder by the dates their names tell, newest first: the plays that
// missed the table among them.
std::vector<TReplayFileInfo> RecentReplays(size_t count, const std::string& folder = ReplayFolder());

// Reads and checks a replay file; false with a one-line error when it cannot be read or is not
// a valid replay.
bool LoadReplay(const std::string& path, TReplay& replay, std::string& error);
