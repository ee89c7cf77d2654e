#include <cstdio>
#include <exception>

#include "app/cli/launch.h"
#include "system/termination.h"

int main(int argc, char** argv)
{
    InstallTerminationHandler();
    try {
        return Launch({argv + 1, argv + argc});
    } catch (const std::exception& e) { // TRuntimeError among them: the fatal errors of the game
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
