#pragma once
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <thread>
#include <vector>

// The few Xlib calls the tests need, from the library SDL itself uses (loaded, not linked).
class XDisplay {
public:
    XDisplay() : lib_(dlopen("libX11.so.6", RTLD_NOW))
    {
        if (!lib_)
            return;
        const auto open = reinterpret_cast<decltype(&XOpenDisplay)>(dlsym(lib_, "XOpenDisplay"));
        // A server that resets when its last client leaves refuses connections for a moment.
        for (int attempt = 0; open && std::getenv("DISPLAY") && !display_ && attempt < 20; ++attempt) {
            if (attempt > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            display_ = open(nullptr);
        }
    }
    ~XDisplay()
    {
        if (display_)
            Call<decltype(&XCloseDisplay)>("XCloseDisplay")(display_);
        if (lib_)
            dlclose(lib_);
    }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;
    bool Open() const { return display_ != nullptr; }

    // What a window manager sends when the window's close box is clicked.
    void ClickCloseBox(unsigned long window)
    {
        const auto atom = Call<decltype(&XInternAtom)>("XInternAtom");
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = atom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(atom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        Call<decltype(&XSendEvent)>("XSendEvent")(display_, window, False, NoEventMask, &event);
        Call<decltype(&XFlush)>("XFlush")(display_);
    }

    // Takes the keyboard focus from every window, as switching to another program does.
    void DropFocus()
    {
        Call<decltype(&XSetInputFocus)>("XSetInputFocus")(display_, None, RevertToNone, CurrentTime);
        Call<decltype(&XFlush)>("XFlush")(display_);
    }

    // The items of a window's 32-bit CARDINAL property (such as _NET_WM_ICON); none when unset.
    std::vector<unsigned long> CardinalProperty(unsigned long window, const char* name)
    {
        const auto atom = Call<decltype(&XInternAtom)>("XInternAtom")(display_, name, False);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const int status = Call<decltype(&XGetWindowProperty)>("XGetWindowProperty")(
            display_, window, atom, 0, 1L << 20, False, XA_CARDINAL, &type, &format, &count, &after, &data);
        std::vector<unsigned long> items;
        if (status == Success && data && format == 32) {
            const auto* longs = reinterpret_cast<const unsigned long*>(data); // Xlib hands 32-bit items as longs
            items.assign(longs, longs + count);
        }
        if (data)
            Call<decltype(&XFree)>("XFree")(data);
        return items;
    }

    // Whether a window manager runs: only one client may take the requests of the root window's
    // children, and a window manager does so as it starts.
    bool RootRedirected()
    {
        if (!display_)
            return false;
        XWindowAttributes attributes{};
        Call<decltype(&XGetWindowAttributes)>("XGetWindowAttributes")(display_, DefaultRootWindow(display_), &attributes);
        return (attributes.all_event_masks & SubstructureRedirectMask) != 0;
    }

    // A held key then stays one press: nothing is typed twice and nothing repeats.
    bool AutoRepeat()
    {
        if (!display_)
            return false;
        XKeyboardState state{};
        Call<decltype(&XGetKeyboardControl)>("XGetKeyboardControl")(display_, &state);
        return state.global_auto_repeat == AutoRepeatModeOn;
    }
    void SetAutoRepeat(bool on)
    {
        if (!display_)
            return;
        Call<decltype(&XAutoRepeatOn)>(on ? "XAutoRepeatOn" : "XAutoRepeatOff")(display_);
        Call<decltype(&XFlush)>("XFlush")(display_);
    }

    // What the screen shows in a rectangle, clipped to the screen, as 8-bit RGB rows top-down;
    // no pixels when there is no display or the rectangle is off the screen.
    struct TScreenPixels {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> rgb;
    };
    TScreenPixels ScreenPixels(int x, int y, int width, int height)
    {
        TScreenPixels pixels;
        if (!display_)
            return pixels;
        const int screen = DefaultScreen(display_);
        const int left = std::max(x, 0), top = std::max(y, 0);
        const int right = std::min(x + width, DisplayWidth(display_, screen));
        const int bottom = std::min(y + height, DisplayHeight(display_, screen));
        if (right <= left || bottom <= top)
            return pixels;
        const auto get = Call<decltype(&XGetImage)>("XGetImage");
        XImage* image = get(display_, DefaultRootWindow(display_), left, top, static_cast<unsigned>(right - left),
                            static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap);
        if (!image)
            return pixels;
        pixels.width = right - left;
        pixels.height = bottom - top;
        pixels.rgb.reserve(static_cast<size_t>(pixels.width) * pixels.height * 3);
        const auto channel = [](unsigned long pixel, unsigned long mask) {
            const int shift = std::countr_zero(mask);
            return static_cast<uint8_t>(((pixel & mask) >> shift) * 255 / (mask >> shift));
        };
        for (int row = 0; row < pixels.height; ++row)
            for (int column = 0; column < pixels.width; ++column) {
                const unsigned long pixel = XGetPixel(image, column, row);
                pixels.rgb.push_back(channel(pixel, image->red_mask));
                pixels.rgb.push_back(channel(pixel, image->green_mask));
                pixels.rgb.push_back(channel(pixel, image->blue_mask));
            }
        XDestroyImage(image);
        return pixels;
    }

private:
    template <class F>
    F Call(const char* name)
    {
        return reinterpret_cast<F>(dlsym(lib_, name));
    }
    void* lib_;
    Display* display_ = nullptr;
};
