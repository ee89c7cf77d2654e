// The asset generator itself: its output is the same, byte for byte, on every run, and it
// reports what it cannot do instead of leaving half a set behind silently.
#include "asset_files.h"
#include "common/files.h"
#include "common/shell.h"
#include "game/assets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Generator() { return BinDir() + "/brim_assetgen"; }

int RunGenerator(const std::string& arguments)
{
    return ShellStatus("\"" + Generator() + "\" " + arguments + " 2>/dev/null");
}

std::set<std::string> Files(const fs::path& root)
{
    std::set<std::string> files;
    for (const char* sub : {"gfx", "sfx"})
        if (fs::is_directory(root / sub))
            for (const auto& entry : fs::directory_iterator(root / sub))
                files.insert(std::string(sub) + "/" + entry.path().filename().string());
    return files;
}

} // namespace

// The build has run the generator once; one more run must write those very files again.
TEST(AssetGenerator, EveryRunWritesTheSameBytes)
{
    TTempFolder again;
    ASSERT_FALSE(again.Path().empty());
    ASSERT_EQ(ShellStatus("\"" + Generator() + "\" \"" + again.Path().string() + "\""), 0);

    const std::set<std::string> files = Files(again.Path());
    EXPECT_EQ(files, Files(BinDir())) << "the build's own assets are a different set";
    size_t denser = 0;
    for (const TAssetFile& file : AssetFiles)
        denser += PaintedDenser(file.group) ? std::size(DenserVersions) : 0;
    EXPECT_EQ(files.size(), std::size(AssetFiles) + denser)
        << "one file for every line of the manifest, and the denser versions of the magnified pictures";
    for (const std::string& f : files) {
        std::vector<uint8_t> a = FileBytes(again.Path() / f);
        ASSERT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == FileBytes(fs::path(BinDir()) / f)) << f << " differs between runs";
    }
}

TEST(AssetGenerator, RefusesBadUsageAndUnwritableFolders)
{
    EXPECT_EQ(RunGenerator(""), 2);
    EXPECT_EQ(RunGenerator("a b c"), 2);
    // A plain file where the output folder should be.
    TTempFolder dir;
    fs::path blocker = dir.Path() / "file";
    { std::ofstream(blocker.string()) << "x"; }
    EXPECT_NE(RunGenerator("\"" + blocker.string() + "\""), 0);
}
