#include "app/cli/launch.h"

#include <cstdio>
#include <cstdlib>

#include "app/storage/asset_folder.h"
#include "app/shell/build_info.h"
#include "app/settings/command_line.h"
#include "app/settings/play_settings.h"
#include "app/storage/data_folder.h"
#include "app/shell/display.h"
#include "app/cli/headless_bot.h"
#include "app/cli/help_text.h"
#include "app/storage/paths.h"
#include "app/storage/replay_store.h"
#include "app/cli/replay_verify.h"
#include "app/startup.h"
#include "game/assets.h"

namespace {

// Exit codes of a game that does not start.
constexpr int ExitAnswered = 0;
constexpr int ExitNoAssets = 1;
constexpr int ExitUsage = 2;

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

struct TGameFolders {
    std::vector<std::string> assetCandidates;
    std::string assets; // empty when no candidate holds any asset
    TDataFolderChoice data;
    std::string config; // where the settings files are
};

std::vector<std::string> ManifestFiles()
{
    std::vector<std::string> names;
    for (const TAssetFile& file : AssetFiles)
        names.emplace_back(file.name);
    return names;
}

TGameFolders LocateFolders(const TCommandLine& options)
{
    TGameFolders folders;
    const std::string executableFolder = ExecutableFolder();
    folders.assetCandidates = AssetFolderCandidates(executableFolder, InstalledAssetFolder());
    folders.assets = FirstFolderHolding(folders.assetCandidates, ManifestFiles());
    TDataFolderSources sources{options.dataDir, Environment("BRIMSTRAND_DATA_DIR"), {},
                               Environment("XDG_DATA_HOME"), Environment("HOME"), Environment("XDG_CONFIG_HOME")};
    // A portable copy keeps its data beside itself.
    if (!executableFolder.empty() && folders.assets == folders.assetCandidates.front())
        sources.besideExecutable = executableFolder + "/data";
    folders.data = ChooseDataFolder(sources);
    folders.config = ChooseConfigFolder(sources, folders.data);
    return folders;
}

// The desktop matches a window to its desktop file by the X11 class or the Wayland app id; SDL 2
// reads both from the environment, where a user's own choice is left alone.
void NameWindowsAfterAppId()
{
    setenv("SDL_VIDEO_X11_WMCLASS", AppId(), 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", AppId(), 0);
}

} // namespace

int Launch(const std::vector<std::string>& arguments)
{
    const TParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "brimstrand: %s\n%s", parsed.error.c_str(), OptionsUsage().c_str());
        return ExitUsage;
    }
    if (parsed.options.version) {
        std::printf("brimstrand %s\n", GameVersion());
        return ExitAnswered;
    }
    if (!parsed.options.verify.empty())
        return VerifyReplayFiles(parsed.options.verify);
    if (!parsed.options.keep.empty() && (parsed.options.challenge.empty() || !parsed.options.headless)) {
        std::fprintf(stderr, "brimstrand: --keep needs --headless --bot --challenge\n%s", OptionsUsage().c_str());
        return ExitUsage;
    }
    if (parsed.options.headless) {
        if (!parsed.options.bot) {
            std::fprintf(stderr, "brimstrand: --headless needs --bot\n%s", OptionsUsage().c_str());
            return ExitUsage;
        }
        if (!parsed.options.challenge.empty()) {
            // Only a play that is kept needs the data folder.
            if (!parsed.options.keep.empty())
                UseDataFolder(LocateFolders(parsed.options).data.folder);
            return RunHeadlessChallenge(parsed.options.challenge, ChallengePlayOptions(), parsed.options.keep, stdout);
        }
        return RunHeadlessBot(parsed.options.frames, stdout);
    }
    const TGameFolders folders = LocateFolders(parsed.options);
    if (parsed.options.help) {
        std::fputs(HelpText(folders.assets, folders.data.folder, folders.config).c_str(), stdout);
        return ExitAnswered;
    }
    if (folders.assets.empty()) {
        std::fprintf(stderr, "%s\n", NoAssetFolderMessage(folders.assetCandidates).c_str());
        return ExitNoAssets;
    }
    TReplay watched;
    if (!parsed.options.replay.empty()) {
        std::string error;
        if (!LoadReplay(parsed.options.replay, watched, error)) {
            std::fprintf(stderr, "brimstrand: %s: %s\n", parsed.options.replay.c_str(), error.c_str());
            return ExitUsage;
        }
    }
    if (!folders.data.warning.empty())
        std::fprintf(stderr, "%s\n", folders.data.warning.c_str());
    UseAssetFolder(folders.assets);
    UseDataFolder(folders.data.folder);
    UseConfigFolder(folders.config);
    for (const std::string& line : MoveSettingsFiles(folders.data.folder, folders.config))
        std::fprintf(stderr, "%s\n", line.c_str());
    NameWindowsAfterAppId();
    ChooseDisplay(parsed.options);
    StartUp(parsed.options.bot ? TOpening::BotPlay : TOpening::Title,
            parsed.options.replay.empty() ? nullptr : &watched);
}
