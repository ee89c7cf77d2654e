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
    EXPECT_TRUE(missing.warnings.empty()) << "a first start is no fault";

    const TDisplaySettings chosen{{1200, 800}, true, true};
    ASSERT_TRUE(SaveDisplaySettings("display.cfg", chosen));
    const TDisplaySettingsRead read = ReadDisplaySettings("display.cfg");
    EXPECT_EQ(read.settings, chosen);
    EXPECT_TRUE(read.warnings.empty());

    WriteText("edited.cfg", "# by hand\nFullscreen = Yes\n\nwindow_width=640\nwindow_height = 700  # tall\n");
    EXPECT_EQ(ReadDisplaySettings("edited.cfg").settings, (TDisplaySettings{{640, 700}, true, false}));
}

// A bad line costs only its own setting, and says which line and what the game uses instead.
TEST_F(DisplaySettingsTest, EachBadLineGivesItsDefaultAndOneWarningAndTheRestIsKept)
{
    struct TDamaged {
        std::string text;
        TDisplaySettings kept;
        std::string warning;
    };
    const std::vector<TDamaged> damaged = {
        {"window_width = 1200\nwindow_height = 800\n\x01\xff\xfe garbage\nfullscreen = yes\n", {{1200, 800}, true, false},
         "display.cfg:3: not a \"key = value\" line"},
        {"window_width = 99999\nwindow_height = 800\ninteger_scale = yes\n", {{}, false, true},
         "display.cfg:1: window_width must be a whole number from 128 to 16384, using none"},
        {"window_width = 800\nwindow_height = -5\n", {}, "display.cfg:2: window_height must be"},
        {"fullscreen = perhaps\nwindow_width = 900\nwindow_height = 700\n", {{900, 700}, false, false},
         "display.cfg:1: fullscreen must be \"no\" or \"yes\", using no"},
        {"colour = blue\nfullscreen = yes\n", {{}, true, false}, "display.cfg:1: unknown setting \"colour\", ignored"},
        {"window_width = 800\n", {}, "display.cfg: window_width and window_height come together; using no window size"},
        {std::string(MaxConfigBytes + 1, 'x'), {}, "display.cfg: larger than"},
    };
    for (const TDamaged& file : damaged) {
        WriteText("display.cfg", file.text);
        const TDisplaySettingsRead read = ReadDisplaySettings("display.cfg");
        EXPECT_EQ(read.settings, file.kept) << file.warning;
        ASSERT_FALSE(read.warnings.empty()) << file.warning;
        EXPECT_EQ(read.warnings.front().rfind(file.warning, 0), 0u) << read.warnings.front();
        for (const std::string& warning : read.warnings)
            EXPECT_EQ(warning.find('\n'), std::string::npos) << "one line: " << warning;
    }
}

// Saving at exit edits the values in place: a player's comments and lines stay where they were.
TEST_F(DisplaySettingsTest, SavingKeepsThePlayersLinesAndComments)
{
    WriteText("display.cfg", "# my laptop\nfullscreen = no  # F11 when needed\nwindow_width = 640\nwindow_height = 480\n");
    ASSERT_TRUE(SaveDisplaySettings("display.cfg", {{800, 600}, true, false}));
    EXPECT_EQ(FileText("display.cfg"), "# my laptop\nfullscreen = yes  # F11 when needed\nwindow_width = 800\n"
                                       "window_height = 600\ninteger_scale = no\n");
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

// A desktop of 2560 by 1400 usable pixels.
constexpr TWindowSize Desktop{2560, 1400};

TEST(DisplayStart, TheCommandLineWinsOverWhatWasRememberedWhichWinsOverTheDesktop)
{
    const TDisplaySettings none;
    const TDisplaySettings remembered{{900, 700}, true, false};
    TCommandLine options;
    EXPECT_EQ(ChooseWindowPlan(options, none, Desktop).size, (TWindowSize{1024, 1024}));
    EXPECT_FALSE(ChooseWindowPlan(options, none, Desktop).fullscreen);
    EXPECT_EQ(ChooseWindowPlan(options, remembered, Desktop).size, (TWindowSize{900, 700}));
    EXPECT_TRUE(ChooseWindowPlan(options, remembered, Desktop).fullscreen);

    options.scale = 2;
    EXPECT_EQ(ChooseWindowPlan(options, remembered, Desktop).size, (TWindowSize{1024, 1024}));
    options.windowed = true;
    EXPECT_FALSE(ChooseWindowPlan(options, remembered, Desktop).fullscreen);
    options.fullscreen = true;
    EXPECT_FALSE(ChooseWindowPlan(options, remembered, Desktop).fullscreen) << "--windowed wins";
    options.windowed = false;
    EXPECT_TRUE(ChooseWindowPlan(options, none, Desktop).fullscreen);
}

// --scale 8 on a small screen once opened a window showing only part of the game, and the size
// was remembered for every later start.
TEST(DisplayStart, NoWindowIsLargerThanTheUsableDesktop)
{
    TCommandLine options;
    options.scale = 8;
    EXPECT_EQ(ChooseWindowPlan(options, {}, {640, 480}).size, (TWindowSize{512, 512})) << "never below scale 1";
    EXPECT_EQ(ChooseWindowPlan(options, {}, {1920, 1080}).size, (TWindowSize{1024, 1024}));
    EXPECT_EQ(ChooseWindowPlan(options, {}, {}).size, (TWindowSize{4096, 4096})) << "an unknown desktop";
    options.scale = 0;
    const TDisplaySettings huge{{4096, 4096}, false, false};
    EXPECT_EQ(ChooseWindowPlan(options, huge, {1920, 1080}).size, AutomaticWindowSize(1080))
        << "a remembered size that no longer fits is passed over";
    EXPECT_TRUE(FitsDesktop({1920, 1080}, {1920, 1080}));
    EXPECT_FALSE(FitsDesktop({1921, 1080}, {1920, 1080}));
}

// llvmpipe at scale 2 on two threads drew the title at 48 frames a second, the whole game a fifth
// slow: only a size the game chose itself gives way to one a software renderer holds.
TEST(DisplayStart, SoftwareDrawingGetsTheLargestScaleItHoldsWhenTheGameChoseTheSize)
{
    EXPECT_EQ(LargestSmoothSoftwareScale(1), 1) << "never below scale 1";
    EXPECT_EQ(LargestSmoothSoftwareScale(2), 1);
    EXPECT_EQ(LargestSmoothSoftwareScale(4), 2);
    EXPECT_EQ(LargestSmoothSoftwareScale(8), 3);
    EXPECT_EQ(LargestSmoothSoftwareScale(1000), 8);

    TCommandLine options;
    const TDisplaySettings none;
    EXPECT_EQ(ChooseWindowPlan(options, none, Desktop, 1).size, (TWindowSize{1024, 1024}));
    EXPECT_EQ(ChooseWindowPlan(options, none, Desktop, 1).softwareSize, (TWindowSize{512, 512}));
    EXPECT_EQ(ChooseWindowPlan(options, none, Desktop, 2).softwareSize, TWindowSize{}) << "scale 2 holds";
    EXPECT_EQ(ChooseWindowPlan(options, none, Desktop).softwareSize, TWindowSize{});
    EXPECT_EQ(ChooseWindowPlan(options, {{1024, 1024}, false, false}, Desktop, 1).softwareSize, TWindowSize{})
        << "a remembered size";
    EXPECT_EQ(ChooseWindowPlan(options, {{}, true, false}, Desktop, 1).softwareSize, TWindowSize{}) << "fullscreen";
    options.scale = 2;
    EXPECT_EQ(ChooseWindowPlan(options, none, Desktop, 1).softwareSize, TWindowSize{}) << "--scale 2";
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
