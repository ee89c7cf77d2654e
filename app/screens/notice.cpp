#include "app/screens/notice.h"

#include "app/shell/text.h"
#include "app/screens/frame.h"
#include "draw2d/draw2d.h"
#include "system/input.h"
#include "system/keycodes.h"

namespace {

// Below the name entry's lines and the options' rows, above the options' "Return".
constexpr int32_t NoticeY = 440;

} // namespace

void ShowNotice(const std::string& text, const std::function<void()>& drawScreen)
{
    // Only input given while the notice shows dismisses it, not the key that led here.
    ResetKeyState();
    ResetMouseState();
    for (int frame = 0; frame < NoticeFrames; ++frame) {
        Cls();
        drawScreen();
        SetColor(255, 255, 255);
        DrawFontText(text, GraphicsWidth() / 2, NoticeY, 1, 0);
        EndFrame();
        if (TakeTerminateRequest())
            EndProgram();
        if (TakeTypedChar() || TakeMouseHits(MouseLeft))
            break;
    }
    ResetKeyState();
    ResetMouseState();
}
