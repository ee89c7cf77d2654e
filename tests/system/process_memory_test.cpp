#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "system/process_memory.h"

// Memory that is written becomes resident: the reading follows it, and the peak never lies
// below what is resident.
TEST(ProcessMemory, FollowsMemoryTheProcessTouches)
{
    const TProcessMemory before = ReadProcessMemory();
    ASSERT_GT(before.residentKiB, 0);
    EXPECT_GE(before.peakKiB, before.residentKiB);
    constexpr size_t kBytes = 64u << 20;
    auto block = std::make_unique<char[]>(kBytes);
    std::memset(block.get(), 1, kBytes);
    const TProcessMemory after = ReadProcessMemory();
    EXPECT_GE(after.residentKiB, before.residentKiB + 60 * 1024);
    EXPECT_GE(after.peakKiB, after.residentKiB);
    EXPECT_EQ(block[kBytes - 1], 1);
}
