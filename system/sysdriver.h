#pragma once
#include <cstdint>
#include <string>

// The platform's message pump and native dialogs.
class TSystemDriver {
public:
    virtual ~TSystemDriver() = default;
    // Takes every pending platform message and turns those of registered windows into events.
    virtual void Poll() = 0;
    // Blocks until a platform message is pending, then polls.
    virtual void Wait() = 0;
    virtual void MoveMouse(int32_t x, int32_t y) = 0;
    virtual void SetMouseVisible(int32_t visible) = 0;
    virtual void Notify(const std::string& text, int32_t serious) = 0;
    // 1 for yes, 0 for no.
    virtual int32_t Confirm(const std::string& text, int32_t serious) = 0;
    // 1 for yes, 0 for no, -1 for cancel.
    virtual int32_t Proceed(const std::string& text, int32_t serious) = 0;
    // The chosen path, or empty text when cancelled or unsupported.
    virtual std::string RequestFile(const std::string& title, const std::string& extensions, int32_t save,
                                    const std::string& path) = 0;
    virtual std::string RequestDir(const std::string& title, const std::string& path) = 0;
    // 1 when the URL was handed to the platform, else 0.
    virtual int32_t OpenURL(const std::string& url) = 0;
};

// The installed driver; the platform's own is created on first use.
TSystemDriver* SystemDriver();
// Installs another driver (none restores the platform's own); returns the one it replaces.
TSystemDriver* InstallSystemDriver(TSystemDriver* driver);

// Runs the driver's Poll, or its Wait, unless a pump is already running: a nested call
// (from a hook reacting to an event) returns at once.
void PumpSystemEvents();
void WaitSystemEvent();

// Made by the platform's driver files: the driver SystemDriver() creates.
TSystemDriver* NewPlatformSystemDriver();
