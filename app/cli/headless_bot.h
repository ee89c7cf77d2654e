#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "game/play_options.h"

// --headless --bot: the built-in player plays `frames` frames with no window, audio or pacing,
// a new play after each loss, then the speed, the plays, their scores and the peak memory are
// printed to out. Returns the exit code.
int RunHeadlessBot(int64_t frames, std::FILE* out);

// --headless --bot --challenge NAME: the built-in player plays one challenge play (a daily one
// on today's pieces) with the given options and the result is printed. With a keepName (--keep),
// the play runs through the play screen's frames instead, as a play in the window does, and is
// kept as one: its replay in the data folder, its result entered in the challenge's table under
// that name when it makes it. Returns the exit code: 2 for a name that is not a challenge it can
// play or a keepName that is not a table name, 1 when there is no data folder to keep it in.
int RunHeadlessChallenge(const std::string& name, const TPlayOptions& options, const std::string& keepName,
                         std::FILE* out);
