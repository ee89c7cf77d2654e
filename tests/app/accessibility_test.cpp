// The Flashes setting: its file of its own beside preferences.dat, and the limit it puts on the
// full-window flash.
#include "app/settings/accessibility.h"

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
        accessibility.Reset();
    }
    void TearDown() override
    {
        accessibility.Reset();
        TempFolderTest::TearDown();
    }
    static void WriteSettings(const std::string& text)
    {
        std::filesystem::create_directories("data");
        WriteBytes(GameSettingsFile(), {text.begin(), text.end()});
    }
    static std::string SettingsText()
    {
        const auto bytes = FileBytes(GameSettingsFile());
        return {bytes.begin(), bytes.end()};
    }
    // LoadAccessibility with what it says on stderr.
    static std::string LoadWarnings()
    {
        testing::internal::CaptureStderr();
        LoadAccessibility();
        return testing::internal::GetCapturedStderr();
    }
};

TEST_F(AccessibilityFile, MissingFileOrKeyIsFullAndNothingIsWritten)
{
    accessibility.reducedflashes = true;
    EXPECT_EQ(LoadWarnings(), "");
    EXPECT_FALSE(accessibility.reducedflashes);
    EXPECT_FALSE(std::filesystem::exists(GameSettingsFile())) << "reading makes no file";
    WriteSettings("# nothing of ours\nscale = 2\n");
    EXPECT_EQ(LoadWarnings(), "") << "another setting's key is its owner's business";
    EXPECT_FALSE(accessibility.reducedflashes);
}

TEST_F(AccessibilityFile, ReducedReadsBackInAnyCaseAndABadValueWarnsWithItsLine)
{
    WriteSettings("flashes = Reduced\n");
    EXPECT_EQ(LoadWarnings(), "");
    EXPECT_TRUE(accessibility.reducedflashes);
    WriteSettings("\nflashes = sometimes\n");
    EXPECT_EQ(LoadWarnings(), "data/settings.cfg:2: flashes must be \"full\" or \"reduced\", using full\n");
    EXPECT_FALSE(accessibility.reducedflashes);
}

TEST_F(AccessibilityFile, SavingKeepsOtherSettingsAndLeavesThePreferencesAlone)
{
    WriteSettings("scale = 2\nflashes = full\nfullscreen = yes\n");
    accessibility.reducedflashes = true;
    ASSERT_TRUE(SaveAccessibility());
    const std::string text = SettingsText();
    EXPECT_NE(text.find("scale = 2\nflashes = reduced\nfullscreen = yes\n"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists("data/preferences.dat"));
    accessibility.Reset();
    LoadAccessibility();
    EXPECT_TRUE(accessibility.reducedflashes);

    std::filesystem::remove(GameSettingsFile());
    accessibility.reducedflashes = false;
    ASSERT_TRUE(SaveAccessibility());
    EXPECT_NE(SettingsText().find("\nflashes = full\n"), std::string::npos) << "a new file holds the key";
}

TEST_F(AccessibilityFile, FailedSaveSaysSo)
{
    WriteBytes("data", {'x'}); // a file where the folder should be
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveAccessibility());
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
    accessibility.reducedflashes = false;
    for (float level : {0.0f, 0.54f, 1.578f, 0.2f})
        EXPECT_EQ(FlashOpacity(level), level);
    accessibility.reducedflashes = true;
    EXPECT_LE(FlashOpacity(1.578f), ReducedFlashOpacity);
    accessibility.Reset();
}

} // namespace
