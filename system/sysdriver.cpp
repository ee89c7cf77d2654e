#include "system/sysdriver.h"

namespace {

// Drivers are process-wide singletons and are never destroyed.
TSystemDriver* platformDriver = nullptr;
TSystemDriver* installedDriver = nullptr;
bool g_pumping = false;

class TPumpGuard {
public:
    TPumpGuard() { g_pumping = true; }
    ~TPumpGuard() { g_pumping = false; }
    TPumpGuard(const TPumpGuard&) = delete;
    TPumpGuard& operator=(const TPumpGuard&) = delete;
};

} // namespace

TSystemDriver* SystemDriver()
{
    if (!installedDriver) {
        if (!platformDriver)
            platformDriver = NewPlatformSystemDriver();
        installedDriver = platformDriver;
    }
    return installedDriver;
}

TSystemDriver* InstallSystemDriver(TSystemDriver* driver)
{
    TSystemDriver* previous = installedDriver;
    installedDriver = driver;
    return previous;
}

void PumpSystemEvents()
{
    if (g_pumping)
        return;
    TPumpGuard guard; // cleared also when a hook throws, so pumping does not stop for good
    SystemDriver()->Poll();
}

void WaitSystemEvent()
{
    if (g_pumping)
        return;
    TPumpGuard guard;
    SystemDriver()->Wait();
}
