#include "draw2d/pngsaver.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "draw2d/pixmap.h"

namespace {

// libpng reports errors by longjmp, so nothing with a destructor lives in this frame.
bool WriteRows(FILE* file, TPixmap& rgba)
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
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgba.width), static_cast<png_uint_32>(rgba.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Fast rather than small: a screenshot is taken in the middle of play.
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int32_t y = 0; y < rgba.height; ++y)
        png_write_row(png, rgba.PixelPtr(0, y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool SavePixmapPNG(const std::shared_ptr<TPixmap>& pixmap, const std::string& path, std::string& error)
{
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) {
        error = "no picture";
        return false;
    }
    std::shared_ptr<TPixmap> rgba = pixmap->format == PF_RGBA8888 ? pixmap : pixmap->Convert(PF_RGBA8888);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::string failure;
    if (!WriteRows(file, *rgba))
        failure = "the PNG encoder failed";
    else if (std::fflush(file) != 0)
        failure = std::strerror(errno);
    if (std::fclose(file) != 0 && failure.empty())
        failure = std::strerror(errno);
    if (failure.empty())
        return true;
    error = failure;
    std::remove(path.c_str());
    return false;
}
