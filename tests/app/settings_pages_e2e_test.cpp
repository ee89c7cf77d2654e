// The options screen's settings pages in the real game, driven through the X server: the Display
// page resizes the window at once and display.cfg remembers it; on the Controls page a new key
// plays at once, a key another action had is swapped, the game's own keys are refused, Escape
// cancels, and controls.cfg keeps the player's lines.
#include <gtest/gtest.h>

#include "app/screens/layout.h"
#include "game_run.h"
#include "window_pictures.h"

using namespace game_run;

namespace {

constexpr int MiddleX = WindowWidth / 2;
constexpr int OptionsItemY = MenuItemTop[MenuOptions] + MenuItemHeight / 2;
constexpr int ReturnX = ReturnLeft + ReturnWidth / 2, ReturnY = ReturnTop + ReturnHeight / 2;
// Inside a row's value, which is where a row is clicked.
constexpr int RowMiddle = SettingRowHeight / 2;
constexpr int OptionsValueX = SettingValueLeft + 20;
constexpr int ControlsValueX = ControlsValueLeft + 20;
// The Controls page's rows: two an action, keys first.
constexpr int ControlsKeysY(int action) { return ControlsTop + ControlsPitch * 2 * action + RowMiddle; }
enum : int { MoveLeft, MoveRight, TurnLeft, TurnRight };

class SettingsPagesEndToEnd : public TGameCopyTest {
protected:
    SettingsPagesEndToEnd() : TGameCopyTest("brim_pages_e2e") {}

    std::string DataText(const std::string& name) const { return FileText(folder_ / "data" / name); }
};

TEST_F(SettingsPagesEndToEnd, DisplayResizesAtOnceAndControlsBindKeysThatPlayAtOnce)
{
    WriteDataFile("controls.cfg", "# my own keys\nmove_left = A, Left\n");
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; })) << game.Out();
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    ASSERT_TRUE(game.WaitFrames(MenuFadeFrames));
    game.Click(MiddleX, OptionsItemY);

    // Display: a click on the scale doubles the window; Down reaches that row, Left takes it back.
    game.Click(OptionsValueX, DisplayRowY + RowMiddle);
    game.Screenshot("pages_display");
    game.Click(OptionsValueX, PlayOptionsTop + RowMiddle);
    EXPECT_TRUE(WaitFor([&] { return game.Geometry() == "1024x1024"; })) << game.Geometry();
    EXPECT_TRUE(WaitFor([&] { return DataText("display.cfg").find("\nwindow_width = 1024\n") != std::string::npos; }))
        << DataText("display.cfg");
    game.Press("Down");
    game.Press("Left");
    EXPECT_TRUE(WaitFor([&] { return game.Geometry() == "512x512"; })) << game.Geometry();
    EXPECT_TRUE(WaitFor([&] { return DataText("display.cfg").find("\nwindow_width = 512\n") != std::string::npos; }))
        << DataText("display.cfg");
    game.Press("Escape");

    // Controls: J for move left; Escape leaves move right as it was and the page open; F1 is the
    // game's; D, move right's, swaps with turn right's E.
    game.Click(OptionsValueX, ControlsRowY + RowMiddle);
    game.Click(ControlsValueX, ControlsKeysY(MoveLeft));
    game.Press("j");
    game.Click(ControlsValueX, ControlsKeysY(MoveRight));
    game.Press("Escape");
    game.Click(ControlsValueX, ControlsKeysY(TurnLeft));
    game.Press("F1");
    game.Screenshot("pages_controls_refused");
    game.Click(ControlsValueX, ControlsKeysY(TurnRight));
    game.Press("d");
    game.Screenshot("pages_controls");
    game.Click(ReturnX, ReturnY);
    const auto saved = [&] {
        const std::string text = DataText("controls.cfg");
        return text.rfind("# my own keys\nmove_left = J, Left\n", 0) == 0 &&
               text.find("\nmove_right = E, Right\n") != std::string::npos &&
               text.find("\nturn_right = D, Up\n") != std::string::npos;
    };
    EXPECT_TRUE(WaitFor(saved)) << DataText("controls.cfg");
    EXPECT_EQ(DataText("controls.cfg").find("turn_left"), std::string::npos) << "F1 changed nothing";

    // The next play moves left by J.
    game.Press("Escape");
    std::vector<int> columns;
    ASSERT_TRUE(WaitFor([&] {
        game.Click(MiddleX, MenuItemTop[MenuPlay] + MenuItemHeight / 2);
        columns = PieceColumns(game.Screenshot("pages_play"));
        return !columns.empty();
    }));
    game.Press("j");
    EXPECT_TRUE(WaitFor([&] {
        const std::vector<int> now = PieceColumns(game.Screenshot("pages_play_moved"));
        return !now.empty() && now.front() == columns.front() - 1;
    })) << "J moved the piece left";
    game.Press("Escape");
    game.Press("Escape");
    EXPECT_TRUE(game.WaitExit(Patience).has_value());
}

} // namespace
