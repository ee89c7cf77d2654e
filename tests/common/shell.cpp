#include "common/shell.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

int ShellStatus(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveCommand(const std::string& name)
{
    return ShellStatus("command -v " + name + " >/dev/null") == 0;
}
