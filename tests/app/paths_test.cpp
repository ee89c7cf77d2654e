#include "app/paths.h"

#include <filesystem>

#include "common/temp_folder.h"

using PathsTest = TempFolderTest;

TEST_F(PathsTest, ReplaceFileCreatesTheFolderAndReplacesWholeFiles)
{
    ASSERT_TRUE(ReplaceFile("data\\a.dat", {1, 2, 3, 4, 5}));
    EXPECT_EQ(FileBytes("data/a.dat"), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    ASSERT_TRUE(ReplaceFile("data\\a.dat", {9}));
    EXPECT_EQ(FileBytes("data/a.dat"), (std::vector<uint8_t>{9}));
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"a.dat"})) << "no temporary file is left";
    EXPECT_EQ(std::filesystem::status("data/a.dat").permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::others_read);
}

TEST_F(PathsTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    WriteBytes("data/a.dat", {7, 7, 7});
    {
        FileSizeLimit limit(8); // the disk "fills up" after 8 bytes
        EXPECT_FALSE(ReplaceFile("data\\a.dat", std::vector<uint8_t>(70, 1)));
    }
    EXPECT_EQ(FileBytes("data/a.dat"), (std::vector<uint8_t>{7, 7, 7}));
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"a.dat"}));
}

TEST_F(PathsTest, ReplaceFileFailsCleanlyWhereNoFileCanBe)
{
    std::filesystem::create_directories("data/dir.dat");
    EXPECT_FALSE(ReplaceFile("data\\dir.dat", {1}));
    EXPECT_TRUE(std::filesystem::is_directory("data/dir.dat"));
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"dir.dat"}));

    WriteBytes("plain", {1});
    EXPECT_FALSE(ReplaceFile("plain\\x.dat", {1})) << "the parent is a file, not a folder";
}

TEST_F(PathsTest, MoveAsideKeepsTheDamagedFileUnderABadName)
{
    WriteBytes("data/a.dat", {1});
    WriteBytes("data/a.dat.bad", {2});
    ASSERT_TRUE(MoveAside("data\\a.dat"));
    EXPECT_FALSE(std::filesystem::exists("data/a.dat"));
    EXPECT_EQ(FileBytes("data/a.dat.bad"), (std::vector<uint8_t>{1}));
    EXPECT_FALSE(MoveAside("data\\a.dat")) << "nothing left to move";
}

TEST_F(PathsTest, EnterExecutableFolderMakesTheProgramsFolderCurrent)
{
    ASSERT_TRUE(EnterExecutableFolder());
    EXPECT_EQ(std::filesystem::current_path().string(), ExecutableFolder());
    EXPECT_TRUE(std::filesystem::exists("app_tests"));
}
