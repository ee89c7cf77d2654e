#pragma once
// A gamepad without hardware: SDL's virtual joystick with the standard layout, plugged in and
// pulled out like a real one, its buttons and stick set from the test.
#include <gtest/gtest.h>

#include <SDL.h>

#include "system/input.h"

class TVirtualPad {
public:
    // Plugs the pad in; the game-controller layer must be running (the system driver starts it).
    TVirtualPad()
    {
        // SDL drops pad input while no window of the program has the focus, and the offscreen
        // test windows never get it.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        // The masks say which buttons and axes SDL maps to the standard layout: all of them.
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "Brimstrand test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index < 0)
            return;
        joystick_ = SDL_JoystickOpen(index);
        id_ = SDL_JoystickInstanceID(joystick_);
        IsPadDown(0); // the polled input takes the arrival and opens the pad
    }
    ~TVirtualPad() { Unplug(); }
    TVirtualPad(const TVirtualPad&) = delete;
    TVirtualPad& operator=(const TVirtualPad&) = delete;

    bool Plugged() const { return joystick_ != nullptr; }
    SDL_GameController* Controller() const { return SDL_GameControllerFromInstanceID(id_); }

    // Sets the button and lets the events through to the polled input.
    void Button(SDL_GameControllerButton button, bool down)
    {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
        Deliver();
    }
    void Tap(SDL_GameControllerButton button)
    {
        Button(button, true);
        Button(button, false);
    }
    void Axis(SDL_GameControllerAxis axis, Sint16 value)
    {
        SDL_JoystickSetVirtualAxis(joystick_, axis, value);
        Deliver();
    }
    void Unplug()
    {
        if (!joystick_)
            return;
        const int index = DeviceIndex();
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        if (index >= 0)
            SDL_JoystickDetachVirtual(index);
        IsPadDown(0);
    }

private:
    // SDL reads the virtual state when the joystick layer updates, which the event pump does.
    static void Deliver()
    {
        SDL_JoystickUpdate();
        IsPadDown(0);
    }
    int DeviceIndex() const
    {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id_)
                return i;
        return -1;
    }

    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID id_ = -1;
};
