#pragma once
#include <string>

#include "app/storage/replay_store.h"

// The "Recent plays" page, opened from the high-score table: the ten newest replays of the
// replays folder (the plays that missed the table too) with their date, score and name; a click
// or Return on one watches it.
void RecentPlaysScreen();

// "2026-12-08 20:44" of a replay file's stamp "20261208-204433".
std::string RecentPlayDate(const TReplayFileInfo& info);
