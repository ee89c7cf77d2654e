#include <cstdio>
#include <exception>

#include "app/paths.h"
#include "app/startup.h"
#include "system/termination.h"

int main()
{
    InstallTerminationHandler();
    // Pictures, sounds and data files live beside the program, wherever it was started from.
    EnterExecutableFolder();
    try {
        StartUp();
    } catch (const std::exception& e) { // TRuntimeError among them: the fatal errors of the game
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
