#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Reading the generated assets back with the libraries the game itself uses.

// Folder holding gfx/ and sfx/: $BRIM_BIN_DIR.
std::string BinDir();
std::string AssetPath(const std::string& relative);

struct PngPicture {
    int width = 0, height = 0;
    bool has_alpha = false;
    std::vector<uint8_t> rgba; // always expanded to RGBA, rows top-down
    const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
    int Alpha(int x, int y) const { return At(x, y)[3]; }
};
// Decodes with libpng; a picture of width 0 when the file is missing or not a PNG.
PngPicture ReadPng(const std::string& path);

struct OggSound {
    int channels = 0;
    long rate = 0;
    std::vector<int16_t> pcm; // interleaved
    size_t Frames() const { return channels ? pcm.size() / size_t(channels) : 0; }
    double Seconds() const { return rate ? double(Frames()) / double(rate) : 0; }
};
// Decodes with vorbisfile; channels 0 when the file cannot be opened or decoded.
OggSound ReadOgg(const std::string& path);

// Loudest RMS over a window of `seconds` (all channels), in dB relative to full scale.
double LoudestWindowDb(const OggSound& sound, double seconds);

