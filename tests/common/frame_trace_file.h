#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The game's frame trace as a test reads it: with BRIM_TRACE_FRAMES set to FrameTraceEvery, the
// game writes "frames: <count> cpu <ms>" on its standard error after every frame it shows.
inline constexpr const char* FrameTraceVariable = "BRIM_TRACE_FRAMES";
inline constexpr const char* FrameTraceEvery = "every";

// The count of the last trace line in the file its standard error goes to; 0 before the first.
int64_t LastTracedFrame(const std::filesystem::path& errorFile);

// The text with the trace's lines taken out, as the program would have written it untraced.
std::string WithoutFrameTrace(std::string_view text);
