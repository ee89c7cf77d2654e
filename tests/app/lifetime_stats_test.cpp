#include "app/storage/lifetime_stats.h"

#include <filesystem>

#include "app/storage/signed_text.h"
#include "common/temp_folder.h"

namespace {

TPlayFigures Figures(int64_t rows, int64_t frames, int chain)
{
    TPlayFigures f;
    f.rows = rows;
    f.pieces = rows * 3;
    f.frames = frames;
    f.powerUps = {0, 1, 2, 3, 4};
    f.longestChain = chain;
    return f;
}

} // namespace

class LifetimeStatsTest : public TempFolderTest {};

TEST(LifetimeStats, PlaysAddUpAndEachChallengeKeepsItsTriesAndBest)
{
    TLifetimeStats s;
    AddPlay(s, Figures(10, 6000, 2), TChallenge::None, {true, 500});
    AddPlay(s, Figures(40, 3000, 5), TChallenge::Sprint, {true, 3000});
    AddPlay(s, Figures(40, 2500, 1), TChallenge::Sprint, {true, 2500});
    AddPlay(s, Figures(12, 900, 0), TChallenge::Sprint, {false, 900});
    EXPECT_EQ(s.plays, 4);
    EXPECT_EQ(s.rows, 102);
    EXPECT_EQ(s.frames, 12400);
    EXPECT_EQ(s.powerUps[BlockFlip], 16);
    EXPECT_EQ(s.bestChain, 5);
    const TChallengeRecord& sprint = s.challenges[static_cast<size_t>(TChallenge::Sprint)];
    EXPECT_EQ(sprint.tries, 3);
    EXPECT_EQ(sprint.best.value, 2500);
    EXPECT_EQ(s.challenges[static_cast<size_t>(TChallenge::Ultra)], TChallengeRecord{});
}

TEST(LifetimeStats, TextReadsBackAndRefusesOtherText)
{
    TLifetimeStats s;
    AddPlay(s, Figures(40, 3000, 5), TChallenge::Sprint, {true, 3000});
    AddPlay(s, Figures(3, 10800, 0), TChallenge::Ultra, {true, 75});
    const std::string text = WriteStatistics(s);
    EXPECT_EQ(text.substr(0, text.rfind("checksum")), "brimstrand-statistics 1\n"
                                                      "plays 2\nframes 13800\nrows 43\npieces 129\n"
                                                      "power-ups slow-down=2 blast=4 collapse=6 flip=8\n"
                                                      "best-chain 5\n"
                                                      "challenge sprint tries=1 best=3000\n"
                                                      "challenge ultra tries=1 best=75\n"
                                                      "challenge daily tries=0 best=-\n"
                                                      "challenge race tries=0 best=-\n");
    TLifetimeStats read;
    std::string error;
    ASSERT_TRUE(ParseStatistics(text, read, error)) << error;
    EXPECT_EQ(read, s);

    const std::string body = text.substr(0, text.rfind("checksum"));
    const auto refused = [&](const std::string& from, const std::string& to, const std::string& part) {
        std::string edited = body;
        edited.replace(edited.find(from), from.size(), to);
        TLifetimeStats t;
        std::string why;
        EXPECT_FALSE(ParseStatistics(SignedText(edited), t, why)) << to;
        EXPECT_NE(why.find(part), std::string::npos) << why;
    };
    refused("plays 2", "plays -2", "line 2");
    refused("rows 43", "rows 4x3", "line 4");
    refused("blast=4", "boom=4", "line 6");
    refused("best=3000", "best=", "line 8");
    refused("challenge race tries=0 best=-\n", "", "not statistics format");
    refused("brimstrand-statistics 1", "brimstrand-statistics 2", "not statistics format 1");
    TLifetimeStats t;
    EXPECT_FALSE(ParseStatistics(body, t, error));
    EXPECT_NE(error.find("checksum"), std::string::npos);
}

TEST_F(LifetimeStatsTest, PlaysRecordedByTwoCopiesInTurnBothCount)
{
    EXPECT_TRUE(TwoCopiesInTurn([](int) { LoadStatistics(); },
                                [](int copy) { return RecordPlayStatistics(Figures(copy + 1, 100, 0), TChallenge::None, {}); }));
    const TLifetimeStats s = LoadStatistics();
    EXPECT_EQ(s.plays, 2);
    EXPECT_EQ(s.rows, 3);
}

TEST_F(LifetimeStatsTest, DamagedEmptyOrHugeFilesAreMovedAsideWithOneLine)
{
    for (const std::string& bad : {std::string("plays 99\n"), std::string(), std::string(20000, 'x')}) {
        WriteBytes("data/statistics.txt", std::vector<uint8_t>(bad.begin(), bad.end()));
        testing::internal::CaptureStderr();
        EXPECT_TRUE(RecordPlayStatistics(Figures(1, 60, 0), TChallenge::None, {}));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find("data/statistics.txt is damaged"), std::string::npos) << err;
        const std::vector<uint8_t> kept = FileBytes("data/statistics.txt.bad");
        EXPECT_EQ(std::string(kept.begin(), kept.end()), bad);
        EXPECT_EQ(LoadStatistics().plays, 1);
        std::filesystem::remove("data/statistics.txt.bad");
        std::filesystem::remove("data/statistics.txt");
    }
}

TEST_F(LifetimeStatsTest, AFileThatCannotBeReadIsLeftAloneAndNotSavedOver)
{
    ASSERT_TRUE(RecordPlayStatistics(Figures(5, 60, 0), TChallenge::None, {}));
    const std::vector<uint8_t> before = FileBytes("data/statistics.txt");
    std::filesystem::permissions("data/statistics.txt", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::permissions("data", std::filesystem::perms::all);
    EXPECT_TRUE(InChildAsNobody([] {
        testing::internal::CaptureStderr();
        const bool saved = RecordPlayStatistics(Figures(1, 60, 0), TChallenge::None, {});
        const std::string err = testing::internal::GetCapturedStderr();
        return !saved && err.find("Cannot read data/statistics.txt (Permission denied)") != std::string::npos &&
               err.find("Could not save data/statistics.txt: the statistics there could not be read") != std::string::npos;
    }));
    EXPECT_EQ(FileBytes("data/statistics.txt"), before);
}
