#include "common/wait.h"

#include <thread>

namespace {

constexpr std::chrono::milliseconds PollInterval(20);

} // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(PollInterval);
    }
    return condition();
}
