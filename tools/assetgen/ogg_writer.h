#pragma once
#include "tools/assetgen/sound.h"

#include <string>

// Encodes the clip as Ogg Vorbis (44.1 kHz, variable bit rate of the given quality, -0.1 to 1)
// into a file. A `loop` clip is treated as endlessly repeating, so its end flows into its start
// after decoding too. The stream serial number is fixed, so equal clips give equal files.
// Throws std::runtime_error on failure.
void WriteOgg(const std::string& path, const SoundClip& clip, float quality, bool loop);
