#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The replay file of each row of a table screen, top to bottom; "" for rows without one.
using TTableReplays = std::vector<std::string>;

// A table screen: drawRows draws its rows each frame; rows with a replay carry a marker, and a
// click on such a row, or Return on it, shows the replay; "Return" or Escape leaves. The main
// table also offers the list of recent plays beside its "Return".
constexpr bool WithRecentPlays = true;
void ShowTableScreen(const TTableReplays& replays, const std::function<void()>& drawRows, bool recentPlays = false);

// The table screen of the title menu: the ten best scores, each with its replay when one is kept.
void ScoreScreen();
