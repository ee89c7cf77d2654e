#include "app/screens/play_screen.h"

#include "app/screens/frame.h"
#include "app/screens/game_over.h"
#include "app/screens/name_entry.h"
#include "app/screens/pause.h"
#include "app/screens/play_frames.h"
#include "app/screens/play_recording.h"
#include "app/storage/lifetime_stats.h"
#include "app/shell/key.h"
#include "game/game.h"
#include "system/input.h"
#include "system/termination.h"

void PlayScreen(const TChallengeStart& start)
{
    auto play = NewPlay();
    TChallengePlay challenge(start);
    challenge.Begin(*play);
    TPlayRecording recording(*play);
    play->NewPiece();
    key::Reset();
    uint32_t timesHidden = TimesHidden();
    for (;;) {
        const TControls controls = key::Update();
        PlayFrame(*play, controls);
        challenge.AfterFrame(*play);
        EndFrame();
        recording.AddPlayFrame(controls, *play);
        if (play->Over()) {
            // From the loss on a termination signal (a logout) waits until the play is kept:
            // its replay at once, then the name and the table entry with the letters shown.
            const TTerminationDeferral deferral;
            recording.Save({});
            RecordPlayStatistics(play->figures, play->challenge, ResultOf(play->challenge, play->figures, play->points));
            const auto drawBoard = [&] {
                DrawPlayBackdrop();
                play->Draw();
            };
            if (challenge.Active()) {
                challenge.Finish(*play, recording, drawBoard);
                break;
            }
            ShowGameOver(play->points, play->figures, drawBoard);
            EnterHighScore(play->points, [&](const std::string& name) { recording.Save(name); });
            break;
        }
        if (TakeTerminateRequest())
            EndProgram();
        // A hidden window pauses the play as a lost focus does.
        if (key::PauseRequested() || TimesHidden() != timesHidden) {
            // A held Escape must not also end the program from the pause screen.
            ResetKeyState();
            PauseScreen();
            timesHidden = TimesHidden();
        }
    }
}
