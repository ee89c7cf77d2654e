// The asset generator itself: its output is the same, byte for byte, on every run, and it
// reports what it cannot do instead of leaving half a set behind silently.
#include "asset_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Generator() { return BinDir() + "/brim_assetgen"; }

int RunGenerator(const std::string& arguments)
{
    std::string command = "\"" + Generator() + "\" " + arguments + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "brim_assets_XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

} // namespace

TEST(AssetGenerator, EveryRunWritesTheSameBytes)
{
    TempDir first, second;
    ASSERT_FALSE(first.Path().empty());
    ASSERT_FALSE(second.Path().empty());
    // Both runs at once: the machine has two cores and each run is mostly one long job.
    std::string both = "\"" + Generator() + "\" \"" + first.Path().string() + "\" & \"" + Generator() + "\" \"" +
                       second.Path().string() + "\"; status=$?; wait $! || exit 1; exit $status";
    int status = std::system(both.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    std::set<std::string> files = Files(first.Path());
    EXPECT_EQ(files, Files(second.Path()));
    EXPECT_EQ(files, Files(BinDir())) << "the build's own assets are a different set";
    EXPECT_EQ(files.size(), 34u);
    for (const std::string& f : files) {
        std::vector<char> a = ReadBytes((first.Path() / f).string());
        ASSERT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == ReadBytes((second.Path() / f).string())) << f << " differs between runs";
    }
}

TEST(AssetGenerator, RefusesBadUsageAndUnwritableFolders)
{
    EXPECT_EQ(RunGenerator(""), 2);
    EXPECT_EQ(RunGenerator("a b c"), 2);
    // A plain file where the output folder should be.
    TempDir dir;
    fs::path blocker = dir.Path() / "file";
    { std::ofstream(blocker.string()) << "x"; }
    EXPECT_NE(RunGenerator("\"" + blocker.string() + "\""), 0);
}
