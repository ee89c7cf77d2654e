// The Flashes setting: its file of its own beside preferences.dat, and the limit it puts on the
// full-window flash.
#include "app/settings/registry.h"
#include "app/settings/settings_file.h"

#include <filesystem>
#include <string>

#include "app/shell/flash_limit.h"
#include "common/temp_folder.h"

namespace {

class AccessibilityFile : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        CurrentSettings().ResetFile(TSettingFile::Game);
    }
    void TearDown() override
    {
        CurrentSettings().ResetFile(TSettingFile::Game);
        TempFolderTest::TearDown();
    }
    static void WriteSettings(const std::string& text)
    {
        std::filesystem::create_directories("data");
        WriteBytes(SettingsFilePath(TSettingFile::Game), {text.begin(), text.end()});
    }
    static std::string SettingsText() { return FileText(SettingsFilePath(TSettingFile::Game)); }
    // Loading settings.cfg, with what it says on stderr.
    static std::string LoadWarnings()
    {
        testing::internal::CaptureStderr();
        LoadSettings(TSettingFile::Game);
        return testing::internal::GetCapturedStderr();
    }
};

TEST_F(AccessibilityFile, MissingFileOrKeyIsFullAndNothingIsWritten)
{
    CurrentSettings().SetNumber(SettingReducedFlashes, 1);
    EXPECT_EQ(LoadWarnings(), "");
    EXPECT_FALSE(CurrentSettings().On(SettingReducedFlashes));
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath(TSettingFile::Game))) << "reading makes no file";
    WriteSettings("# nothing of ours\nscale = 2\n");
    EXPECT_EQ(LoadWarnings(), "data/settings.cfg:2: unknown setting \"scale\", ignored\n")
        << "every key of the file is declared, so another one is a slip worth a word";
    EXPECT_FALSE(CurrentSettings().On(SettingReducedFlashes));
}

TEST_F(AccessibilityFile, ReducedReadsBackInAnyCaseAndABadValueWarnsWithItsLine)
{
    WriteSettings("flashes = Reduced\n");
    EXPECT_EQ(LoadWarnings(), "");
    EXPECT_TRUE(CurrentSettings().On(SettingReducedFlashes));
    WriteSettings("\nflashes = sometimes\n");
    EXPECT_EQ(LoadWarnings(), "data/settings.cfg:2: flashes must be \"full\" or \"reduced\", using full\n");
    EXPECT_FALSE(CurrentSettings().On(SettingReducedFlashes));
}

TEST_F(AccessibilityFile, SavingKeepsOtherSettingsAndLeavesThePreferencesAlone)
{
    WriteSettings("# mine\nscale = 2\nflashes = full  # as shipped\nfullscreen = yes\n");
    CurrentSettings().SetNumber(SettingReducedFlashes, 1);
    ASSERT_TRUE(SaveSettings(TSettingFile::Game, {SettingReducedFlashes}));
    EXPECT_EQ(SettingsText(), "# mine\nscale = 2\nflashes = reduced  # as shipped\nfullscreen = yes\n")
        << "the player's comments, other keys and their order stay";
    EXPECT_FALSE(std::filesystem::exists("data/preferences.dat"));
    CurrentSettings().ResetFile(TSettingFile::Game);
    LoadSettings(TSettingFile::Game);
    EXPECT_TRUE(CurrentSettings().On(SettingReducedFlashes));

    std::filesystem::remove(SettingsFilePath(TSettingFile::Game));
    CurrentSettings().SetNumber(SettingReducedFlashes, 0);
    ASSERT_TRUE(SaveSettings(TSettingFile::Game, {SettingReducedFlashes}));
    EXPECT_NE(SettingsText().find("\nflashes = full\n"), std::string::npos) << "a new file holds the key";
}

TEST_F(AccessibilityFile, FailedSaveSaysSo)
{
    WriteBytes("data", {'x'}); // a file where the folder should be
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings(TSettingFile::Game, {SettingReducedFlashes}));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

// Levels as the rules set them: a blast 1.578, a cleared row 0.54, fading 0.0598 a frame.
class FlashLimit : public ::testing::Test {
protected:
    TFlashLimiter limiter;
    float level = 0;
    // One frame: the rules may set the level, the limiter is asked, the level fades.
    float Frame(float set = 0)
    {
        if (set > 0)
            level = set;
        const float opacity = limiter.Opacity(level);
        if (level > 0.000001f)
            level -= 0.0598f;
        return opacity;
    }
};

TEST_F(FlashLimit, ABlastIsAFaintTintThatFadesWithTheFlash)
{
    float peak = 0;
    int lit = 0;
    for (int frame = 0; frame < 60; ++frame) {
        const float opacity = Frame(frame == 0 ? 1.578f : 0);
        peak = std::max(peak, opacity);
        lit += opacity > 0 ? 1 : 0;
        EXPECT_LE(opacity, std::max(level + 0.0598f, 0.0f) + 1e-6f) << "never brighter than the flash itself";
    }
    EXPECT_FLOAT_EQ(peak, ReducedFlashOpacity);
    EXPECT_GT(lit, 20) << "as long as the flash, only fainter";
    EXPECT_EQ(Frame(), 0);
}

TEST_F(FlashLimit, RowsClearedEveryFewFramesFlashAtMostThreeTimesASecond)
{
    int onsets = 0;
    float before = 0;
    for (int frame = 0; frame < 600; ++frame) {
        const float opacity = Frame(frame % 7 == 0 ? 0.54f : 0); // eight and a half a second at Full
        onsets += opacity > before ? 1 : 0;
        EXPECT_LE(opacity, ReducedFlashOpacity);
        before = opacity;
    }
    EXPECT_LE(onsets, 30) << "ten seconds";
    EXPECT_GE(onsets, 25) << "flashes still show, only fewer";
}

TEST(FlashSetting, FullDrawsTheFlashAsItIs)
{
    CurrentSettings().SetNumber(SettingReducedFlashes, 0);
    for (float level : {0.0f, 0.54f, 1.578f, 0.2f})
        EXPECT_EQ(FlashOpacity(level), level);
    CurrentSettings().SetNumber(SettingReducedFlashes, 1);
    EXPECT_LE(FlashOpacity(1.578f), ReducedFlashOpacity);
    CurrentSettings().ResetFile(TSettingFile::Game);
}

} // namespace
