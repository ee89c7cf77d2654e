#include "app/storage/data_folder.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char SubFolder[] = "brimstrand";

std::string dataFolder = "data";

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
    for (const std::string& folder : {sources.besideExecutable, UnderBase(sources.xdgDataHome, SubFolder),
                                      UnderBase(sources.home, std::string(".local/share/") + SubFolder)})
        if (!folder.empty() && CanWriteOrCreateFolder(folder))
            return {folder, {}};
    return {{}, "brimstrand: neither XDG_DATA_HOME nor HOME names a folder that can be written; "
                "settings and high scores will not be saved"};
}

void UseDataFolder(std::string folder) { dataFolder = std::move(folder); }

const std::string& DataFolder() { return dataFolder; }

std::string DataFilePath(const std::string& name) { return dataFolder.empty() ? std::string() : dataFolder + "/" + name; }
