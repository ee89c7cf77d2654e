#include "app/storage/data_folder.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char SubFolder[] = "brimstrand";

const char SettingsExtension[] = ".cfg";

std::string dataFolder = "data";
std::string configFolder = "data";

// A folder named in the environment or on the command line, made absolute so that messages
// name it fully.
std::string Absolute(const std::string& folder)
{
    std::error_code error;
    const fs::path path = fs::absolute(folder, error);
    return error ? folder : path.lexically_normal().string();
}

std::string UnderBase(const std::string& base, const std::string& below)
{
    if (base.empty() || base.front() != '/')
        return {};
    return (fs::path(base) / below).lexically_normal().string();
}

} // namespace

bool CanWriteOrCreateFolder(const std::string& folder)
{
    std::error_code error;
    for (fs::path p = folder; !p.empty(); p = p.parent_path()) {
        const fs::file_status status = fs::status(p, error);
        if (fs::exists(status))
            return fs::is_directory(status) && access(p.c_str(), W_OK | X_OK) == 0;
        if (p == p.parent_path())
            break;
    }
    return false;
}

TDataFolderChoice ChooseDataFolder(const TDataFolderSources& sources)
{
    for (const std::string* given : {&sources.option, &sources.environment}) {
        if (given->empty())
            continue;
        const std::string folder = Absolute(*given);
        if (CanWriteOrCreateFolder(folder))
            return {folder, {}};
        return {folder, "brimstrand: cannot write to " + folder + "; nothing will be saved"};
    }
    if (!sources.besideExecutable.empty() && CanWriteOrCreateFolder(sources.besideExecutable))
        return {sources.besideExecutable, {}};
    const std::string xdg = UnderBase(sources.xdgDataHome, SubFolder);
    if (!xdg.empty() && CanWriteOrCreateFolder(xdg))
        return {xdg, {}};
    const std::string home = UnderBase(sources.home, std::string(".local/share/") + SubFolder);
    if (!home.empty() && CanWriteOrCreateFolder(home)) {
        // A base folder the player set but the game cannot use is worth a word, not silence.
        if (xdg.empty())
            return {home, {}};
        return {home, "brimstrand: XDG_DATA_HOME (" + sources.xdgDataHome +
                          ") is not a folder that can be written; keeping the data in " + home};
    }
    return {{}, "brimstrand: neither XDG_DATA_HOME nor HOME names a folder that can be written; "
                "settings and high scores will not be saved"};
}

std::string ChooseConfigFolder(const TDataFolderSources& sources, const TDataFolderChoice& data)
{
    if (data.folder.empty())
        return {};
    for (const std::string* given : {&sources.option, &sources.environment, &sources.besideExecutable})
        if (!given->empty() && Absolute(*given) == data.folder)
            return data.folder;
    for (const std::string& folder :
         {UnderBase(sources.xdgConfigHome, SubFolder), UnderBase(sources.home, std::string(".config/") + SubFolder)})
        if (!folder.empty() && CanWriteOrCreateFolder(folder))
            return folder;
    return data.folder;
}

std::vector<std::string> MoveSettingsFiles(const std::string& from, const std::string& to)
{
    std::vector<std::string> lines;
    std::error_code error;
    if (from.empty() || to.empty() || fs::equivalent(from, to, error) || !fs::is_directory(from, error))
        return lines;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        const fs::path& old = entry.path();
        if (old.extension() != SettingsExtension || !entry.is_regular_file(error))
            continue;
        const fs::path moved = fs::path(to) / old.filename();
        if (fs::exists(moved, error))
            continue;
        fs::create_directories(to, error);
        fs::rename(old, moved, error);
        if (error) {
            // Another file system: copied, then the old one removed.
            error.clear();
            if (fs::copy_file(old, moved, error))
                fs::remove(old, error);
        }
        lines.push_back(error ? "brimstrand: failed to move " + old.string() + " to " + moved.string() + ": " +
                                    error.message()
                              : "brimstrand: moved " + old.string() + " to " + moved.string());
        error.clear();
    }
    return lines;
}

void UseDataFolder(std::string folder) { dataFolder = std::move(folder); }

const std::string& DataFolder() { return dataFolder; }

std::string DataFilePath(const std::string& name) { return dataFolder.empty() ? std::string() : dataFolder + "/" + name; }

void UseConfigFolder(std::string folder) { configFolder = std::move(folder); }

const std::string& ConfigFolder() { return configFolder; }

std::string ConfigFilePath(const std::string& name)
{
    return configFolder.empty() ? std::string() : configFolder + "/" + name;
}
