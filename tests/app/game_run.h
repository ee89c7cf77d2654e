#pragma once
// Running the real game as a separate process under the X server: the helpers every test of
// the executable shares (the end-to-end journeys and the installed copy).
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/files.h"
#include "common/frame_trace_file.h"
#include "common/shell.h"
#include "common/wait.h"
#include "common/x_display.h"
#include "draw2d/png_encoder.h"

namespace game_run {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using ::Patience;
using ::WaitFor;

// A command of the X tools; none may hang the test.
inline std::string Tool(const std::string& command, std::chrono::seconds limit = 30s)
{
    return Shell("timeout " + std::to_string(limit.count()) + " " + command + " 2>/dev/null");
}

// The game's own pace, for waits counted in frames: a frame a sixtieth of a second when the
// machine keeps up, however long it takes when it does not.
constexpr int64_t FramesPerSecond = 60;
// The title menu fades in by 0.0049 a frame, from the end of the intro.
constexpr int64_t MenuFadeFrames = 205;

// Frames enough for a new piece to fall wholly into view at the slowest start, 48 frames a row,
// several times over.
constexpr int64_t PieceInViewFrames = 20 * 48;

// Screenshots are read back at once and kept only to look at when a test fails: the fastest
// compression libpng has.
constexpr int ScreenshotCompression = 1;

// The frames start-up draws before the first screen: the loading screen.
constexpr int64_t LoadingFrames = 1;

// Frames a key stays down and then up for, so that a game reading its state once a frame sees
// the press and then the release: the first frame may have read the input just before it came.
constexpr int64_t InputFrames = 2;

// Why the built game cannot be driven through an X server here; empty when it can.
inline std::string CannotDriveTheGame()
{
    if (!std::getenv("DISPLAY"))
        return "needs an X display (the test command runs under xvfb-run)";
    const char* bin = std::getenv("BRIM_BIN_DIR");
    if (!bin || !fs::exists(fs::path(bin) / "brimstrand"))
        return "the game is not built";
    if (std::system("command -v xdotool >/dev/null && command -v import >/dev/null") != 0)
        return "needs xdotool and ImageMagick's import";
    return {};
}

// The bytes of highscores.dat holding these entries.
inline std::vector<uint8_t> TableBytes(const std::vector<std::pair<int32_t, std::string>>& entries)
{
    std::vector<uint8_t> bytes;
    for (const auto& [points, name] : entries) {
        const auto u = static_cast<uint32_t>(points);
        bytes.insert(bytes.end(), {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)});
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    return bytes;
}

// The table a first run writes.
inline std::vector<uint8_t> DefaultTable()
{
    std::vector<std::pair<int32_t, std::string>> entries;
    for (int i = 0; i < 10; ++i)
        entries.emplace_back(2500 - 250 * i, "DEF");
    return TableBytes(entries);
}

// How to start one run: the executable, its arguments, changes to its environment (a value to
// set, or none to unset) and the folder that receives its stdout.txt and stderr.txt. With
// signalsHeld, SIGTERM and SIGINT stay blocked up to the game's own code, so one sent at any
// moment after the start counts as arriving at its first instruction at the latest. With
// traceFrames the game reports every frame it draws (left out of Err()), which the waits for
// frames and the presses and clicks go by.
struct GameLaunch {
    fs::path program;
    fs::path outputFolder;
    std::vector<std::string> arguments;
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
    bool signalsHeld = false;
    bool traceFrames = true;
};

// One run of the game, started from "/" with silent OpenAL output and its standard output and
// error captured. Killed, with any helper it started, if a test leaves it running.
class GameRun {
public:
    // The game in folder, writing its output beside itself; without a display, at an X display
    // that is not there (SDL may fall back to a driver that shows nothing, which the game must
    // refuse as well).
    explicit GameRun(const fs::path& folder, bool withDisplay = true) : GameRun(Beside(folder, withDisplay)) {}
    // The launch of the game in folder, with a home of its own there, so that no run ever writes
    // to the real one.
    static GameLaunch Beside(const fs::path& folder, bool withDisplay = true)
    {
        GameLaunch launch{folder / "brimstrand", folder, {}, {{"HOME", (folder / "home").string()},
                                                            {"XDG_DATA_HOME", std::nullopt}}};
        if (!withDisplay)
            launch.environment.insert(launch.environment.end(), {{"DISPLAY", ":9999"},
                                                                 {"SDL_VIDEODRIVER", std::nullopt},
                                                                 {"WAYLAND_DISPLAY", std::nullopt}});
        return launch;
    }
    explicit GameRun(const GameLaunch& launch) : folder_(launch.outputFolder), tracing_(launch.traceFrames)
    {
        std::vector<std::string> words = {launch.program.filename().string()};
        words.insert(words.end(), launch.arguments.begin(), launch.arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        // Blocked before the fork, so the child never runs a moment without the block.
        sigset_t signals, previous;
        sigemptyset(&signals);
        if (launch.signalsHeld) {
            sigaddset(&signals, SIGTERM);
            sigaddset(&signals, SIGINT);
        }
        sigprocmask(SIG_BLOCK, &signals, &previous);
        pid_ = fork();
        if (pid_ != 0)
            sigprocmask(SIG_SETMASK, &previous, nullptr);
        if (pid_ == 0) {
            setpgid(0, 0); // a group of its own, so that helpers it may start go with it
            // Started from elsewhere: the game must find its files by itself.
            if (chdir("/") != 0)
                _exit(120);
            if (!freopen((folder_ / "stdout.txt").c_str(), "w", stdout) ||
                !freopen((folder_ / "stderr.txt").c_str(), "w", stderr))
                _exit(120);
            setenv("ALSOFT_DRIVERS", "null", 1);
            if (launch.traceFrames)
                setenv(FrameTraceVariable, FrameTraceEvery, 1);
            for (const auto& [name, value] : launch.environment) {
                if (value)
                    setenv(name.c_str(), value->c_str(), 1);
                else
                    unsetenv(name.c_str());
            }
            execv(launch.program.c_str(), argv.data());
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

    // The frames the game has drawn so far, by its trace.
    int64_t Frames() const { return LastTracedFrame(folder_ / "stderr.txt"); }
    // Until the game has drawn count more frames; false when it ended first, or stalled: drew no
    // frame for the limit. However slowly a loaded machine runs the game, frames that keep coming
    // are waited for. A run without the trace has no frames to count: there it waits for nothing.
    bool WaitFrames(int64_t count, std::chrono::milliseconds stall = Patience)
    {
        if (!tracing_)
            return Running();
        const int64_t until = Frames() + count;
        WaitWithinFrames(count, [] { return false; }, stall);
        return Frames() >= until;
    }

    // Until the condition holds, for at most frames more frames of the game: for what takes game
    // time (a piece falling into view), which a loaded machine stretches without limit. False when
    // the frames pass first, or the game ended or stalled (drew no frame for the limit).
    bool WaitWithinFrames(int64_t frames, const std::function<bool()>& condition,
                          std::chrono::milliseconds stall = Patience)
    {
        const int64_t until = Frames() + frames;
        int64_t seen = Frames();
        auto moved = std::chrono::steady_clock::now();
        while (!condition()) {
            const int64_t now = Frames();
            if (now >= until || !Running())
                return condition();
            if (now > seen) {
                seen = now;
                moved = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - moved > stall) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // Start-up draws one frame, the loading screen, and resets the input before the first screen
    // draws its own: once that frame is drawn, a key or click is that screen's. False when the
    // game ended or stalled first.
    bool WaitForFirstScreen(std::chrono::milliseconds limit = Patience)
    {
        return WaitFor([&] { return Frames() > LoadingFrames || !Running(); }, limit) && Frames() > LoadingFrames;
    }

    // Space ends the title's intro. Pressed before the first screen reads keys it is lost, as
    // start-up resets the input, and the intro runs its seven seconds of frames. False when the
    // game ended or stalled first.
    bool EndIntro()
    {
        if (!WaitForFirstScreen())
            return false;
        Press("space");
        return true;
    }

    bool FindWindow()
    {
        // Searched again and again rather than once with --sync: a window that goes away while
        // xdotool reads it (a window manager's frame, the last run's window) ends that search
        // with an X error and no answer.
        WaitFor([&] {
            const std::string id = Tool("xdotool search --all --onlyvisible --pid " + std::to_string(pid_) +
                                        " --name '^Brimstrand$'");
            window_ = std::strtoul(id.c_str(), nullptr, 10);
            return window_ != 0 || !Running();
        });
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

    // Window coordinates. The game has seen the pointer there, for what it shows under it, before
    // the click, and has taken the click when this returns.
    void Click(int x, int y)
    {
        Tool("xdotool mousemove --window " + std::to_string(window_) + " " + std::to_string(x) + " " +
             std::to_string(y));
        WaitFrames(InputFrames);
        Tool("xdotool click 1");
        WaitFrames(InputFrames);
    }
    // Held for at least hold and for frames enough that a game reading the key's state once a
    // frame sees it down; when this returns it has seen the release too.
    void Press(const std::string& key, std::chrono::milliseconds hold = 100ms)
    {
        Tool("xdotool keydown " + key);
        const auto held = std::chrono::steady_clock::now() + hold;
        WaitFrames(InputFrames);
        std::this_thread::sleep_until(held);
        Tool("xdotool keyup " + key);
        WaitFrames(InputFrames);
    }
    // The key held down until the condition holds (within the limit); true when it did.
    bool HoldUntil(const std::string& key, const std::function<bool()>& condition,
                   std::chrono::milliseconds limit = Patience)
    {
        Tool("xdotool keydown " + key);
        const bool held = WaitFor(condition, limit);
        Tool("xdotool keyup " + key);
        WaitFrames(InputFrames);
        return held;
    }
    // Presses the key again and again until the condition holds, for a screen that may not be
    // reading keys yet (still loading, say); true when it held within the limit.
    bool PressUntil(const std::string& key, const std::function<bool()>& condition,
                    std::chrono::milliseconds limit = Patience)
    {
        return WaitFor(
            [&] {
                Press(key);
                return condition();
            },
            limit);
    }
    // The window's area of the screen, from its top left corner.
    fs::path Screenshot(const std::string& name, int width = 512, int height = 512)
    {
        fs::create_directories("screens");
        const fs::path path = fs::absolute("screens") / (name + ".png");
        // Read in this process: a program started for each picture lags far behind the game on a
        // loaded machine. A picture that could not be taken leaves no file, not the one before.
        fs::remove(path);
        XDisplay x;
        const XDisplay::TScreenPixels pixels = x.ScreenPixels(x_, y_, width, height);
        if (pixels.rgb.empty())
            return path;
        FILE* file = std::fopen(path.c_str(), "wb");
        const bool written = file && EncodePng(file, pixels.width, pixels.height, 3, pixels.rgb.data(),
                                               static_cast<size_t>(pixels.width) * 3, ScreenshotCompression);
        if (file)
            std::fclose(file);
        if (!written)
            fs::remove(path);
        return path;
    }
    // "WIDTHxHEIGHT" of the window as the X server has it now.
    std::string Geometry()
    {
        const std::string text = Tool("xdotool getwindowgeometry " + std::to_string(window_));
        const size_t at = text.find("Geometry: ");
        return at == std::string::npos ? "" : text.substr(at + 10, text.find('\n', at) - at - 10);
    }

    std::string Out() const { return FileText(folder_ / "stdout.txt"); }
    std::string Err() const { return WithoutFrameTrace(FileText(folder_ / "stderr.txt")); }

private:
    fs::path folder_;
    pid_t pid_ = -1;
    bool tracing_;
    std::optional<int> exit_status_;
    unsigned long window_ = 0;
    int x_ = 0, y_ = 0;
};

// Each test runs a copy of the built game in a fresh folder without its data/, so every run
// starts as a first run, with the X server's key repeat off (a test may turn it on) and put back
// as it was afterwards.
class TGameCopyTest : public ::testing::Test {
protected:
    explicit TGameCopyTest(const char* folderName) : folderName_(folderName) {}
    void SetUp() override
    {
        if (const std::string missing = CannotDriveTheGame(); !missing.empty())
            GTEST_SKIP() << missing;
        const char* bin = std::getenv("BRIM_BIN_DIR");
        ASSERT_TRUE(x_.Open());
        auto_repeat_ = x_.AutoRepeat();
        x_.SetAutoRepeat(false);
        temp_ = std::make_unique<TTempFolder>(folderName_);
        ASSERT_FALSE(temp_->Path().empty());
        folder_ = temp_->Path();
        fs::copy_file(fs::path(bin) / "brimstrand", folder_ / "brimstrand");
        fs::copy(fs::path(bin) / "gfx", folder_ / "gfx", fs::copy_options::recursive);
        fs::copy(fs::path(bin) / "sfx", folder_ / "sfx", fs::copy_options::recursive);
    }
    void TearDown() override
    {
        x_.SetAutoRepeat(auto_repeat_); // as it was, whatever a test set
        temp_.reset();
    }

    // A file in the copy's data folder, as a player left it there before the start.
    void WriteDataFile(const std::string& name, const std::string& text) const
    {
        fs::create_directories(folder_ / "data");
        std::ofstream(folder_ / "data" / name, std::ios::binary) << text;
    }

    XDisplay x_;
    bool auto_repeat_ = false;
    std::unique_ptr<TTempFolder> temp_;
    fs::path folder_;

private:
    const char* folderName_;
};

} // namespace game_run
