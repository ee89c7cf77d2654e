#include "app/startup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <time.h>

#include "app/datafile.h"
#include "app/preload.h"
#include "app/prefs.h"
#include "app/scores.h"
#include "app/screens.h"
#include "app/shell_state.h"
#include "app/sound.h"
#include "app/text.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "game/pictures.h"
#include "game/settings.h"
#include "game/shape.h"
#include "system/clock.h"
#include "system/error.h"
#include "system/input.h"
#include "system/random.h"

namespace {

const bool tracing = [] {
    const char* v = std::getenv("BRIM_TRACE_STARTUP");
    return v && std::strcmp(v, "1") == 0;
}();
const int32_t traceorigin = ElapsedMillis();

std::string BackFile(int i) { return "gfx\\back" + std::to_string(i) + ".png"; }
std::string PowerupFile(int i) { return "gfx\\powerup" + std::to_string(i) + ".png"; }
std::string MenuFile(int i) { return "gfx\\menu" + std::to_string(i) + ".png"; }

// The files start-up loads once the video system is up, in the order it needs them.
std::vector<std::string> StartupFiles()
{
    std::vector<std::string> files = {"gfx\\loading.png"};
    for (int i = 1; i <= backcount; ++i)
        files.push_back(BackFile(i));
    files.insert(files.end(), {"gfx\\logo.png", "gfx\\block1.png"});
    for (int i = 1; i <= 4; ++i)
        files.push_back(PowerupFile(i));
    files.insert(files.end(), {"gfx\\paused.png", "gfx\\points.png", "gfx\\flashboom.png", "gfx\\hud.png",
                               "sfx\\plop.ogg", "sfx\\explode.ogg", "sfx\\switch.ogg", "sfx\\falling.ogg",
                               "sfx\\blip.ogg", "sfx\\game (half bit).ogg", "sfx\\title (space fighter loop).ogg"});
    for (int i = 1; i <= 3; ++i)
        files.push_back(MenuFile(i));
    files.push_back("gfx\\options.png");
    return files;
}

// Decoding runs ahead on worker threads while start-up is under way; none before they start.
TAssetPreloader* preloader = nullptr;

std::shared_ptr<TPixmap> Decoded(const std::string& path)
{
    return preloader ? preloader->Picture(path) : LoadPixmap(path);
}

// Loading never fails the game: a missing asset is reported once and then draws or plays nothing.
template <class T>
std::shared_ptr<T> Reported(std::shared_ptr<T> asset, const std::string& path)
{
    if (!asset)
        std::fprintf(stderr, "Missing asset: %s\n", path.c_str());
    return asset;
}

std::shared_ptr<TImage> Picture(const std::string& path, int32_t flags = -1)
{
    return Reported(LoadImageFile(Decoded(path), flags), path);
}

std::shared_ptr<TImage> CentredPicture(const std::string& path, int32_t flags = -1)
{
    auto image = Picture(path, flags);
    CentreImageHandle(image);
    return image;
}

std::shared_ptr<TImage> Strip(const std::string& path, int cellWidth, int cellHeight, int count, int32_t flags)
{
    return Reported(LoadAnimStrip(Decoded(path), cellWidth, cellHeight, 0, count, flags), path);
}

std::shared_ptr<TSound> Sound(const std::string& path)
{
    auto sample = preloader->Sound(path);
    return Reported(sample ? LoadSound(sample, 0) : nullptr, path);
}

void DrawLoadingScreen()
{
    Cls();
    SetAlpha(0.89f);
    SetScale(1.5f, 1.5f);
    SetColor(255, 255, 255);
    DrawBackground();
    DrawImage(backimages[backindex], GraphicsWidth() / 2, GraphicsHeight() / 2);
    SetScale(1, 1);
    if (visibility != 0)
        SetColor(140, 145, 145);
    else
        SetColor(0, 0, 0);
    DrawImage(loadingimage, GraphicsWidth() / 2, GraphicsHeight() / 2 - 20);
    SetAlpha(1);
    Flip(-1);
    SetColor(255, 255, 255);
}

// Steps of start-up from the audio driver to the font strip, in their order.
void OpenWindowAndLoad()
{
    if (!HasAudioDriver("OpenAL"))
        throw TRuntimeError("Game requires OpenAL audio driver to run.");
    SelectAudioDriver("OpenAL");
    SetAppTitle("Brimstrand");
    if (!OpenGraphics(512, 512, 0, 60, 0))
        throw TRuntimeError("Game cannot open its 512 by 512 window (is there a display?).");
    TraceStartup("window open");
    SetBlend(BlendAlpha);
    SetAutoImageFlags(0);
    loadingimage = CentredPicture("gfx\\loading.png");
    SetClsColor(50, 50, 50);

    backindex = RandomInt(1, backcount);
    backtimer = backperiod;
    for (int i = 0; i < backcount; ++i)
        backimages[i] = CentredPicture(BackFile(i + 1));
    backangle = static_cast<float>(RandomInt(0, 359));
    DrawLoadingScreen();
    TraceStartup("loading screen");

    logoimage = CentredPicture("gfx\\logo.png");
    blockimage = Picture("gfx\\block1.png");
    for (int i = 0; i < 4; ++i)
        powerupimages[i] = Picture(PowerupFile(i + 1));
    pausedimage = CentredPicture("gfx\\paused.png");
    pointsimage = Strip("gfx\\points.png", 10, 8, 17, -1);
    flashboomimage = CentredPicture("gfx\\flashboom.png");
    hudimage = CentredPicture("gfx\\hud.png");
    shape::Init();

    plopsound = Sound("sfx\\plop.ogg");
    explodesound = Sound("sfx\\explode.ogg");
    switchsound = Sound("sfx\\switch.ogg");
    fallingsound = Sound("sfx\\falling.ogg");
    blipsound = Sound("sfx\\blip.ogg");
    gamemusic = Sound("sfx\\game (half bit).ogg");
    gamechannel = CueSound(gamemusic);
    titlemusic = Sound("sfx\\title (space fighter loop).ogg");
    titlechannel = CueSound(titlemusic);
    InstallRulesSounds();

    for (int i = 0; i < 3; ++i)
        menuimages[i] = CentredPicture(MenuFile(i + 1), ImageFlagFiltered | ImageFlagMipmapped);
    fontimage = Strip("gfx\\options.png", 12, 16, 78, 0);
}

} // namespace

bool StartupTraced() { return tracing; }

void TraceStartup(const char* stage)
{
    if (!tracing)
        return;
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "startup: %s %d ms, cpu %ld ms\n", stage, ElapsedMillis() - traceorigin,
                 static_cast<long>(cpu.tv_sec * 1000 + cpu.tv_nsec / 1000000));
}

void StartUp()
{
    TraceStartup("begin");
    // Taken before the window opens, hence with the framework's default flags (masked, filtered).
    shadowimage = Picture("gfx\\shadow.png");
    circleimage = Picture("gfx\\circle.png");
    SeedRandom(ElapsedMillis());
    SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
    {
        // Starting the video system may fork a helper (D-Bus autolaunch). A fork copies only the
        // forking thread and leaves locks held by the others locked in the copy, so the decoding
        // threads start after it.
        TAssetPreloader preload(StartupFiles());
        preloader = &preload;
        OpenWindowAndLoad();
        preloader = nullptr;
    }
    TraceStartup("assets loaded");
    RemoveDataLeftovers({PreferencesFile, HighScoreFile});
    LoadPrefs();
    ResetMouseState();
    ResetKeyState();
    TitleScreen();
}
