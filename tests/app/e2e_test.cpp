// The real game, driven through the X server as a player would: keys and clicks from xdotool,
// the close box as the window manager sends it, screenshots kept in screens/ for review.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/stat.h>

#include "app/screens/game_over.h"
#include "app/screens/layout.h"
#include "app/screens/notice.h"
#include "draw2d/pixmap.h"
#include "game_run.h"
#include "window_pictures.h"

using namespace game_run;

namespace {

// The name entry is the only screen without a background: the whole window is the clear colour
// (50, 50, 50) but for the text band in the middle.
bool ShowsNameEntry(const fs::path& screenshot)
{
    const auto pixmap = LoadPixmap(screenshot.string());
    if (!pixmap || pixmap->width != 512 || pixmap->height != 512)
        return false;
    for (int y = 0; y < 512; y += 4) {
        if (y > 200 && y < 340)
            continue;
        for (int x = 0; x < 512; x += 4)
            if ((pixmap->ReadPixel(x, y) & 0xFFFFFF) != 0x323232)
                return false;
    }
    return true;
}

// The name "AAA" is drawn centred from x = 238, 12 pixels a letter, at y = 310; the cursor's
// underline lies just below it.
bool UnderlineUnderFirstLetter(const fs::path& screenshot)
{
    const auto pixmap = LoadPixmap(screenshot.string());
    if (!pixmap || pixmap->width != 512 || pixmap->height != 512)
        return false;
    int light = 0;
    for (int y = 324; y < 332; ++y)
        for (int x = 238; x < 250; ++x)
            light += (pixmap->ReadPixel(x, y) & 0xFF) > 0x80 ? 1 : 0;
    return light >= 6;
}

// The game-over view darkens a band across the middle of the final board (rows 212 to 295) and
// writes "Game over" in white in it: the band's top rows are dark from edge to edge, and the
// words are the brightest thing in it.
bool ShowsGameOver(const fs::path& screenshot)
{
    const auto pixmap = LoadPixmap(screenshot.string());
    if (!pixmap || pixmap->width != 512 || pixmap->height != 512 || ShowsNameEntry(screenshot))
        return false;
    for (int x = 0; x < 512; x += 2) {
        const uint32_t argb = pixmap->ReadPixel(x, 215);
        if (((argb >> 16) & 0xFF) > 110 || ((argb >> 8) & 0xFF) > 110 || (argb & 0xFF) > 110)
            return false;
    }
    int white = 0;
    for (int y = 222; y < 254; ++y)
        for (int x = 150; x < 362; ++x)
            white += (pixmap->ReadPixel(x, y) & 0xFFFFFF) >= 0xF0F0F0 ? 1 : 0;
    return white > 200;
}

// How the pause caption (256 by 48 pixels centred at 256, 290) stands out: the contrast ratio,
// as readability guidelines count it, between its strokes (the brightest 3% of the box) and what
// lies behind them (the box's median).
double CaptionContrast(const fs::path& screenshot)
{
    const auto pixmap = LoadPixmap(screenshot.string());
    if (!pixmap || pixmap->width != 512 || pixmap->height != 512)
        return 0;
    std::vector<double> box;
    for (int y = 266; y < 314; ++y)
        for (int x = 128; x < 384; ++x)
            box.push_back(Luminance(pixmap->ReadPixel(x, y)));
    std::sort(box.begin(), box.end());
    const double strokes = box[box.size() * 97 / 100];
    const double behind = box[box.size() / 2];
    return (std::max(strokes, behind) + 0.05) / (std::min(strokes, behind) + 0.05);
}

class GameEndToEnd : public TGameCopyTest {
protected:
    GameEndToEnd() : TGameCopyTest("brim_e2e") {}

    static void ExpectCleanExit(GameRun& game)
    {
        const auto status = game.WaitExit(Patience);
        ASSERT_TRUE(status.has_value()) << "the game did not end";
        ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
        EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
    }

    // From the start of a run to the title menu, faded in: Space ends the intro, the menu
    // fades in over 3.4 seconds of frames.
    static void OpenMenu(GameRun& game)
    {
        ASSERT_TRUE(game.EndIntro()) << game.Err();
        ASSERT_TRUE(game.WaitFrames(MenuFadeFrames)) << game.Err();
    }

    // Escape on the title menu ends the program, cleanly.
    static void EscapeEndsIt(GameRun& game)
    {
        game.Press("Escape");
        ExpectCleanExit(game);
    }

};

// Clicks land in the middle of the items the screens lay out.
constexpr int MiddleX = WindowWidth / 2, MiddleY = WindowHeight / 2;
constexpr int ItemY(int item) { return MenuItemTop[item] + MenuItemHeight / 2; }
constexpr int PlayItemY = ItemY(MenuPlay), TableItemY = ItemY(MenuHighScores), OptionsItemY = ItemY(MenuOptions);
constexpr int ReturnX = ReturnLeft + ReturnWidth / 2, ReturnY = ReturnTop + ReturnHeight / 2;

TEST_F(GameEndToEnd, PlayerJourneyFromFirstRunToANewHighScore)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    const fs::path prefs = folder_ / "data" / "preferences.dat";
    const fs::path table = folder_ / "data" / "highscores.dat";
    ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; })) << game.Out();
    // The line comes first, the file is written right after it.
    EXPECT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{1, 1, 0}; }));
    EXPECT_FALSE(fs::exists(table)) << "the table is made when it is first needed";
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond)) << game.Err();
    game.Screenshot("title_intro");

    // Space ends the 7-second intro at once; the menu then fades in over 3.4 seconds. A click
    // during the intro would only skip it, so the table opening proves the menu was up.
    game.Press("space");
    ASSERT_TRUE(game.WaitFrames(MenuFadeFrames));
    game.Screenshot("title_menu");
    game.Click(MiddleX, TableItemY);
    ASSERT_TRUE(WaitFor([&] { return FileBytes(table) == DefaultTable(); })) << FileBytes(table).size();
    game.Screenshot("table");
    game.Click(ReturnX, ReturnY);

    // Options: music to 0 (left zone), sound to 1 (right zone), Visibility Low -> High, Flashes
    // Full -> Reduced; Return saves, the flashes in a file of their own.
    game.Click(MiddleX, OptionsItemY);
    game.Screenshot("options");
    game.Click(325, 208);
    game.Click(369, 228);
    game.Click(340, 248);
    game.Click(380, 268);
    game.Screenshot("options_changed");
    game.Click(ReturnX, ReturnY);
    ASSERT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{0, 4, 1}; }));
    EXPECT_TRUE(WaitFor([&] { return FileText(folder_ / "data" / "settings.cfg").find("\nflashes = reduced\n") != std::string::npos; }));

    // A play, paused and resumed.
    game.Click(MiddleX, PlayItemY);
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond * 3 / 2));
    game.Screenshot("play");
    game.Press("Escape");
    game.Screenshot("pause");
    EXPECT_TRUE(game.WaitFrames(FramesPerSecond / 2)) << "Escape in play pauses, it does not end the program";
    game.Click(MiddleX, MiddleY);

    // A table that any score enters, read when the play is lost; then S is held until the name
    // entry shows.
    std::vector<std::pair<int32_t, std::string>> low(10, {-1, "LOW"});
    {
        std::ofstream out(table, std::ios::binary | std::ios::trunc);
        const auto bytes = TableBytes(low);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // The loss shows the final board under "Game over" and the score for two seconds; the name
    // entry follows by itself.
    const bool over = game.HoldUntil("s", [&] { return ShowsGameOver(game.Screenshot("game_over")); });
    ASSERT_TRUE(over) << "the play was not lost or the game-over view did not show";
    const int64_t shown = game.Frames();
    ASSERT_TRUE(WaitFor([&] { return ShowsNameEntry(game.Screenshot("name_entry")); }));
    EXPECT_LT(game.Frames() - shown, GameOverFrames + FramesPerSecond) << "the view ends by itself after 120 frames";
    // A blinking underline marks the first letter: lit in some frames, dark in others (a third of
    // a second each).
    int lit = 0, dark = 0;
    for (int shot = 0; shot < 8; ++shot) {
        (UnderlineUnderFirstLetter(game.Screenshot("name_cursor")) ? lit : dark)++;
        game.WaitFrames(FramesPerSecond / 8);
    }
    EXPECT_GT(lit, 0) << "the cursor shows";
    EXPECT_GT(dark, 0) << "the cursor blinks";
    for (const char* key : {"x", "1", "y", "z"})
        game.Press(key, 50ms);
    game.Screenshot("name_entry_typed");
    game.Press("Return");
    low.insert(low.begin(), {0, "XYZ"});
    low.pop_back();
    ASSERT_TRUE(WaitFor([&] { return FileBytes(table) == TableBytes(low); }));

    // The play, pause and all, was kept as a replay that reruns exactly without a window.
    std::vector<fs::path> replays;
    for (const auto& entry : fs::directory_iterator(folder_ / "data" / "replays"))
        replays.push_back(entry.path());
    ASSERT_EQ(replays.size(), 1u);
    EXPECT_TRUE(replays[0].filename().string().ends_with("_0_XYZ.replay")) << replays[0];
    EXPECT_NE(FileText(replays[0]).find("p"), std::string::npos);
    const std::string verify = Shell("'" + (folder_ / "brimstrand").string() + "' --verify '" + replays[0].string() + "'");
    EXPECT_EQ(verify.substr(verify.rfind(':')), ": ok\n") << verify;

    // Back on the title menu, Escape ends the program.
    EXPECT_TRUE(game.WaitFrames(FramesPerSecond / 2));
    EscapeEndsIt(game);
    EXPECT_EQ(game.Err(), "") << "no asset is missing, nothing went wrong";
}

// The pause caption reads at the default Low visibility as well as at High.
TEST_F(GameEndToEnd, PauseTextStandsOutAtBothVisibilities)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    game.Click(MiddleX, PlayItemY);
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond));
    game.Press("Escape");
    const double low = CaptionContrast(game.Screenshot("pause_low"));
    game.Press("Tab");
    const double high = CaptionContrast(game.Screenshot("pause_high"));
    std::printf("pause caption contrast: Low %.2f, High %.2f\n", low, high);
    EXPECT_GE(low, 3.0) << "Low visibility";
    EXPECT_GE(high, 3.0) << "High visibility";
    EscapeEndsIt(game);
}

// Keys pressed on the pause screen do nothing once play resumes: the piece stays where it was.
// The play then goes on to its loss, whose game-over view a key ends early.
TEST_F(GameEndToEnd, KeysPressedWhilePausedAreDroppedAndAKeyEndsTheGameOverView)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    game.Click(MiddleX, PlayItemY);
    ASSERT_TRUE(game.WaitFrames(3 * FramesPerSecond)); // the first piece falls into view
    const std::vector<int> before = PieceColumns(game.Screenshot("piece_before_pause"));
    ASSERT_FALSE(before.empty()) << "no piece found at the top of the board";
    game.Press("Escape");
    for (const char* key : {"a", "a", "a", "a", "e", "d"})
        game.Press(key, 50ms);
    game.Click(MiddleX, MiddleY);
    const std::vector<int> after = PieceColumns(game.Screenshot("piece_after_pause"));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(game.Running());

    // A key ends the game-over view at once; a score of the first play misses the default table,
    // so the title menu follows, where Escape ends the program.
    const bool over = game.HoldUntil("s", [&] { return ShowsGameOver(game.Screenshot("game_over_missed")); });
    ASSERT_TRUE(over) << "the play was not lost or the game-over view did not show";
    game.Press("x", 50ms);
    EscapeEndsIt(game);
}

// The pointer already rests on "Play" when the window opens: a click without any motion starts
// a play (Escape then pauses it rather than ending the program from the title menu).
TEST_F(GameEndToEnd, AClickWithoutMotionLandsWhereThePointerRests)
{
    // The window opens centred on the screen.
    std::istringstream screen(Tool("xdotool getdisplaygeometry"));
    int width = 0, height = 0;
    screen >> width >> height;
    ASSERT_GT(width, WindowWidth);
    const int left = (width - WindowWidth) / 2, top = (height - WindowHeight) / 2;
    Tool("xdotool mousemove " + std::to_string(left + MiddleX) + " " + std::to_string(top + PlayItemY));
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    const std::string geometry = Tool("xdotool getwindowgeometry " + std::to_string(game.Window()));
    ASSERT_NE(geometry.find(std::to_string(left) + "," + std::to_string(top)), std::string::npos) << geometry;
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    Tool("xdotool click 1");
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond));
    game.Screenshot("click_without_motion");
    game.Press("Escape");
    EXPECT_TRUE(game.WaitFrames(FramesPerSecond / 2)) << "the click did not start a play: Escape on the title menu ended the program\n" << game.Err();
}

// The window carries the game's icon, the picture gfx/icon.png, for the window manager and the
// task bar.
TEST_F(GameEndToEnd, TheWindowHasTheGameIcon)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    const auto icon = LoadPixmap((folder_ / "gfx" / "icon.png").string());
    ASSERT_TRUE(icon);
    std::vector<unsigned long> items;
    ASSERT_TRUE(WaitFor([&] { return !(items = x_.CardinalProperty(game.Window(), "_NET_WM_ICON")).empty(); }));
    ASSERT_EQ(items.size(), 2u + static_cast<size_t>(icon->width * icon->height));
    EXPECT_EQ(items[0], static_cast<unsigned long>(icon->width));
    EXPECT_EQ(items[1], static_cast<unsigned long>(icon->height));
    int differing = 0;
    for (int y = 0; y < icon->height; ++y)
        for (int x = 0; x < icon->width; ++x)
            differing += (items[2 + y * icon->width + x] & 0xFFFFFFFF) != icon->ReadPixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0) << "the window shows the picture as painted";
    x_.ClickCloseBox(game.Window());
    ExpectCleanExit(game);
}

// A replay shows in the window: Space speeds it up, and at its end the program ends. From the
// table, a click on an entry with a replay shows it and Escape leads back to the table.
TEST_F(GameEndToEnd, ReplaysAreShownFromTheCommandLineAndFromTheTable)
{
    const fs::path golden = fs::path(BRIM_GOLDEN_DIR) / "short.replay";
    GameLaunch launch = GameRun::Beside(folder_);
    launch.arguments = {"--replay", golden.string()};
    {
        GameRun game(launch);
        ASSERT_TRUE(game.FindWindow()) << game.Err();
        ASSERT_TRUE(game.WaitFrames(FramesPerSecond));
        game.Screenshot("replay");
        game.Press("space");
        // A few hundred frames: seconds at four times the speed.
        const auto status = game.WaitExit(Patience);
        ASSERT_TRUE(status.has_value()) << "the replay did not end at four times the speed";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << game.Err();
        EXPECT_EQ(game.Err(), "");
        EXPECT_FALSE(fs::exists(folder_ / "data" / "replays")) << "watching records nothing";
    }

    fs::create_directories(folder_ / "data" / "replays");
    fs::copy_file(golden, folder_ / "data" / "replays" / "20261208-204433_150_BOT.replay");
    std::vector<std::pair<int32_t, std::string>> entries = {{150, "BOT"}};
    for (int i = 1; i < 10; ++i)
        entries.emplace_back(100 - i, "DEF");
    {
        std::ofstream out(folder_ / "data" / "highscores.dat", std::ios::binary);
        const auto bytes = TableBytes(entries);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    game.Click(MiddleX, TableItemY);
    game.Screenshot("table_with_replay");
    game.Click(TableRowLeft + TableRowWidth / 2, TableTop + TableRowHeight / 2);
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond));
    game.Screenshot("replay_from_table");
    // Escape leaves the replay for the table, the next one the table for the menu: the program
    // runs on. Had the click shown nothing, the second Escape would have ended it.
    game.Press("Escape");
    game.Press("Escape");
    EXPECT_TRUE(game.WaitFrames(FramesPerSecond / 2));
    EscapeEndsIt(game);
    EXPECT_EQ(FileBytes(folder_ / "data" / "highscores.dat"), TableBytes(entries)) << "replays never enter the table";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "data" / "replays"), fs::directory_iterator()), 1);
}

TEST_F(GameEndToEnd, SecondRunIsQuietAndTheCloseBoxEndsIt)
{
    fs::create_directories(folder_ / "data");
    std::ofstream(folder_ / "data" / "preferences.dat", std::ios::binary) << '\2' << '\3' << '\1';
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    EXPECT_TRUE(game.WaitFrames(FramesPerSecond));
    x_.ClickCloseBox(game.Window());
    ExpectCleanExit(game);
    EXPECT_EQ(game.Out(), "") << "the preferences existed: no greeting";
    EXPECT_EQ(FileBytes(folder_ / "data" / "preferences.dat"), (std::vector<uint8_t>{2, 3, 1}));
}

// A FIFO, a directory or nothing in place of an asset: a missing asset, and no hang on the
// loading screen.
TEST_F(GameEndToEnd, MissingAssetsAreReportedAndPlayGoesOn)
{
    fs::remove(folder_ / "gfx" / "logo.png");
    ASSERT_EQ(mkfifo((folder_ / "gfx" / "logo.png").c_str(), 0644), 0);
    fs::remove(folder_ / "gfx" / "hud.png");
    fs::create_directories(folder_ / "gfx" / "hud.png");
    fs::remove(folder_ / "sfx" / "blip.ogg");
    ASSERT_EQ(mkfifo((folder_ / "sfx" / "blip.ogg").c_str(), 0644), 0);
    fs::remove(folder_ / "sfx" / "title (space fighter loop).ogg");
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    game.Click(MiddleX, OptionsItemY); // plays the missing blip
    game.Click(ReturnX, ReturnY);
    EXPECT_TRUE(game.WaitFrames(FramesPerSecond / 2));
    x_.ClickCloseBox(game.Window());
    ExpectCleanExit(game);
    EXPECT_EQ(game.Err(), "Missing asset: gfx\\logo.png\n"
                          "Missing asset: gfx\\hud.png\n"
                          "Missing asset: sfx\\blip.ogg\n"
                          "Missing asset: sfx\\title (space fighter loop).ogg\n");
}

TEST_F(GameEndToEnd, NoDisplayEndsWithAMessage)
{
    GameRun game(folder_, false);
    const auto status = game.WaitExit(Patience);
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_NE(game.Err().find("window"), std::string::npos) << game.Err();
}

// SIGTERM and SIGINT end the game with code 0 whenever they come: before start-up has set
// anything up, with the window open, on the loading screen, once the assets are loaded, and on
// the intro. The times from signal to exit are printed.
TEST_F(GameEndToEnd, TerminationSignalsEndItAtAnyMoment)
{
    const std::pair<const char*, std::function<bool(GameRun&)>> moments[] = {
        {"at once", [](GameRun&) { return true; }},
        {"with the window open", [](GameRun& game) { return game.FindWindow(); }},
        {"on the loading screen", [](GameRun& game) { return WaitFor([&] { return game.Frames() >= LoadingFrames; }); }},
        {"with the assets loaded", [](GameRun& game) { return WaitFor([&] { return game.Out() == "Yo. 0\n"; }); }},
        {"on the intro", [](GameRun& game) { return game.WaitForFirstScreen(); }},
        {"a second into the intro",
         [](GameRun& game) { return game.WaitForFirstScreen() && game.WaitFrames(FramesPerSecond); }},
    };
    for (int sig : {SIGTERM, SIGINT}) {
        for (const auto& [moment, reached] : moments) {
            fs::remove_all(folder_ / "data");
            GameLaunch launch = GameRun::Beside(folder_);
            launch.signalsHeld = true;
            GameRun game(launch);
            ASSERT_TRUE(reached(game)) << moment << " never came: " << game.Err();
            const auto sent = std::chrono::steady_clock::now();
            game.Signal(sig);
            const auto status = game.WaitExit(Patience);
            ASSERT_TRUE(status.has_value()) << "signal " << sig << " " << moment << " was ignored";
            ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status) << " sent " << moment;
            EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
            const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent);
            std::printf("signal %d %s: ended %.0f ms later\n", sig, moment, took.count());
        }
    }
}

// A libopenal.so.1 that loads but lacks the entry points the driver calls.
TEST_F(GameEndToEnd, BrokenOpenALLibraryEndsWithTheAudioMessage)
{
    const char* stubs = BRIM_STUB_OPENAL_DIR; // built with the tests
    GameLaunch launch = GameRun::Beside(folder_);
    launch.environment.emplace_back("LD_LIBRARY_PATH", stubs);
    GameRun game(launch);
    const auto status = game.WaitExit(Patience);
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 1);
    EXPECT_EQ(game.Err(), "Game requires OpenAL audio driver to run.\n");
}

// The data folder named is a file: nothing can be saved. The game says so on stderr and on the
// options screen, and play goes on.
TEST_F(GameEndToEnd, FailedSaveIsReportedWhereItHappened)
{
    std::ofstream(folder_ / "data") << "not a folder";
    GameLaunch launch = GameRun::Beside(folder_);
    launch.environment.emplace_back("BRIMSTRAND_DATA_DIR", (folder_ / "data").string());
    GameRun game(launch);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    game.Click(MiddleX, OptionsItemY);
    game.Click(340, 248); // Visibility
    game.Click(ReturnX, ReturnY);
    game.Screenshot("options_save_failed");
    EXPECT_TRUE(game.Running());
    const std::string prefs = (folder_ / "data" / "preferences.dat").string();
    const std::string expected = "brimstrand: cannot write to " + (folder_ / "data").string() +
                                 "; nothing will be saved\n"
                                 "Could not save " + prefs + ": Not a directory\n"
                                 "Could not save " + prefs + ": Not a directory\n";
    EXPECT_TRUE(WaitFor([&] { return game.Err() == expected; })) << game.Err()
        << "once for the defaults at the start, once for the options";
    // The notice ends by itself; the menu is back and Escape ends the program.
    ASSERT_TRUE(game.WaitFrames(NoticeFrames + FramesPerSecond / 2));
    EscapeEndsIt(game);
    EXPECT_EQ(FileText(folder_ / "data"), "not a folder");
}

// With the idle time shortened, the menu gives way to the demo: the built-in player's, then the
// stored replay's. Escape and a click each end it at once and do nothing else (the program goes
// on, no play starts), and no demo makes the table (it is first written when the table screen
// opens) or records a replay.
TEST_F(GameEndToEnd, AttractDemoStartsWhenIdleAndAnyInputEndsIt)
{
    const fs::path replays = folder_ / "data" / "replays";
    fs::create_directories(replays);
    fs::copy_file(fs::path(BRIM_GOLDEN_DIR) / "short.replay", replays / "20261208-204433_150_BOT.replay");
    GameLaunch launch = GameRun::Beside(folder_);
    launch.environment.emplace_back("BRIM_DEMO_IDLE_MS", "2500");
    GameRun game(launch);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; })) << game.Out();
    // The cursor waits over the Play item, so that a click there needs no move.
    Tool("xdotool mousemove --window " + std::to_string(game.Window()) + " " + std::to_string(MiddleX) + " " +
         std::to_string(PlayItemY));
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    EXPECT_FALSE(ShowsDemoCaption(game.Screenshot("demo_not_yet"))) << "the menu waits for the idle time";
    ASSERT_TRUE(WaitFor([&] { return ShowsDemoCaption(game.Screenshot("demo")); }));

    game.Press("Escape");
    EXPECT_TRUE(WaitFor([&] { return !ShowsDemoCaption(game.Screenshot("demo_left")); }));
    EXPECT_TRUE(game.WaitFrames(FramesPerSecond / 2)) << "Escape leaves the demo, not the program";

    ASSERT_TRUE(WaitFor([&] { return ShowsDemoCaption(game.Screenshot("demo_again")); }));
    Tool("xdotool click 1");
    EXPECT_TRUE(WaitFor([&] { return !ShowsDemoCaption(game.Screenshot("demo_clicked")); }));
    ASSERT_TRUE(game.WaitFrames(InputFrames));

    const fs::path table = folder_ / "data" / "highscores.dat";
    EXPECT_FALSE(fs::exists(table)) << "a demo never writes the table";
    EXPECT_EQ(std::distance(fs::directory_iterator(replays), fs::directory_iterator()), 1);
    // The menu is up, not a play the click started: its table item opens the table.
    game.Click(MiddleX, TableItemY);
    EXPECT_TRUE(WaitFor([&] { return FileBytes(table) == DefaultTable(); }));
    game.Press("Escape");
    EscapeEndsIt(game);
}

// --bot: the player's play shows at once, without the demo caption; Escape ends the program.
TEST_F(GameEndToEnd, BotPlayShowsAndEscapeEndsIt)
{
    GameLaunch launch = GameRun::Beside(folder_);
    launch.arguments = {"--bot"};
    GameRun game(launch);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond));
    for (int shot = 0; shot < 5; ++shot) {
        EXPECT_FALSE(ShowsDemoCaption(game.Screenshot("bot_play_" + std::to_string(shot))));
        EXPECT_TRUE(game.WaitFrames(FramesPerSecond / 5));
    }
    EscapeEndsIt(game);
    EXPECT_FALSE(fs::exists(folder_ / "data" / "highscores.dat"));
}

// The first play of a headless run is lost after about 70,000 frames. The sanitizer build plays
// a fifth of that in the same time, so there the run ends before any loss.
#if defined(__SANITIZE_ADDRESS__)
constexpr const char* HeadlessFrames = "20000";
constexpr bool HeadlessRunSpansALoss = false;
#else
constexpr const char* HeadlessFrames = "100000";
constexpr bool HeadlessRunSpansALoss = true;
#endif

// --headless --bot: plays through losses without a window and prints its figures; no window,
// no data folder, no file anywhere. A frame count out of range is refused.
TEST_F(GameEndToEnd, HeadlessBotPrintsItsFiguresAndWritesNothing)
{
    GameLaunch launch = GameRun::Beside(folder_, false);
    launch.arguments = {"--headless", "--bot", "--frames", HeadlessFrames};
    GameRun game(launch);
    // Four seconds of play on an idle machine; a sanitizer build on a loaded one has taken over
    // two minutes, so this one wait is longer than the rest.
    const auto status = game.WaitExit(4 * Patience);
    ASSERT_TRUE(status.has_value()) << "the run did not end";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    const std::string out = game.Out();
    EXPECT_NE(out.find("frames: " + std::string(HeadlessFrames) + " in "), std::string::npos) << out;
    EXPECT_NE(out.find(" frames/s\nplays: "), std::string::npos) << out;
    EXPECT_NE(out.find(" lost)\nscores: "), std::string::npos) << out;
    if (HeadlessRunSpansALoss) {
        EXPECT_EQ(out.find("(0 lost)"), std::string::npos) << "the run spans a loss: " << out;
    }
    EXPECT_NE(out.find("\npeak memory: "), std::string::npos) << out;
    EXPECT_EQ(game.Err(), "");
    EXPECT_FALSE(fs::exists(folder_ / "data"));
    EXPECT_FALSE(fs::exists(folder_ / "home"));

    launch.arguments = {"--headless", "--bot", "--frames", "0"};
    GameRun refused(launch);
    const auto refusal = refused.WaitExit(Patience);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(WEXITSTATUS(*refusal), 2) << refused.Err();
}

} // namespace

namespace {

// Presses the keys in turn, as a player would.
void PressAll(GameRun& game, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        game.Press(key, 50ms);
}

// Writes a table that any score enters, read when the play is lost.
std::vector<std::pair<int32_t, std::string>> WriteLowTable(const fs::path& table)
{
    std::vector<std::pair<int32_t, std::string>> low(10, {-1, "LOW"});
    std::ofstream out(table, std::ios::binary | std::ios::trunc);
    const auto bytes = TableBytes(low);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return low;
}

// Holds the key until the play is lost and the name entry shows; true when it did.
bool HoldUntilNameEntry(GameRun& game, const std::string& key, const std::string& shot)
{
    return game.HoldUntil(key, [&] { return ShowsNameEntry(game.Screenshot(shot)); });
}

} // namespace

// Every menu without the mouse: the highlight moved with the arrows, Return to choose, Left and
// Right for the volumes; then a play driven by the arrows.
TEST_F(GameEndToEnd, KeyboardAloneDrivesTheMenusAndThePlay)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    const fs::path prefs = folder_ / "data" / "preferences.dat";
    const fs::path table = folder_ / "data" / "highscores.dat";
    ASSERT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{1, 1, 0}; }));
    EXPECT_TRUE(WaitFor([&] { return FileText(folder_ / "data" / "controls.cfg").find("\nmove_left = A, Left\n") !=
                                     std::string::npos; }))
        << "the first start writes the controls file with the defaults";

    ASSERT_TRUE(game.EndIntro()) << game.Err();
    ASSERT_TRUE(game.WaitFrames(MenuFadeFrames));
    PressAll(game, {"Down", "Down", "Down"});
    game.Screenshot("title_menu_options_highlighted");
    game.Press("Return");
    // Music 1 -> 0, sound 1 -> 3, Visibility Low -> High, past Flashes, then Return on the Return item saves.
    PressAll(game, {"Down", "Left", "Down", "Right", "Right", "Down", "Return", "Down", "Down"});
    game.Screenshot("options_by_keyboard");
    game.Press("Return");
    ASSERT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{0, 3, 1}; }));

    // The table by keyboard and back, then the play: the highlight is still on Options.
    PressAll(game, {"Up", "Return"});
    ASSERT_TRUE(WaitFor([&] { return FileBytes(table) == DefaultTable(); }));
    PressAll(game, {"Down", "Return"}); // the table's one item, Return
    auto low = WriteLowTable(table);
    PressAll(game, {"Up", "Return"});
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond));
    PressAll(game, {"Left", "Up", "Right"});
    game.Press("Escape");
    game.Screenshot("pause_by_keyboard");
    game.Press("Return"); // resumes
    EXPECT_TRUE(game.WaitFrames(FramesPerSecond / 4));

    // Down held drops fast, like S, until the play is lost.
    ASSERT_TRUE(HoldUntilNameEntry(game, "Down", "name_entry_after_down"));
    PressAll(game, {"k", "e", "y", "Return"});
    low.insert(low.begin(), {0, "KEY"});
    low.pop_back();
    ASSERT_TRUE(WaitFor([&] { return FileBytes(table) == TableBytes(low); }));
    EscapeEndsIt(game);
    EXPECT_EQ(game.Err(), "");
}

// The fault players met: S held as the play is lost, with the platform's key repeat on, typed
// "SSS" into the name. Keys held when the entry opens type nothing until released.
TEST_F(GameEndToEnd, DropFastHeldIntoTheNameEntryTypesNothing)
{
    x_.SetAutoRepeat(true);
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    const fs::path table = folder_ / "data" / "highscores.dat";
    ASSERT_TRUE(WaitFor([&] { return fs::exists(folder_ / "data" / "preferences.dat"); }));
    auto low = WriteLowTable(table);
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    game.Click(MiddleX, PlayItemY);
    // The repeats of S go on into the entry for a second of its frames.
    const bool entry = game.HoldUntil("s", [&] {
        return ShowsNameEntry(game.Screenshot("name_entry_s_held")) && game.WaitFrames(FramesPerSecond);
    });
    ASSERT_TRUE(entry);
    // The name is typed without the repeat: on a slow machine a press alone may last past its delay.
    x_.SetAutoRepeat(false);
    PressAll(game, {"x", "y", "z"});
    game.Screenshot("name_entry_after_held_s");
    game.Press("Return");
    low.insert(low.begin(), {0, "XYZ"});
    low.pop_back();
    ASSERT_TRUE(WaitFor([&] { return FileBytes(table) == TableBytes(low); })) << FileText(table);
    EscapeEndsIt(game);
}

// A logout while the name entry waits: the entry is kept with the letters shown, and its replay
// (written before the table entry that points at it) carries the name.
TEST_F(GameEndToEnd, TerminationAtTheNameEntryKeepsTheEntryAndItsReplay)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    const fs::path table = folder_ / "data" / "highscores.dat";
    ASSERT_NO_FATAL_FAILURE(OpenMenu(game));
    auto low = WriteLowTable(table);
    game.Click(MiddleX, PlayItemY);
    ASSERT_TRUE(HoldUntilNameEntry(game, "s", "name_entry_before_termination"));
    game.Signal(SIGTERM);
    ExpectCleanExit(game);
    low.insert(low.begin(), {0, "AAA"});
    low.pop_back();
    EXPECT_EQ(FileBytes(table), TableBytes(low)) << FileText(table);
    std::vector<std::string> replays;
    for (const auto& entry : fs::directory_iterator(folder_ / "data" / "replays"))
        replays.push_back(entry.path().filename().string());
    ASSERT_EQ(replays.size(), 1u) << "the unnamed replay of the loss is replaced by the named one";
    EXPECT_TRUE(replays[0].ends_with("_0_AAA.replay")) << replays[0];
}

// Switching to another window during a play opens the pause screen, where Escape ends the game
// (in play it would only pause).
TEST_F(GameEndToEnd, LosingTheFocusDuringAPlayPausesIt)
{
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    game.Click(MiddleX, PlayItemY);
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond));
    x_.DropFocus();
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond / 2));
    ASSERT_TRUE(game.FindWindow()); // the player comes back to the window
    ASSERT_TRUE(game.WaitFrames(FramesPerSecond / 4));
    game.Screenshot("pause_after_focus_loss");
    EscapeEndsIt(game);
}

// A controls file with a remap and a bad line: the warning names the line and the default kept,
// and the remapped key drops fast.
TEST_F(GameEndToEnd, TheControlsFileRemapsAndWarns)
{
    WriteDataFile("controls.cfg", "drop_fast = X\nmove_left = Nokey\n");
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    const std::string warning = (folder_ / "data" / "controls.cfg").string() +
                                ":2: unknown key name \"Nokey\"; move_left keeps its default keys A, Left\n";
    ASSERT_TRUE(WaitFor([&] { return game.Err() == warning; })) << game.Err();
    const fs::path table = folder_ / "data" / "highscores.dat";
    auto low = WriteLowTable(table);
    ASSERT_TRUE(game.EndIntro()) << game.Err();
    game.Click(MiddleX, PlayItemY);
    ASSERT_TRUE(HoldUntilNameEntry(game, "x", "name_entry_after_x"));
    game.Press("Escape");
    ExpectCleanExit(game);
    EXPECT_EQ(game.Err(), warning) << "one warning, once";
}
