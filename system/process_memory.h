#pragma once
#include <cstdint>

// This process's memory as the kernel counts it, in KiB; both 0 where it cannot be read.
struct TProcessMemory {
    int64_t residentKiB = 0; // resident now
    int64_t peakKiB = 0;     // the most ever resident
};

TProcessMemory ReadProcessMemory();
