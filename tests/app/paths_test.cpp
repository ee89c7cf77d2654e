#include "app/paths.h"

#include <filesystem>

#include "common/temp_folder.h"

using PathsTest = TempFolderTest;

TEST_F(PathsTest, EnterExecutableFolderMakesTheProgramsFolderCurrent)
{
    ASSERT_TRUE(EnterExecutableFolder());
    EXPECT_EQ(std::filesystem::current_path().string(), ExecutableFolder());
    EXPECT_TRUE(std::filesystem::exists("app_tests"));
}
