#include "app/key.h"

#include "game/effects.h"
#include "system/input.h"

int32_t keyfasthits = 0;

namespace {
// Windows virtual-key codes.
constexpr int KeyQ = 81, KeyE = 69, KeyA = 65, KeyD = 68, KeyS = 83;
} // namespace

void key::Update()
{
    keyrotleft = TakeKeyHits(KeyQ) != 0 ? 1 : 0;
    keyrotright = TakeKeyHits(KeyE) != 0 ? 1 : 0;
    keyleft = TakeKeyHits(KeyA);
    keyright = TakeKeyHits(KeyD);
    keyfasthits = TakeKeyHits(KeyS);
    keyfast = IsKeyDown(KeyS);
}
