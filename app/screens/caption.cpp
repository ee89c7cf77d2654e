#include "app/screens/caption.h"

#include "app/screens/layout.h"
#include "app/shell/text.h"
#include "draw2d/draw2d.h"

namespace {

// The caption sits centred above the board, clear of the score.
constexpr int32_t CaptionY = 4;

} // namespace

void DrawCaption(const std::string& text)
{
    SetColor(210, 210, 210);
    SetAlpha(1);
    DrawFontText(text, WindowWidth / 2, CaptionY, 1, 0);
    SetColor(255, 255, 255);
}

void DrawDemoCaption() { DrawCaption("Demo"); }
