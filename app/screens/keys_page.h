#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TSettingValues;

// The Keys page: every key and pad button of every screen, the play keys as controls.cfg binds
// them, in two columns of sections in the game's font.

struct TKeyLine {
    std::string keys;
    std::string_view action;
    bool operator==(const TKeyLine&) const = default;
};

struct TKeySection {
    std::string_view heading;
    std::vector<TKeyLine> lines;
};

constexpr size_t KeysPageColumnCount = 2;
using TKeysPageColumns = std::array<std::vector<TKeySection>, KeysPageColumnCount>;

// What the page lists, with the play actions' keys as values binds them.
TKeysPageColumns KeysPageColumns(const TSettingValues& values);

// Shows the page over what drawBehind draws each frame (a whole frame up to its end: the pause
// frame when opened from the pause, so a recorded play's pause frames stay as they were). Returns
// on Escape, Return, Enter, Space, F1, a click, or pad A, B or Back.
void KeysPage(const std::function<void()>& drawBehind);
