#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
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
