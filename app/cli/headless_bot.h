#pragma once
#include <cstdint>
#include <cstdio>

// --headless --bot: the built-in player plays `frames` frames with no window, audio or pacing,
// a new play after each loss, then the speed, the plays, their scores and the peak memory are
// printed to out. Returns the exit code.
int RunHeadlessBot(int64_t frames, std::FILE* out);
