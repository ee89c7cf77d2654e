#include "system/replacefile.h"

#include <cerrno>
#include <filesystem>

#include "common/temp_folder.h"
#include "system/quarantine.h"

namespace fs = std::filesystem;

using ReplaceFileTest = TempFolderTest;

TEST_F(ReplaceFileTest, CreatesTheFolderAndReplacesWholeFiles)
{
    ASSERT_TRUE(ReplaceFile("data\\a.dat", {1, 2, 3, 4, 5}));
    EXPECT_EQ(FileBytes("data/a.dat"), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    ASSERT_TRUE(ReplaceFile("data\\a.dat", {9}));
    EXPECT_EQ(FileBytes("data/a.dat"), (std::vector<uint8_t>{9}));
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"a.dat"})) << "no temporary file is left";
    EXPECT_EQ(fs::status("data/a.dat").permissions() & fs::perms::others_read, fs::perms::others_read);
}

TEST_F(ReplaceFileTest, FailedWriteKeepsTheOldFileLeavesNoTemporaryFileAndSaysWhy)
{
    WriteBytes("data/a.dat", {7, 7, 7});
    {
        FileSizeLimit limit(8); // the disk "fills up" after 8 bytes
        errno = 0;
        EXPECT_FALSE(ReplaceFile("data\\a.dat", std::vector<uint8_t>(70, 1)));
        EXPECT_EQ(errno, EFBIG);
    }
    EXPECT_EQ(FileBytes("data/a.dat"), (std::vector<uint8_t>{7, 7, 7}));
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"a.dat"}));
}

TEST_F(ReplaceFileTest, MakesEveryMissingFolderPrivately)
{
    const std::string path = (folder_ / "home/.local/share/brimstrand/a.dat").string();
    ASSERT_TRUE(ReplaceFile(path, {4}));
    EXPECT_EQ(FileBytes(path), (std::vector<uint8_t>{4}));
    EXPECT_EQ(fs::status(folder_ / "home/.local").permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_FALSE(ReplaceFile("", {4})) << "no data folder: nothing is written";
    EXPECT_EQ(Entries(folder_.string()), (std::vector<std::string>{"home"}));
}

TEST_F(ReplaceFileTest, FailsCleanlyWhereNoFileCanBe)
{
    fs::create_directories("data/dir.dat");
    EXPECT_FALSE(ReplaceFile("data\\dir.dat", {1}));
    EXPECT_TRUE(fs::is_directory("data/dir.dat"));
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"dir.dat"}));

    WriteBytes("plain", {1});
    errno = 0;
    EXPECT_FALSE(ReplaceFile("plain\\x.dat", {1})) << "the parent is a file, not a folder";
    EXPECT_EQ(errno, ENOTDIR);
}

TEST_F(ReplaceFileTest, SavingThroughALinkWritesItsTargetAndKeepsTheLink)
{
    WriteBytes("kept/a.dat", {1});
    fs::create_directories("data");
    fs::create_symlink("../kept/a.dat", "data/a.dat"); // relative to the link's folder
    fs::create_symlink(fs::absolute("data/a.dat"), "b.dat"); // a chain, absolute
    ASSERT_TRUE(ReplaceFile("data\\a.dat", {2, 2}));
    EXPECT_TRUE(fs::is_symlink("data/a.dat"));
    EXPECT_EQ(FileBytes("kept/a.dat"), (std::vector<uint8_t>{2, 2}));
    ASSERT_TRUE(ReplaceFile("b.dat", {3}));
    EXPECT_TRUE(fs::is_symlink("b.dat"));
    EXPECT_EQ(FileBytes("kept/a.dat"), (std::vector<uint8_t>{3}));
    EXPECT_EQ(Entries("kept"), (std::vector<std::string>{"a.dat"}));

    fs::create_symlink("../kept/new.dat", "data/new.dat"); // a link to a file not made yet
    ASSERT_TRUE(ReplaceFile("data\\new.dat", {4}));
    EXPECT_TRUE(fs::is_symlink("data/new.dat"));
    EXPECT_EQ(FileBytes("kept/new.dat"), (std::vector<uint8_t>{4}));
}

TEST_F(ReplaceFileTest, LeftoversOfInterruptedSavesAreRemovedAndNothingElse)
{
    for (const char* name : {"data/a.dat", "data/a.dat.Xy12Zq", "data/a.dat.000000", "data/a.dat.bad",
                             "data/a.dat.bad.1", "data/a.dat.1234567", "data/b.dat.Xy12Zq", "data/a.datXy12Zq"})
        WriteBytes(name, {1});
    fs::create_directories("data/a.dat.dir123");
    RemoveReplaceLeftovers("data\\a.dat");
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"a.dat", "a.dat.1234567", "a.dat.bad", "a.dat.bad.1",
                                                         "a.dat.dir123", "a.datXy12Zq", "b.dat.Xy12Zq"}));
}

using QuarantineTest = TempFolderTest;

TEST_F(QuarantineTest, DamagedFilesAreNumberedAndOnlyTheOldestBeyondTheLastFewGo)
{
    EXPECT_FALSE(MoveAside("data\\a.dat")) << "nothing to move";
    for (uint8_t n = 1; n <= QuarantineKept + 2; ++n) {
        WriteBytes("data/a.dat", {n});
        ASSERT_TRUE(MoveAside("data\\a.dat"));
        EXPECT_FALSE(fs::exists("data/a.dat"));
    }
    // The latest keeps the plain name; the earlier ones count up from it.
    EXPECT_EQ(FileBytes("data/a.dat.bad"), (std::vector<uint8_t>{QuarantineKept + 2}));
    for (int i = 1; i < QuarantineKept; ++i)
        EXPECT_EQ(FileBytes("data/a.dat.bad." + std::to_string(i)),
                  (std::vector<uint8_t>{static_cast<uint8_t>(QuarantineKept + 2 - i)}));
    EXPECT_EQ(Entries("data").size(), size_t(QuarantineKept));
}
