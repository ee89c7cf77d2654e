// The real game, driven through the X server as a player would: keys and clicks from xdotool,
// the close box as the window manager sends it, screenshots kept in screens/ for review.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/layout.h"
#include "common/files.h"
#include "common/shell.h"
#include "draw2d/pixmap.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A command of the X tools; none may hang the test.
std::string Tool(const std::string& command)
{
    return Shell("timeout 30 " + command + " 2>/dev/null");
}

std::string FileText(const fs::path& path)
{
    const auto bytes = FileBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Polls until the condition holds or the time is up; every wait of these tests is bounded.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

std::vector<uint8_t> TableBytes(const std::vector<std::pair<int32_t, std::string>>& entries)
{
    std::vector<uint8_t> bytes;
    for (const auto& [points, name] : entries) {
        const auto u = static_cast<uint32_t>(points);
        bytes.insert(bytes.end(), {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)});
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    return bytes;
}

std::vector<uint8_t> DefaultTable()
{
    std::vector<std::pair<int32_t, std::string>> entries;
    for (int i = 0; i < 10; ++i)
        entries.emplace_back(2500 - 250 * i, "DEF");
    return TableBytes(entries);
}

// The few Xlib calls the tests need, from the library SDL itself uses (loaded, not linked).
class XDisplay {
public:
    XDisplay() : lib_(dlopen("libX11.so.6", RTLD_NOW))
    {
        if (!lib_)
            return;
        const auto open = reinterpret_cast<decltype(&XOpenDisplay)>(dlsym(lib_, "XOpenDisplay"));
        display_ = open ? open(nullptr) : nullptr;
    }
    ~XDisplay()
    {
        if (display_)
            Call<decltype(&XCloseDisplay)>("XCloseDisplay")(display_);
        if (lib_)
            dlclose(lib_);
    }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;
    bool Open() const { return display_ != nullptr; }

    // What a window manager sends when the window's close box is clicked.
    void ClickCloseBox(unsigned long window)
    {
        const auto atom = Call<decltype(&XInternAtom)>("XInternAtom");
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = atom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(atom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        Call<decltype(&XSendEvent)>("XSendEvent")(display_, window, False, NoEventMask, &event);
        Call<decltype(&XFlush)>("XFlush")(display_);
    }

    // A held key then stays one press: nothing is typed twice and nothing repeats.
    bool AutoRepeat()
    {
        XKeyboardState state{};
        Call<decltype(&XGetKeyboardControl)>("XGetKeyboardControl")(display_, &state);
        return state.global_auto_repeat == AutoRepeatModeOn;
    }
    void SetAutoRepeat(bool on)
    {
        Call<decltype(&XAutoRepeatOn)>(on ? "XAutoRepeatOn" : "XAutoRepeatOff")(display_);
        Call<decltype(&XFlush)>("XFlush")(display_);
    }

private:
    template <class F>
    F Call(const char* name)
    {
        return reinterpret_cast<F>(dlsym(lib_, name));
    }
    void* lib_;
    Display* display_ = nullptr;
};

// One run of the game from its own folder, with silent OpenAL output and its standard output
// and error captured in files beside it. Killed, with any helper it started, if a test leaves it
// running.
class GameRun {
public:
    // Extra environment variables for the game, name and value.
    using Environment = std::vector<std::pair<std::string, std::string>>;

    // With signalsHeld, SIGTERM and SIGINT stay blocked up to the game's own code, so one sent at
    // any moment after the start counts as arriving at its first instruction at the latest.
    explicit GameRun(const fs::path& folder, bool withDisplay = true, const Environment& environment = {},
                     bool signalsHeld = false)
        : folder_(folder)
    {
        // Blocked before the fork, so the child never runs a moment without the block.
        sigset_t signals, previous;
        sigemptyset(&signals);
        if (signalsHeld) {
            sigaddset(&signals, SIGTERM);
            sigaddset(&signals, SIGINT);
        }
        sigprocmask(SIG_BLOCK, &signals, &previous);
        pid_ = fork();
        if (pid_ != 0)
            sigprocmask(SIG_SETMASK, &previous, nullptr);
        if (pid_ == 0) {
            setpgid(0, 0); // a group of its own, so that helpers it may start go with it
            // Started from elsewhere: the game must find its files beside itself.
            if (chdir("/") != 0)
                _exit(120);
            freopen((folder / "stdout.txt").c_str(), "w", stdout);
            freopen((folder / "stderr.txt").c_str(), "w", stderr);
            setenv("ALSOFT_DRIVERS", "null", 1);
            for (const auto& [name, value] : environment)
                setenv(name.c_str(), value.c_str(), 1);
            if (!withDisplay) {
                // An X display that is not there: SDL may fall back to a driver that shows
                // nothing, which the game must refuse as well.
                setenv("DISPLAY", ":9999", 1);
                unsetenv("SDL_VIDEODRIVER");
                unsetenv("WAYLAND_DISPLAY");
            }
            execl((folder / "brimstrand").c_str(), "brimstrand", static_cast<char*>(nullptr));
            _exit(121);
        }
        setpgid(pid_, pid_); // both sides, so the group exists whichever runs first
    }
    ~GameRun()
    {
        if (!exit_status_) {
            kill(-pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // The raw wait status once the game has ended within the limit.
    std::optional<int> WaitExit(std::chrono::milliseconds limit)
    {
        WaitFor(
            [this] {
                int status = 0;
                if (!exit_status_ && waitpid(pid_, &status, WNOHANG) == pid_)
                    exit_status_ = status;
                return exit_status_.has_value();
            },
            limit);
        return exit_status_;
    }
    bool Running() { return !WaitExit(0ms); }
    void Signal(int sig) const { kill(pid_, sig); }

    bool FindWindow()
    {
        const std::string id = Tool("xdotool search --sync --all --onlyvisible --pid " + std::to_string(pid_) +
                                     " --name '^Brimstrand$'");
        window_ = std::strtoul(id.c_str(), nullptr, 10);
        if (!window_)
            return false;
        Tool("xdotool windowfocus --sync " + std::to_string(window_));
        std::istringstream geometry(Tool("xdotool getwindowgeometry --shell " + std::to_string(window_)));
        for (std::string line; std::getline(geometry, line);) {
            if (line.rfind("X=", 0) == 0)
                x_ = std::atoi(line.c_str() + 2);
            if (line.rfind("Y=", 0) == 0)
                y_ = std::atoi(line.c_str() + 2);
        }
        return true;
    }
    unsigned long Window() const { return window_; }

    // Window coordinates.
    void Click(int x, int y)
    {
        Tool("xdotool mousemove --window " + std::to_string(window_) + " " + std::to_string(x) + " " +
              std::to_string(y) + " sleep 0.1 click 1");
        std::this_thread::sleep_for(150ms);
    }
    // Held for a few frames, so that a game polling IsKeyDown once per frame sees it.
    void Press(const std::string& key, std::chrono::milliseconds hold = 100ms)
    {
        Tool("xdotool keydown " + key);
        std::this_thread::sleep_for(hold);
        Tool("xdotool keyup " + key);
        std::this_thread::sleep_for(100ms);
    }
    fs::path Screenshot(const std::string& name)
    {
        fs::create_directories("screens");
        const fs::path path = fs::absolute("screens") / (name + ".png");
        Tool("import -window root -crop 512x512+" + std::to_string(x_) + "+" + std::to_string(y_) +
              " +repage " + path.string());
        return path;
    }

    std::string Out() const { return FileText(folder_ / "stdout.txt"); }
    std::string Err() const { return FileText(folder_ / "stderr.txt"); }

private:
    fs::path folder_;
    pid_t pid_ = -1;
    std::optional<int> exit_status_;
    unsigned long window_ = 0;
    int x_ = 0, y_ = 0;
};

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

class GameEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display (the test command runs under xvfb-run)";
        const char* bin = std::getenv("BRIM_BIN_DIR");
        ASSERT_NE(bin, nullptr);
        if (!fs::exists(fs::path(bin) / "brimstrand"))
            GTEST_SKIP() << "the game is not built";
        if (std::system("command -v xdotool >/dev/null && command -v import >/dev/null") != 0)
            GTEST_SKIP() << "needs xdotool and ImageMagick's import";
        ASSERT_TRUE(x_.Open());
        auto_repeat_ = x_.AutoRepeat();
        x_.SetAutoRepeat(false);
        temp_ = std::make_unique<TTempFolder>("brim_e2e");
        ASSERT_FALSE(temp_->Path().empty());
        folder_ = temp_->Path();
        // A copy of the game without its data/, so every run starts as a first run.
        fs::copy_file(fs::path(bin) / "brimstrand", folder_ / "brimstrand");
        fs::copy(fs::path(bin) / "gfx", folder_ / "gfx", fs::copy_options::recursive);
        fs::copy(fs::path(bin) / "sfx", folder_ / "sfx", fs::copy_options::recursive);
    }
    void TearDown() override
    {
        if (auto_repeat_)
            x_.SetAutoRepeat(true);
        temp_.reset();
    }

    static void ExpectCleanExit(GameRun& game)
    {
        const auto status = game.WaitExit(15s);
        ASSERT_TRUE(status.has_value()) << "the game did not end";
        ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
        EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
    }

    XDisplay x_;
    bool auto_repeat_ = false;
    std::unique_ptr<TTempFolder> temp_;
    fs::path folder_;
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
    ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; }, 10s)) << game.Out();
    // The line comes first, the file is written right after it.
    EXPECT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{1, 1, 0}; }, 5s));
    EXPECT_FALSE(fs::exists(table)) << "the table is made when it is first needed";
    std::this_thread::sleep_for(1s);
    game.Screenshot("title_intro");

    // Space ends the 7-second intro at once; the menu then fades in over 3.4 seconds. A click
    // during the intro would only skip it, so the table opening proves the menu was up.
    game.Press("space");
    std::this_thread::sleep_for(3500ms);
    game.Screenshot("title_menu");
    game.Click(MiddleX, TableItemY);
    ASSERT_TRUE(WaitFor([&] { return FileBytes(table) == DefaultTable(); }, 3s)) << FileBytes(table).size();
    std::this_thread::sleep_for(500ms);
    game.Screenshot("table");
    game.Click(ReturnX, ReturnY);
    std::this_thread::sleep_for(300ms);

    // Options: music to 0 (left zone), sound to 1 (right zone), Visibility Low -> High, Return saves.
    game.Click(MiddleX, OptionsItemY);
    std::this_thread::sleep_for(500ms);
    game.Screenshot("options");
    game.Click(325, 208);
    game.Click(369, 228);
    game.Click(340, 248);
    std::this_thread::sleep_for(200ms);
    game.Screenshot("options_changed");
    game.Click(ReturnX, ReturnY);
    ASSERT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{0, 4, 1}; }, 3s));

    // A play, paused and resumed.
    game.Click(MiddleX, PlayItemY);
    std::this_thread::sleep_for(1500ms);
    game.Screenshot("play");
    game.Press("Escape");
    std::this_thread::sleep_for(500ms);
    game.Screenshot("pause");
    EXPECT_TRUE(game.Running()) << "Escape in play pauses, it does not end the program";
    game.Click(MiddleX, MiddleY);

    // A table that any score enters, read when the play is lost; then S is held until the name
    // entry shows.
    std::vector<std::pair<int32_t, std::string>> low(10, {-1, "LOW"});
    {
        std::ofstream out(table, std::ios::binary | std::ios::trunc);
        const auto bytes = TableBytes(low);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Tool("xdotool keydown s");
    const bool entry = WaitFor([&] { return ShowsNameEntry(game.Screenshot("name_entry")); }, 120s);
    Tool("xdotool keyup s");
    ASSERT_TRUE(entry) << "the play was not lost or the name entry did not show";
    for (const char* key : {"x", "1", "y", "z"})
        game.Press(key, 50ms);
    game.Screenshot("name_entry_typed");
    game.Press("Return");
    low.insert(low.begin(), {0, "XYZ"});
    low.pop_back();
    ASSERT_TRUE(WaitFor([&] { return FileBytes(table) == TableBytes(low); }, 3s));

    // Back on the title menu, Escape ends the program.
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(game.Running());
    game.Press("Escape");
    ExpectCleanExit(game);
    EXPECT_EQ(game.Err(), "") << "no asset is missing, nothing went wrong";
}

TEST_F(GameEndToEnd, SecondRunIsQuietAndTheCloseBoxEndsIt)
{
    fs::create_directories(folder_ / "data");
    std::ofstream(folder_ / "data" / "preferences.dat", std::ios::binary) << '\2' << '\3' << '\1';
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(game.Running());
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
    game.Press("space");
    std::this_thread::sleep_for(1s);
    game.Click(MiddleX, OptionsItemY); // plays the missing blip
    game.Click(ReturnX, ReturnY);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(game.Running());
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
    const auto status = game.WaitExit(15s);
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_NE(game.Err().find("window"), std::string::npos) << game.Err();
}

// SIGTERM and SIGINT end the game with code 0 whenever they come: before start-up has set
// anything up, while it loads, and on the intro. The times from signal to exit are printed.
TEST_F(GameEndToEnd, TerminationSignalsEndItAtAnyMoment)
{
    for (int sig : {SIGTERM, SIGINT}) {
        for (auto delay : {0ms, 20ms, 100ms, 300ms, 1000ms, 3000ms}) {
            GameRun game(folder_, true, {}, true);
            std::this_thread::sleep_for(delay);
            const auto sent = std::chrono::steady_clock::now();
            game.Signal(sig);
            const auto status = game.WaitExit(15s);
            ASSERT_TRUE(status.has_value()) << "signal " << sig << " after " << delay.count() << " ms was ignored";
            ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status) << " sent after "
                                            << delay.count() << " ms";
            EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
            const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent);
            std::printf("signal %d after %lld ms: ended %.0f ms later\n", sig, static_cast<long long>(delay.count()),
                        took.count());
        }
    }
}

// A libopenal.so.1 that loads but lacks the entry points the driver calls.
TEST_F(GameEndToEnd, BrokenOpenALLibraryEndsWithTheAudioMessage)
{
    const char* stubs = BRIM_STUB_OPENAL_DIR; // built with the tests
    GameRun game(folder_, true, {{"LD_LIBRARY_PATH", stubs}});
    const auto status = game.WaitExit(15s);
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 1);
    EXPECT_EQ(game.Err(), "Game requires OpenAL audio driver to run.\n");
}

// data/ is a file: nothing can be saved. The game says so on stderr and on the options screen,
// and play goes on; leftovers of an interrupted save elsewhere are not its business.
TEST_F(GameEndToEnd, FailedSaveIsReportedWhereItHappened)
{
    std::ofstream(folder_ / "data") << "not a folder";
    GameRun game(folder_);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; }, 10s)) << game.Out();
    game.Press("space");
    std::this_thread::sleep_for(3500ms);
    game.Click(256, OptionsItemY);
    std::this_thread::sleep_for(500ms);
    game.Click(340, 248); // Visibility
    game.Click(ReturnX, ReturnY);
    std::this_thread::sleep_for(300ms);
    game.Screenshot("options_save_failed");
    EXPECT_TRUE(game.Running());
    EXPECT_EQ(game.Err(), "Could not save data/preferences.dat: Not a directory\n"
                          "Could not save data/preferences.dat: Not a directory\n")
        << "once for the defaults at the start, once for the options";
    // The notice ends by itself; the menu is back and Escape ends the program.
    std::this_thread::sleep_for(3s);
    game.Press("Escape");
    ExpectCleanExit(game);
    EXPECT_EQ(FileText(folder_ / "data"), "not a folder");
}

} // namespace
