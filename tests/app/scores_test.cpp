#include "app/storage/high_scores.h"

#include "app/storage/datafile.h"

#include <filesystem>

#include "system/keycodes.h"
#include "common/temp_folder.h"

namespace {

std::vector<uint8_t> Record(int32_t points, const std::string& name)
{
    const auto u = static_cast<uint32_t>(points);
    std::vector<uint8_t> r;
    for (int shift = 0; shift < 32; shift += 8)
        r.push_back(static_cast<uint8_t>(u >> shift));
    for (char c : name)
        r.push_back(static_cast<uint8_t>(c));
    return r;
}

std::vector<uint8_t> DefaultTableBytes()
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 10; ++i) {
        const auto r = Record(2500 - 250 * i, "DEF");
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    return bytes;
}

} // namespace

class ScoresTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        highscores.scores.fill(0);
        highscores.names.fill("");
    }
};

TEST_F(ScoresTest, FreshStartWritesTheSeventyByteDefaultTable)
{
    LoadScores();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(highscores.scores[i], 2500 - 250 * i);
        EXPECT_EQ(highscores.names[i], "DEF");
    }
    EXPECT_EQ(FileBytes("data/highscores.dat"), DefaultTableBytes());
}

TEST_F(ScoresTest, InsertionKeepsTheTableInOrder)
{
    ResetScores();
    EXPECT_TRUE(QualifiesForTable(1600));
    EXPECT_EQ(InsertHighScore(1600, "ABC"), 4);
    const std::array<int32_t, 10> expected{2500, 2250, 2000, 1750, 1600, 1500, 1250, 1000, 750, 500};
    EXPECT_EQ(highscores.scores, expected);
    EXPECT_EQ(highscores.names[4], "ABC");

    ResetScores();
    EXPECT_FALSE(QualifiesForTable(249));
    EXPECT_TRUE(QualifiesForTable(250)) << "equal to the tenth entry qualifies";
    EXPECT_EQ(InsertHighScore(250, "XYZ"), 9);
    EXPECT_EQ(highscores.scores[8], 500);
    EXPECT_EQ(highscores.scores[9], 250);
    EXPECT_EQ(highscores.names[9], "XYZ");

    ResetScores();
    EXPECT_EQ(InsertHighScore(2500, "TOP"), 1) << "equal points stay behind the earlier entry";
    EXPECT_EQ(InsertHighScore(9999, "MAX"), 0);
    EXPECT_EQ(highscores.scores[9], 750);
}

TEST_F(ScoresTest, NameEntryTakesTheNameAlphabetInUpperCase)
{
    std::string name = "AAA";
    int cursor = 1;
    for (int c : {'a', 'b', '1', 'c'})
        EXPECT_FALSE(TypeNameChar(name, cursor, c));
    EXPECT_EQ(name, "ABC");
    EXPECT_EQ(cursor, 1);
    TypeNameChar(name, cursor, '?');
    EXPECT_EQ(name, "?BC") << "a fourth accepted character replaces the first";
    for (int c : {int(' '), int('#'), 8, 127, 0xE9, 0x1F600, -1, 'z' + 1})
        TypeNameChar(name, cursor, c);
    EXPECT_EQ(name, "?BC");
    EXPECT_EQ(cursor, 2);
    EXPECT_TRUE(TypeNameChar(name, cursor, CharEnter));
}

TEST_F(ScoresTest, SavedTableReadsBackWithNamesUpperCased)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 10; ++i) {
        const auto r = Record(-5 + 100000 * i, i == 3 ? "abc" : "Q-!");
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    WriteBytes("data/highscores.dat", bytes);
    LoadScores();
    EXPECT_EQ(highscores.scores[0], -5);
    EXPECT_EQ(highscores.scores[9], 899995);
    EXPECT_EQ(highscores.names[3], "ABC");
    EXPECT_EQ(highscores.names[4], "Q-!");

    ASSERT_TRUE(SaveScores());
    bytes[3 * 7 + 4] = 'A';
    bytes[3 * 7 + 5] = 'B';
    bytes[3 * 7 + 6] = 'C';
    EXPECT_EQ(FileBytes("data/highscores.dat"), bytes);
}

TEST_F(ScoresTest, ShortTableIsMovedAsideAndReplacedByTheDefaults)
{
    const std::vector<uint8_t> damaged(69, 0x41); // one byte short
    WriteBytes("data/highscores.dat", damaged);
    LoadScores();
    EXPECT_EQ(highscores.scores[0], 2500);
    EXPECT_EQ(highscores.names[9], "DEF");
    EXPECT_EQ(FileBytes("data/highscores.dat"), DefaultTableBytes());
    EXPECT_EQ(FileBytes("data/highscores.dat.bad"), damaged);

    WriteBytes("data/highscores.dat", {});
    LoadScores();
    EXPECT_EQ(highscores.scores[9], 250);
    EXPECT_EQ(FileBytes("data/highscores.dat").size(), 70u);
}

TEST_F(ScoresTest, TableThatCannotBeWrittenLeavesTheDefaultsInPlay)
{
    std::filesystem::create_directories("data/highscores.dat");
    LoadScores();
    EXPECT_EQ(highscores.scores[0], 2500);
    EXPECT_EQ(highscores.names[0], "DEF");
    EXPECT_TRUE(std::filesystem::is_directory("data/highscores.dat"));
}

TEST_F(ScoresTest, FailedSaveKeepsTheOldTable)
{
    ResetScores();
    InsertHighScore(3000, "NEW");
    {
        FileSizeLimit limit(20);
        EXPECT_FALSE(SaveScores());
    }
    EXPECT_EQ(FileBytes("data/highscores.dat"), DefaultTableBytes());
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{"highscores.dat"}));
}

// Each copy read the table before either saved; the later save must not drop the earlier entry.
TEST_F(ScoresTest, TwoCopiesSavingInTurnKeepBothNewEntries)
{
    ResetScores();
    EXPECT_TRUE(TwoCopiesInTurn([](int) { LoadScores(); },
                                [](int copy) { return RecordHighScore(copy == 0 ? 3000 : 2600, copy == 0 ? "ONE" : "TWO"); }));
    LoadScores();
    EXPECT_EQ(highscores.scores[0], 3000);
    EXPECT_EQ(highscores.names[0], "ONE");
    EXPECT_EQ(highscores.scores[1], 2600);
    EXPECT_EQ(highscores.names[1], "TWO");
    EXPECT_EQ(highscores.scores[2], 2500);
}

// A table that cannot be read is no damaged table: it stays as it is, and no save goes over it.
TEST_F(ScoresTest, TableThatCannotBeReadIsLeftAloneAndNotSavedOver)
{
    std::vector<uint8_t> table;
    for (int i = 0; i < 10; ++i) {
        const auto r = Record(90000 - i, "MNE");
        table.insert(table.end(), r.begin(), r.end());
    }
    WriteBytes("data/highscores.dat", table);
    std::filesystem::permissions("data/highscores.dat", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::permissions("data", std::filesystem::perms::all); // nobody could replace it
    EXPECT_TRUE(InChildAsNobody([] {
        testing::internal::CaptureStderr();
        LoadScores();
        const bool defaults = highscores.scores[0] == 2500 && highscores.names[0] == "DEF";
        LoadScores();
        const bool saved = RecordHighScore(99999, "NEW");
        const std::string err = testing::internal::GetCapturedStderr();
        return defaults && !saved &&
               err == "Cannot read data/highscores.dat (Permission denied): playing on the defaults, the file is left "
                      "as it is\n"
                      "Could not save data/highscores.dat: the table there could not be read\n";
    }));
    EXPECT_EQ(FileBytes("data/highscores.dat"), table);
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{".lock", "highscores.dat"}));
}

TEST_F(ScoresTest, EachDamagedTableIsKeptUnderItsOwnName)
{
    WriteBytes("data/highscores.dat", {1});
    LoadScores();
    WriteBytes("data/highscores.dat", {2, 2});
    LoadScores();
    EXPECT_EQ(FileBytes("data/highscores.dat.bad"), (std::vector<uint8_t>{2, 2}));
    EXPECT_EQ(FileBytes("data/highscores.dat.bad.1"), (std::vector<uint8_t>{1}));
    EXPECT_EQ(FileBytes("data/highscores.dat"), DefaultTableBytes());
}

TEST_F(ScoresTest, FailedNewEntryIsReportedAndTheOldTableKept)
{
    ResetScores();
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::permissions("data", std::filesystem::perms::owner_all | std::filesystem::perms::others_read |
                                             std::filesystem::perms::others_exec);
    EXPECT_TRUE(InChildAsNobody([] {
        testing::internal::CaptureStderr();
        const bool saved = RecordHighScore(3000, "NEW");
        return !saved && testing::internal::GetCapturedStderr() ==
                             "Could not save data/highscores.dat: Permission denied\n";
    })) << "a read-only folder";
    EXPECT_EQ(FileBytes("data/highscores.dat"), DefaultTableBytes());
}

TEST_F(ScoresTest, SavingThroughALinkKeepsTheLink)
{
    std::filesystem::create_directories("data");
    std::filesystem::create_directories("elsewhere");
    std::filesystem::create_symlink("../elsewhere/table", "data/highscores.dat");
    LoadScores();
    ASSERT_TRUE(RecordHighScore(3000, "LNK"));
    EXPECT_TRUE(std::filesystem::is_symlink("data/highscores.dat"));
    EXPECT_EQ(FileBytes("elsewhere/table").size(), 70u);
    EXPECT_EQ(FileBytes("data/highscores.dat"), FileBytes("elsewhere/table"));
    EXPECT_EQ(Entries("elsewhere"), (std::vector<std::string>{"table"}));
}

TEST_F(ScoresTest, LeftoversOfInterruptedSavesGoAtTheNextStart)
{
    ResetScores();
    WriteBytes("data/highscores.dat.k3Jq9Z", {1, 2});
    WriteBytes("data/preferences.dat.Q1w2E3", {1});
    RemoveDataLeftovers({"data\\preferences.dat", HighScoreFile()});
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{".lock", "highscores.dat"}));
}
