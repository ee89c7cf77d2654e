#pragma once

// SIGTERM and SIGINT end the program at once with code 0, wherever it is: loading, a frame loop
// or a blocking call. Installed first thing in main, so no early signal is lost to the default
// action or to a handler that only queues a quit event nobody reads yet. A video system that
// installs its own handlers only where none is set keeps this one. Both signals are unblocked,
// so one sent before main and held blocked by the launcher ends the program here.
void InstallTerminationHandler();

// While one is alive, a termination signal waits: the program ends when the last one goes, so
// a file being saved is never left half written.
class TTerminationDeferral {
public:
    // True once a termination signal came while deferred; it is then handled by whoever takes
    // it: the program no longer ends by itself when the last deferral goes.
    static bool Pending();
    static bool Take();

    TTerminationDeferral();
    ~TTerminationDeferral();
    TTerminationDeferral(const TTerminationDeferral&) = delete;
    TTerminationDeferral& operator=(const TTerminationDeferral&) = delete;
};
