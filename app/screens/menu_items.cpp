#include "app/screens/menu_items.h"

#include "app/screens/frame.h"
#include "app/screens/layout.h"
#include "app/shell/sound.h"
#include "app/shell/text.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "system/input.h"

int32_t MouseInRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int32_t cx = CursorX(), cy = CursorY();
    return x < cx && cx < x + width && y < cy && cy < y + height ? 1 : 0;
}

int32_t HoverItem(int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int32_t m = MouseInRect(x, y, width, height);
    ItemColour(m);
    return m;
}

void ItemColour(int32_t hovered)
{
    if (hovered)
        SetColor(167, 167, 167);
    else
        SetColor(210, 210, 210);
}

void DrawFocusMarker(int32_t textLeft, int32_t top)
{
    const int32_t left = textLeft - FocusMarkerGap - FocusMarkerWidth;
    SetAlpha(1);
    SetColor(FocusMarkerRim.r, FocusMarkerRim.g, FocusMarkerRim.b);
    DrawRect(left - FocusMarkerRimWidth, top + FocusMarkerDrop - FocusMarkerRimWidth, FocusMarkerWidth + 2 * FocusMarkerRimWidth,
             FocusMarkerHeight + 2 * FocusMarkerRimWidth);
    SetColor(FocusMarkerFill.r, FocusMarkerFill.g, FocusMarkerFill.b);
    DrawRect(left, top + FocusMarkerDrop, FocusMarkerWidth, FocusMarkerHeight);
}

int32_t FocusedItem(const TMenuFocus& focus, int32_t item, int32_t mouseOver, int32_t textLeft, int32_t top)
{
    const bool keyed = focus.Focuses(item);
    if (keyed)
        DrawFocusMarker(textLeft, top);
    ItemColour(keyed ? 0 : focus.Shows(item, mouseOver));
    return mouseOver;
}

int32_t SettingRow(const TMenuFocus& focus, const char* label, const std::string& value, int32_t y, int32_t item,
                   int32_t width)
{
    const int32_t hover = MouseInRect(SettingValueLeft, y, width, SettingRowHeight);
    FocusedItem(focus, item, hover, FontCharLeft(label, 0, SettingLabelCentre, 1, 0), y);
    DrawFontText(label, SettingLabelCentre, y, 1, 0);
    DrawFontText(value, SettingValueLeft, y, 0, 0);
    return hover;
}

bool ReturnClicked(int32_t click, const TMenuFocus& focus, int32_t item)
{
    const int32_t hover = FocusedItem(focus, item, MouseInRect(ReturnLeft, ReturnTop, ReturnWidth, ReturnHeight),
                                      ReturnLeft, ReturnTop);
    DrawFontText("Return", ReturnLeft, ReturnTop, 0, 0);
    if (!focus.Chosen(item, click != 0, hover))
        return false;
    sound::Play(gamesounds.blipsound);
    return true;
}

bool MenuFrameLeaves(int32_t click, const TMenuFocus& focus, int32_t returnItem)
{
    if (ReturnClicked(click, focus, returnItem))
        return true;
    FinishFrame();
    return EscapeToMenu() || focus.Back();
}
