#include "app/startup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/storage/asset_folder.h"
#include "app/storage/challenge_tables.h"
#include "app/storage/lifetime_stats.h"
#include "app/screens/attract_demo.h"
#include "app/settings/controls_file.h"
#include "app/settings/settings_file.h"
#include "app/storage/datafile.h"
#include "app/shell/display.h"
#include "app/shell/frame_trace.h"
#include "app/shell/passing_notice.h"
#include "app/shell/startup_trace.h"
#include "app/screens/layout.h"
#include "app/shell/preload.h"
#include "app/storage/prefs.h"
#include "app/storage/replay_store.h"
#include "app/screens/replay_screen.h"
#include "app/storage/high_scores.h"
#include "app/shell/shell_state.h"
#include "app/shell/shot_at_frame.h"
#include "app/shell/sound.h"
#include "app/shell/text.h"
#include "app/screens/backdrop.h"
#include "app/screens/frame.h"
#include "app/screens/title.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "draw2d/gldraw2d.h"
#include "draw2d/gldriver.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "draw2d/window.h"
#include "game/assets.h"
#include "game/pictures.h"
#include "game/settings.h"
#include "game/shape.h"
#include "system/clock.h"
#include "system/error.h"
#include "system/input.h"
#include "system/random.h"

namespace {

// The files start-up loads once the video system is up, in the order it needs them.
std::vector<std::string> StartupFiles()
{
    const TAsset order[] = {TAsset::Icon,    TAsset::Loading,  TAsset::Back,    TAsset::Logo,      TAsset::Block,
                            TAsset::Powerup, TAsset::Paused,   TAsset::Points,  TAsset::FlashBoom,
                            TAsset::Hud,     TAsset::Plop,     TAsset::Explode, TAsset::Switch,
                            TAsset::Falling, TAsset::Blip,     TAsset::GameMusic, TAsset::TitleMusic,
                            TAsset::Menu,    TAsset::Font};
    std::vector<std::string> files;
    for (TAsset group : order)
        for (int i = 0; i < AssetCount(group); ++i)
            files.push_back(AssetName(group, i));
    return files;
}

// Decoding runs ahead on worker threads while start-up is under way; none before they start.
TAssetPreloader* g_preloader = nullptr;

std::shared_ptr<TPixmap> Decoded(const std::string& path)
{
    const std::string file = AssetFilePath(path);
    return g_preloader ? g_preloader->Picture(file) : LoadPixmap(file);
}

// Loading never fails the game: a missing asset is reported once and then draws or plays nothing.
template <class T>
std::shared_ptr<T> Reported(std::shared_ptr<T> asset, const std::string& path)
{
    if (!asset)
        std::fprintf(stderr, "Missing asset: %s\n", path.c_str());
    return asset;
}

// The versions painted denser of a magnified picture (cells of a strip cellWidth by cellHeight, 0
// for a single picture), read from their files only once a window's scale calls for them: a
// window at scale 1 never reads them. A missing one leaves the picture magnified.
void AddDenserVersions(const std::shared_ptr<TImage>& image, TAsset group, int index, int cellWidth = 0,
                       int cellHeight = 0)
{
    if (!image || !PaintedDenser(group))
        return;
    const int32_t flags = image->flags;
    const int count = static_cast<int>(image->pixmaps.size());
    for (int density : DenserVersions) {
        const std::string path = AssetFilePath(DenserName(AssetName(group, index), density));
        image->AddDenserVersion(density, [=] {
            const auto dense = cellWidth > 0
                                   ? TImage::LoadAnim(path, cellWidth * density, cellHeight * density, 0, count, flags, 0, 0, 0)
                                   : TImage::Load(path, flags, 0, 0, 0);
            return dense ? dense->pixmaps : std::vector<std::shared_ptr<TPixmap>>{};
        });
    }
}

// The index-th picture of group, counting from 0.
std::shared_ptr<TImage> Picture(TAsset group, int index = 0, int32_t flags = -1)
{
    const std::string path = AssetName(group, index);
    auto image = Reported(LoadImageFile(Decoded(path), flags), path);
    AddDenserVersions(image, group, index);
    return image;
}

std::shared_ptr<TImage> CentredPicture(TAsset group, int index = 0, int32_t flags = -1)
{
    auto image = Picture(group, index, flags);
    CentreImageHandle(image);
    return image;
}

std::shared_ptr<TImage> Strip(TAsset group, int cellWidth, int cellHeight, int count, int32_t flags)
{
    const std::string path = AssetName(group);
    auto image = Reported(LoadAnimStrip(Decoded(path), cellWidth, cellHeight, 0, count, flags), path);
    AddDenserVersions(image, group, 0, cellWidth, cellHeight);
    return image;
}

std::shared_ptr<TSound> Sound(TAsset group)
{
    const std::string path = AssetName(group);
    auto sample = g_preloader->Sound(AssetFilePath(path));
    return Reported(sample ? LoadSound(sample, 0) : nullptr, path);
}

void DrawLoadingScreen()
{
    Cls();
    SetAlpha(0.89f);
    SetScale(1.5f, 1.5f);
    SetColor(255, 255, 255);
    ToggleVisibilityOnTab();
    DrawBackground();
    DrawImage(shellpictures.backimages[background.backindex], GraphicsWidth() / 2, GraphicsHeight() / 2);
    SetScale(1, 1);
    SetCaptionColor();
    DrawImage(shellpictures.loadingimage, GraphicsWidth() / 2, GraphicsHeight() / 2 - 20);
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
    const std::string icon = AssetName(TAsset::Icon);
    SetAppIcon(Reported(Decoded(icon), icon));
    PrepareWindow();
    if (!OpenGraphics(WindowWidth, WindowHeight, 0, 60, GraphicsScalable))
        throw TRuntimeError("Game cannot open its 512 by 512 window: " +
                            (WindowOpenFailure().empty() ? std::string("is there a display?") : WindowOpenFailure()) +
                            ".");
    NoteSoftwareWindow();
    InstallDisplayKeys();
    InstallFrameTrace();
    InstallShotAtFrame();
    TraceStartup("window open");
    SetBlend(BlendAlpha);
    SetAutoImageFlags(0);
    shellpictures.loadingimage = CentredPicture(TAsset::Loading);
    SetClsColor(50, 50, 50);

    background.backindex = RandomInt(1, backcount);
    background.backtimer = backperiod;
    for (int i = 0; i < backcount; ++i)
        shellpictures.backimages[i] = CentredPicture(TAsset::Back, i);
    background.backangle = static_cast<float>(RandomInt(0, 359));
    DrawLoadingScreen();
    TraceStartup("loading screen");

    shellpictures.logoimage = CentredPicture(TAsset::Logo);
    pictures.blockimage = Picture(TAsset::Block);
    for (int i = 0; i < PowerUpKinds; ++i)
        pictures.powerupimages[i] = Picture(TAsset::Powerup, i);
    shellpictures.pausedimage = CentredPicture(TAsset::Paused);
    pictures.pointsimage = Strip(TAsset::Points, 10, 8, 17, -1);
    pictures.flashboomimage = CentredPicture(TAsset::FlashBoom);
    shellpictures.hudimage = CentredPicture(TAsset::Hud);
    shape::Init();

    gamesounds.plopsound = Sound(TAsset::Plop);
    gamesounds.explodesound = Sound(TAsset::Explode);
    gamesounds.switchsound = Sound(TAsset::Switch);
    gamesounds.fallingsound = Sound(TAsset::Falling);
    gamesounds.blipsound = Sound(TAsset::Blip);
    gamesounds.gamemusic = Sound(TAsset::GameMusic);
    gamesounds.gamechannel = CueSound(gamesounds.gamemusic);
    gamesounds.titlemusic = Sound(TAsset::TitleMusic);
    gamesounds.titlechannel = CueSound(gamesounds.titlemusic);
    InstallRulesSounds();

    for (int i = 0; i < AssetCount(TAsset::Menu); ++i)
        shellpictures.menuimages[i] = CentredPicture(TAsset::Menu, i, ImageFlagFiltered | ImageFlagMipmapped);
    shellpictures.fontimage = Strip(TAsset::Font, 12, 16, 78, 0);
}

} // namespace

void StartUp(TOpening opening, const TReplay* watch)
{
    TraceStartup("begin");
    // Taken before the window opens, hence with the framework's default flags (masked, filtered).
    pictures.shadowimage = Picture(TAsset::Shadow);
    pictures.circleimage = Picture(TAsset::Circle);
    SeedRandom(ElapsedMillis());
    SetGraphicsDriver(GLDraw2DDriverInstance(), GraphicsBackBuffer);
    // The bench draws every frame both ways in one run, to measure what the shortcuts save.
    if (const char* shortcuts = std::getenv("BRIM_DRAW_SHORTCUTS"); shortcuts && std::string(shortcuts) == "off")
        SetDrawShortcuts(false);
    {
        // Starting the video system may fork a helper (D-Bus autolaunch). A fork copies only the
        // forking thread and leaves locks held by the others locked in the copy, so the decoding
        // threads start after it.
        std::vector<std::string> files = StartupFiles();
        std::transform(files.begin(), files.end(), files.begin(), AssetFilePath);
        TAssetPreloader preload(std::move(files));
        g_preloader = &preload;
        OpenWindowAndLoad();
        g_preloader = nullptr;
    }
    TraceStartup("assets loaded");
    std::vector<std::string> dataFiles = {PreferencesFile(), HighScoreFile(), StatisticsFile()};
    for (const TChallenge c : {TChallenge::Sprint, TChallenge::Ultra, TChallenge::Daily, TChallenge::Race})
        dataFiles.push_back(ChallengeTableFile(c));
    RemoveDataLeftovers(dataFiles);
    RemoveReplayLeftovers();
    LoadPrefs();
    // A player started from the desktop sees no stderr: the game names the files it says more about.
    if (!LoadControls().warnings.empty())
        NoteBadSettingsFile(FileDeclaration(TSettingFile::Controls).name);
    if (!LoadSettings(TSettingFile::Game).warnings.empty())
        NoteBadSettingsFile(FileDeclaration(TSettingFile::Game).name);
    ResetMouseState();
    ResetKeyState();
    if (watch) {
        WatchReplay(*watch);
        EndProgram();
    }
    if (opening == TOpening::BotPlay)
        BotScreen();
    TitleScreen();
}
