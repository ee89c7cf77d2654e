#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bot/player.h"
#include "game/challenge.h"
#include "game/play_options.h"

// How one play by the built-in player went.
struct TPlayRecord {
    int32_t seed = 0;
    int points = 0;
    int64_t frames = 0;  // frames played, the losing one included
    bool lost = false;   // false when the frame limit ended the play first
    int64_t rows = 0;    // rows cleared
    TChallengeResult result; // a challenge play's
};

// Called after every frame with the play as the frame left it.
using TFrameWatch = std::function<void(const game& play)>;

// Plays one game of the real rules on the standard board from the given seed, with the
// player at the controls: the same calls per frame as the play screen, without window, sound
// or pacing, for at most frameLimit frames. Reseeds the global generator; the blast flashes
// that nobody draws are dropped every frame.
TPlayRecord PlayHeadless(const TPlayer& player, int32_t seed, int64_t frameLimit, const TFrameWatch& watch = {},
                         const TPlayOptions& options = {});
// The same, for a challenge play: it ends at its goal too, and its result is told.
TPlayRecord PlayHeadlessChallenge(const TPlayer& player, int32_t seed, TChallenge challenge, const std::string& day,
                                  const TPlayOptions& options, int64_t frameLimit);

// Plays `frames` frames in all, a new play from the next seed after each loss, the first from
// firstSeed; afterPlay hears of each play as it ends, the last one cut short included.
std::vector<TPlayRecord> PlayHeadlessSession(const TPlayer& player, int32_t firstSeed, int64_t frames,
                                             const TFrameWatch& watch = {},
                                             const std::function<void(const TPlayRecord&)>& afterPlay = {},
                                             const TPlayOptions& options = {});
