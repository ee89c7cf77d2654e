// Start-up time, memory and per-frame CPU cost of the real game (<build>/bin/brimstrand).
//
// Runs the game as a child process in a copy of its folder with silent OpenAL output. Without
// an X display the game draws through SDL's offscreen video driver; the play benchmark clicks
// the menu with xdotool and needs an X display (run under xvfb-run).
//
// Start-up: BRIM_TRACE_STARTUP=1 makes the game print its stages on stderr and end after its
// first title frame; the wall time from spawning it to each stage line is measured here.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>
#include <unistd.h>

#include <GL/gl.h>
#include <SDL.h>

#include "app/storage/paths.h"
#include "draw2d/draw2d.h"
#include "draw2d/glcontext.h"
#include "draw2d/gldriver.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/imagedraw.h"
#include "game/assets.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

extern char** environ;

namespace {

// A private copy of the game's folder, so that data/ starts missing and bin/ stays clean; removed
// at exit.
struct GameCopy {
    fs::path folder;
    GameCopy()
    {
        const char* env = std::getenv("BRIM_BIN_DIR");
        const fs::path bin = env ? fs::path(env) : fs::path(ExecutableFolder()) / ".." / "bin";
        std::string pattern = (fs::temp_directory_path() / "brim_bench_XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        folder = pattern;
        if (!fs::exists(bin / "brimstrand"))
            return;
        fs::copy_file(bin / "brimstrand", folder / "brimstrand");
        fs::copy(bin / "gfx", folder / "gfx", fs::copy_options::recursive);
        fs::copy(bin / "sfx", folder / "sfx", fs::copy_options::recursive);
    }
    ~GameCopy() { fs::remove_all(folder); }
};

// Empty when the game is not built.
fs::path GameFolder()
{
    static const GameCopy copy;
    return fs::exists(copy.folder / "brimstrand") ? copy.folder : fs::path();
}

struct Child {
    pid_t pid = -1;
    FILE* err = nullptr; // the game's stderr
};

// Traces start-up, or else every frame; scale 0 lets the game choose its window size. Without
// shortcuts the driver draws every layer in full, as before it skipped what changes no pixel.
// folder names the data folder under the game's own, data<scale> by default.
Child Spawn(bool traceStartup, int scale = 0, bool shortcuts = true, const std::string& folder = {})
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (shortcuts)
        unsetenv("BRIM_DRAW_SHORTCUTS");
    else
        setenv("BRIM_DRAW_SHORTCUTS", "off", 1);
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (traceStartup) {
        setenv("BRIM_TRACE_STARTUP", "1", 1);
        unsetenv("BRIM_TRACE_FRAMES");
    } else {
        unsetenv("BRIM_TRACE_STARTUP");
        setenv("BRIM_TRACE_FRAMES", "every", 1); // a slow frame rate still shows in 5 s
    }
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const std::string exe = (GameFolder() / "brimstrand").string();
    // A data folder of its own per run, so no remembered window size carries over.
    const std::string data = (GameFolder() / (folder.empty() ? "data" + std::to_string(scale) : folder)).string();
    std::string scaleText = std::to_string(scale);
    std::vector<char*> argv = {const_cast<char*>("brimstrand"), const_cast<char*>("--data-dir"),
                               const_cast<char*>(data.c_str())};
    if (scale > 0)
        argv.insert(argv.end(), {const_cast<char*>("--scale"), scaleText.data()});
    argv.push_back(nullptr);
    Child child;
    if (posix_spawn(&child.pid, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    child.err = fdopen(fds[0], "r");
    return child;
}

void Stop(Child& child)
{
    kill(child.pid, SIGKILL);
    waitpid(child.pid, nullptr, 0);
    fclose(child.err);
}

// A "VmHWM:"-style line of /proc/<pid>/status, in MiB.
double StatusMiB(pid_t pid, const std::string& key)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(key.size())) / 1024.0;
    return 0;
}

double PeakMemoryMiB(pid_t pid) { return StatusMiB(pid, "VmHWM:"); }

// The game's window, found by its process.
std::string WindowOf(pid_t pid)
{
    const std::string command =
        "timeout 30 xdotool search --sync --all --onlyvisible --pid " + std::to_string(pid) + " --name Brimstrand";
    unsigned long id = 0;
    if (FILE* p = popen(command.c_str(), "r")) {
        if (std::fscanf(p, "%lu", &id) != 1)
            id = 0;
        pclose(p);
    }
    return std::to_string(id);
}

void BM_ColdStart(benchmark::State& state)
{
    if (GameFolder().empty()) {
        state.SkipWithError("the game is not built");
        return;
    }
    std::map<std::string, double> total; // stage -> summed ms since spawn
    for (auto _ : state) {
        const auto start = Clock::now();
        Child child = Spawn(true, static_cast<int>(state.range(0)));
        char line[256];
        while (fgets(line, sizeof line, child.err)) {
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            char stage[128];
            if (std::sscanf(line, "startup: %127[^0-9] %*d", stage) == 1) {
                std::string name(stage);
                name.erase(name.find_last_not_of(' ') + 1);
                total[name] += ms;
                if (name == "first title frame")
                    state.SetIterationTime(ms / 1000);
            }
        }
        int status = 0;
        waitpid(child.pid, &status, 0);
        fclose(child.err);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the game did not start");
            return;
        }
    }
    for (const auto& [stage, ms] : total)
        state.counters[stage + " ms"] = ms / static_cast<double>(state.iterations());
}
// Argument: the window's scale (0: the game's own choice); at 2 the pictures painted for it are read.
BENCHMARK(BM_ColdStart)->Arg(0)->Arg(2)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

// The last "frames: N cpu MS" line the game has written so far; zeros when none.
struct FrameTrace {
    double frames = 0, cpuMs = 0;
};
FrameTrace LatestTrace(Child& child)
{
    FrameTrace latest;
    fcntl(fileno(child.err), F_SETFL, fcntl(fileno(child.err), F_GETFL) | O_NONBLOCK);
    char line[256];
    while (fgets(line, sizeof line, child.err)) {
        long frames = 0;
        double cpu = 0;
        if (std::sscanf(line, "frames: %ld cpu %lf", &frames, &cpu) == 2)
            latest = {static_cast<double>(frames), cpu};
    }
    clearerr(child.err);
    return latest;
}

// CPU time per frame drawn over 5 seconds of the screen reached, from the game's own frame trace
// (a frame rate below 60 shows as fewer frames, not as cheaper ones).
double MeasureFrames(benchmark::State& state, Child& child)
{
    const FrameTrace start = LatestTrace(child);
    std::this_thread::sleep_for(5s);
    const FrameTrace end = LatestTrace(child);
    const double frames = end.frames - start.frames;
    if (frames <= 0) {
        state.SkipWithError("the game traced no frames");
        return 0;
    }
    const double perFrameMs = (end.cpuMs - start.cpuMs) / frames;
    state.SetIterationTime(perFrameMs / 1000);
    state.counters["cpu ms/frame"] = perFrameMs;
    state.counters["frames/s"] = frames / 5;
    state.counters["VmHWM MiB"] = PeakMemoryMiB(child.pid);
    return perFrameMs;
}

// A key sent in the intro's first frames can be lost (at scale 2 often), and the intro then goes on
// and takes the menu's click as its end: the keys wait for a second of the intro's 7.
void WaitForIntroSecond(Child& child)
{
    constexpr double IntroSecondFrames = 60;
    const auto giveUp = Clock::now() + 30s;
    while (LatestTrace(child).frames < IntroSecondFrames && Clock::now() < giveUp)
        std::this_thread::sleep_for(50ms);
}

bool CanDriveWindows() { return std::getenv("DISPLAY") && std::system("command -v xdotool >/dev/null") == 0; }

// An xdotool command (within 30 s); a failed one is said, as the screen measured may then be
// another than the one named.
void Xdotool(const std::string& arguments)
{
    if (std::system(("timeout 30 xdotool " + arguments).c_str()) != 0)
        std::fprintf(stderr, "bench: xdotool %s failed\n", arguments.c_str());
}

// The CPU time (every thread, llvmpipe's among them, as the frame trace counts) of one layer over
// the whole drawing at each scale: the game's first background, turned as the title turns it.
// Measured in this process before the screens, so each screen's frame reads as so many layers.
double g_layerCpuMs[4] = {};

double ProcessCpuMs()
{
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return static_cast<double>(cpu.tv_sec) * 1000 + static_cast<double>(cpu.tv_nsec) / 1e6;
}

// Argument: the window's scale.
void BM_FullWindowLayerCpu(benchmark::State& state)
{
    const int scale = static_cast<int>(state.range(0));
    SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
    if (GameFolder().empty() || !OpenGraphics(512, 512, 0, 0, GraphicsScalable)) {
        state.SkipWithError("needs the game and a window");
        return;
    }
    SDL_SetWindowSize(GLContextCurrent()->window, 512 * scale, 512 * scale);
    Flip(0);
    const auto back = LoadImageFile((GameFolder() / "gfx" / "back1.png").string());
    CentreImageHandle(back);
    SetRotation(17);
    DrawImage(back, 256, 256); // the texture's upload is no part of a layer
    glFinish();
    constexpr int kLayers = 120;
    for (auto _ : state) {
        const double start = ProcessCpuMs();
        for (int i = 0; i < kLayers; ++i) {
            Cls();
            DrawImage(back, 256, 256);
            glFinish();
            Flip(0);
        }
        const double perLayer = (ProcessCpuMs() - start) / kLayers;
        state.SetIterationTime(perLayer / 1000);
        g_layerCpuMs[scale] = perLayer;
        state.counters["cpu ms/layer"] = perLayer;
    }
    SetRotation(0);
    CloseOpenedGraphics();
}
BENCHMARK(BM_FullWindowLayerCpu)->Arg(1)->Arg(2)->Arg(3)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
// What the draws every backdrop shares cost, each added to those before it, in CPU per frame as in
// BM_FullWindowLayerCpu. Arguments: the window's scale, then the draws: 0 the clear alone, 1 and
// the turned background, 2 and the frame picture, 3 and the logo.
void BM_BackdropDrawCpu(benchmark::State& state)
{
    const int scale = static_cast<int>(state.range(0));
    const auto draws = state.range(1);
    SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
    if (GameFolder().empty() || !OpenGraphics(512, 512, 0, 0, GraphicsScalable)) {
        state.SkipWithError("needs the game and a window");
        return;
    }
    SDL_SetWindowSize(GLContextCurrent()->window, 512 * scale, 512 * scale);
    Flip(0);
    SetAutoImageFlags(0);
    const fs::path gfx = GameFolder() / "gfx";
    const auto back = LoadImageFile((gfx / "back1.png").string());
    const auto hud = LoadImageFile((gfx / "hud.png").string());
    const auto logo = LoadImageFile((gfx / "logo.png").string());
    for (const auto& image : {back, hud, logo})
        CentreImageHandle(image);
    for (const auto& [image, name] : {std::pair{hud, "hud.png"}, std::pair{logo, "logo.png"}})
        for (int density : DenserVersions)
            image->AddDenserVersion(density, [path = (gfx / DenserName(name, density)).string()] {
                const auto dense = TImage::Load(path, 0, 0, 0, 0);
                return dense ? dense->pixmaps : std::vector<std::shared_ptr<TPixmap>>{};
            });
    SetBlend(BlendAlpha);
    constexpr int kFrames = 120;
    for (auto _ : state) {
        const double start = ProcessCpuMs();
        for (int i = 0; i < kFrames; ++i) {
            Cls();
            SetRotation(17 + i * 0.08f);
            if (draws >= 1)
                DrawImage(back, 256, 116);
            SetRotation(0);
            if (draws >= 2)
                DrawImage(hud, 256, 256);
            if (draws >= 3)
                DrawImage(logo, 256, 66);
            glFinish();
            Flip(0);
        }
        const double perFrame = (ProcessCpuMs() - start) / kFrames;
        state.SetIterationTime(perFrame / 1000);
        state.counters["cpu ms/frame"] = perFrame;
    }
    CloseOpenedGraphics();
}
BENCHMARK(BM_BackdropDrawCpu)->ArgsProduct({{1, 2, 3}, {0, 1, 2, 3}})->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// A screen's frame as so many full-window layers of the same scale, when BM_FullWindowLayerCpu ran.
void CountLayers(benchmark::State& state, int scale)
{
    if (g_layerCpuMs[scale] > 0 && state.counters.count("cpu ms/frame"))
        state.counters["layers/frame"] = state.counters["cpu ms/frame"] / g_layerCpuMs[scale];
}

// Arguments: the window's scale (512 by 512 times it), then 1 with the driver's shortcuts, 0 without.
void BM_FrameCpuTitleMenu(benchmark::State& state)
{
    if (GameFolder().empty()) {
        state.SkipWithError("the game is not built");
        return;
    }
    const int scale = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Child child = Spawn(false, scale, state.range(1) != 0);
        if (CanDriveWindows()) {
            // Space ends the intro; the menu then fades in over about 3.4 seconds.
            WaitForIntroSecond(child);
            Xdotool("windowfocus --sync " + WindowOf(child.pid) + " key space");
            std::this_thread::sleep_for(5s);
        } else {
            std::this_thread::sleep_for(12s); // the intro lasts 7 seconds at 60 frames a second
        }
        MeasureFrames(state, child);
        Stop(child);
    }
    CountLayers(state, scale);
}
BENCHMARK(BM_FrameCpuTitleMenu)->ArgsProduct({{1, 2, 3}, {0, 1}})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The screens BM_FrameCpuScreen reaches from the title menu, and the menu item each one starts from.
enum TBenchScreen : int { ScreenPlay, ScreenPause, ScreenTable, ScreenOptions };
constexpr int kScreenItemY[] = {246, 246, 306, 366}; // the middle of Play, Play, High scores, Options

// Space ends the intro, the menu fades in, a click on the screen's item opens it.
void OpenFromTitle(Child& child, int scale, TBenchScreen screen)
{
    const std::string id = WindowOf(child.pid);
    WaitForIntroSecond(child);
    Xdotool("windowfocus --sync " + id + " key space");
    std::this_thread::sleep_for(5s);
    const std::string item = std::to_string(256 * scale) + " " + std::to_string(kScreenItemY[screen] * scale);
    Xdotool("mousemove --window " + id + " " + item + " sleep 0.1 click 1");
    std::this_thread::sleep_for(2s);
}

// Arguments: the screen (above), the window's scale, then 1 with the driver's shortcuts, 0 without.
void BM_FrameCpuScreen(benchmark::State& state)
{
    if (GameFolder().empty() || !CanDriveWindows()) {
        state.SkipWithError("needs the game, an X display and xdotool");
        return;
    }
    const auto screen = static_cast<TBenchScreen>(state.range(0));
    const int scale = static_cast<int>(state.range(1));
    for (auto _ : state) {
        Child child = Spawn(false, scale, state.range(2) != 0);
        OpenFromTitle(child, scale, screen);
        if (screen == ScreenPause)
            Xdotool("key Escape");
        std::this_thread::sleep_for(1s);
        MeasureFrames(state, child);
        Stop(child);
    }
    CountLayers(state, scale);
}
BENCHMARK(BM_FrameCpuScreen)
    ->ArgsProduct({{ScreenPlay, ScreenPause, ScreenTable, ScreenOptions}, {1, 2, 3}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// What the play options cost a frame of the real game: the play screen at scale 1, reached from
// the title as a player reaches it, its piece falling, drawn through the GL driver, with every
// option off and with every option on (settings.cfg: coming pieces, shadow, hard drop, hold,
// figures), started in turn. Prints the median CPU per frame of each and their ratio. Each start
// has a background and pieces of its own, so the ratio varies between runs; bench_play_options
// draws the very same frames both ways for the exact figure.
void BM_PlayFrameCpuOfOptions(benchmark::State& state)
{
    if (GameFolder().empty() || !CanDriveWindows()) {
        state.SkipWithError("needs the game, an X display and xdotool");
        return;
    }
    constexpr int kStarts = 3;
    const std::string off = "data_options_off", on = "data_options_on";
    fs::create_directories(GameFolder() / off);
    fs::create_directories(GameFolder() / on);
    std::ofstream(GameFolder() / off / "settings.cfg") << "";
    std::ofstream(GameFolder() / on / "settings.cfg")
        << "next_pieces = 3\nlanding_shadow = on\nhard_drop = on\nhold = on\nplay_figures = on\n";
    std::vector<double> offMs, onMs;
    for (auto _ : state) {
        for (int start = 0; start < 2 * kStarts; ++start) {
            const bool options = start % 2 == 1;
            Child child = Spawn(false, 1, true, options ? on : off);
            OpenFromTitle(child, 1, ScreenPlay);
            std::this_thread::sleep_for(1s);
            const double ms = MeasureFrames(state, child);
            Stop(child);
            if (ms <= 0)
                return;
            (options ? onMs : offMs).push_back(ms);
        }
    }
    std::sort(offMs.begin(), offMs.end());
    std::sort(onMs.begin(), onMs.end());
    const double offMedian = offMs[offMs.size() / 2], onMedian = onMs[onMs.size() / 2];
    std::printf("play screen of the game: cpu per frame with every option off %.2f ms, with every option on %.2f ms, "
                "ratio %.3f\n",
                offMedian, onMedian, onMedian / offMedian);
    state.counters["off ms/frame"] = offMedian;
    state.counters["on ms/frame"] = onMedian;
    state.counters["ratio"] = onMedian / offMedian;
}
BENCHMARK(BM_PlayFrameCpuOfOptions)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Resident memory of the title screen left running (default 30 minutes, BRIM_TITLE_MINUTES to
// change): the background changes every 6700 frames (about 112 s) and each of the ten pictures
// gets its texture when first shown, so the growth should stop once all ten have been shown.
void BM_TitleMemory(benchmark::State& state)
{
    if (GameFolder().empty()) {
        state.SkipWithError("the game is not built");
        return;
    }
    const char* env = std::getenv("BRIM_TITLE_MINUTES");
    const int minutes = env ? std::max(1, std::atoi(env)) : 30;
    constexpr auto sampleEvery = 10s;
    for (auto _ : state) {
        Child child = Spawn(false);
        const auto start = Clock::now();
        double first = 0, last = 0, lastGrowthMinute = 0;
        for (int sample = 0; Clock::now() - start < std::chrono::minutes(minutes); ++sample) {
            std::this_thread::sleep_for(sampleEvery);
            const double rss = StatusMiB(child.pid, "VmRSS:");
            const double minute = std::chrono::duration<double>(Clock::now() - start).count() / 60;
            if (sample == 0)
                first = rss;
            else if (rss > last + 1) // a new texture, not allocator noise
                lastGrowthMinute = minute;
            last = rss;
            std::fprintf(stderr, "title rss %.1f min %.1f MiB\n", minute, rss);
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.counters["RSS at 10 s MiB"] = first;
        state.counters["RSS at end MiB"] = last;
        state.counters["VmHWM MiB"] = PeakMemoryMiB(child.pid);
        state.counters["last growth min"] = lastGrowthMinute;
        Stop(child);
    }
}
BENCHMARK(BM_TitleMemory)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
