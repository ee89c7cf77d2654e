#pragma once
#include <cstdint>
#include <vector>

#include "game/replay.h"

// A play raced against a recorded one, frame by frame, from the recording's own score checks:
// nothing of the recorded play is run or drawn, so its random draws never mix with the play's.
class TRace {
public:
    explicit TRace(const TReplay& best);

    // After the play's frame `playFrame` (0 for its first; pause frames not counted): how many
    // points the play is ahead of the recording after its frame of the same number (negative
    // when behind; past the recording's end, against its final score, which its last check holds).
    int32_t Lead(int64_t playFrame, int32_t points) const;
    int32_t BestScoreAt(int64_t playFrame) const;

    // Told every play frame, in order: remembers the first frame the play went ahead.
    void Update(int64_t playFrame, int32_t points);
    bool Passed() const { return passedAt_ >= 0; }
    int64_t PassedAt() const { return passedAt_; }

private:
    struct TStep {
        int64_t playFrame; // from this play frame on
        int32_t score;
    };
    std::vector<TStep> steps_;
    int64_t passedAt_ = -1;
};
