#include "app/storage/paths.h"

#include <filesystem>

#include <gtest/gtest.h>

TEST(PathsTest, ExecutableFolderHoldsTheRunningProgram)
{
    EXPECT_TRUE(std::filesystem::exists(ExecutableFolder() + "/app_tests"));
}
