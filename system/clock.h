#pragma once
#include <cstdint>

// Milliseconds from a monotonic clock, wrapping as a 32-bit value; only differences are meaningful.
int32_t ElapsedMillis();

// Gives up the processor for ms milliseconds; a negative value returns at once.
void SleepMillis(int32_t ms);
