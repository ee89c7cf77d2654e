#include "game/race.h"

#include <algorithm>

TRace::TRace(const TReplay& best)
{
    // Checks count every frame, pause frames too; the race counts play frames only.
    size_t check = 0;
    uint64_t frame = 0;
    int64_t playFrames = 0;
    for (const TInputRun& run : best.inputs) {
        const uint64_t end = frame + run.frames;
        for (; check < best.checks.size() && best.checks[check].frame < end; ++check) {
            const int64_t into = static_cast<int64_t>(best.checks[check].frame - frame);
            const int64_t at = run.input == InputPaused ? playFrames : playFrames + into;
            steps_.push_back({at, best.checks[check].score});
        }
        if (run.input != InputPaused)
            playFrames += run.frames;
        frame = end;
    }
}

int32_t TRace::BestScoreAt(int64_t playFrame) const
{
    const auto after = std::upper_bound(steps_.begin(), steps_.end(), playFrame,
                                        [](int64_t f, const TStep& s) { return f < s.playFrame; });
    return after == steps_.begin() ? 0 : std::prev(after)->score;
}

int32_t TRace::Lead(int64_t playFrame, int32_t points) const
{
    return points - BestScoreAt(playFrame);
}

void TRace::Update(int64_t playFrame, int32_t points)
{
    if (passedAt_ < 0 && Lead(playFrame, points) > 0)
        passedAt_ = playFrame;
}
