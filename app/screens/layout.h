#pragma once
#include <cstdint>

#include "app/shell/canvas.h"

// Where the clickable items of the screens lie in the window, in window pixels; the screens
// draw and hit-test them from here, and the end-to-end test clicks them from here.


// The title menu: Play, High Scores, Options, Challenges, top to bottom, centred across the
// window; each picture is drawn centred 14 pixels below its box top.
constexpr int32_t MenuItemCount = 4;
constexpr int32_t MenuItemTop[MenuItemCount] = {226, 286, 346, 406};
constexpr int32_t MenuItemWidth = 200;
constexpr int32_t MenuItemHeight = 40;
constexpr int32_t MenuPictureDrop = 14;
enum : int32_t { MenuPlay = 0, MenuHighScores = 1, MenuOptions = 2, MenuChallenges = 3 };

// The rows of the settings screens: the label centred on SettingLabelCentre, the value from
// SettingValueLeft, where it is clicked.
constexpr int32_t SettingLabelCentre = 250;
constexpr int32_t SettingValueLeft = 320;
constexpr int32_t SettingRowHeight = 17;

// The options screen's "Play" row, which opens the play options, and the rows under it that
// open the other pages.
constexpr int32_t PlayRowY = 290;
constexpr int32_t ControlsRowY = 310;
constexpr int32_t DisplayRowY = 330;
// The message line of the settings pages, under their rows.
constexpr int32_t PageMessageY = 462;
// The Controls page: two rows an action (its keys, then its pad buttons), then the repeat times
// and the reset, the labels centred left of the values.
constexpr int32_t ControlsTop = 110;
constexpr int32_t ControlsPitch = 20;
constexpr int32_t ControlsLabelCentre = 118;
constexpr int32_t ControlsValueLeft = 222;
// The play options screen: its rows from the top, one every PlayOptionsPitch.
constexpr int32_t PlayOptionsTop = 180;
constexpr int32_t PlayOptionsPitch = 22;

// The marker of the key focus, left of an item's text: a bar of the fill colour in a rim of the
// dark one, readable on the light and the dark backgrounds alike. Its top is FocusMarkerDrop
// below the text's.
struct TMarkerColour {
    int32_t r, g, b;
};
constexpr TMarkerColour FocusMarkerFill = {255, 214, 64};
constexpr TMarkerColour FocusMarkerRim = {20, 20, 20};
constexpr int32_t FocusMarkerGap = 6;
constexpr int32_t FocusMarkerWidth = 5;
constexpr int32_t FocusMarkerHeight = 12;
constexpr int32_t FocusMarkerDrop = 2;
constexpr int32_t FocusMarkerRimWidth = 1;

// The "Return" item of the table and options screens.
constexpr int32_t ReturnLeft = 330;
constexpr int32_t ReturnTop = 490;
constexpr int32_t ReturnWidth = 72;
constexpr int32_t ReturnHeight = 17;

// The high-score table: one row per entry, name then score; entries with a replay have a marker
// before the name, and a click anywhere on such a row shows the replay.
constexpr int32_t TableTop = 120;
constexpr int32_t TableRowPitch = 35;
constexpr int32_t TableNameLeft = 170;
constexpr int32_t TableScoreLeft = 220;
constexpr int32_t TableRowLeft = 150;
constexpr int32_t TableRowWidth = 160;
constexpr int32_t TableRowHeight = 20;
constexpr int32_t TableMarkerSize = 8;

// A challenge table's name, left of its "Return", and the result of the play just ended under
// its rows.
constexpr int32_t ChallengeTableTitleLeft = 110;
constexpr int32_t ChallengeTableResultY = 462;

// The race line, in the column left of the board under the score: centred on RaceLineCentre,
// its lines RaceLinePitch apart, drawn at RaceLineScale.
constexpr int32_t RaceLineCentre = 48;
constexpr int32_t RaceLineTop = 170;
constexpr int32_t RaceLinePitch = 11;
constexpr float RaceLineScale = 0.6f;

// The table's "Recent plays" item, left of its Return, which opens the list of the newest plays:
// one row each, date, score and name, a click anywhere on the row watches it.
constexpr int32_t RecentItemLeft = 150;
constexpr int32_t RecentItemWidth = 150;
constexpr int32_t RecentTop = 130;
constexpr int32_t RecentRowPitch = 32;
constexpr int32_t RecentDateLeft = 90;
constexpr int32_t RecentScoreLeft = 300;
constexpr int32_t RecentNameLeft = 390;
constexpr int32_t RecentRowLeft = 70;
constexpr int32_t RecentRowWidth = 380;
constexpr int32_t RecentRowHeight = 20;

// The line of keys under a replay watched from the table and under the built-in player's play,
// below the board's middle, clear of the notices.
constexpr int32_t WatchHintY = 492;

// The Keys page: a dark page under the logo; its columns of sections start at KeysPageColumnsTop,
// each with a heading in the focus marker's fill colour.
constexpr int32_t KeysPageTop = 108;
constexpr int32_t KeysPageColumnsTop = KeysPageTop + 30;

// The pause screen's hint line, centred under "PAUSED", drawn at HintScale.
constexpr int32_t PauseHintY = 326;
constexpr float HintScale = 0.75f;
