#include "tools/assetgen/png_writer.h"

#include "tools/assetgen/output_file.h"

#include "draw2d/png_encoder.h"

#include <stdexcept>

namespace {

// A light setting: the smooth, dithered pictures gain little from harder work.
constexpr int PictureCompression = 3;

} // namespace

void WritePng(const std::string& path, int width, int height, int channels, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() != size_t(width) * height * channels || (channels != 3 && channels != 4))
        throw std::runtime_error("bad picture layout for " + path);
    OutputFile file(path);
    if (!EncodePng(file.Get(), width, height, channels, bytes.data(), size_t(width) * channels, PictureCompression))
        throw std::runtime_error("cannot write " + path);
    file.Commit();
}
