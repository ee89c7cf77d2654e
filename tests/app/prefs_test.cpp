#include "app/storage/prefs.h"
#include "app/screens/options.h"

#include <filesystem>

#include "app/storage/data_folder.h"
#include "game/settings.h"
#include "common/temp_folder.h"

class PrefsTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        settings.Reset();
    }
    // LoadPrefs with its standard output.
    static std::string LoadPrefsOutput()
    {
        testing::internal::CaptureStdout();
        LoadPrefs();
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(PrefsTest, FirstRunSaysYoAndCreatesTheDefaultFile)
{
    EXPECT_EQ(LoadPrefsOutput(), "Yo. 0\n");
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{1, 1, 0}));
    EXPECT_EQ(settings.musicvolume, 0.25f);
    EXPECT_EQ(settings.soundvolume, 0.25f);
    EXPECT_EQ(settings.visibility, 0);
    EXPECT_EQ(LoadPrefsOutput(), "") << "an existing file is read silently";
}

TEST_F(PrefsTest, SavedSettingsReadBack)
{
    settings.musicvolume = 0.75f;
    settings.soundvolume = 0;
    settings.visibility = 1;
    ASSERT_TRUE(SavePrefs());
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{3, 0, 1}));
    settings.musicvolume = settings.soundvolume = 0.5f;
    settings.visibility = 7;
    EXPECT_EQ(LoadPrefsOutput(), "");
    EXPECT_EQ(settings.musicvolume, 0.75f);
    EXPECT_EQ(settings.soundvolume, 0.0f);
    EXPECT_EQ(settings.visibility, 1);
}

TEST_F(PrefsTest, VisibilityTwoIsHighAndVolumesAreKeptToOne)
{
    WriteBytes("data/preferences.dat", {9, 255, 2});
    LoadPrefs();
    EXPECT_EQ(settings.musicvolume, 1.0f);
    EXPECT_EQ(settings.soundvolume, 1.0f);
    EXPECT_NE(settings.visibility, 0) << "any non-zero byte counts as High";
    ASSERT_TRUE(SavePrefs());
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{4, 4, 2}));
}

TEST_F(PrefsTest, ShortFileIsMovedAsideAndTreatedAsMissing)
{
    WriteBytes("data/preferences.dat", {4, 4});
    EXPECT_EQ(LoadPrefsOutput(), "Yo. 0\n");
    EXPECT_EQ(settings.musicvolume, 0.25f);
    EXPECT_EQ(settings.visibility, 0);
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{1, 1, 0}));
    EXPECT_EQ(FileBytes("data/preferences.dat.bad"), (std::vector<uint8_t>{4, 4}));
}

TEST_F(PrefsTest, UnusablePathRunsOnTheDefaults)
{
    std::filesystem::create_directories("data/preferences.dat");
    EXPECT_EQ(LoadPrefsOutput(), "Yo. 2\n");
    EXPECT_EQ(settings.musicvolume, 0.25f);
    EXPECT_EQ(settings.soundvolume, 0.25f);
    EXPECT_EQ(settings.visibility, 0);
    EXPECT_FALSE(SavePrefs());
}

TEST_F(PrefsTest, FailedSaveKeepsTheOldFile)
{
    WriteBytes("data/preferences.dat", {2, 3, 1});
    settings.musicvolume = 1;
    FileSizeLimit limit(1);
    EXPECT_FALSE(SavePrefs());
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{2, 3, 1}));
}

// Opening for reading only: a read-only file must load. Root may write anything, so the check
// runs as an unprivileged user in a child process when the tests run as root.
TEST_F(PrefsTest, ReadOnlyFileLoads)
{
    WriteBytes("data/preferences.dat", {2, 4, 1});
    std::filesystem::permissions("data/preferences.dat", std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read |
                                                             std::filesystem::perms::others_read);
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::permissions("data", std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                             std::filesystem::perms::group_exec |
                                             std::filesystem::perms::others_read |
                                             std::filesystem::perms::others_exec);
    EXPECT_TRUE(InChildAsNobody([] {
        testing::internal::CaptureStdout();
        LoadPrefs();
        return testing::internal::GetCapturedStdout().empty() && settings.musicvolume == 0.5f && settings.soundvolume == 1.0f &&
               settings.visibility == 1;
    }));
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{2, 4, 1}));
}

TEST(PrefsRules, LevelBarsMarkTheVolumeLevel)
{
    EXPECT_EQ(LevelBar(0), "_----");
    EXPECT_EQ(LevelBar(0.25f), "-_---");
    EXPECT_EQ(LevelBar(0.5f), "--_--");
    EXPECT_EQ(LevelBar(0.75f), "---_-");
    EXPECT_EQ(LevelBar(1), "----_");
}

TEST(PrefsRules, VolumeZonesAreElevenPixelsWide)
{
    const struct {
        int from, to;
        float volume;
    } zones[] = {{321, 330, 0}, {331, 341, 0.25f}, {342, 352, 0.5f}, {353, 363, 0.75f}, {364, 374, 1}};
    for (const auto& z : zones)
        for (int x = z.from; x <= z.to; ++x)
            EXPECT_EQ(VolumeAtColumn(x), z.volume) << "x = " << x;
}

// Each copy read the settings before either saved; each keeps the other's change.
TEST_F(PrefsTest, TwoCopiesSavingInTurnKeepEachOthersChanges)
{
    WriteBytes("data/preferences.dat", {1, 1, 0});
    EXPECT_TRUE(TwoCopiesInTurn(
        [](int) { LoadPrefs(); },
        [](int copy) {
            if (copy == 0)
                settings.musicvolume = 1;
            else
                settings.visibility = 1;
            return SavePrefs();
        }));
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{4, 1, 1}));
}

TEST_F(PrefsTest, FileThatCannotBeReadIsLeftAloneAndNotSavedOver)
{
    WriteBytes("data/preferences.dat", {3, 3, 1});
    std::filesystem::permissions("data/preferences.dat",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::permissions("data", std::filesystem::perms::all);
    EXPECT_TRUE(InChildAsNobody([] {
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        LoadPrefs();
        const bool quiet = testing::internal::GetCapturedStdout().empty();
        const bool defaults = settings.musicvolume == 0.25f && settings.soundvolume == 0.25f && settings.visibility == 0;
        settings.musicvolume = 1;
        const bool saved = SavePrefs();
        const std::string err = testing::internal::GetCapturedStderr();
        return quiet && defaults && !saved &&
               err == "Cannot read data/preferences.dat (Permission denied): playing on the defaults, the file is "
                      "left as it is\n"
                      "Could not save data/preferences.dat: the file there could not be read\n";
    }));
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{3, 3, 1}));
    EXPECT_FALSE(std::filesystem::exists("data/preferences.dat.bad"));
}

TEST_F(PrefsTest, FailedSaveIsReported)
{
    std::filesystem::create_directories("data");
    WriteBytes("data/preferences.dat", {2, 3, 1});
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::permissions("data", std::filesystem::perms::owner_all | std::filesystem::perms::others_read |
                                             std::filesystem::perms::others_exec);
    EXPECT_TRUE(InChildAsNobody([] {
        LoadPrefs();
        settings.visibility = 0;
        testing::internal::CaptureStderr();
        const bool saved = SavePrefs();
        return !saved && testing::internal::GetCapturedStderr() ==
                             "Could not save data/preferences.dat: Permission denied\n";
    })) << "a read-only folder";
    EXPECT_EQ(FileBytes("data/preferences.dat"), (std::vector<uint8_t>{2, 3, 1}));
}

// Without a data folder (no HOME) a save names no empty path: it says why nothing is kept.
TEST_F(PrefsTest, WithoutADataFolderASaveSaysWhy)
{
    UseDataFolder("");
    testing::internal::CaptureStderr();
    const bool saved = SavePrefs();
    const std::string err = testing::internal::GetCapturedStderr();
    UseDataFolder("data");
    EXPECT_FALSE(saved);
    EXPECT_EQ(err, "Could not save: the game has no data folder, so nothing is kept (see --help)\n");
}

TEST_F(PrefsTest, SavingThroughALinkKeepsTheLink)
{
    std::filesystem::create_directories("data");
    WriteBytes("mine/prefs", {2, 2, 0});
    std::filesystem::create_symlink(std::filesystem::absolute("mine/prefs"), "data/preferences.dat");
    LoadPrefs();
    settings.visibility = 1;
    ASSERT_TRUE(SavePrefs());
    EXPECT_TRUE(std::filesystem::is_symlink("data/preferences.dat"));
    EXPECT_EQ(FileBytes("mine/prefs"), (std::vector<uint8_t>{2, 2, 1}));
}
