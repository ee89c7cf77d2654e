#include "app/screens/recent_plays.h"

#include <vector>

#include "app/screens/frame.h"
#include "app/screens/layout.h"
#include "app/screens/menu_input.h"
#include "app/screens/menu_items.h"
#include "app/screens/replay_screen.h"
#include "app/shell/sound.h"
#include "app/shell/text.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

// "20261208-204433": the digits of the date, then of the time.
constexpr size_t StampLength = 15;

int32_t RowTop(size_t row) { return RecentTop + RecentRowPitch * static_cast<int32_t>(row); }

} // namespace

std::string RecentPlayDate(const TReplayFileInfo& info)
{
    const std::string& s = info.stamp;
    if (s.size() != StampLength)
        return s;
    return s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2) + " " + s.substr(9, 2) + ":" + s.substr(11, 2);
}

void RecentPlaysScreen()
{
    const std::vector<TReplayFileInfo> plays = RecentReplays(KeptRecentReplays);
    const auto returnItem = static_cast<int32_t>(plays.size());
    TMenuFocus focus(returnItem + 1);
    for (;;) {
        const int32_t click = StartMenuFrame(focus);
        if (plays.empty())
            DrawFontText("No plays yet", WindowWidth / 2, RecentTop, 1, 0);
        const TReplayFileInfo* chosen = nullptr;
        for (size_t row = 0; row < plays.size(); ++row) {
            const int32_t top = RowTop(row);
            const int32_t mouseOver = MouseInRect(RecentRowLeft, top - 2, RecentRowWidth, RecentRowHeight);
            const auto item = static_cast<int32_t>(row);
            FocusedItem(focus, item, mouseOver, RecentDateLeft, top);
            DrawFontText(RecentPlayDate(plays[row]), RecentDateLeft, top, 0, 0);
            DrawFontText(std::to_string(plays[row].score), RecentScoreLeft, top, 0, 0);
            DrawFontText(plays[row].name, RecentNameLeft, top, 0, 0);
            if (focus.Chosen(item, click != 0, mouseOver))
                chosen = &plays[row];
        }
        if (chosen) {
            sound::Play(gamesounds.blipsound);
            WatchReplayFile(ReplayFilePath(chosen->file), TReplayViewing::Captioned);
            ResetMouseState();
            continue;
        }
        if (MenuFrameLeaves(click, focus, returnItem))
            break;
    }
}
