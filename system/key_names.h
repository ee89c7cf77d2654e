#pragma once
#include <cstdint>
#include <string>

// The key code (VK_...) of a key named as SDL names keys ("A", "Left", "Space", "Keypad 4"; any
// letter case), or 0 when no key has that name or the key has no code.
int32_t KeyCodeForName(const std::string& name);
// The name KeyCodeForName reads as the code (the first such name), or empty when none does.
std::string KeyNameForCode(int32_t code);
