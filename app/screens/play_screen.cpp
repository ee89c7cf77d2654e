#include "app/screens/play_screen.h"

#include "app/screens/frame.h"
#include "app/screens/game_over.h"
#include "app/screens/name_entry.h"
#include "app/screens/pause.h"
#include "app/screens/play_frames.h"
#include "app/screens/play_recording.h"
#include "app/shell/key.h"
#include "game/game.h"
#include "system/input.h"

void PlayScreen()
{
    auto play = NewPlay();
    TPlayRecording recording(*play);
    play->NewPiece();
    key::Reset();
    for (;;) {
        const TControls controls = key::Update();
        PlayFrame(*play, controls);
        EndFrame();
        recording.AddPlayFrame(controls, *play);
        if (play->lost) {
            ShowGameOver(play->points, [&] {
                DrawPlayBackdrop();
                play->Draw();
            });
            recording.Save(EnterHighScore(play->points));
            break;
        }
        if (TakeTerminateRequest())
            EndProgram();
        if (key::PauseRequested()) {
            // A held Escape must not also end the program from the pause screen.
            ResetKeyState();
            PauseScreen();
        }
    }
}
