#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit RGB (channels 3) or RGBA (channels 4) rows top-down as a PNG file.
// No time stamp or other varying chunk is written, so equal pixels give equal files.
// Throws std::runtime_error when the file cannot be written.
void WritePng(const std::string& path, int width, int height, int channels, const std::vector<uint8_t>& bytes);
