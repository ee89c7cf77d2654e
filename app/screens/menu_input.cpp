#include "app/screens/menu_input.h"

#include "system/input.h"
#include "system/keycodes.h"

TMenuLead menulead;

TMenuKeys TMenuKeys::Take()
{
    TMenuKeys keys;
    keys.up = TakeKeyHits(VK_UP) + TakePadHits(PadUp) + TakePadHits(PadStickUp);
    keys.down = TakeKeyHits(VK_DOWN) + TakePadHits(PadDown) + TakePadHits(PadStickDown);
    keys.left = TakeKeyHits(VK_LEFT) + TakePadHits(PadLeft) + TakePadHits(PadStickLeft);
    keys.right = TakeKeyHits(VK_RIGHT) + TakePadHits(PadRight) + TakePadHits(PadStickRight);
    keys.activate = TakeKeyHits(VK_RETURN) + TakeKeyHits(VK_SPACE) + TakePadHits(PadA);
    keys.back = TakePadHits(PadBack);
    if (keys.Any())
        menulead.keys = true;
    return keys;
}

void TMenuFocus::Update()
{
    keys_ = TMenuKeys::Take();
    const int32_t x = CursorX(), y = CursorY();
    if (tracking_ && (x != lastX_ || y != lastY_)) {
        item_ = -1;
        entry_ = false;
        menulead.keys = false;
    }
    // Keys pressed in the frame the mouse moved still lead.
    if (keys_.Any())
        menulead.keys = true;
    tracking_ = true;
    lastX_ = x;
    lastY_ = y;
    const int32_t moves = keys_.down - keys_.up;
    if (moves == 0 || count_ == 0)
        return;
    entry_ = false;
    // The first press lands on the first (Down) or last (Up) item.
    if (item_ < 0)
        item_ = moves > 0 ? -1 : count_;
    item_ = ((item_ + moves) % count_ + count_) % count_;
}

int32_t TMenuFocus::Shows(int32_t item, int32_t mouseOver) const
{
    if (Highlighted() >= 0)
        return item == Highlighted() ? 1 : 0;
    return mouseOver;
}

bool TMenuFocus::Chosen(int32_t item, bool clicked, int32_t mouseOver) const
{
    if (clicked && mouseOver)
        return true;
    return Focuses(item) && keys_.activate != 0;
}

int32_t TMenuFocus::Step(int32_t item) const
{
    if (!Focuses(item))
        return 0;
    return keys_.right - keys_.left > 0 ? 1 : keys_.right - keys_.left < 0 ? -1 : 0;
}
