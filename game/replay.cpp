#include "game/replay.h"

#include <utility>

TFrameInput EnabledInputs(const TPlayOptions& options)
{
    return static_cast<TFrameInput>(InputControls | (options.hardDrop ? InputHardDrop : 0) |
                                    (options.hold ? InputHold : 0));
}

TReplayRecorder::TReplayRecorder(TReplayStart start, int32_t score, uint64_t board) : score_(score), board_(board)
{
    replay_.start = std::move(start);
    replay_.score = score;
    replay_.board = board;
}

bool TReplayRecorder::AddFrame(TFrameInput input, int32_t score, uint64_t board)
{
    if (Full())
        return false;
    if (input != InputPaused)
        input &= EnabledInputs(replay_.start.options);
    const uint32_t frame = replay_.frames++;
    if (!replay_.inputs.empty() && replay_.inputs.back().input == input)
        ++replay_.inputs.back().frames;
    else
        replay_.inputs.push_back({input, 1});
    if (score != score_)
        replay_.checks.push_back({frame, score, board});
    score_ = score;
    board_ = board;
    return true;
}

void TReplayRecorder::AddPauseFrames(uint64_t frames)
{
    for (uint64_t i = 0; i < frames && AddFrame(InputPaused, score_, board_); ++i) {
    }
}

TReplay TReplayRecorder::Finish(std::string gameVersion, std::string date, std::string name) const
{
    TReplay replay = replay_;
    replay.gameVersion = std::move(gameVersion);
    replay.date = std::move(date);
    replay.name = std::move(name);
    replay.score = score_;
    replay.board = board_;
    return replay;
}

TFrameInput TReplayInputs::Next()
{
    const TInputRun& run = runs_[run_];
    if (++used_ == run.frames) {
        ++run_;
        used_ = 0;
    }
    return run.input;
}

TReplayChecker::TReplayChecker(const TReplay& replay, int32_t score) : replay_(replay), score_(score) {}

bool TReplayChecker::BoardChecked(uint32_t frame) const
{
    return frame + 1 == replay_.frames || (next_ < replay_.checks.size() && replay_.checks[next_].frame == frame);
}

bool TReplayChecker::Check(uint32_t frame, int32_t score, uint64_t board)
{
    if (differs_)
        return false;
    bool same = true;
    if (next_ < replay_.checks.size() && replay_.checks[next_].frame == frame) {
        score_ = replay_.checks[next_].score;
        same = board == replay_.checks[next_].board;
        ++next_;
    }
    if (frame + 1 == replay_.frames)
        same = same && board == replay_.board;
    if (same && score == score_)
        return true;
    differs_ = true;
    firstDifference_ = frame;
    return false;
}
