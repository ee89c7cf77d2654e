#include "app/storage/asset_folder.h"

#include <algorithm>
#include <filesystem>

#include "system/stream.h"

namespace fs = std::filesystem;

namespace {

std::string assetFolder;

} // namespace

std::vector<std::string> AssetFolderCandidates(const std::string& executableFolder, const std::string& installedFolder)
{
    std::vector<std::string> folders;
    const auto add = [&](const fs::path& folder) {
        const std::string name = folder.lexically_normal().string();
        if (!folder.empty() && std::find(folders.begin(), folders.end(), name) == folders.end())
            folders.push_back(name);
    };
    if (!executableFolder.empty()) {
        add(executableFolder);
        add(fs::path(executableFolder) / ".." / "share" / "brimstrand");
    }
    add(installedFolder);
    return folders;
}

std::string FirstFolderHolding(const std::vector<std::string>& folders, const std::vector<std::string>& files)
{
    for (const std::string& folder : folders)
        for (const std::string& file : files)
            if (PathKind(folder + "/" + NativePath(file)) == PathFile)
                return folder;
    return {};
}

std::string NoAssetFolderMessage(const std::vector<std::string>& folders)
{
    std::string message = "brimstrand: cannot find its pictures and sounds (gfx/ and sfx/) in any of these folders:";
    for (const std::string& folder : folders)
        message += "\n  " + folder;
    return message;
}

void UseAssetFolder(std::string folder) { assetFolder = std::move(folder); }

std::string AssetFilePath(const std::string& name)
{
    return assetFolder.empty() ? name : assetFolder + "/" + NativePath(name);
}
