#include "system/process_memory.h"

#include <cstdio>
#include <cstring>

TProcessMemory ReadProcessMemory()
{
    TProcessMemory memory;
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return memory;
    char line[256];
    long long kib = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmRSS: %lld kB", &kib) == 1)
            memory.residentKiB = kib;
        else if (std::sscanf(line, "VmHWM: %lld kB", &kib) == 1)
            memory.peakKiB = kib;
    }
    std::fclose(status);
    return memory;
}
