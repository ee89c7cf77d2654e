#include "system/key_names.h"

#include <SDL.h>

#include "system/sysdriver_sdl.h"

int32_t KeyCodeForName(const std::string& name)
{
    SDL_Keysym key{};
    // By position, which needs no keyboard: the names are those of a US layout.
    key.scancode = SDL_GetScancodeFromName(name.c_str());
    if (key.scancode == SDL_SCANCODE_UNKNOWN)
        return 0;
    key.sym = SDL_SCANCODE_TO_KEYCODE(key.scancode);
    if (key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z)
        key.sym = SDLK_a + (key.scancode - SDL_SCANCODE_A);
    return VirtualKeyForSDLKey(key);
}

std::string KeyNameForCode(int32_t code)
{
    for (int32_t scancode = SDL_SCANCODE_UNKNOWN + 1; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const char* name = SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
        if (name[0] != '\0' && KeyCodeForName(name) == code)
            return name;
    }
    return {};
}
