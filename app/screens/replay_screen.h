#pragma once
#include <cstdint>
#include <string>

#include "game/replay.h"

// Shows a recorded play in the window at its own pace, with its sounds and effects, until it
// ends or Escape is pressed; Space switches between normal and four times the speed. The
// player's generator carries on afterwards as if nothing had been shown. Nothing is recorded
// and nothing enters the table.
// As the title menu's demo, a "Demo" caption shows and any input ends it at once. Watched from
// the table, a "Replay" caption with the speed and a line of its keys show; from the command line
// (the build's screenshot among them) it shows as it always did.
enum class TReplayViewing { Watch, Captioned, Demo };
void WatchReplay(const TReplay& replay, TReplayViewing viewing = TReplayViewing::Watch);

// Loads and shows a replay file; false, with the reason on stderr, when it is not a valid
// replay. For the table, the command line and the title screen's demonstrations.
bool WatchReplayFile(const std::string& path, TReplayViewing viewing = TReplayViewing::Watch);
