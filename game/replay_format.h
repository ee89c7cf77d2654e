#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "game/replay.h"

// The text form of a replay (docs/replay-format.md): one record per line, a fixed order, and a
// checksum line at the end. Exactly one text stands for each replay, so a text the parser
// accepts is byte for byte what the writer makes of the result.

// Version 2 carries the play's options and the controls they add, version 3 also a challenge
// and its result. A play with every option at its default and no challenge is written in
// version 1, byte for byte as before there were options, and a version 1 file reads as such a
// play; a play with options and no challenge is written in version 2, as before challenges.
constexpr int ReplayFormatVersion = 3;
constexpr int ReplayOptionsFormatVersion = 2;
constexpr int ReplayDefaultsFormatVersion = 1;
constexpr size_t ReplayTokensPerLine = 48;

// The whole file, checksum line included. Only for a replay without problems (ReplayProblem).
std::string WriteReplay(const TReplay& replay);

// Reads a whole file. On failure replay is left unspecified and error holds one line saying
// what is wrong and where ("line 12: ...").
bool ParseReplay(std::string_view text, TReplay& replay, std::string& error);

// What makes a replay unfit to be written or run, as one line; empty when nothing does.
std::string ReplayProblem(const TReplay& replay);

// The value of the checksum line, taken over every byte before that line.
uint64_t ReplayChecksum(std::string_view body);
// The checksum line that ends a file with this body, "\n" included.
std::string ReplayChecksumLine(std::string_view body);
