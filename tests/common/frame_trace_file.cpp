#include "common/frame_trace_file.h"

#include <fstream>

namespace {

constexpr std::string_view TracePrefix = "frames: ";
// Far more than one trace line and whatever else may follow it while a frame is drawn.
constexpr std::streamoff TailBytes = 4096;

bool IsTraceLine(std::string_view line) { return line.substr(0, TracePrefix.size()) == TracePrefix; }

} // namespace

int64_t LastTracedFrame(const std::filesystem::path& errorFile)
{
    // Only the end is read: the file grows by a line a frame for as long as the game runs.
    std::ifstream in(errorFile, std::ios::binary | std::ios::ate);
    if (!in)
        return 0;
    const std::streamoff size = in.tellg();
    const std::streamoff start = size > TailBytes ? size - TailBytes : 0;
    std::string tail(static_cast<size_t>(size - start), '\0');
    in.seekg(start);
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    tail.resize(static_cast<size_t>(in.gcount()));
    // The last complete trace line; one being written has no end yet, and the first line of a
    // tail may be the end of a longer one.
    size_t at = 0;
    if (start > 0) {
        const size_t firstEnd = tail.find('\n');
        at = firstEnd == std::string::npos ? tail.size() : firstEnd + 1;
    }
    int64_t last = 0;
    for (size_t end; (end = tail.find('\n', at)) != std::string::npos; at = end + 1)
        if (const std::string_view line = std::string_view(tail).substr(at, end - at); IsTraceLine(line))
            last = std::stoll(std::string(line.substr(TracePrefix.size())));
    return last;
}

std::string WithoutFrameTrace(std::string_view text)
{
    std::string kept;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (!IsTraceLine(text.substr(at, next - at)))
            kept += text.substr(at, next - at);
        at = next;
    }
    return kept;
}
