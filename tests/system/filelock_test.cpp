#include "system/filelock.h"

#include <filesystem>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "common/temp_folder.h"

using FileLockTest = TempFolderTest;

// A second process waits for the lock until the first lets it go.
TEST_F(FileLockTest, OtherProcessesWaitForTheLock)
{
    int go[2], report[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(report), 0);
    // Forked before the lock is taken: a child would share the parent's open lock file.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char c;
        if (read(go[0], &c, 1) != 1)
            _exit(2);
        TFileLock mine("data\\.lock");
        (void)!write(report[1], mine.Held() ? "y" : "n", 1);
        _exit(0);
    }
    close(go[0]);
    close(report[1]);
    {
        TFileLock lock("data\\.lock");
        ASSERT_TRUE(lock.Held());
        EXPECT_TRUE(std::filesystem::is_regular_file("data/.lock")) << "made with its folder";
        ASSERT_EQ(write(go[1], "g", 1), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        char early = 0;
        ASSERT_EQ(fcntl(report[0], F_SETFL, O_NONBLOCK), 0);
        EXPECT_EQ(read(report[0], &early, 1), -1) << "the child got the lock while it was held";
        ASSERT_EQ(fcntl(report[0], F_SETFL, 0), 0);
    }
    char got = 0;
    EXPECT_EQ(read(report[0], &got, 1), 1);
    EXPECT_EQ(got, 'y');
    close(go[1]);
    close(report[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(FileLockTest, NoLockWhereNoFileCanBe)
{
    WriteBytes("data", {1}); // a file where the folder should be
    TFileLock lock("data\\.lock");
    EXPECT_FALSE(lock.Held());
}
