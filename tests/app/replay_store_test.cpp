#include "app/storage/replay_store.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <tuple>

#include "app/storage/high_scores.h"
#include "game/replay_format.h"
#include "common/temp_folder.h"

namespace {

TReplay Play(const std::string& date, int32_t score, const std::string& name)
{
    TReplayRecorder recorder({}, 0, 1);
    recorder.AddFrame(InputFast, 0, 2);
    recorder.AddFrame(InputPaused, 0, 2);
    recorder.AddFrame(InputLeft, score, 3);
    return recorder.Finish("1.0", date, name);
}

// Day d of December 2026 at 12:00:00, so later days sort later.
std::string Day(int d)
{
    char text[32];
    std::snprintf(text, sizeof text, "2026-12-%02dT12:00:00Z", d);
    return text;
}

std::set<std::string> Names(const std::vector<std::string>& files) { return {files.begin(), files.end()}; }

} // namespace

TEST(ReplayNaming, DateScoreAndNameMakeTheFileName)
{
    EXPECT_EQ(ReplayFileName(Play("2026-12-08T20:44:33Z", 1250, "ABC")), "20261208-204433_1250_ABC.replay");
    EXPECT_EQ(ReplayFileName(Play("2026-12-08T20:44:33Z", 0, "")), "20261208-204433_0.replay");
    // Name characters that could leave the folder or confuse a shell become "_".
    EXPECT_EQ(ReplayFileName(Play("2026-12-08T20:44:33Z", 5, "../")), "20261208-204433_5____.replay");
    EXPECT_EQ(ReplayFileName(Play("2026-12-08T20:44:33Z", 5, "A?@")), "20261208-204433_5_A__.replay");
    EXPECT_EQ(ReplayDate(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(ReplayDate(1796762673), "2026-12-08T20:44:33Z");
}

TEST(ReplayNaming, OnlyReplayFileNamesAreRead)
{
    TReplayFileInfo info;
    ASSERT_TRUE(ReadReplayFileName("20261208-204433_1250_ABC.replay", info));
    EXPECT_EQ(info.stamp, "20261208-204433");
    EXPECT_EQ(info.score, 1250);
    EXPECT_EQ(info.name, "ABC");
    ASSERT_TRUE(ReadReplayFileName("20261208-204433_0.replay", info));
    EXPECT_EQ(info.score, 0);
    EXPECT_EQ(info.name, "");
    ASSERT_TRUE(ReadReplayFileName("20261208-204433_7_ABC.2.replay", info));
    EXPECT_EQ(info.score, 7);
    EXPECT_EQ(info.name, "ABC");
    ASSERT_TRUE(ReadReplayFileName("20261208-204433_2147483647.replay", info));
    for (const char* other : {"notes.txt", "20261208-204433_1250_ABC.replay.Xy12Ab", "20261208-204433_01.replay",
                              "20261208-204433_2147483648.replay", "20261208-204433_.replay", "20261208_204433_5.replay",
                              "2026120-2044330_5.replay", "20261208-204433_5x.replay", ".replay"})
        EXPECT_FALSE(ReadReplayFileName(other, info)) << other;
}

TEST(ReplayRetention, KeepsTheTenBestAndTheTenMostRecent)
{
    // Day d scores (d * 37) % 25 * 10: best and most recent overlap only in part.
    std::vector<TReplayFileInfo> files;
    for (int d = 1; d <= 25; ++d) {
        TReplayFileInfo info;
        ASSERT_TRUE(ReadReplayFileName(ReplayFileName(Play(Day(d), (d * 37) % 25 * 10, "ABC")), info));
        files.push_back(info);
    }
    std::set<std::string> kept;
    for (const auto& f : files)
        kept.insert(f.file);
    for (const auto& r : RedundantReplays(files))
        kept.erase(r);

    std::set<std::string> expected;
    for (int d = 16; d <= 25; ++d)
        expected.insert(files[d - 1].file);
    // Scores 240 down to 150 are the ten best.
    for (const auto& f : files)
        if (f.score >= 150)
            expected.insert(f.file);
    EXPECT_EQ(kept, expected);
    EXPECT_TRUE(RedundantReplays({files.begin(), files.begin() + 10}).empty());
}

TEST(ReplayRetention, AmongEqualScoresTheEarlierStays)
{
    std::vector<TReplayFileInfo> files;
    for (int d = 1; d <= 21; ++d) {
        TReplayFileInfo info;
        ASSERT_TRUE(ReadReplayFileName(ReplayFileName(Play(Day(d), 100, "ABC")), info));
        files.push_back(info);
    }
    EXPECT_EQ(Names(RedundantReplays(files)), (std::set<std::string>{files[10].file}));
}

class ReplayStoreTest : public TempFolderTest {};

TEST_F(ReplayStoreTest, SavesAtomicallyIntoTheDataFolderAndReadsBack)
{
    const TReplay replay = Play("2026-12-08T20:44:33Z", 1250, "ABC");
    const std::string path = SaveReplay(replay);
    EXPECT_EQ(path, "data/replays/20261208-204433_1250_ABC.replay");
    EXPECT_EQ(Entries("data/replays"), std::vector<std::string>{"20261208-204433_1250_ABC.replay"});
    const auto bytes = FileBytes("data/replays/20261208-204433_1250_ABC.replay");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), WriteReplay(replay));
    TReplay read;
    std::string error;
    ASSERT_TRUE(LoadReplay(path, read, error)) << error;
    EXPECT_EQ(read, replay);

    // The same play again takes the next free name instead of replacing the first.
    EXPECT_EQ(SaveReplay(replay), "data/replays/20261208-204433_1250_ABC.2.replay");
    EXPECT_EQ(Entries("data/replays").size(), 2u);
}

TEST_F(ReplayStoreTest, SavingAppliesTheRetentionRuleAndLeavesOtherFilesAlone)
{
    WriteBytes("data/replays/notes.txt", {'h', 'i'});
    for (int d = 1; d <= 25; ++d)
        ASSERT_NE(SaveReplay(Play(Day(d), d <= 5 ? 1000 + d : d, "ABC")), "");
    // The best ten are days 1 to 5 and 21 to 25, the most recent ten days 16 to 25.
    std::set<std::string> expected = {"notes.txt"};
    for (int d = 1; d <= 25; ++d)
        if (d <= 5 || d >= 16)
            expected.insert(ReplayFileName(Play(Day(d), d <= 5 ? 1000 + d : d, "ABC")));
    const auto entries = Entries("data/replays");
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()), expected);
}

// Damaged files with replay names take no kept place, so no readable replay goes in their stead,
// and they stay for the player to look at.
TEST_F(ReplayStoreTest, PruningRanksOnlyReadableReplaysAndLeavesDamagedOnesAlone)
{
    std::set<std::string> damaged;
    for (int d = 1; d <= 4; ++d) {
        const std::string name = ReplayFileName(Play(Day(d), 5000 + d, "BAD"));
        WriteBytes("data/replays/" + name, {'n', 'o', 't', ' ', 'a', ' ', 'r', 'e', 'p', 'l', 'a', 'y'});
        damaged.insert(name);
    }
    std::set<std::string> expected = damaged;
    for (int d = 5; d <= 25; ++d) {
        ASSERT_NE(SaveReplay(Play(Day(d), 100 + d, "ABC")), "");
        if (d >= 16)
            expected.insert(ReplayFileName(Play(Day(d), 100 + d, "ABC")));
    }
    const auto entries = Entries("data/replays");
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()), expected)
        << "the ten best readable plays are also the ten most recent here";
}

// A kill during a save leaves "<replay>.XXXXXX"; start-up removes exactly those.
TEST_F(ReplayStoreTest, LeftoversOfInterruptedSavesAreRemoved)
{
    const std::string replay = ReplayFileName(Play(Day(1), 10, "ABC"));
    for (const std::string& name : {replay + ".a1B2c3", replay, replay + ".bad", std::string("notes.txt.a1B2c3")})
        WriteBytes("data/replays/" + name, {'x'});
    RemoveReplayLeftovers();
    const auto entries = Entries("data/replays");
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()),
              (std::set<std::string>{replay, replay + ".bad", "notes.txt.a1B2c3"}));
}

TEST_F(ReplayStoreTest, TableEntriesFindTheNewestReplayOfTheirScoreAndName)
{
    EXPECT_EQ(FindReplay(100, "ABC"), "");
    EXPECT_EQ(BestReplay(), "");
    for (const auto& [day, score, name] : {std::tuple{1, 100, "ABC"}, {2, 100, "ABC"}, {3, 100, "XYZ"}, {4, 1000, "A?@"},
                                           {5, 100, ""}, {6, 50, "ABC"}})
        ASSERT_NE(SaveReplay(Play(Day(day), score, name)), "");
    EXPECT_EQ(FindReplay(100, "ABC"), "data/replays/" + ReplayFileName(Play(Day(2), 100, "ABC")));
    EXPECT_EQ(FindReplay(1000, "A?@"), "data/replays/" + ReplayFileName(Play(Day(4), 1000, "A?@")));
    EXPECT_EQ(FindReplay(100, "AB"), "");
    EXPECT_EQ(FindReplay(75, "ABC"), "");
    EXPECT_EQ(BestReplay(), "data/replays/" + ReplayFileName(Play(Day(4), 1000, "A?@")));
    // A challenge entry knows its play's end and name, not its score.
    EXPECT_EQ(FindReplayAt(Day(3), "XYZ"), "data/replays/" + ReplayFileName(Play(Day(3), 100, "XYZ")));
    EXPECT_EQ(FindReplayAt(Day(4), "A?@"), "data/replays/" + ReplayFileName(Play(Day(4), 1000, "A?@")));
    EXPECT_EQ(FindReplayAt(Day(3), "ABC"), "");
    EXPECT_EQ(FindReplayAt(Day(7), "ABC"), "");
}

TEST_F(ReplayStoreTest, AFullDiskLosesOnlyTheReplay)
{
    ResetScores();
    const auto table = FileBytes("data/highscores.dat");
    const std::string first = SaveReplay(Play(Day(1), 10, "ABC"));
    ASSERT_NE(first, "");
    {
        FileSizeLimit full(64);
        EXPECT_EQ(SaveReplay(Play(Day(2), 20, "ABC")), "");
    }
    EXPECT_EQ(Entries("data/replays"), std::vector<std::string>{ReplayFileName(Play(Day(1), 10, "ABC"))});
    EXPECT_EQ(FileBytes("data/highscores.dat"), table);
}

TEST_F(ReplayStoreTest, AnUnusableFolderLosesOnlyTheReplay)
{
    ResetScores();
    const auto table = FileBytes("data/highscores.dat");
    WriteBytes("data/replays", {'x'}); // a file where the folder should be
    EXPECT_EQ(SaveReplay(Play(Day(1), 10, "ABC")), "");
    EXPECT_EQ(FileBytes("data/replays"), std::vector<uint8_t>{'x'});
    EXPECT_EQ(FileBytes("data/highscores.dat"), table);
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"highscores.dat", "replays"}));
}

TEST_F(ReplayStoreTest, AReplayWithAProblemIsNotWritten)
{
    TReplay broken = Play(Day(1), 10, "ABC");
    broken.start.tint = std::numeric_limits<float>::infinity();
    EXPECT_EQ(SaveReplay(broken), "");
    EXPECT_FALSE(std::filesystem::exists("data/replays"));
}

TEST_F(ReplayStoreTest, LoadingSaysWhatIsWrongOnOneLine)
{
    TReplay read;
    std::string error;
    EXPECT_FALSE(LoadReplay("missing.replay", read, error));
    EXPECT_EQ(error, "no such file");
    std::filesystem::create_directory("folder.replay");
    EXPECT_FALSE(LoadReplay("folder.replay", read, error));
    EXPECT_EQ(error, "a folder, not a file") << "what is there is named, not called missing";

    const std::string text = WriteReplay(Play(Day(1), 10, "ABC"));
    WriteBytes("short.replay", std::vector<uint8_t>(text.begin(), text.begin() + 100));
    EXPECT_FALSE(LoadReplay("short.replay", read, error));
    EXPECT_NE(error.find("does not end with its checksum line"), std::string::npos) << error;

    {
        std::ofstream large("large.replay", std::ios::binary);
        large << text;
    }
    std::filesystem::resize_file("large.replay", MaxReplayBytes * 4);
    EXPECT_FALSE(LoadReplay("large.replay", read, error));
    EXPECT_NE(error.find("larger than 16 MiB"), std::string::npos) << error;
}
