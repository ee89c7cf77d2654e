#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/sounds.h"

TEST(Sounds, PlayerReceivesNamesUntilRemoved)
{
    PlaySoundEffect("sfx\\plop.ogg"); // no player: nothing happens
    std::vector<std::string> heard;
    SetSoundPlayer([&](const std::string& name) { heard.push_back(name); });
    PlaySoundEffect("sfx\\plop.ogg");
    PlaySoundEffect("sfx\\switch.ogg");
    SetSoundPlayer(nullptr);
    PlaySoundEffect("sfx\\explode.ogg");
    EXPECT_EQ(heard, (std::vector<std::string>{"sfx\\plop.ogg", "sfx\\switch.ogg"}));
}
