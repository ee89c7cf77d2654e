#include "system/termination.h"

#include <atomic>
#include <csignal>
#include <pthread.h>
#include <unistd.h>

namespace {

// Lock-free, hence safe to touch from the handler on whichever thread takes the signal.
std::atomic<int> deferrals{0};
std::atomic<bool> pending{false};

void OnTerminationSignal(int)
{
    if (deferrals.load() > 0) {
        pending.store(true);
        return;
    }
    _exit(0);
}

} // namespace

void InstallTerminationHandler()
{
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // A launcher may hand them over blocked; one that came before main is then delivered here.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

TTerminationDeferral::TTerminationDeferral() { deferrals.fetch_add(1); }

bool TTerminationDeferral::Pending() { return pending.load(); }

bool TTerminationDeferral::Take() { return pending.exchange(false); }

TTerminationDeferral::~TTerminationDeferral()
{
    if (deferrals.fetch_sub(1) == 1 && pending.load())
        _exit(0);
}
