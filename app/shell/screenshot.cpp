#include "app/shell/screenshot.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <time.h>

#include "app/storage/data_folder.h"
#include "draw2d/pngsaver.h"
#include "draw2d/window.h"
#include "system/replacefile.h"
#include "system/stream.h"

namespace {

constexpr char ScreenshotFolder[] = "screenshots";
// Past this many in one second something is wrong with the folder; the last name is reused.
constexpr int MaxSameSecond = 100;

// The first name of this second not taken yet.
std::string FreePath(const std::string& folder, const std::string& name)
{
    const std::string stem = name.substr(0, name.size() - 4); // without ".png"
    std::string path = folder + "/" + name;
    std::error_code error;
    for (int n = 2; n <= MaxSameSecond && std::filesystem::exists(path, error); ++n)
        path = folder + "/" + stem + "-" + std::to_string(n) + ".png";
    return path;
}

void ReportFailure(const std::string& what)
{
    std::fprintf(stderr, "Screenshot not saved: %s\n", what.c_str());
}

} // namespace

std::string ScreenshotName(const std::tm& local)
{
    char text[64];
    std::strftime(text, sizeof text, "brimstrand-%Y-%m-%d_%H-%M-%S.png", &local);
    return text;
}

std::string TakeScreenshot()
{
    const std::string folder = DataFilePath(ScreenshotFolder);
    if (folder.empty()) {
        ReportFailure("the game has no data folder");
        return {};
    }
    const auto picture = GrabWindowPixmap();
    if (!picture) {
        ReportFailure("there is no window to take");
        return {};
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string name = ScreenshotName(local);
    // Made privately like every folder the game makes.
    MakeParentFolder(NativePath(folder) + "/" + name);
    if (PathKind(folder) != PathFolder) {
        ReportFailure(NativePath(folder) + ": the folder cannot be made (" +
                      (PathKind(folder) == PathFile ? "a file of that name is in the way"
                                                    : "the data folder cannot be written") +
                      ")");
        return {};
    }
    const std::string path = FreePath(NativePath(folder), name);
    std::string reason;
    if (!SavePixmapPNG(picture, path, reason)) {
        ReportFailure(path + ": " + reason);
        return {};
    }
    std::printf("Screenshot: %s\n", path.c_str());
    std::fflush(stdout);
    return path;
}
