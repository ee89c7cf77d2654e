// The real game with its window hidden through the X server: nothing is drawn until it shows
// again, and a play hidden in the middle comes back paused. Every wait is on the game's own frame
// count (BRIM_TRACE_FRAMES), never a fixed time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/screens/layout.h"
#include "app/shell/canvas.h"
#include "game_run.h"

using namespace game_run;

namespace {

// The last count the frame trace printed; 0 before its first line.
long FramesTraced(const std::string& err)
{
    const size_t at = err.rfind("frames: ");
    return at == std::string::npos ? 0 : std::atol(err.c_str() + at + 8);
}

class HiddenWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string missing = CannotDriveTheGame(); !missing.empty())
            GTEST_SKIP() << missing;
        const char* bin = std::getenv("BRIM_BIN_DIR");
        temp_ = std::make_unique<TTempFolder>("brim_hidden");
        ASSERT_FALSE(temp_->Path().empty());
        folder_ = temp_->Path();
        fs::copy_file(fs::path(bin) / "brimstrand", folder_ / "brimstrand");
        fs::copy(fs::path(bin) / "gfx", folder_ / "gfx", fs::copy_options::recursive);
        fs::copy(fs::path(bin) / "sfx", folder_ / "sfx", fs::copy_options::recursive);
        launch_ = GameRun::Beside(folder_);
        launch_.environment.emplace_back("BRIM_TRACE_FRAMES", "1");
    }
    void TearDown() override { temp_.reset(); }

    // Waits until the game has shown this many frames more than it had.
    static bool WaitForFrames(GameRun& game, long more)
    {
        const long target = FramesTraced(game.Err()) + more;
        return WaitFor([&] { return FramesTraced(game.Err()) >= target; }, 60s);
    }

    // Hides the window and waits until the frame count has stood still through a whole second of
    // polls, where a shown window would have traced one more line; true when it did.
    static bool HideAndWaitForStillness(GameRun& game)
    {
        Tool("xdotool windowunmap --sync " + std::to_string(game.Window()));
        long last = -1;
        int stillPolls = 0;
        return WaitFor(
            [&] {
                const long now = FramesTraced(game.Err());
                stillPolls = now == last ? stillPolls + 1 : 0;
                last = now;
                return stillPolls >= 20; // polled every 50 ms: a second, 60 frames when shown
            },
            30s);
    }

    static void Show(GameRun& game) { Tool("xdotool windowmap --sync " + std::to_string(game.Window())); }

    std::unique_ptr<TTempFolder> temp_;
    fs::path folder_;
    GameLaunch launch_;
};

TEST_F(HiddenWindow, AHiddenTitleDrawsNothingUntilShownAgain)
{
    GameRun game(launch_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(WaitForFrames(game, 120)) << game.Err();
    ASSERT_TRUE(HideAndWaitForStillness(game)) << "frames went on while hidden: " << game.Err();
    const long hidden = FramesTraced(game.Err());
    Show(game);
    ASSERT_TRUE(WaitForFrames(game, 120)) << "no frames after the window showed again";
    EXPECT_GT(FramesTraced(game.Err()), hidden);
    EXPECT_TRUE(game.Running());
}

// Escape on the pause screen ends the program; in play it would only pause.
TEST_F(HiddenWindow, APlayHiddenInTheMiddleComesBackPaused)
{
    GameRun game(launch_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; }, 10s)) << game.Out();
    game.Press("space");
    ASSERT_TRUE(WaitForFrames(game, 300)) << game.Err(); // past the menu's fade-in
    game.Click(WindowWidth / 2, MenuItemTop[MenuPlay] + MenuItemHeight / 2);
    ASSERT_TRUE(WaitForFrames(game, 60)) << game.Err();
    ASSERT_TRUE(HideAndWaitForStillness(game)) << "the play went on while hidden: " << game.Err();
    Show(game);
    ASSERT_TRUE(game.FindWindow());
    ASSERT_TRUE(WaitForFrames(game, 60)) << game.Err();
    game.Press("Escape");
    const auto status = game.WaitExit(15s);
    ASSERT_TRUE(status.has_value()) << "Escape did not end the game: the play was not paused";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
}

} // namespace
