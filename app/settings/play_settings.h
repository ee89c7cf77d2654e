#pragma once
#include <string>

#include "app/settings/registry.h"
#include "game/play_options.h"

// The play options of settings.cfg as a play takes them, and the two sets of them a player picks
// with one choice: Classic (the game as it always was) and Modern (coming pieces, shadow, hard
// drop, hold and figures; the pace stays the player's).

TPlayOptions PlayOptionsFrom(const TSettingValues& values);

enum class THandling { Classic, Modern, Custom };
THandling HandlingOf(const TSettingValues& values);
// Sets every option Classic or Modern decides; the pace is left as it is.
void SetHandling(TSettingValues& values, THandling handling);
const char* HandlingName(THandling handling);

// The options of a challenge play: Classic or Modern as challenge_handling says, at the classic
// pace, so every result in a challenge's table was played at one speed.
TPlayOptions ChallengePlayOptions(const TSettingValues& values = CurrentSettings());

// The settings.cfg entries of the play options, for saving them together.
const std::vector<TSettingId>& PlayOptionSettings();
