#include "app/screens/settings_page.h"

#include "app/screens/backdrop.h"
#include "app/screens/frame.h"
#include "app/screens/hint.h"
#include "app/screens/menu_items.h"
#include "app/screens/notice.h"
#include "app/shell/sound.h"
#include "app/shell/text.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"

TSettingsPage::TSettingsPage(std::vector<TPageRow> rows, TPageLayout layout)
    : rows_(std::move(rows)), layout_(layout), focus_(static_cast<int32_t>(rows_.size()) + 1)
{
}

TSettingsPage::TChoice TSettingsPage::DrawRows(int32_t click) const
{
    TChoice choice;
    for (int32_t item = 0; item < static_cast<int32_t>(rows_.size()); ++item) {
        const TPageRow& row = rows_[item];
        const int32_t y = RowY(item);
        const int32_t hover = MouseInRect(layout_.valueLeft, y, layout_.valueWidth, SettingRowHeight);
        FocusedItem(focus_, item, hover, FontCharLeft(row.label, 0, layout_.labelCentre, 1, 0), y);
        DrawFontText(row.label, layout_.labelCentre, y, 1, 0);
        DrawFontText(row.value(), layout_.valueLeft, y, 0, 0);
        const int32_t step = focus_.Step(item);
        if (focus_.Chosen(item, click != 0, hover) || step != 0)
            choice = {item, step};
    }
    if (!message_.empty())
        DrawHint(message_, layout_.messageY, false);
    return choice;
}

void TSettingsPage::Draw() const
{
    DrawBackdrop();
    DrawRows(0);
    ReturnClicked(0, focus_, ReturnItem());
}

void TSettingsPage::Run(const std::function<bool()>& save)
{
    const auto leave = [&] {
        if (!save())
            ShowNotice("Could not save options", [this] { Draw(); });
    };
    for (;;) {
        const int32_t click = StartMenuFrame(focus_);
        const TChoice choice = DrawRows(click);
        if (ReturnClicked(click, focus_, ReturnItem())) {
            leave();
            return;
        }
        FinishFrame();
        // After the frame, so a row that waits for a key starts its frames afresh.
        if (choice.row >= 0) {
            sound::Play(gamesounds.blipsound);
            message_.clear();
            rows_[choice.row].choose(choice.step);
        }
        if (EscapeToMenu() || focus_.Back()) {
            leave();
            return;
        }
    }
}
