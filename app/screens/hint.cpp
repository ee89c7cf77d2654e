#include "app/screens/hint.h"

#include "app/screens/layout.h"
#include "app/screens/menu_items.h"
#include "app/shell/text.h"
#include "draw2d/draw2d.h"

void DrawHint(const std::string& text, int32_t y, bool marked)
{
    SetScale(HintScale, HintScale);
    const int32_t left = FontCharLeft(text, 0, WindowWidth / 2, 1, 0);
    SetScale(1, 1);
    if (marked)
        DrawFocusMarker(left, y);
    SetAlpha(1);
    DrawShadowedLine(text, WindowWidth / 2, y, HintScale);
}
