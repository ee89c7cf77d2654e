// Changing the play keys and pad buttons as the Controls page does: the new one first, a key of
// another action swapped, the game's own keys refused, and the file keeping a player's lines.
#include "app/settings/key_binding.h"

#include <gtest/gtest.h>

#include <string>

#include "app/settings/settings_file.h"
#include "common/temp_folder.h"
#include "system/key_names.h"
#include "system/keycodes.h"
#include "system/pad_names.h"

namespace {

using Codes = std::vector<int32_t>;

TEST(KeyBinding, ANewKeyTakesThePlaceOfTheFirstAndAnotherActionsKeyIsSwapped)
{
    TSettingValues values;
    TBindingResult result = Bind(values, ActionMoveLeft, TBindingKind::Key, VK_J);
    EXPECT_EQ(result.outcome, TBindingOutcome::Bound);
    EXPECT_EQ(values.Keys(SettingMoveLeft), (Codes{VK_J, VK_LEFT}));
    EXPECT_EQ(values.Text(SettingMoveLeft), "J, Left");

    result = Bind(values, ActionMoveLeft, TBindingKind::Key, VK_D);
    EXPECT_EQ(result.outcome, TBindingOutcome::Swapped);
    EXPECT_EQ(result.other, ActionMoveRight);
    EXPECT_EQ(values.Keys(SettingMoveLeft), (Codes{VK_D, VK_LEFT}));
    EXPECT_EQ(values.Keys(SettingMoveRight), (Codes{VK_J, VK_RIGHT})) << "never one key for two actions";
    EXPECT_EQ(values.Text(SettingMoveRight), "J, Right");

    // The replaced key is one the other action has already: it only loses the new one.
    values = TSettingValues();
    values.Set(SettingTurnLeft, {0, {VK_Q, VK_E}, "Q, E"});
    values.Set(SettingTurnRight, {0, {VK_E, VK_Q}, "E, Q"});
    result = Bind(values, ActionTurnLeft, TBindingKind::Key, VK_E);
    EXPECT_EQ(result.outcome, TBindingOutcome::Unchanged) << "it had E already";
    values.Set(SettingTurnLeft, {0, {VK_Q}, "Q"});
    values.Set(SettingTurnRight, {0, {VK_E, VK_Q, VK_UP}, "E, Q, Up"});
    result = Bind(values, ActionTurnLeft, TBindingKind::Key, VK_UP);
    EXPECT_EQ(result.outcome, TBindingOutcome::Swapped);
    EXPECT_EQ(values.Keys(SettingTurnLeft), (Codes{VK_UP}));
    EXPECT_EQ(values.Keys(SettingTurnRight), (Codes{VK_E, VK_Q}));
}

TEST(KeyBinding, TheGamesOwnKeysAndButtonsAreRefusedAndNothingChanges)
{
    const TSettingValues defaults;
    TSettingValues values;
    for (const int32_t code : {VK_ESCAPE, VK_TAB, VK_F1, VK_F11, VK_F12})
        EXPECT_EQ(Bind(values, ActionHold, TBindingKind::Key, code).outcome, TBindingOutcome::Reserved) << code;
    for (const int32_t button : {PadStart, PadBack, PadGuide})
        EXPECT_EQ(Bind(values, ActionHold, TBindingKind::PadButton, button).outcome, TBindingOutcome::Reserved);
    for (int32_t id = 0; id < SettingCount; ++id)
        EXPECT_EQ(values.Value(static_cast<TSettingId>(id)), defaults.Value(static_cast<TSettingId>(id)));
}

TEST(KeyBinding, PadButtonsBindAndSwapApartFromTheKeys)
{
    TSettingValues values;
    EXPECT_EQ(values.Keys(SettingTurnLeftPad), (Codes{PadB}));
    EXPECT_EQ(Bind(values, ActionTurnLeft, TBindingKind::PadButton, PadX).outcome, TBindingOutcome::Bound);
    EXPECT_EQ(values.Keys(SettingTurnLeftPad), (Codes{PadX}));
    const TBindingResult result = Bind(values, ActionTurnLeft, TBindingKind::PadButton, PadA);
    EXPECT_EQ(result.outcome, TBindingOutcome::Swapped);
    EXPECT_EQ(result.other, ActionTurnRight);
    EXPECT_EQ(values.Text(SettingTurnLeftPad), "A");
    EXPECT_EQ(values.Text(SettingTurnRightPad), "X");
    EXPECT_EQ(values.Keys(SettingTurnLeft), (Codes{VK_Q})) << "the keys stay";
}

TEST(KeyBinding, NamesReadBackAsTheCodesTheyName)
{
    const TSettingValues defaults;
    for (const TSettingId id : SettingsOf(TSettingFile::Controls)) {
        for (const int32_t code : defaults.Keys(id)) {
            const bool key = Declaration(id).kind == TSettingKind::Keys;
            const std::string name = key ? KeyNameForCode(code) : PadButtonName(code);
            EXPECT_EQ(key ? KeyCodeForName(name) : PadButtonForName(name), code) << name;
        }
    }
    EXPECT_EQ(KeyNameForCode(VK_LSHIFT), "Left Shift");
    for (int32_t button = PadA; button < PadButtonCount; ++button)
        EXPECT_EQ(PadButtonForName(PadButtonName(button)), button) << button;
    EXPECT_EQ(PadButtonForName("l shoulder"), PadLeftShoulder) << "any letter case";
    EXPECT_EQ(PadButtonForName("Shoulder"), 0);
}

class KeyBindingFile : public TempFolderTest {};

TEST_F(KeyBindingFile, ABindingIsSavedKeepingThePlayersLinesAndReadsBack)
{
    const std::string text = "# my keys\nmove_left = A, Left\n# pad\npad_hold = X\nturn_left = Q\n";
    WriteBytes("controls.cfg", {text.begin(), text.end()});
    TSettingValues values = ReadSettings(TSettingFile::Controls, "controls.cfg").values;
    Bind(values, ActionMoveLeft, TBindingKind::Key, VK_Q);
    Bind(values, ActionHold, TBindingKind::PadButton, PadY);
    ASSERT_TRUE(SaveSettings(TSettingFile::Controls, "controls.cfg", values,
                             {SettingMoveLeft, SettingTurnLeft, SettingHoldPad, SettingHardDropPad}));
    const auto bytes = FileBytes("controls.cfg");
    const std::string saved(bytes.begin(), bytes.end());
    EXPECT_EQ(saved.rfind("# my keys\nmove_left = Q, Left\n# pad\npad_hold = Y\nturn_left = A\n", 0), 0u) << saved;
    EXPECT_NE(saved.find("pad_hard_drop = D-pad Up, X\n"), std::string::npos) << saved;

    const TSettingsRead read = ReadSettings(TSettingFile::Controls, "controls.cfg");
    EXPECT_TRUE(read.warnings.empty());
    for (const TSettingId id : SettingsOf(TSettingFile::Controls))
        EXPECT_EQ(read.values.Keys(id), values.Keys(id)) << Declaration(id).key;

    values.ResetFile(TSettingFile::Controls);
    EXPECT_EQ(values.Keys(SettingMoveLeft), (Codes{VK_A, VK_LEFT})) << "Reset to defaults";
    EXPECT_EQ(values.Keys(SettingHoldPad), (Codes{PadLeftShoulder, PadRightShoulder}));
}

} // namespace
