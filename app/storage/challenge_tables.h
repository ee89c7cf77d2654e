#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/storage/data_folder.h"
#include "game/challenge.h"

// A table of the best results for each challenge, each in its own file in the data folder
// ("sprint.table" ...), kept as the main table is: saved whole and atomically under the data
// folder's lock, merged with what another copy saved meanwhile, a damaged file moved aside and
// one that cannot be read never saved over.

constexpr size_t ChallengeTableEntries = 10; // per table; a daily table keeps that many a day
constexpr size_t DailyDaysKept = 31;         // the most recent days a daily table keeps

struct TChallengeEntry {
    int64_t result = 0; // a Sprint's frames, the points of the others
    std::string name;   // one to three visible characters
    std::string date;   // when it was played, "2026-12-08T20:44:33Z"
    std::string day;    // a daily entry's day, "2026-12-08"; empty for the others
    bool operator==(const TChallengeEntry&) const = default;
};

// Best first; a daily table newest day first, each day best first.
struct TChallengeTable {
    TChallenge challenge = TChallenge::Sprint;
    std::vector<TChallengeEntry> entries;
    bool operator==(const TChallengeTable&) const = default;
};

std::string ChallengeTableFile(TChallenge challenge);
// A name an entry may have: one to three visible characters.
bool ValidEntryName(std::string_view name);

std::string WriteChallengeTable(const TChallengeTable& table);
// Reads a whole file written for that challenge; false with a one-line reason otherwise.
bool ParseChallengeTable(std::string_view text, TChallenge challenge, TChallengeTable& table, std::string& error);

// The entries of one day in a daily table, or every entry of another.
std::vector<TChallengeEntry> EntriesOn(const TChallengeTable& table, const std::string& day);
// Whether the entry would get a place (a result equal to the last one's does, as in the main table).
bool QualifiesForChallengeTable(const TChallengeTable& table, const TChallengeEntry& entry);
// Puts the entry in its place, after entries with an equal result, and drops what no longer
// fits; returns its index among the entries of its day (of the table when not daily), or -1.
int InsertChallengeEntry(TChallengeTable& table, const TChallengeEntry& entry);

// The table as its file holds it now; empty when there is none. A damaged file is moved aside
// (said on stderr); one that cannot be read gives an empty table and is left alone.
TChallengeTable LoadChallengeTable(TChallenge challenge);
// Reads the file under the lock, puts the entry in and saves it, so what another copy saved
// stays; false (said on stderr) when the file could not be read or written. The table as saved
// is left in table.
bool RecordChallengeEntry(TChallenge challenge, const TChallengeEntry& entry, TChallengeTable& table);
