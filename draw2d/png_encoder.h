#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// The PNG encoding shared by screenshots and the asset generator: 8-bit RGB (channels 3) or
// RGBA (channels 4) rows, top-down, `stride` bytes apart, written to an open file. No time
// stamp or other varying chunk is written, so equal pixels give equal files. False when
// libpng fails; the caller owns the file and removes what was written.
bool EncodePng(FILE* file, int width, int height, int channels, const uint8_t* pixels, size_t stride,
               int compressionLevel);
