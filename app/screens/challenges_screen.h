#pragma once
#include <string>

#include "app/storage/challenge_tables.h"
#include "game/challenge.h"

// The best result the Challenges screen shows beside a challenge: the first of its table (of
// today's entries for the daily one), "-" while there is none.
std::string BestShown(const TChallengeTable& table, const std::string& today);

// The Challenges screen of the title menu: Sprint, Ultra, Daily and Race your best, each with the
// player's best (a click on it, or Right, shows the table), the handling of challenge plays, the
// Statistics page and the way back.
void ChallengesScreen();
