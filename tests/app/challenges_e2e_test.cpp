// The challenges in the real game: a Sprint finished by the built-in player and kept fills the
// Sprint table with a replay that verifies, and the Challenges item opens its screen by mouse and
// by keyboard, with that best beside Sprint and its table one key away.
#include <gtest/gtest.h>


#include "app/screens/layout.h"
#include "app/storage/challenge_tables.h"
#include "draw2d/pixmap.h"
#include "game_run.h"
#include "window_pictures.h"

using namespace game_run;

namespace {

// The Challenges screen's Sprint row: its label from x = 140, its best from x = 320.
constexpr int SprintRowY = 170, SprintLabelLeft = 140;

struct TArea {
    int left, top, width, height;
};

int LightPixels(const fs::path& screenshot, TArea area)
{
    const auto pixmap = WindowPicture(screenshot);
    int light = 0;
    if (pixmap)
        for (int y = area.top; y < area.top + area.height; ++y)
            for (int x = area.left; x < area.left + area.width; ++x)
                light += Luminance(pixmap->ReadPixel(x, y)) > 0.45 ? 1 : 0;
    return light;
}

// The title menu faded in: the light "Play" picture.
bool ShowsTitleMenu(const fs::path& shot)
{
    return LightPixels(shot, {WindowWidth / 2 - 60, MenuItemTop[MenuPlay], 120, MenuItemHeight}) > 300 &&
           LightPixels(shot, {SprintLabelLeft, SprintRowY, 80, SettingRowHeight}) == 0;
}

// The Challenges screen with a Sprint best beside the label: a time has far more light than "-".
bool ShowsChallengesWithASprintBest(const fs::path& shot)
{
    return LightPixels(shot, {SprintLabelLeft, SprintRowY, 70, SettingRowHeight}) > 60 &&
           LightPixels(shot, {SettingValueLeft, SprintRowY, 90, SettingRowHeight}) > 80;
}

// The focus marker's fill just left of the Sprint label.
bool SprintRowMarked(const fs::path& shot)
{
    const auto pixmap = WindowPicture(shot);
    int fill = 0;
    if (pixmap)
        for (int y = SprintRowY; y < SprintRowY + SettingRowHeight; ++y)
            for (int x = SprintLabelLeft - 20; x < SprintLabelLeft; ++x) {
                const uint32_t c = pixmap->ReadPixel(x, y);
                const auto near = [](uint32_t v, int32_t want) { return std::abs(static_cast<int32_t>(v) - want) <= 24; };
                fill += near((c >> 16) & 0xFF, FocusMarkerFill.r) && near((c >> 8) & 0xFF, FocusMarkerFill.g) &&
                        near(c & 0xFF, FocusMarkerFill.b);
            }
    return fill >= FocusMarkerWidth * FocusMarkerHeight / 2 && ShowsChallengesWithASprintBest(shot);
}

// The Sprint table: the entry's name on its first row, where the Challenges screen has nothing.
bool ShowsSprintTable(const fs::path& shot)
{
    return LightPixels(shot, {TableNameLeft, TableTop, 40, TableRowHeight - 4}) > 30 &&
           LightPixels(shot, {SprintLabelLeft, SprintRowY, 70, SettingRowHeight}) == 0;
}

} // namespace

class ChallengesEndToEnd : public TGameCopyTest {
protected:
    ChallengesEndToEnd() : TGameCopyTest("brim_challenges_e2e") {}

    static int RunToTheEnd(GameRun& run)
    {
        const auto status = run.WaitExit(Patience);
        EXPECT_TRUE(status.has_value()) << "the run did not end";
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }

    static bool WaitForScreen(GameRun& game, const std::string& name, const std::function<bool(const fs::path&)>& shows)
    {
        return WaitFor([&] { return shows(game.Screenshot(name)); });
    }
};

TEST_F(ChallengesEndToEnd, AKeptSprintFillsItsTableVerifiesAndShowsOnTheChallengesScreen)
{
    GameLaunch keep = GameRun::Beside(folder_, false);
    keep.arguments = {"--headless", "--bot", "--challenge", "sprint", "--keep", "BOT"};
    GameRun sprint(keep);
    ASSERT_EQ(RunToTheEnd(sprint), 0) << sprint.Err();
    const std::string out = sprint.Out();
    ASSERT_NE(out.find("result: "), std::string::npos) << out;
    ASSERT_EQ(out.find("result: none"), std::string::npos) << "the built-in player clears its 40 rows: " << out;
    const size_t framesAt = out.find("frames: ");
    ASSERT_NE(framesAt, std::string::npos) << out;
    const int64_t frames = std::stoll(out.substr(framesAt + 8));

    TChallengeTable table;
    std::string error;
    ASSERT_TRUE(ParseChallengeTable(FileText(folder_ / "data" / "sprint.table"), TChallenge::Sprint, table, error))
        << error;
    ASSERT_EQ(table.entries.size(), 1u);
    EXPECT_EQ(table.entries[0].name, "BOT");
    EXPECT_EQ(table.entries[0].result, frames) << "a Sprint's result is its frames";
    EXPECT_FALSE(fs::exists(folder_ / "data" / "statistics.txt")) << "the built-in player's plays never count";

    std::vector<std::string> replays;
    for (const auto& entry : fs::directory_iterator(folder_ / "data" / "replays"))
        replays.push_back(entry.path().string());
    ASSERT_EQ(replays.size(), 1u);
    GameLaunch verify = GameRun::Beside(folder_, false);
    verify.arguments = {"--verify", replays[0]};
    GameRun check(verify);
    EXPECT_EQ(RunToTheEnd(check), 0) << check.Out() << check.Err();
    EXPECT_NE(check.Out().find(", sprint "), std::string::npos) << check.Out();
    EXPECT_NE(check.Out().find(": ok"), std::string::npos) << check.Out();

    // One start of the game: the item by mouse, back, then by keyboard, and the table by Right.
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; })) << game.Out();
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    ASSERT_TRUE(WaitForScreen(game, "challenges_title", ShowsTitleMenu));
    game.Click(WindowWidth / 2, MenuItemTop[MenuChallenges] + MenuItemHeight / 2);
    ASSERT_TRUE(WaitForScreen(game, "challenges_by_mouse", ShowsChallengesWithASprintBest));
    EXPECT_FALSE(SprintRowMarked(game.Screenshot("challenges_by_mouse"))) << "no marker for a mouse player";
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "challenges_title_again", ShowsTitleMenu));
    // Up on the title lands on its last item.
    game.Press("Up", 50ms);
    game.Press("Return", 50ms);
    ASSERT_TRUE(WaitForScreen(game, "challenges_by_key", SprintRowMarked)) << "opened by key, Sprint is focused";
    game.Press("Right", 50ms);
    ASSERT_TRUE(WaitForScreen(game, "challenges_sprint_table", ShowsSprintTable));
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "challenges_back", ShowsChallengesWithASprintBest));
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "challenges_title_last", ShowsTitleMenu));
    game.Press("Escape");
    EXPECT_EQ(RunToTheEnd(game), 0) << game.Err();
}
