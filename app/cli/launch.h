#pragma once
#include <string>
#include <vector>

// Acts on the command line (the arguments after the program's name): answers --help and
// --version, checks the replays of --verify, finds the pictures and sounds and the data folder,
// then plays (or shows the replay of --replay). Returns the exit code when the game does not
// start: 0 after help or version, 1 when no asset folder is found, 2 for a command line it does
// not understand or a --replay file that is not a valid replay; after --verify, that of
// VerifyReplayFiles.
int Launch(const std::vector<std::string>& arguments);
