// The controls file in a real data folder: written with the defaults on the first start, read
// back, remaps, and the one warning of each line the game cannot use.
#include "app/settings/controls_file.h"
#include "app/settings/settings_file.h"

#include <filesystem>
#include <string>

#include "app/storage/data_folder.h"
#include "common/temp_folder.h"
#include "system/keycodes.h"

namespace {

class ControlsFile : public TempFolderTest {
protected:
    void TearDown() override
    {
        CurrentSettings().ResetFile(TSettingFile::Controls);
        UseDataFolder("data");
        TempFolderTest::TearDown();
    }
    void Write(const std::string& text) { WriteBytes("data/controls.cfg", {text.begin(), text.end()}); }
    static TKeyBindings Read(std::vector<std::string>& warnings)
    {
        TSettingsRead read = ReadSettings(TSettingFile::Controls, "data/controls.cfg");
        warnings = read.warnings;
        return BindingsFrom(read.values);
    }
};

using Keys = std::vector<int32_t>;

TEST_F(ControlsFile, FirstStartWritesTheDefaultsWhichAreTheGamesKeysAndTheArrows)
{
    std::filesystem::create_directory("data");
    UseDataFolder("data");
    CurrentSettings().Set(SettingMoveLeft, {0, {VK_J}, "J"});
    LoadControls();
    const auto bytes = FileBytes("data/controls.cfg");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("\nmove_left = A, Left\nmove_right = D, Right\nturn_left = Q\nturn_right = E, Up\n"
                        "drop_fast = S, Down\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(BindingsFrom(CurrentSettings()).keys[ActionMoveLeft], (Keys{VK_A, VK_LEFT}));
    EXPECT_EQ(BindingsFrom(CurrentSettings()).keys[ActionMoveRight], (Keys{VK_D, VK_RIGHT}));
    EXPECT_EQ(BindingsFrom(CurrentSettings()).keys[ActionTurnLeft], (Keys{VK_Q}));
    EXPECT_EQ(BindingsFrom(CurrentSettings()).keys[ActionTurnRight], (Keys{VK_E, VK_UP}));
    EXPECT_EQ(BindingsFrom(CurrentSettings()).keys[ActionDropFast], (Keys{VK_S, VK_DOWN}));
    EXPECT_EQ(BindingsFrom(CurrentSettings()).repeatDelay, 0) << "no repeat unless asked for";

    std::vector<std::string> warnings;
    Read(warnings);
    EXPECT_TRUE(warnings.empty()) << "the written file reads back without a complaint";
    LoadControls();
    EXPECT_EQ(FileBytes("data/controls.cfg"), bytes) << "an existing file is not written over";
}

TEST_F(ControlsFile, RemapsReplaceAnActionsKeysAndOthersKeepTheirDefaults)
{
    Write("# mine\nmove_left = j, Keypad 4  # two keys\nTURN_RIGHT = space\ndrop_fast=Down\n");
    std::vector<std::string> warnings;
    const TKeyBindings bindings = Read(warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(bindings.keys[ActionMoveLeft], (Keys{VK_J, VK_LEFT})) << "the keypad 4 is Left with Num Lock off";
    EXPECT_EQ(bindings.keys[ActionTurnRight], (Keys{VK_SPACE}));
    EXPECT_EQ(bindings.keys[ActionDropFast], (Keys{VK_DOWN}));
    EXPECT_EQ(bindings.keys[ActionMoveRight], (Keys{VK_D, VK_RIGHT}));
    EXPECT_EQ(bindings.keys[ActionTurnLeft], (Keys{VK_Q}));
}

TEST_F(ControlsFile, EachUnusableLineWarnsOnceAndKeepsTheDefault)
{
    Write("move_left = J, Nokey\njump = Space\nturn_left =\nrepeat_delay_ms = soon\nrepeat_interval_ms = 50\n");
    std::vector<std::string> warnings;
    const TKeyBindings bindings = Read(warnings);
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[0], "data/controls.cfg:1: unknown key name \"Nokey\"; move_left keeps its default keys A, Left");
    EXPECT_EQ(warnings[1], "data/controls.cfg:2: unknown action \"jump\", ignored");
    EXPECT_EQ(warnings[2], "data/controls.cfg:3: a key name missing; turn_left keeps its default keys Q");
    EXPECT_EQ(warnings[3], "data/controls.cfg:4: repeat_delay_ms must be a whole number from 0 to 10000, using 0");
    EXPECT_EQ(bindings.keys[ActionMoveLeft], (Keys{VK_A, VK_LEFT}));
    EXPECT_EQ(bindings.keys[ActionTurnLeft], (Keys{VK_Q}));
    EXPECT_EQ(bindings.repeatDelay, 0) << "a repeat needs both times";
}

// Escape, Tab, F1, F11 and F12 belong to the game's screens; a control character is no key name (a NUL
// would otherwise end the name early and bind the key before it).
TEST_F(ControlsFile, ReservedKeysAndControlCharactersAreRefused)
{
    Write(std::string("move_left = J, Escape\nturn_left = Tab\ndrop_fast = F12\nturn_right = E\0X\nmove_right = F11\nhold = C, F1\n", 101));
    std::vector<std::string> warnings;
    const TKeyBindings bindings = Read(warnings);
    ASSERT_EQ(warnings.size(), 6u);
    EXPECT_EQ(warnings[0], "data/controls.cfg:1: a key the game keeps for itself (Escape, Tab, F1, F11, F12, Alt+Enter); move_left keeps "
                           "its default keys A, Left");
    EXPECT_NE(warnings[3].find("unknown key name"), std::string::npos) << warnings[3];
    EXPECT_EQ(bindings.keys[ActionMoveLeft], (Keys{VK_A, VK_LEFT}));
    EXPECT_EQ(bindings.keys[ActionTurnLeft], (Keys{VK_Q}));
    EXPECT_EQ(bindings.keys[ActionDropFast], (Keys{VK_S, VK_DOWN}));
    EXPECT_EQ(bindings.keys[ActionTurnRight], (Keys{VK_E, VK_UP}));
    EXPECT_EQ(bindings.keys[ActionMoveRight], (Keys{VK_D, VK_RIGHT}));
    EXPECT_EQ(bindings.keys[ActionHold], (Keys{VK_C, VK_LSHIFT}));
}

TEST_F(ControlsFile, RepeatTimesBecomeFramesOfTheSixtyASecond)
{
    Write("repeat_delay_ms = 250\nrepeat_interval_ms = 50\n");
    std::vector<std::string> warnings;
    const TKeyBindings bindings = Read(warnings);
    EXPECT_EQ(bindings.repeatDelay, 15);
    EXPECT_EQ(bindings.repeatInterval, 3);
    EXPECT_EQ(FramesForMillis(1), 1) << "never less than a frame";
    EXPECT_EQ(FramesForMillis(10000), 600);
}

} // namespace
