// The play options as settings.cfg holds them: what a play takes from them, Handling, and a file
// that says them badly.
#include "app/settings/play_settings.h"

#include <gtest/gtest.h>

#include "app/settings/settings_file.h"
#include "common/files.h"
#include "common/temp_folder.h"

namespace {

using PlaySettingsTest = TempFolderTest;

TEST(PlaySettings, TheDefaultsAreTheClassicGame)
{
    const TSettingValues values;
    EXPECT_TRUE(PlayOptionsFrom(values).AllDefault());
    EXPECT_EQ(HandlingOf(values), THandling::Classic);
}

TEST(PlaySettings, ModernSwitchesOnAllButThePaceAndOneOptionAloneIsCustom)
{
    TSettingValues values;
    values.SetNumber(SettingPace, 2);
    SetHandling(values, THandling::Modern);
    const TPlayOptions modern = PlayOptionsFrom(values);
    EXPECT_EQ(modern.nextPieces, MaxNextPieces);
    EXPECT_TRUE(modern.landingShadow && modern.hardDrop && modern.hold && modern.playFigures);
    EXPECT_EQ(modern.pace, TPace::Rapid) << "the pace stays the player's";
    EXPECT_EQ(HandlingOf(values), THandling::Modern);
    values.SetNumber(SettingHold, 0);
    EXPECT_EQ(HandlingOf(values), THandling::Custom);
    SetHandling(values, THandling::Classic);
    EXPECT_EQ(HandlingOf(values), THandling::Classic);
    EXPECT_EQ(PlayOptionsFrom(values).pace, TPace::Rapid);
}

TEST_F(PlaySettingsTest, OutOfRangeOrMisspeltValuesWarnOnceWithTheDefaultAndThePlayStarts)
{
    const std::string text = "next_pieces = 4\npace = brsik\nhold = on\nhard_drop = yes\n";
    WriteBytes("settings.cfg", {text.begin(), text.end()});
    const TSettingsRead read = ReadSettings(TSettingFile::Game, "settings.cfg");
    ASSERT_EQ(read.warnings.size(), 3u);
    EXPECT_EQ(read.warnings[0], "settings.cfg:1: next_pieces must be a whole number from 0 to 3, using 0");
    EXPECT_EQ(read.warnings[1], "settings.cfg:2: pace must be \"classic\", \"brisk\" or \"rapid\", using classic");
    EXPECT_EQ(read.warnings[2], "settings.cfg:4: hard_drop must be \"off\" or \"on\", using off");
    const TPlayOptions options = PlayOptionsFrom(read.values);
    EXPECT_TRUE(options.hold);
    EXPECT_EQ(options.nextPieces, 0);
    EXPECT_FALSE(options.hardDrop);
    EXPECT_TRUE(options.Valid());
}

} // namespace
