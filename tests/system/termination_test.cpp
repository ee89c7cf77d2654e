#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "system/termination.h"

namespace {

// Runs body in a child process with the handler installed; returns its raw wait status and what
// it wrote to out.
std::pair<int, std::string> RunChild(void (*body)(int out))
{
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        InstallTerminationHandler();
        body(fds[1]);
        _exit(7); // not reached when a signal ended the child
    }
    close(fds[1]);
    std::string out;
    char buffer[64];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return {status, out};
}

void Say(int out, const char* text) { (void)!write(out, text, std::char_traits<char>::length(text)); }

} // namespace

TEST(Termination, SignalsEndTheProgramWithCodeZeroAtOnce)
{
    for (int sig : {SIGTERM, SIGINT}) {
        static int current;
        current = sig;
        const auto [status, out] = RunChild([](int out) {
            raise(current);
            Say(out, "carried on");
        });
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << sig;
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(out, "");
    }
}

TEST(Termination, ASaveUnderWayIsFinishedFirst)
{
    const auto [status, out] = RunChild([](int out) {
        {
            TTerminationDeferral outer;
            {
                TTerminationDeferral inner;
                raise(SIGTERM);
                Say(out, "first half;");
            }
            Say(out, "second half;");
        }
        Say(out, "after the save");
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(out, "first half;second half;");
}
