#include "app/screens/table.h"

#include <string>
#include <vector>

#include "app/screens/frame.h"
#include "app/screens/layout.h"
#include "app/screens/menu_input.h"
#include "app/screens/menu_items.h"
#include "app/screens/recent_plays.h"
#include "app/screens/replay_screen.h"
#include "app/shell/sound.h"
#include "app/shell/text.h"
#include "app/storage/high_scores.h"
#include "app/storage/replay_store.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

TTableReplays FindTableReplays()
{
    TTableReplays replays(highscores.scores.size());
    for (size_t i = 0; i < replays.size(); ++i)
        replays[i] = FindReplay(highscores.scores[i], highscores.names[i]);
    return replays;
}

// The entries with a replay, top to bottom: the items of the table's focus before "Return".
std::vector<size_t> EntriesWithReplays(const TTableReplays& replays)
{
    std::vector<size_t> entries;
    for (size_t i = 0; i < replays.size(); ++i)
        if (!replays[i].empty())
            entries.push_back(i);
    return entries;
}

// A marker beside every entry with a replay, and a click on such an entry, or Return on it, shows
// it. True when a replay was shown (the frame is then over).
bool ShowTableReplays(const TTableReplays& replays, const std::vector<size_t>& entries, const TMenuFocus& focus,
                      int32_t click)
{
    for (size_t item = 0; item < entries.size(); ++item) {
        const size_t i = entries[item];
        const auto focusItem = static_cast<int32_t>(item);
        const int32_t top = TableTop + TableRowPitch * static_cast<int32_t>(i);
        const int32_t mouseOver = MouseInRect(TableRowLeft, top - 2, TableRowWidth, TableRowHeight);
        const int32_t markerLeft = TableNameLeft - 2 * TableMarkerSize;
        if (focus.Focuses(focusItem))
            DrawFocusMarker(markerLeft, top);
        const int32_t hover = focus.Shows(focusItem, mouseOver);
        SetColor(255, hover ? 250 : 200, hover ? 39 : 120);
        DrawOval(markerLeft, top + (TableRowHeight - TableMarkerSize) / 2 - 2, TableMarkerSize, TableMarkerSize);
        SetColor(255, 255, 255);
        if (focus.Chosen(focusItem, click != 0, mouseOver)) {
            sound::Play(gamesounds.blipsound);
            WatchReplayFile(replays[i], TReplayViewing::Captioned);
            ResetMouseState();
            return true;
        }
    }
    return false;
}

// The "Recent plays" item left of "Return"; true when it was chosen, with its sound.
bool RecentPlaysChosen(TMenuFocus& focus, int32_t item, int32_t click)
{
    const int32_t hover =
        FocusedItem(focus, item, MouseInRect(RecentItemLeft, ReturnTop, RecentItemWidth, ReturnHeight), RecentItemLeft, ReturnTop);
    DrawFontText("Recent plays", RecentItemLeft, ReturnTop, 0, 0);
    if (!focus.Chosen(item, click != 0, hover))
        return false;
    sound::Play(gamesounds.blipsound);
    return true;
}

} // namespace

void ShowTableScreen(const TTableReplays& replays, const std::function<void()>& drawRows, bool recentPlays)
{
    // The entries with a replay, then "Return", then "Recent plays" where it shows, so the keys
    // reach Return as they always did.
    const std::vector<size_t> entries = EntriesWithReplays(replays);
    const auto returnItem = static_cast<int32_t>(entries.size());
    const int32_t recentItem = returnItem + 1;
    TMenuFocus focus(recentPlays ? recentItem + 1 : recentItem);
    for (;;) {
        const int32_t click = StartMenuFrame(focus);
        drawRows();
        if (ShowTableReplays(replays, entries, focus, click))
            continue;
        if (recentPlays && RecentPlaysChosen(focus, recentItem, click)) {
            FinishFrame();
            RecentPlaysScreen();
            continue;
        }
        if (MenuFrameLeaves(click, focus, returnItem))
            break;
    }
}

void ScoreScreen()
{
    LoadScores();
    ShowTableScreen(FindTableReplays(), [] {
        for (int i = 0; i < 10; ++i) {
            DrawFontText(highscores.names[i], TableNameLeft, TableTop + TableRowPitch * i, 0, 0);
            DrawFontText(std::to_string(highscores.scores[i]), TableScoreLeft, TableTop + TableRowPitch * i, 0, 0);
        }
    }, WithRecentPlays);
}
