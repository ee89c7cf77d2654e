// The menus as a keyboard player meets them, in the real game driven through the X server: the
// focus marker and the hint lines, read from screenshots at both Visibility settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "app/screens/layout.h"
#include "draw2d/pixmap.h"
#include "game_run.h"
#include "window_pictures.h"

using namespace game_run;

namespace {

struct TBox {
    int left, top, right, bottom; // right and bottom excluded
};

// Light strokes of text against the box they lie in: the brightest 3% of the box against its
// median.
double TextContrast(TPixmap& pixmap, TBox box)
{
    std::vector<double> lums;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            lums.push_back(Luminance(pixmap.ReadPixel(x, y)));
    std::sort(lums.begin(), lums.end());
    return ContrastRatio(lums[lums.size() * 97 / 100], lums[lums.size() / 2]);
}

bool IsMarkerFill(uint32_t argb)
{
    const auto near = [](uint32_t value, int32_t wanted) { return std::abs(static_cast<int32_t>(value) - wanted) <= 24; };
    return near((argb >> 16) & 0xFF, FocusMarkerFill.r) && near((argb >> 8) & 0xFF, FocusMarkerFill.g) &&
           near(argb & 0xFF, FocusMarkerFill.b);
}

// The focus marker in a band of rows left of the middle: its fill's contrast against the median
// of what lies around it, beyond its rim; 0 when no marker is there.
double MarkerContrast(const fs::path& screenshot, int top, int bottom)
{
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap)
        return 0;
    TBox fill{WindowWidth, bottom, 0, top};
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < WindowWidth / 2; ++x)
            if (IsMarkerFill(pixmap->ReadPixel(x, y))) {
                fill = {std::min(fill.left, x), std::min(fill.top, y), std::max(fill.right, x + 1),
                        std::max(fill.bottom, y + 1)};
                ++count;
            }
    if (count < FocusMarkerWidth * FocusMarkerHeight / 2)
        return 0;
    std::vector<double> fillLums, around;
    constexpr int Margin = FocusMarkerRimWidth + 1, Reach = 6;
    for (int y = fill.top - Margin - Reach; y < fill.bottom + Margin + Reach; ++y)
        for (int x = fill.left - Margin - Reach; x < fill.right + Margin + Reach; ++x) {
            const bool inFill = x >= fill.left && x < fill.right && y >= fill.top && y < fill.bottom;
            const bool beyondRim = x < fill.left - Margin || x >= fill.right + Margin || y < fill.top - Margin ||
                                   y >= fill.bottom + Margin;
            if (inFill)
                fillLums.push_back(Luminance(pixmap->ReadPixel(x, y)));
            else if (beyondRim)
                around.push_back(Luminance(pixmap->ReadPixel(x, y)));
        }
    std::sort(fillLums.begin(), fillLums.end());
    std::sort(around.begin(), around.end());
    return ContrastRatio(fillLums[fillLums.size() / 2], around[around.size() / 2]);
}

// The rows of the options screen's Music row and the play options' first row.
constexpr int MusicRowY = 200, SoundRowY = 220, HandlingRowY = PlayOptionsTop;
bool MarkerOnRow(const fs::path& screenshot, int rowY) { return MarkerContrast(screenshot, rowY, rowY + SettingRowHeight) > 0; }

// The options screen: the light words of its Music row, where the title menu has none.
bool ShowsOptions(const fs::path& screenshot)
{
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap)
        return false;
    int light = 0;
    for (int y = MusicRowY; y < MusicRowY + SettingRowHeight; ++y)
        for (int x = 130; x < 290; ++x)
            light += Luminance(pixmap->ReadPixel(x, y)) > 0.45 ? 1 : 0;
    return light > 100;
}

// The title menu, faded in: the window's edge is dark (the intro is a white veil) and the "Play"
// picture is light.
bool ShowsTitleMenu(const fs::path& screenshot)
{
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap || Luminance(pixmap->ReadPixel(4, WindowHeight / 2)) > 0.3 || ShowsOptions(screenshot))
        return false;
    int light = 0;
    for (int y = MenuItemTop[MenuPlay]; y < MenuItemTop[MenuPlay] + MenuItemHeight; ++y)
        for (int x = WindowWidth / 2 - 60; x < WindowWidth / 2 + 60; ++x)
            light += Luminance(pixmap->ReadPixel(x, y)) > 0.45 ? 1 : 0;
    return light > 300;
}

// The pause screen's hint line, the width of the board under "PAUSED".
double PauseHintContrast(const fs::path& screenshot)
{
    const auto pixmap = WindowPicture(screenshot);
    return pixmap ? TextContrast(*pixmap, {96, PauseHintY - 2, 416, PauseHintY + 14}) : 0;
}
bool ShowsPauseHint(const fs::path& screenshot) { return PauseHintContrast(screenshot) >= 3.0; }

// A passing notice: light words on the line near the bottom, across the board.
bool ShowsNotice(const fs::path& screenshot)
{
    const auto pixmap = WindowPicture(screenshot);
    return pixmap && TextContrast(*pixmap, {96, 472, 416, 490}) >= 3.0;
}

// The line of keys under a watched play, at the foot of the window.
bool ShowsWatchHint(const fs::path& screenshot)
{
    const auto pixmap = WindowPicture(screenshot);
    return pixmap && TextContrast(*pixmap, {96, WatchHintY - 2, 416, WatchHintY + 14}) >= 3.0;
}

// The Keys page: the first column's "Play" heading in the marker's fill colour at the top of the
// page, where no other screen has anything of that colour.
bool ShowsKeysPage(const fs::path& screenshot)
{
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap)
        return false;
    int heading = 0;
    for (int y = KeysPageColumnsTop; y < KeysPageColumnsTop + 12; ++y)
        for (int x = 20; x < WindowWidth / 2; ++x)
            heading += IsMarkerFill(pixmap->ReadPixel(x, y)) ? 1 : 0;
    return heading > 20;
}

// The rows of the board's top (16 pixels from y = 0) where the falling piece has a whole cell.
std::vector<int> PieceRows(const fs::path& screenshot)
{
    std::vector<int> rows;
    const auto pixmap = WindowPicture(screenshot);
    const std::vector<int> columns = PieceColumns(screenshot);
    if (!pixmap || columns.empty())
        return rows;
    for (int row = 0; row < 10; ++row) {
        bool block = false;
        for (const int column : columns) {
            bool whole = true;
            for (const auto& [dx, dy] : {std::pair{0, 0}, {-4, -4}, {4, -4}, {-4, 4}, {4, 4}})
                whole = whole && Luminance(pixmap->ReadPixel(96 + 16 * column + 8 + dx, 16 * row + 8 + dy)) > 0.08;
            block = block || whole;
        }
        if (block)
            rows.push_back(row);
    }
    return rows;
}

class MenusEndToEnd : public TGameCopyTest {
protected:
    MenusEndToEnd() : TGameCopyTest("brim_menus_e2e") {}

    // Polls screenshots of the window, each kept under the given name, until one shows what is
    // wanted; generous, as the sanitizer build on a loaded machine is slow.
    static bool WaitForScreen(GameRun& game, const std::string& name, const std::function<bool(const fs::path&)>& shows)
    {
        return WaitFor([&] { return shows(game.Screenshot(name)); }, Patience);
    }

    // From the start of a first run to the faded-in title menu: Space ends the intro.
    static void OpenMenu(GameRun& game)
    {
        ASSERT_TRUE(game.FindWindow()) << game.Err();
        ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; }, Patience)) << game.Out();
        ASSERT_TRUE(game.EndIntro()) << game.Err();
        ASSERT_TRUE(WaitForScreen(game, "menus_title", ShowsTitleMenu));
    }

    // The pointer inside the window off the items: the title's Return then plays, whatever the
    // test before left under the pointer.
    static void RestPointerOffTheItems(GameRun& game)
    {
        Tool("xdotool mousemove --window " + std::to_string(game.Window()) + " 40 460");
    }

    static void ExpectCleanExit(GameRun& game)
    {
        const auto status = game.WaitExit(Patience);
        ASSERT_TRUE(status.has_value()) << "the game did not end";
        ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
        EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
    }

};

// A new player's first keys: Return on the title menu plays, with the pointer resting in the
// window off the items; the pause then tells what its keys do, readable at Low and High.
TEST_F(MenusEndToEnd, ReturnOnAFreshTitleMenuPlaysAndThePauseTellsItsKeys)
{
    GameRun game(folder_);
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    RestPointerOffTheItems(game);
    game.Press("Return");
    ASSERT_TRUE(WaitForScreen(game, "menus_play_by_return", ShowsPlay)) << "Return with nothing highlighted is Play";

    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "menus_pause_low", ShowsPauseHint));
    const double low = PauseHintContrast(game.Screenshot("menus_pause_low"));
    const double lowMarker = MarkerContrast(game.Screenshot("menus_pause_low"), PauseHintY - 4, PauseHintY + 16);
    game.Press("Tab");
    const auto high = [&] { return PauseHintContrast(game.Screenshot("menus_pause_high")); };
    // Tab is seen on the next frame; the picture then stays as it is.
    ASSERT_TRUE(WaitFor([&] { return high() != low; }, Patience));
    const double highMarker = MarkerContrast(game.Screenshot("menus_pause_high"), PauseHintY - 4, PauseHintY + 16);
    std::printf("pause hint contrast: Low %.2f, High %.2f; its marker: Low %.2f, High %.2f\n", low, high(), lowMarker,
                highMarker);
    EXPECT_GE(low, 3.0);
    EXPECT_GE(high(), 3.0);
    EXPECT_GE(lowMarker, 3.0) << "a keyboard player sees Return's item marked";
    EXPECT_GE(highMarker, 3.0);
    game.Press("Escape");
    ExpectCleanExit(game);
}

// F1 opens the Keys page from the title menu and from the pause; Escape leads back to each, and
// while the page shows over the pause the play stays where it was: its piece has not fallen.
TEST_F(MenusEndToEnd, F1ShowsTheKeysFromTheTitleAndFromThePause)
{
    GameRun game(folder_);
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    RestPointerOffTheItems(game);
    game.Press("F1");
    ASSERT_TRUE(WaitFor([&] { return ShowsKeysPage(game.Screenshot("keys_from_title")); }, Patience));
    game.Press("Escape");
    ASSERT_TRUE(WaitFor([&] { return ShowsTitleMenu(game.Screenshot("keys_back_to_title")); }, Patience));

    game.Press("Return");
    ASSERT_TRUE(
        game.WaitWithinFrames(PieceInViewFrames, [&] { return !PieceRows(game.Screenshot("keys_play")).empty(); }))
        << "the first piece falls into view";
    game.Press("Escape");
    ASSERT_TRUE(WaitFor([&] { return ShowsPauseHint(game.Screenshot("keys_pause")); }, Patience));
    const std::vector<int> before = PieceRows(game.Screenshot("keys_play"));
    game.Press("F1");
    ASSERT_TRUE(WaitFor([&] { return ShowsKeysPage(game.Screenshot("keys_from_pause")); }, Patience));
    // Long enough for the piece to fall four rows at the first speed, were the play running.
    ASSERT_TRUE(game.WaitFrames(4 * 48));
    EXPECT_TRUE(ShowsKeysPage(game.Screenshot("keys_from_pause")));
    game.Press("Escape");
    ASSERT_TRUE(WaitFor([&] {
        const fs::path shot = game.Screenshot("keys_back_to_pause");
        return ShowsPauseHint(shot) && !ShowsKeysPage(shot);
    }, Patience)) << "Escape on the page goes back to the pause, not out of the game";
    const int64_t resumed = game.Frames(); // no later than the click that resumes
    game.Click(WindowWidth / 2, WindowHeight / 2);
    ASSERT_TRUE(WaitFor([&] { return ShowsPlay(game.Screenshot("keys_resumed")); }, Patience));
    const std::vector<int> after = PieceRows(game.Screenshot("keys_resumed"));
    const int64_t played = game.Frames() - resumed;
    ASSERT_FALSE(before.empty());
    ASSERT_FALSE(after.empty());
    // A row, and what the play fell since it resumed; the page's frames would add four.
    EXPECT_LE(after.back() - before.back(), 1 + played / 48) << "the piece fell while the page showed";
    game.Press("Escape");
    game.Press("Escape");
    ExpectCleanExit(game);
}

// The options screen opened by key has its first row marked; the marker follows the arrows, reads
// at both Visibility settings, and the Play page opened by key starts marked too. Opened by the
// mouse, the screen shows no marker, as it always looked.
TEST_F(MenusEndToEnd, TheFocusMarkerShowsWhereTheKeysAre)
{
    GameRun game(folder_);
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    for (const char* key : {"Down", "Down", "Down", "Return"})
        game.Press(key, 50ms);
    const auto musicMarked = [](const fs::path& shot) { return MarkerOnRow(shot, MusicRowY); };
    ASSERT_TRUE(WaitForScreen(game, "menus_options_by_key", musicMarked)) << "the first row is focused on entry";
    const double low = MarkerContrast(game.Screenshot("menus_options_by_key"), MusicRowY, MusicRowY + SettingRowHeight);
    game.Press("Tab");
    ASSERT_TRUE(WaitFor([&] {
        const double now = MarkerContrast(game.Screenshot("menus_options_high"), MusicRowY, MusicRowY + SettingRowHeight);
        return now > 0 && now != low;
    }, Patience));
    const double high = MarkerContrast(game.Screenshot("menus_options_high"), MusicRowY, MusicRowY + SettingRowHeight);
    std::printf("options marker contrast: Low %.2f, High %.2f\n", low, high);
    EXPECT_GE(low, 3.0);
    EXPECT_GE(high, 3.0);

    game.Press("Down", 50ms);
    game.Press("Down", 50ms);
    ASSERT_TRUE(WaitForScreen(game, "menus_options_second_row", [](const fs::path& shot) {
        return MarkerOnRow(shot, SoundRowY) && !MarkerOnRow(shot, MusicRowY);
    })) << "the first Down keeps the first row, as the arrows always counted";
    // Up past the top wraps to the Play row, the last; Return opens its page.
    game.Press("Up", 50ms);
    game.Press("Up", 50ms);
    game.Press("Return", 50ms);
    ASSERT_TRUE(WaitForScreen(game, "menus_play_options_by_key",
                              [](const fs::path& shot) { return MarkerOnRow(shot, HandlingRowY); }));
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "menus_options_again", [](const fs::path& shot) { return MarkerOnRow(shot, PlayRowY); }))
        << "the options screen keeps its focus";
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "menus_title_again", ShowsTitleMenu));

    const int optionsY = MenuItemTop[MenuOptions] + MenuItemHeight / 2;
    game.Click(WindowWidth / 2, optionsY);
    ASSERT_TRUE(WaitForScreen(game, "menus_options_by_mouse", ShowsOptions));
    const fs::path byMouse = game.Screenshot("menus_options_by_mouse");
    EXPECT_FALSE(MarkerOnRow(byMouse, MusicRowY));
    EXPECT_EQ(MarkerContrast(byMouse, 150, 512), 0) << "no marker anywhere for a mouse player";
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "menus_title_last", ShowsTitleMenu));
    game.Press("Escape");
    ExpectCleanExit(game);
}

// Tab in play says what Visibility became and spends no other key: Left pressed with it still
// moves the piece. The notice fades by itself.
TEST_F(MenusEndToEnd, ANoticeShowsOverThePlayAndTakesNoKey)
{
    GameRun game(folder_);
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    RestPointerOffTheItems(game);
    game.Press("Return");
    ASSERT_TRUE(WaitForScreen(game, "notice_play", [](const fs::path& shot) {
        return ShowsPlay(shot) && !PieceColumns(shot).empty();
    }));
    ASSERT_TRUE(game.WaitFrames(3 * FramesPerSecond)); // the first piece falls wholly into view
    const std::vector<int> before = PieceColumns(game.Screenshot("notice_play"));
    EXPECT_FALSE(ShowsNotice(game.Screenshot("notice_play")));
    ASSERT_FALSE(before.empty());
    // Held together, as a person holds keys, until the window shows both were read: moves do not
    // repeat while held, so the piece can only have moved the one column.
    std::vector<int> after;
    const bool both = game.HoldUntil("Tab Left", [&] {
        const fs::path shot = game.Screenshot("notice_visibility");
        after = PieceColumns(shot);
        return ShowsNotice(shot) && !after.empty() && after.front() == before.front() - 1;
    });
    EXPECT_TRUE(both) << "Tab in play shows a notice and Left, pressed with it, moves the piece; columns before "
                      << ::testing::PrintToString(before) << ", after " << ::testing::PrintToString(after);
    EXPECT_TRUE(WaitFor([&] { return !ShowsNotice(game.Screenshot("notice_gone")); }, Patience)) << "it fades by itself";
    game.Press("Escape");
    game.Press("Escape");
    ExpectCleanExit(game);
}

// A settings file with a bad line is named on screen at the start (the line itself on stderr),
// and F12 names the screenshot it saved.
TEST_F(MenusEndToEnd, BadSettingsLinesAndScreenshotsAreNamedOnScreen)
{
    WriteDataFile("settings.cfg", "flashes = sometimes\n");
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    // Over the intro, before any play could put blocks there.
    ASSERT_TRUE(WaitFor([&] { return ShowsNotice(game.Screenshot("notice_bad_settings")); }, Patience));
    ASSERT_NE(game.Out(), "") << "the intro shows";
    EXPECT_NE(game.Err().find("settings.cfg:1:"), std::string::npos) << game.Err();
    ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; }, Patience)) << game.Out();
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    ASSERT_TRUE(WaitForScreen(game, "notice_title", [](const fs::path& shot) {
        return ShowsTitleMenu(shot) && !ShowsNotice(shot);
    }));
    game.Press("F12");
    ASSERT_TRUE(WaitFor([&] { return game.Out().find("Screenshot: ") != std::string::npos; }, Patience));
    EXPECT_TRUE(WaitForScreen(game, "notice_screenshot", ShowsNotice)) << "the screenshot's name shows";
    game.Press("Escape");
    ExpectCleanExit(game);
}

// The table by keyboard: the first entry with a replay is focused as it opens, Return watches it
// under its caption and keys line, Escape leads back to the table.
TEST_F(MenusEndToEnd, TheTableOpensAReplayByKeyboard)
{
    fs::create_directories(folder_ / "data" / "replays");
    fs::copy_file(fs::path(BRIM_GOLDEN_DIR) / "short.replay", folder_ / "data" / "replays" / "20261208-204433_150_BOT.replay");
    std::vector<std::pair<int32_t, std::string>> entries = {{150, "BOT"}};
    for (int i = 1; i < 10; ++i)
        entries.emplace_back(100 - i, "DEF");
    {
        std::ofstream out(folder_ / "data" / "highscores.dat", std::ios::binary);
        const auto bytes = TableBytes(entries);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    GameRun game(folder_);
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    game.Press("Down", 50ms);
    game.Press("Down", 50ms);
    game.Press("Return", 50ms);
    const auto firstEntryMarked = [](const fs::path& shot) {
        return MarkerContrast(shot, TableTop - 2, TableTop + TableRowHeight) >= 3.0;
    };
    ASSERT_TRUE(WaitForScreen(game, "menus_table_by_key", firstEntryMarked));
    game.Press("Return");
    ASSERT_TRUE(WaitForScreen(game, "menus_replay_by_key", [](const fs::path& shot) {
        return ShowsPlay(shot) && ShowsWatchHint(shot);
    }));
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "menus_table_after_replay", firstEntryMarked));
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "menus_title_after_table", ShowsTitleMenu));
    game.Press("Escape");
    ExpectCleanExit(game);
}

// A play that missed the table is in the table's Recent plays: Down past Return reaches the item,
// the list opens on the newest play, and Return watches it.
TEST_F(MenusEndToEnd, RecentPlaysListAPlayThatMissedTheTableAndWatchIt)
{
    fs::create_directories(folder_ / "data" / "replays");
    fs::copy_file(fs::path(BRIM_GOLDEN_DIR) / "short.replay", folder_ / "data" / "replays" / "20261209-101010_150.replay");
    GameRun game(folder_);
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    game.Press("Down", 50ms);
    game.Press("Down", 50ms);
    game.Press("Return", 50ms);
    const auto recentMarked = [](const fs::path& shot) {
        return MarkerContrast(shot, ReturnTop - 2, ReturnTop + ReturnHeight) >= 3.0;
    };
    // The first Down keeps Return, focused on entry, as the arrows always counted.
    game.Press("Down", 50ms);
    game.Press("Down", 50ms);
    ASSERT_TRUE(WaitForScreen(game, "menus_table_recent_item", recentMarked));
    game.Press("Return");
    const auto newestMarked = [](const fs::path& shot) {
        return MarkerContrast(shot, RecentTop - 2, RecentTop + RecentRowHeight) >= 3.0;
    };
    ASSERT_TRUE(WaitForScreen(game, "menus_recent_plays", newestMarked));
    game.Press("Return");
    ASSERT_TRUE(WaitForScreen(game, "menus_recent_replay", [](const fs::path& shot) {
        return ShowsPlay(shot) && ShowsWatchHint(shot);
    }));
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "menus_recent_after_replay", newestMarked));
    game.Press("Escape");
    game.Press("Escape");
    ASSERT_TRUE(WaitForScreen(game, "menus_title_after_recent", ShowsTitleMenu));
    game.Press("Escape");
    ExpectCleanExit(game);
}

// --bot says what it is and how to leave it, at the foot of the window.
TEST_F(MenusEndToEnd, TheBuiltInPlayerShowsItsCaption)
{
    GameLaunch launch = GameRun::Beside(folder_);
    launch.arguments = {"--bot"};
    GameRun game(launch);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    EXPECT_TRUE(WaitForScreen(game, "menus_bot", [](const fs::path& shot) { return ShowsPlay(shot) && ShowsWatchHint(shot); }));
    game.Press("Escape");
    ExpectCleanExit(game);
}

} // namespace
