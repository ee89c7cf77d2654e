// The display choices: what display.cfg holds, how the first window is chosen, screenshot names.
#include "app/shell/display.h"

#include <string>

#include "app/settings/config_file.h"
#include "app/settings/display_settings.h"
#include "app/shell/screenshot.h"
#include "common/temp_folder.h"

namespace {

using DisplaySettingsTest = TempFolderTest;

void WriteText(const std::string& path, const std::string& text) { WriteBytes(path, {text.begin(), text.end()}); }

TEST_F(DisplaySettingsTest, SavedSettingsReadBackAndAMissingFileIsTheDefaults)
{
    const TDisplaySettingsRead missing = ReadDisplaySettings("display.cfg");
    EXPECT_EQ(missing.settings, TDisplaySettings{});
    EXPECT_EQ(missing.warning, "") << "a first start is no fault";

    const TDisplaySettings chosen{{1200, 800}, true, true};
    ASSERT_TRUE(SaveDisplaySettings("display.cfg", chosen));
    const TDisplaySettingsRead read = ReadDisplaySettings("display.cfg");
    EXPECT_EQ(read.settings, chosen);
    EXPECT_EQ(read.warning, "");

    WriteText("edited.cfg", "# by hand\nFullscreen = Yes\n\nwindow_width=640\nwindow_height = 700  # tall\n");
    EXPECT_EQ(ReadDisplaySettings("edited.cfg").settings, (TDisplaySettings{{640, 700}, true, false}));
}

TEST_F(DisplaySettingsTest, ADamagedFileGivesTheDefaultsAndOneWarningLine)
{
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"window_width = 1200\nwindow_height = 800\n\x01\xff\xfe garbage\nfullscreen = yes\n", "display.cfg:3:"},
        {"window_width = 99999\nwindow_height = 800\n", "display.cfg:1:"},
        {"window_width = 800\nwindow_height = -5\n", "display.cfg:2:"},
        {"fullscreen = perhaps\n", "display.cfg:1:"},
        {"colour = blue\n", "display.cfg:1:"},
        {"window_width = 800\n", "display.cfg: window_width and window_height"},
        {std::string(MaxConfigBytes + 1, 'x'), "display.cfg: larger than"},
    };
    for (const auto& [text, start] : damaged) {
        WriteText("display.cfg", text);
        const TDisplaySettingsRead read = ReadDisplaySettings("display.cfg");
        EXPECT_EQ(read.settings, TDisplaySettings{}) << start;
        EXPECT_EQ(read.warning.rfind(start, 0), 0u) << read.warning;
        EXPECT_EQ(read.warning.find('\n'), std::string::npos) << "one line: " << read.warning;
        EXPECT_NE(read.warning.find("using the default display settings"), std::string::npos) << read.warning;
    }
}

TEST(DisplayStart, TheFirstWindowIsTheLargestWholeScaleInThreeQuartersOfTheDesktop)
{
    EXPECT_EQ(AutomaticWindowSize(1080 - 40), (TWindowSize{512, 512}));
    EXPECT_EQ(AutomaticWindowSize(1440 - 40), (TWindowSize{1024, 1024}));
    EXPECT_EQ(AutomaticWindowSize(2160 - 40), (TWindowSize{1536, 1536}));
    EXPECT_EQ(AutomaticWindowSize(4320), (TWindowSize{3072, 3072}));
    EXPECT_EQ(AutomaticWindowSize(600), (TWindowSize{512, 512})) << "never below scale 1";
    EXPECT_EQ(AutomaticWindowSize(0), (TWindowSize{512, 512})) << "an unknown desktop";
}

TEST(DisplayStart, TheCommandLineWinsOverWhatWasRememberedWhichWinsOverTheDesktop)
{
    const TDisplaySettings none;
    const TDisplaySettings remembered{{900, 700}, true, false};
    TCommandLine options;
    EXPECT_EQ(ChooseWindowPlan(options, none, 1400).size, (TWindowSize{1024, 1024}));
    EXPECT_FALSE(ChooseWindowPlan(options, none, 1400).fullscreen);
    EXPECT_EQ(ChooseWindowPlan(options, remembered, 1400).size, (TWindowSize{900, 700}));
    EXPECT_TRUE(ChooseWindowPlan(options, remembered, 1400).fullscreen);

    options.scale = 3;
    EXPECT_EQ(ChooseWindowPlan(options, remembered, 1400).size, (TWindowSize{1536, 1536}));
    options.windowed = true;
    EXPECT_FALSE(ChooseWindowPlan(options, remembered, 1400).fullscreen);
    options.fullscreen = true;
    EXPECT_FALSE(ChooseWindowPlan(options, remembered, 1400).fullscreen) << "--windowed wins";
    options.windowed = false;
    EXPECT_TRUE(ChooseWindowPlan(options, none, 1400).fullscreen);
}

TEST(Screenshot, NamedByLocalDateAndTimeSortingInOrder)
{
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 0;
    time.tm_mday = 2;
    time.tm_hour = 3;
    time.tm_min = 4;
    time.tm_sec = 5;
    EXPECT_EQ(ScreenshotName(time), "brimstrand-2026-01-02_03-04-05.png");
}

} // namespace
