#pragma once
#include "app/screens/challenge_play.h"

// One play from its start to its end, including the name entry after a lost play; a challenge
// ends at its goal too, and goes on to its own table.
void PlayScreen(const TChallengeStart& start = {});
