#include "app/key.h"

#include "system/input.h"
#include "system/keycodes.h"

namespace {
int32_t g_fasthits = 0;
} // namespace

TControls key::Update()
{
    TControls controls;
    controls.keyrotleft = TakeKeyHits(VK_Q) != 0 ? 1 : 0;
    controls.keyrotright = TakeKeyHits(VK_E) != 0 ? 1 : 0;
    controls.keyleft = TakeKeyHits(VK_A);
    controls.keyright = TakeKeyHits(VK_D);
    g_fasthits = TakeKeyHits(VK_S);
    controls.keyfast = IsKeyDown(VK_S);
    return controls;
}

int32_t key::FastHits()
{
    return g_fasthits;
}
