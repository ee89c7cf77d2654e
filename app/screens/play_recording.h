#pragma once
#include <cstdint>
#include <ctime>
#include <string>

#include "game/controls.h"
#include "game/replay.h"

class game;

// The shell state a play depends on besides its inputs: the generator, the effect levels, the
// background clock and the effects in flight. Taken just before a play's first piece.
TReplayStart CaptureReplayStart();
// Puts that state back, so that the frames after it draw the same random numbers again.
void RestoreReplayStart(const TReplayStart& start);

// The result a replay of this play records: 0 for a play without a challenge and for a
// challenge not achieved.
int64_t RecordedResult(const game& play);

TFrameInput FrameInput(const TControls& controls);
TControls FrameControls(TFrameInput input);

// Records the play running in the window, options and all. Made just before the first piece,
// once the play's options are set; told of every play
// frame after it was shown, it counts the frames shown in between (the pause screen) as pause
// frames.
class TPlayRecording {
public:
    explicit TPlayRecording(const game& play);
    void AddPlayFrame(const TControls& controls, const game& play);
    // The recording so far, as a play that ended at when.
    TReplay Finished(const std::string& name, std::time_t when) const;
    // Saves the finished play under the name entered for the table (empty when none) into the
    // replay folder, ended at the moment of the first save; a later save under a name replaces
    // the earlier file. A replay that cannot be saved is only reported on stderr.
    void Save(const std::string& name);
    // When the play was first saved (the date its replay records); 0 before.
    std::time_t Ended() const { return ended_; }

private:
    TReplayRecorder recorder_;
    uint64_t lastShown_;
    std::time_t ended_ = 0;    // when the play was first saved; 0 before
    std::string saved_;        // the file saved last, "" when none
    int64_t result_ = 0;       // the challenge result as of the last frame
};
