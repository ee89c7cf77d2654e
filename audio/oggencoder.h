#pragma once
#include <cstdint>
#include <vector>

// Encodes interleaved 16-bit PCM as an Ogg Vorbis file (variable bit rate, quality -0.1 to 1).
// For making sound files: the game only decodes. Empty when the encoder refuses the channel
// count or rate.
std::vector<uint8_t> EncodeOggVorbis(const int16_t* pcm, int64_t frames, int channels, int hertz,
                                     float quality = 0.4f);
