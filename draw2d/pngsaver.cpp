#include "draw2d/pngsaver.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "draw2d/pixmap.h"
#include "draw2d/png_encoder.h"

namespace {

// Fast rather than small: a screenshot is taken in the middle of play.
constexpr int ScreenshotCompression = 1;

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
    errno = 0;
    // The encoder fails mostly on a write error (a full disk), which errno then names.
    if (!EncodePng(file, rgba->width, rgba->height, 4, rgba->PixelPtr(0, 0), static_cast<size_t>(rgba->pitch),
                   ScreenshotCompression))
        failure = errno != 0 ? std::strerror(errno) : "the PNG encoder failed";
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
