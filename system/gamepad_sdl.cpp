#include "system/gamepad_sdl.h"

#include <utility>

#include "system/keycodes.h"

namespace {

constexpr Sint16 StickPressed = 16384;
constexpr Sint16 StickReleased = 8192;

int32_t PadButton(Uint8 sdlButton)
{
    switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_A: return PadA;
    case SDL_CONTROLLER_BUTTON_B: return PadB;
    case SDL_CONTROLLER_BUTTON_X: return PadX;
    case SDL_CONTROLLER_BUTTON_Y: return PadY;
    case SDL_CONTROLLER_BUTTON_BACK: return PadBack;
    case SDL_CONTROLLER_BUTTON_GUIDE: return PadGuide;
    case SDL_CONTROLLER_BUTTON_START: return PadStart;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK: return PadLeftStickClick;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return PadRightStickClick;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadRightShoulder;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadRight;
    default: return 0;
    }
}

TEvent PadEvent(int32_t id, int32_t button)
{
    TEvent event;
    event.id = id;
    event.data = button;
    return event;
}

void SetHeld(uint32_t& held, int32_t button, bool down, std::vector<TEvent>& events)
{
    const uint32_t bit = 1u << button;
    if (down == ((held & bit) != 0))
        return;
    held ^= bit;
    events.push_back(PadEvent(down ? EVENT_PADDOWN : EVENT_PADUP, button));
}

// One stick axis as a pair of directions, with the hysteresis between the two thresholds.
void StickAxis(uint32_t& held, Sint16 value, int32_t negative, int32_t positive, std::vector<TEvent>& events)
{
    for (const auto& [button, sign] : {std::pair{negative, -1}, std::pair{positive, 1}}) {
        const int32_t along = value * sign;
        if (along >= StickPressed)
            SetHeld(held, button, true, events);
        else if (along < StickReleased)
            SetHeld(held, button, false, events);
    }
}

std::map<SDL_JoystickID, SDL_GameController*> g_pads;
TPadTranslationState g_padTranslation;

} // namespace

bool IsPadEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION: return true;
    default: return false;
    }
}

std::vector<TEvent> TranslatePadEvent(const SDL_Event& event, TPadTranslationState& state)
{
    std::vector<TEvent> events;
    switch (event.type) {
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (const int32_t button = PadButton(event.cbutton.button))
            SetHeld(state.held[event.cbutton.which], button, event.type == SDL_CONTROLLERBUTTONDOWN, events);
        break;
    case SDL_CONTROLLERAXISMOTION: {
        uint32_t& held = state.held[event.caxis.which];
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            StickAxis(held, event.caxis.value, PadStickLeft, PadStickRight, events);
        else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) // SDL's y grows downwards
            StickAxis(held, event.caxis.value, PadStickUp, PadStickDown, events);
        break;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
        const auto pad = state.held.find(event.cdevice.which);
        if (pad == state.held.end())
            break;
        for (int32_t button = 1; button < PadButtonCount; ++button)
            SetHeld(pad->second, button, false, events);
        state.held.erase(pad);
        break;
    }
    default:
        break;
    }
    return events;
}

void StartGamepads()
{
    // No pads is a normal state of the game, so a failure here is not reported.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void DispatchPadEvent(const SDL_Event& event)
{
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        // "which" is the device index here; the later events name the instance id.
        if (SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which)) {
            const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
            if (!g_pads.emplace(id, pad).second)
                SDL_GameControllerClose(pad); // already open: the open above only added a reference
        }
        return;
    }
    for (TEvent& translated : TranslatePadEvent(event, g_padTranslation))
        translated.Emit();
    if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        const auto pad = g_pads.find(event.cdevice.which);
        if (pad != g_pads.end()) {
            SDL_GameControllerClose(pad->second);
            g_pads.erase(pad);
        }
    }
}
