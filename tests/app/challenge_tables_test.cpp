#include "app/storage/challenge_tables.h"

#include <filesystem>

#include "app/storage/signed_text.h"
#include "common/temp_folder.h"

namespace {

TChallengeEntry Entry(int64_t result, const std::string& name, const std::string& day = "")
{
    return {result, name, (day.empty() ? std::string("2026-12-09") : day) + "T10:00:00Z", day};
}

std::vector<int64_t> Results(const std::vector<TChallengeEntry>& entries)
{
    std::vector<int64_t> results;
    for (const TChallengeEntry& e : entries)
        results.push_back(e.result);
    return results;
}

std::string Text(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }
std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace

class ChallengeTablesTest : public TempFolderTest {};

TEST(ChallengeTable, TenPlacesInEachChallengesOwnOrder)
{
    TChallengeTable sprint{TChallenge::Sprint, {}};
    for (int64_t t : {3000, 2000, 4000, 2500, 3500, 2200, 2800, 3100, 2900, 2700})
        EXPECT_GE(InsertChallengeEntry(sprint, Entry(t, "AAA")), 0);
    EXPECT_EQ(Results(sprint.entries),
              (std::vector<int64_t>{2000, 2200, 2500, 2700, 2800, 2900, 3000, 3100, 3500, 4000}));
    EXPECT_FALSE(QualifiesForChallengeTable(sprint, Entry(4001, "SLO")));
    EXPECT_EQ(InsertChallengeEntry(sprint, Entry(4001, "SLO")), -1);
    // A result equal to the last takes its place, as in the main table; an equal one elsewhere
    // comes after those already there.
    EXPECT_EQ(InsertChallengeEntry(sprint, Entry(4000, "EQL")), 9);
    EXPECT_EQ(sprint.entries[9].name, "EQL");
    EXPECT_EQ(InsertChallengeEntry(sprint, Entry(2200, "TWO")), 2);
    EXPECT_EQ(sprint.entries[1].name, "AAA");
    EXPECT_EQ(sprint.entries.size(), 10u);
    EXPECT_EQ(sprint.entries.back().result, 3500);

    TChallengeTable ultra{TChallenge::Ultra, {}};
    for (int64_t p : {100, 900, 500})
        InsertChallengeEntry(ultra, Entry(p, "BBB"));
    EXPECT_EQ(Results(ultra.entries), (std::vector<int64_t>{900, 500, 100}));
}

TEST(ChallengeTable, ADailyTableKeepsTenADayForItsNewestDays)
{
    TChallengeTable daily{TChallenge::Daily, {}};
    for (int i = 0; i < 12; ++i)
        InsertChallengeEntry(daily, Entry(100 * i, "DAY", "2026-12-09"));
    InsertChallengeEntry(daily, Entry(5, "OLD", "2026-12-08"));
    EXPECT_EQ(EntriesOn(daily, "2026-12-09").size(), 10u);
    EXPECT_EQ(EntriesOn(daily, "2026-12-09").front().result, 1100);
    EXPECT_EQ(Results(EntriesOn(daily, "2026-12-08")), (std::vector<int64_t>{5}));
    EXPECT_TRUE(EntriesOn(daily, "2026-12-10").empty());

    for (int d = 1; d <= 31; ++d)
        InsertChallengeEntry(daily, Entry(d, "NEW", "2027-01-" + std::string(d < 10 ? "0" : "") + std::to_string(d)));
    EXPECT_TRUE(EntriesOn(daily, "2026-12-09").empty()) << "older days leave";
    EXPECT_EQ(EntriesOn(daily, "2027-01-01").size(), 1u);
    EXPECT_EQ(InsertChallengeEntry(daily, Entry(99999, "OLD", "2026-12-01")), -1) << "a day older than every kept one";
}

TEST(ChallengeTable, TextReadsBackAndRefusesWhatIsNotATableOfThisChallenge)
{
    TChallengeTable daily{TChallenge::Daily, {}};
    InsertChallengeEntry(daily, Entry(1250, "ABC", "2026-12-09"));
    InsertChallengeEntry(daily, Entry(75, "X", "2026-12-08"));
    const std::string text = WriteChallengeTable(daily);
    EXPECT_EQ(text.substr(0, text.rfind("checksum")), "brimstrand-challenge-table 1 daily\n"
                                                      "entry 1250 ABC 2026-12-09T10:00:00Z 2026-12-09\n"
                                                      "entry 75 X 2026-12-08T10:00:00Z 2026-12-08\n");
    TChallengeTable read;
    std::string error;
    ASSERT_TRUE(ParseChallengeTable(text, TChallenge::Daily, read, error)) << error;
    EXPECT_EQ(read, daily);

    const auto refused = [](const std::string& t, TChallenge c, const std::string& part) {
        TChallengeTable table;
        std::string why;
        EXPECT_FALSE(ParseChallengeTable(t, c, table, why)) << t;
        EXPECT_NE(why.find(part), std::string::npos) << why;
    };
    refused(text, TChallenge::Sprint, "another challenge");
    refused(text.substr(0, text.size() - 3), TChallenge::Daily, "incomplete");
    std::string edited = text;
    edited[edited.find("1250")] = '9';
    refused(edited, TChallenge::Daily, "checksum does not match");
    refused(SignedText("brimstrand-challenge-table 2 daily\n"), TChallenge::Daily, "format 2 is not supported");
    refused(SignedText("brimstrand-challenge-table 1 sprint\nentry 12 ABC 2026-12-09T10:00:00Z 2026-12-09\n"),
            TChallenge::Sprint, "line 2");
    refused(SignedText("brimstrand-challenge-table 1 sprint\nentry -3 ABC 2026-12-09T10:00:00Z -\n"), TChallenge::Sprint,
            "line 2");
    refused(SignedText("brimstrand-challenge-table 1 sprint\nentry 3 ABCD 2026-12-09T10:00:00Z -\n"), TChallenge::Sprint,
            "line 2");
    refused(SignedText("brimstrand-challenge-table 1 sprint\nentry 3 A\x01 2026-12-09T10:00:00Z -\n"), TChallenge::Sprint,
            "not plain text");
    std::string eleven = "brimstrand-challenge-table 1 ultra\n";
    for (int i = 0; i < 11; ++i)
        eleven += "entry " + std::to_string(i) + " ABC 2026-12-09T10:00:00Z -\n";
    refused(SignedText(eleven), TChallenge::Ultra, "more entries");
    refused("", TChallenge::Ultra, "incomplete");
}

TEST_F(ChallengeTablesTest, EachChallengeSavesItsOwnFileAndTheMainTableIsNotTouched)
{
    TChallengeTable saved;
    ASSERT_TRUE(RecordChallengeEntry(TChallenge::Sprint, Entry(1512, "BOT"), saved));
    ASSERT_TRUE(RecordChallengeEntry(TChallenge::Ultra, Entry(7437, "BOT"), saved));
    EXPECT_EQ(Entries("data"), (std::vector<std::string>{".lock", "sprint.table", "ultra.table"}));
    EXPECT_EQ(Results(LoadChallengeTable(TChallenge::Sprint).entries), (std::vector<int64_t>{1512}));
    EXPECT_EQ(Results(LoadChallengeTable(TChallenge::Ultra).entries), (std::vector<int64_t>{7437}));
    EXPECT_TRUE(LoadChallengeTable(TChallenge::Daily).entries.empty());
}

TEST_F(ChallengeTablesTest, TwoCopiesSavingInTurnKeepBothEntries)
{
    EXPECT_TRUE(TwoCopiesInTurn([](int) { LoadChallengeTable(TChallenge::Sprint); },
                                [](int copy) {
                                    TChallengeTable table;
                                    return RecordChallengeEntry(TChallenge::Sprint, Entry(copy == 0 ? 2000 : 1500, "C" + std::to_string(copy)), table);
                                }));
    EXPECT_EQ(Results(LoadChallengeTable(TChallenge::Sprint).entries), (std::vector<int64_t>{1500, 2000}));
}

TEST_F(ChallengeTablesTest, DamagedEmptyOrHugeFilesAreMovedAsideWithOneLine)
{
    for (const std::string& bad : {std::string("garbage\n"), std::string(), std::string(70000, 'x')}) {
        WriteBytes("data/ultra.table", Bytes(bad));
        testing::internal::CaptureStderr();
        TChallengeTable table;
        EXPECT_TRUE(RecordChallengeEntry(TChallenge::Ultra, Entry(10, "NEW"), table));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find("data/ultra.table is damaged"), std::string::npos) << err;
        EXPECT_EQ(Text(FileBytes("data/ultra.table.bad")), bad);
        EXPECT_EQ(Results(LoadChallengeTable(TChallenge::Ultra).entries), (std::vector<int64_t>{10}));
        std::filesystem::remove("data/ultra.table.bad");
        std::filesystem::remove("data/ultra.table");
    }
}

TEST_F(ChallengeTablesTest, AFileThatCannotBeReadIsLeftAloneAndNotSavedOver)
{
    TChallengeTable table;
    ASSERT_TRUE(RecordChallengeEntry(TChallenge::Sprint, Entry(1000, "MNE"), table));
    const std::vector<uint8_t> before = FileBytes("data/sprint.table");
    std::filesystem::permissions("data/sprint.table", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::permissions("data", std::filesystem::perms::all);
    EXPECT_TRUE(InChildAsNobody([] {
        testing::internal::CaptureStderr();
        TChallengeTable t;
        const bool saved = RecordChallengeEntry(TChallenge::Sprint, Entry(10, "NEW"), t);
        const std::string err = testing::internal::GetCapturedStderr();
        return !saved && err.find("Cannot read data/sprint.table (Permission denied)") != std::string::npos &&
               err.find("Could not save data/sprint.table: the table there could not be read") != std::string::npos;
    }));
    EXPECT_EQ(FileBytes("data/sprint.table"), before);
}
