#include "app/shell/startup_trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <time.h>

#include "system/clock.h"

namespace {

const bool g_tracing = [] {
    const char* v = std::getenv("BRIM_TRACE_STARTUP");
    return v && std::strcmp(v, "1") == 0;
}();
const int32_t g_traceorigin = ElapsedMillis();

} // namespace

bool StartupTraced() { return g_tracing; }

void TraceStartup(const char* stage)
{
    if (!g_tracing)
        return;
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "startup: %s %d ms, cpu %ld ms\n", stage, ElapsedMillis() - g_traceorigin,
                 static_cast<long>(cpu.tv_sec * 1000 + cpu.tv_nsec / 1000000));
}
