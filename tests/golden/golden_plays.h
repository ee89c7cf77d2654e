#pragma once
#include <cstdint>
#include <ctime>

#include "game/challenge.h"
#include "game/play_options.h"

// The golden plays: what record_golden records and the golden test verifies.
struct TGoldenPlay {
    const char* file;
    int32_t gameSeed;      // the generator at program start
    uint32_t titleFrames;  // title frames before the play
    uint32_t playerSeed;   // the scripted player's choices
    uint32_t recklessFrom; // frame from which the player only drops
    TPlayOptions options{};
    TChallenge challenge = TChallenge::None;
    const char* day = ""; // a daily play's
};

// Together they clear rows holding every power-up (record_golden says which each one uses).
// The long one is about ten minutes: the benchmark reruns it, its size is the one quoted. The
// short one only drops, so it ends soon: the end-to-end test watches it to its end. The last one
// with options has every option on (version 2 of the format); the two challenge plays are version 3:
// an Ultra that plays to its last frame and a daily play on a fixed day's pieces.
inline constexpr TGoldenPlay GoldenPlays[] = {
    {"play1.replay", 7007, 900, 77, 4500},
    {"play2.replay", 11011, 900, 121, 4500},
    {"play3.replay", 14014, 120, 154, 4500},
    {"play4.replay", 6006, 120, 66, 4500},
    {"long.replay", 9009, 300, 99, 36000},
    {"short.replay", 1234, 60, 12, 0},
    {"options.replay", 4004, 200, 44, 4500, {MaxNextPieces, true, true, true, TPace::Brisk, true}},
    {"ultra.replay", 5005, 200, 55, 100000, {MaxNextPieces, true, true, true, TPace::Classic, true}, TChallenge::Ultra},
    {"daily.replay", 3003, 100, 33, 4500, {}, TChallenge::Daily, "2026-12-08"},
};

// The lines --verify prints for them, one per play, in this order.
inline constexpr char GoldenResultsFile[] = "results.txt";
// Every golden play ends at this moment, so recording again changes no byte that need not change.
inline constexpr std::time_t GoldenDate = 1796762673; // 2026-12-08T20:44:33Z
