#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/replay.h"

// What a rerun of a replay came to.
struct TRerunOutcome {
    int32_t score = 0;    // the rerun's final score
    uint32_t frames = 0;  // frames run
    bool differs = false; // from the recording, in score, board, the frame of the end or the result
    int64_t result = 0;   // the rerun's challenge result (see RecordedResult)
    uint32_t firstDifference = 0;
    bool interrupted = false; // a termination signal stopped it part-way
};

// Readies a program without a window to run plays: graphics of the window's size that draw
// nothing (so that everything placed by the window size lands where it did), and the piece
// templates.
void PrepareHeadlessPlay();

// Runs the replay again through the frames of the play and pause screens, drawing on whatever
// graphics are current, and compares it with the recording frame by frame. The generator and the
// effects are left where the replay ends. Stops early when a deferred termination is pending.
TRerunOutcome RerunReplay(const TReplay& replay);

// What --verify says of a challenge play after its score and frames: ", sprint 01:23.45",
// ", daily 2026-12-09 1250"; "" for a play without a challenge.
std::string ChallengeSummary(const TReplay& replay);

// --verify: reruns each file with nothing to draw on and prints one line per file as soon as it
// is known. Returns 0 when every file matches its recording, 1 when any differs, 2 when any cannot
// be read or is not a valid replay, 3 when a termination signal stopped the run (said on stderr,
// with the files left unchecked).
int VerifyReplayFiles(const std::vector<std::string>& files);
