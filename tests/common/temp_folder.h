#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "common/files.h"

// Runs each test in a fresh empty working directory, so the game's relative "data\..." files
// start missing, and removes it afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = std::filesystem::current_path();
        temp_ = std::make_unique<TTempFolder>("brim_app");
        ASSERT_FALSE(temp_->Path().empty());
        folder_ = temp_->Path();
        std::filesystem::current_path(folder_);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        temp_.reset();
    }

    // Names in the folder other than the expected ones, e.g. temporary files left behind.
    static std::vector<std::string> Entries(const std::string& dir)
    {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    std::filesystem::path previous_;
    std::unique_ptr<TTempFolder> temp_;
    std::filesystem::path folder_;
};

// While alive, writes beyond max bytes fail (EFBIG) for this process, even for root: a stand-in
// for a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t max)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = max;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*old_handler_)(int) = SIG_DFL;
};

// Runs body in a child process, as the unprivileged user "nobody" when the tests run as root
// (root may read and write anything); true when body returned true there.
inline bool InChildAsNobody(const std::function<bool()>& body)
{
    constexpr uid_t Nobody = 65534;
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (geteuid() == 0 && (setgid(Nobody) != 0 || setuid(Nobody) != 0))
            _exit(3);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Two copies of the game as two processes on this folder: both run load, then one after the
// other runs save to its end, the first copy (0) first. True when both saves returned true.
inline bool TwoCopiesInTurn(const std::function<void(int copy)>& load, const std::function<bool(int copy)>& save)
{
    int loaded[2], go[2][2];
    if (pipe(loaded) != 0 || pipe(go[0]) != 0 || pipe(go[1]) != 0)
        return false;
    pid_t children[2];
    for (int copy = 0; copy < 2; ++copy) {
        children[copy] = fork();
        if (children[copy] == 0) {
            load(copy);
            char c = 'l';
            if (write(loaded[1], &c, 1) != 1 || read(go[copy][0], &c, 1) != 1)
                _exit(2);
            _exit(save(copy) ? 0 : 1);
        }
    }
    bool ok = true;
    for (int copy = 0; copy < 2; ++copy) {
        char c;
        ok = read(loaded[0], &c, 1) == 1 && ok;
    }
    for (int copy = 0; copy < 2; ++copy) {
        ok = write(go[copy][1], "g", 1) == 1 && ok;
        int status = 0;
        waitpid(children[copy], &status, 0);
        ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    for (int fd : {loaded[0], loaded[1], go[0][0], go[0][1], go[1][0], go[1][1]})
        close(fd);
    return ok;
}
