// The real game with its window hidden through the X server: nothing is drawn until it shows
// again, and a play hidden in the middle comes back paused. Every wait is on the game's own frame
// count (the frame trace), never a fixed time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/screens/layout.h"
#include "app/shell/canvas.h"
#include "game_run.h"

using namespace game_run;

namespace {

class HiddenWindow : public TGameCopyTest {
protected:
    HiddenWindow() : TGameCopyTest("brim_hidden") {}

    // Hides the window and waits until the frame count has stood still through a whole second of
    // polls, where a shown window would have traced one more line; true when it did.
    static bool HideAndWaitForStillness(GameRun& game)
    {
        Tool("xdotool windowunmap --sync " + std::to_string(game.Window()));
        int64_t last = -1;
        int stillPolls = 0;
        return WaitFor(
            [&] {
                const int64_t now = game.Frames();
                stillPolls = now == last ? stillPolls + 1 : 0;
                last = now;
                return stillPolls >= 20; // polled every 50 ms: a second, 60 frames when shown
            },
            Patience);
    }

    static void Show(GameRun& game) { Tool("xdotool windowmap --sync " + std::to_string(game.Window())); }
};

TEST_F(HiddenWindow, AHiddenTitleDrawsNothingUntilShownAgain)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(game.WaitFrames(120)) << game.Err();
    ASSERT_TRUE(HideAndWaitForStillness(game)) << "frames went on while hidden: " << game.Err();
    const int64_t hidden = game.Frames();
    Show(game);
    ASSERT_TRUE(game.WaitFrames(120)) << "no frames after the window showed again";
    EXPECT_GT(game.Frames(), hidden);
    EXPECT_TRUE(game.Running());
}

// Escape on the pause screen ends the program; in play it would only pause.
TEST_F(HiddenWindow, APlayHiddenInTheMiddleComesBackPaused)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    ASSERT_TRUE(game.WaitFrames(300)) << game.Err(); // past the menu's fade-in
    game.Click(WindowWidth / 2, MenuItemTop[MenuPlay] + MenuItemHeight / 2);
    ASSERT_TRUE(game.WaitFrames(60)) << game.Err();
    ASSERT_TRUE(HideAndWaitForStillness(game)) << "the play went on while hidden: " << game.Err();
    Show(game);
    ASSERT_TRUE(game.FindWindow());
    ASSERT_TRUE(game.WaitFrames(60)) << game.Err();
    game.Press("Escape");
    const auto status = game.WaitExit(Patience);
    ASSERT_TRUE(status.has_value()) << "Escape did not end the game: the play was not paused";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
}

} // namespace
