#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/storage/data_folder.h"
#include "game/challenge.h"
#include "game/play_figures.h"

// Figures of every play a player played, kept in "statistics.txt" in the data folder: saved
// whole under the data folder's lock and added to what the file holds then, so two copies'
// plays both count; a damaged file is moved aside, one that cannot be read is never saved over.

struct TChallengeRecord {
    int64_t tries = 0;
    TChallengeResult best;
    bool operator==(const TChallengeRecord&) const = default;
};

struct TLifetimeStats {
    int64_t plays = 0;
    int64_t frames = 0; // time played, in play frames
    int64_t rows = 0;
    int64_t pieces = 0;
    std::array<int64_t, PowerUpKinds + 1> powerUps{}; // by kind, BlockSlowDown..BlockFlip
    int64_t bestChain = 0;
    std::array<TChallengeRecord, ChallengeKinds + 1> challenges{}; // by TChallenge; None unused
    bool operator==(const TLifetimeStats&) const = default;
};

inline std::string StatisticsFile() { return DataFilePath("statistics.txt"); }

// One more play, with its challenge (None for an ordinary play) and the result it reached.
void AddPlay(TLifetimeStats& stats, const TPlayFigures& figures, TChallenge challenge, const TChallengeResult& result);

std::string WriteStatistics(const TLifetimeStats& stats);
bool ParseStatistics(std::string_view text, TLifetimeStats& stats, std::string& error);

// What the file holds; zeros when there is none, it is damaged (moved aside, said on stderr) or
// it cannot be read.
TLifetimeStats LoadStatistics();
// Adds the play to the file under the lock; false (said on stderr) when it could not be read or
// written, and the file is left as it was.
bool RecordPlayStatistics(const TPlayFigures& figures, TChallenge challenge, const TChallengeResult& result);
