#pragma once

// With BRIM_TRACE_STARTUP=1 in the environment, start-up reports its stages on stderr as
// "startup: <stage> <ms>" (milliseconds since the program began) and the game ends after the
// first title frame: a measuring aid for start-up time.
bool StartupTraced();
void TraceStartup(const char* stage);
