#include "asset_files.h"

#include <png.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

std::string BinDir()
{
    const char* dir = std::getenv("BRIM_BIN_DIR");
    return dir ? dir : ".";
}

std::string AssetPath(const std::string& relative) { return BinDir() + "/" + relative; }

PngPicture ReadPng(const std::string& path)
{
    PngPicture picture;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return picture;
    picture.has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return picture;
    }
    picture.width = int(image.width);
    picture.height = int(image.height);
    picture.rgba = std::move(pixels);
    return picture;
}

OggSound ReadOgg(const std::string& path)
{
    OggSound sound;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0)
        return sound;
    vorbis_info* info = ov_info(&file, -1);
    ogg_int64_t frames = ov_pcm_total(&file, -1);
    if (!info || frames <= 0) {
        ov_clear(&file);
        return sound;
    }
    std::vector<int16_t> pcm(size_t(frames) * size_t(info->channels));
    size_t filled = 0;
    int section = 0;
    while (filled < pcm.size()) {
        long got = ov_read(&file, reinterpret_cast<char*>(pcm.data() + filled), int((pcm.size() - filled) * 2), 0, 2,
                           1, &section);
        if (got <= 0)
            break;
        filled += size_t(got) / 2;
    }
    if (filled == pcm.size()) {
        sound.channels = info->channels;
        sound.rate = info->rate;
        sound.pcm = std::move(pcm);
    }
    ov_clear(&file);
    return sound;
}

double LoudestWindowDb(const OggSound& sound, double seconds)
{
    size_t window = std::max<size_t>(1, size_t(seconds * double(sound.rate))) * size_t(sound.channels);
    double sum = 0, best = 0;
    for (size_t i = 0; i < sound.pcm.size(); ++i) {
        sum += double(sound.pcm[i]) * sound.pcm[i];
        if (i >= window)
            sum -= double(sound.pcm[i - window]) * sound.pcm[i - window];
        best = std::max(best, sum);
    }
    double n = double(std::min(window, sound.pcm.size()));
    return 20 * std::log10(std::sqrt(best / std::max(n, 1.0)) / 32768.0 + 1e-12);
}
