// Feeds arbitrary text to the replay parser. Every input must be accepted or refused with a
// one-line error, without crashing or hanging; an accepted text must be exactly what the writer
// makes of the result. Random bytes almost never carry a matching checksum, so each input is
// also tried as a body with its correct checksum line appended, which lets the fuzzer reach
// every check behind it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "game/replay_format.h"

namespace {

void Try(std::string_view text)
{
    TReplay replay;
    std::string error;
    if (!ParseReplay(text, replay, error)) {
        if (error.empty() || error.find('\n') != std::string::npos)
            std::abort();
        return;
    }
    if (!ReplayProblem(replay).empty() || WriteReplay(replay) != text)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Try(text);
    Try(std::string(text) + ReplayChecksumLine(text));
    return 0;
}
