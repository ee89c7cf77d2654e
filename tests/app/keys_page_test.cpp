// What the Keys page lists: the play keys as they are bound now, and a line for every screen.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/screens/keys_page.h"
#include "app/settings/registry.h"

namespace {

std::set<std::string> Headings(const TKeysPageColumns& columns)
{
    std::set<std::string> headings;
    for (const auto& column : columns)
        for (const TKeySection& section : column)
            headings.emplace(section.heading);
    return headings;
}

TEST(KeysPage, ThePlayKeysAreTheBoundOnesAndEveryScreenHasASection)
{
    TSettingValues values;
    const TKeysPageColumns defaults = KeysPageColumns(values);
    ASSERT_FALSE(defaults[0].empty());
    EXPECT_EQ(defaults[0][0].heading, "Play");
    EXPECT_EQ(defaults[0][0].lines[0], (TKeyLine{"A, Left", "move left"}));
    EXPECT_EQ(defaults[0][0].lines[6], (TKeyLine{"C, Left Shift", "hold, if on"}));

    std::string unknown;
    values.Set(SettingMoveLeft, {0, KeyList("J, Home", unknown), "J, Home"});
    const TKeysPageColumns rebound = KeysPageColumns(values);
    EXPECT_EQ(rebound[0][0].lines[0], (TKeyLine{"J, Home", "move left"}));

    EXPECT_EQ(Headings(rebound), (std::set<std::string>{"Play", "Pause", "Any screen", "Gamepad", "Title menu", "Menus",
                                                        "Name entry", "High scores", "Replay"}));
}

} // namespace
