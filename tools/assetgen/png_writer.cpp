#include "tools/assetgen/png_writer.h"

#include "tools/assetgen/output_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <stdexcept>

namespace {

// libpng reports errors by longjmp, so nothing with a destructor lives in this frame.
bool WriteRows(FILE* file, int width, int height, int channels, const uint8_t* bytes)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // A light setting: the smooth, dithered pictures gain little from harder work.
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, bytes + size_t(y) * width * channels);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

void WritePng(const std::string& path, int width, int height, int channels, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() != size_t(width) * height * channels || (channels != 3 && channels != 4))
        throw std::runtime_error("bad picture layout for " + path);
    OutputFile file(path);
    if (!WriteRows(file.Get(), width, height, channels, bytes.data()))
        throw std::runtime_error("cannot write " + path);
    file.Commit();
}
