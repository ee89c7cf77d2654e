#pragma once
#include <string>

#include "game/challenge.h"

// What the line under the table says of the play just ended: "This play: 01:23.45", or
// "This play: no time" for a Sprint lost before its rows.
std::string PlayResultLine(TChallenge challenge, const TChallengeResult& result);

// A challenge's table (today's entries for the daily one), each entry with its replay when one
// is kept, as the main table shows them.
void ChallengeTableScreen(TChallenge challenge);
// The same after a play of that challenge, with the play's result under the table.
void ChallengeTableScreen(TChallenge challenge, const TChallengeResult& played);
