#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "game/play_figures.h"

// A challenge sets a play a goal of its own; None is the game's ordinary play, which only a
// loss ends.
enum class TChallenge { None, Sprint, Ultra, Daily, Race };
constexpr int ChallengeKinds = 4; // Sprint .. Race

constexpr int64_t SprintRows = 40;
constexpr int64_t UltraFrames = 3 * 60 * FramesPerSecond;

// The lower-case word replays and files use ("sprint"), and back; false for a word that names none.
std::string_view ChallengeName(TChallenge challenge);
bool ChallengeFromName(std::string_view name, TChallenge& challenge);
// As the screens show it ("Sprint").
std::string_view ChallengeTitle(TChallenge challenge);

// True from the frame a play meets its challenge's goal on: Sprint on the frame its 40th row
// clears, Ultra on its 10,800th frame. Daily and Race plays end as every play does, by a loss.
bool GoalReached(TChallenge challenge, const TPlayFigures& figures);

// What a finished challenge play achieved: for Sprint the frames it took (only once it cleared
// its rows: a Sprint lost before has no result), for the others the points.
struct TChallengeResult {
    bool achieved = false;
    int64_t value = 0;
    bool operator==(const TChallengeResult&) const = default;
};
TChallengeResult ResultOf(TChallenge challenge, const TPlayFigures& figures, int32_t points);
// Sprint times are better lower, the others higher; a result is better than none.
bool BetterResult(TChallenge challenge, const TChallengeResult& a, const TChallengeResult& b);
// A Sprint time as "mm:ss.cc", the others as whole points.
std::string FormatResult(TChallenge challenge, int64_t value);
// Frames as minutes, seconds and hundredths: "01:23.45"; minutes go past 99 if they must.
std::string FormatPlayTime(int64_t frames);

// The day of a daily play, "YYYY-MM-DD" (UTC): a real date from 2000 to 9999.
bool ValidDay(std::string_view day);
// The seed of that day's pieces: the same on every copy of the game, another on another day.
int32_t DailySeed(std::string_view day);
