#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/challenge.h"
#include "game/play_options.h"

// A recorded play: where it started, what the rules were told each frame, and what the board
// looked like after every change, so a rerun can be checked frame by frame.

// What one frame handed the rules: the control flags, or a frame of the pause screen (which
// runs the background and the fireworks, and so draws random numbers, but not the rules).
using TFrameInput = uint8_t;
constexpr TFrameInput InputRotLeft = 1;
constexpr TFrameInput InputRotRight = 2;
constexpr TFrameInput InputLeft = 4;
constexpr TFrameInput InputRight = 8;
constexpr TFrameInput InputFast = 16;
constexpr TFrameInput InputControls = 31; // the five controls of every play
constexpr TFrameInput InputPaused = 32;   // alone: a pause frame carries no controls
constexpr TFrameInput InputHardDrop = 64; // only in plays with the hard drop option
constexpr TFrameInput InputHold = 128;    // only in plays with the hold option

// The control flags a play with these options can be handed; the others do nothing in it.
TFrameInput EnabledInputs(const TPlayOptions& options);

// Limits that keep a damaged or hostile file from asking for hours of work or gigabytes:
// a day of frames at 60 per second, and more flying effects than a play can ever have (at most
// one firework starts per frame and each has left within about 150 frames; a flash lasts at most
// 255 frames). Fireworks must rise as new ones do, or one could stay in the window for ever.
constexpr uint32_t MaxReplayFrames = 24u * 60u * 60u * 60u;
constexpr size_t MaxReplayFireworks = 256;
constexpr size_t MaxReplayBooms = 4096;
constexpr size_t MaxReplayBytes = 16u << 20;

// One firework in flight when the play started.
struct TReplayFirework {
    float x = 0, y = 0, xv = 0, yv = 0, size = 1;
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const TReplayFirework&) const = default;
};

// One blast flash in flight when the play started.
struct TReplayBoom {
    int32_t x = 0, y = 0, time = 0;
    bool operator==(const TReplayBoom&) const = default;
};

// Everything from before the play that the play depends on or shows: its options, the generator
// (before the first piece is drawn), the effect levels, the turning background, and the effects
// in flight.
struct TReplayStart {
    TPlayOptions options;
    TChallenge challenge = TChallenge::None;
    std::string day; // a daily play's day, "YYYY-MM-DD"; its pieces come from DailySeed(day)
    int32_t seed = 0x1234; // the generator's state; this one is where an unseeded generator starts
    float tint = 250, wobble = 0, wobblev = 0, flash = 0, glow = 0;
    int32_t visibility = 1;
    int32_t backtimer = 0, backindex = 0, backprev = 0;
    float backfade = 0, backangle = 0;
    std::vector<TReplayFirework> fireworks;
    std::vector<TReplayBoom> booms;
    bool operator==(const TReplayStart&) const = default;
};

// Frames in a row with the same input.
struct TInputRun {
    TFrameInput input = 0;
    uint32_t frames = 0;
    bool operator==(const TInputRun&) const = default;
};

// The score from this frame on, recorded whenever it changed, with the board fingerprint of that
// frame. Scores change at cleared rows only, so the checks stay few; the final board is in the
// header.
struct TReplayCheck {
    uint32_t frame = 0;
    int32_t score = 0;
    uint64_t board = 0;
    bool operator==(const TReplayCheck&) const = default;
};

struct TReplay {
    std::string gameVersion;
    std::string date; // UTC, "2026-12-08T20:44:33Z"
    std::string name; // the name entered for the table; empty when none was
    int32_t score = 0;
    uint32_t frames = 0;
    uint64_t board = 0; // fingerprint of the final board
    // A challenge play's result: a Sprint's time in play frames, the points of the others;
    // 0 for a play without a challenge and for a Sprint that did not clear its rows.
    int64_t result = 0;
    TReplayStart start;
    std::vector<TInputRun> inputs;
    std::vector<TReplayCheck> checks;
    bool operator==(const TReplay&) const = default;
};

// Builds a replay frame by frame, as the game plays.
class TReplayRecorder {
public:
    // score and board describe the play before its first frame.
    TReplayRecorder(TReplayStart start, int32_t score, uint64_t board);

    // Once per frame, after the rules: what the frame handed them and the score and board it
    // left; controls the play's options leave off are not kept, as they did nothing. False, and
    // nothing kept, once the play has run past MaxReplayFrames.
    bool AddFrame(TFrameInput input, int32_t score, uint64_t board);
    // Frames of the pause screen, which change neither score nor board.
    void AddPauseFrames(uint64_t frames);
    bool Full() const { return replay_.frames >= MaxReplayFrames; }
    uint32_t Frames() const { return replay_.frames; }

    // The finished recording; the final score and board are those of the last frame.
    TReplay Finish(std::string gameVersion, std::string date, std::string name) const;

private:
    TReplay replay_;
    int32_t score_;
    uint64_t board_;
};

// Hands out a replay's inputs one frame at a time; the runs must outlive it.
class TReplayInputs {
public:
    explicit TReplayInputs(const std::vector<TInputRun>& runs) : runs_(runs) {}
    bool Done() const { return run_ >= runs_.size(); }
    // The next frame's input; only while not Done.
    TFrameInput Next();

private:
    const std::vector<TInputRun>& runs_;
    size_t run_ = 0;
    uint32_t used_ = 0;
};

// Compares a rerun with the recorded checks, frame by frame, and remembers the first frame
// where the score differs, or the first check frame (or the last frame) where the board does;
// the replay must outlive it.
class TReplayChecker {
public:
    // score is the rerun's before its first frame.
    TReplayChecker(const TReplay& replay, int32_t score);
    // Once per frame, in order from frame 0; false from the first difference on. The board is
    // compared only where BoardChecked says so.
    bool Check(uint32_t frame, int32_t score, uint64_t board);
    bool BoardChecked(uint32_t frame) const;
    bool Differs() const { return differs_; }
    uint32_t FirstDifference() const { return firstDifference_; }

private:
    const TReplay& replay_;
    size_t next_ = 0;
    int32_t score_;
    bool differs_ = false;
    uint32_t firstDifference_ = 0;
};
