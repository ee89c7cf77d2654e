#pragma once
#include <chrono>
#include <functional>

// How long a test waits for a program it drives before it gives up: minutes, for a sanitizer
// build on a loaded machine runs many times slower than a Release build on an idle one. A wait
// ends as soon as its condition holds, so the limit costs nothing when all goes well.
inline constexpr std::chrono::milliseconds Patience = std::chrono::minutes(2);

// Polls until the condition holds or the limit is up; true when it held. Every wait of the tests
// is bounded.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = Patience);
