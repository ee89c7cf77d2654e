#include "draw2d/pixmap.h"

#include <cstring>

#include "draw2d/pngloader.h"
#include "system/error.h"
#include "system/registry.h"
#include "system/stream.h"

namespace {

TPixmapLoader* g_loaders = nullptr;

uint32_t UnpackPixel(const uint8_t* p, int32_t format)
{
    switch (format) {
    case PF_I8: return 0xFF000000u + p[0] * 0x010101u;
    case PF_A8: return static_cast<uint32_t>(p[0]) << 24 | 0x00FFFFFFu;
    case PF_BGR888: return 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
    case PF_RGB888: return 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
    case PF_BGRA8888: return static_cast<uint32_t>(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0];
    case PF_RGBA8888: return static_cast<uint32_t>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
    }
    return 0;
}

void PackPixel(uint32_t argb, uint8_t* p, int32_t format)
{
    const uint8_t a = argb >> 24, r = argb >> 16, g = argb >> 8, b = argb;
    switch (format) {
    case PF_I8: p[0] = static_cast<uint8_t>((r + g + b) / 3); break;
    case PF_A8: p[0] = a; break;
    case PF_BGR888: p[0] = b, p[1] = g, p[2] = r; break;
    case PF_RGB888: p[0] = r, p[1] = g, p[2] = b; break;
    case PF_BGRA8888: p[0] = b, p[1] = g, p[2] = r, p[3] = a; break;
    case PF_RGBA8888: p[0] = r, p[1] = g, p[2] = b, p[3] = a; break;
    }
}

std::shared_ptr<TPixmap> AsRGBA(const std::shared_ptr<TPixmap>& pixmap)
{
    return pixmap->format == PF_RGBA8888 ? pixmap : pixmap->Convert(PF_RGBA8888);
}

// Closes the stream on every way out of a load, errors included.
struct TStreamCloser {
    TStream& stream;
    ~TStreamCloser() { stream.Close(); }
};

} // namespace

int BytesPerPixel(int32_t format)
{
    switch (format) {
    case PF_I8:
    case PF_A8: return 1;
    case PF_BGR888:
    case PF_RGB888: return 3;
    case PF_BGRA8888:
    case PF_RGBA8888: return 4;
    }
    return 0;
}

// ---- TPixmap ----

TPixmap::~TPixmap() = default;

uint8_t* TPixmap::PixelPtr(int x, int y)
{
    return pixels + static_cast<int64_t>(y) * pitch + static_cast<int64_t>(x) * BytesPerPixel(format);
}

std::shared_ptr<TPixmap> TPixmap::Window(int x, int y, int w, int h)
{
    auto window = CreateStatic(PixelPtr(x, y), w, h, pitch, format);
    window->_source = shared_from_this();
    return window;
}

std::shared_ptr<TPixmap> TPixmap::Copy()
{
    return Convert(format);
}

void TPixmap::Paste(const std::shared_ptr<TPixmap>& source, int x, int y)
{
    for (int i = 0; i < source->height; ++i)
        ConvertPixels(source->PixelPtr(0, i), source->format, PixelPtr(x, y + i), format, source->width);
}

std::shared_ptr<TPixmap> TPixmap::Convert(int32_t toFormat)
{
    auto converted = Create(width, height, toFormat);
    for (int y = 0; y < height; ++y)
        ConvertPixels(PixelPtr(0, y), format, converted->PixelPtr(0, y), toFormat, width);
    return converted;
}

uint32_t TPixmap::ReadPixel(int x, int y)
{
    return UnpackPixel(PixelPtr(x, y), format);
}

void TPixmap::WritePixel(int x, int y, uint32_t argb)
{
    PackPixel(argb, PixelPtr(x, y), format);
}

void TPixmap::ClearPixels(uint32_t argb)
{
    const int bpp = BytesPerPixel(format);
    if (argb == 0 && pitch == width * bpp) {
        if (pitch > 0 && height > 0)
            std::memset(pixels, 0, static_cast<size_t>(pitch) * height);
        return;
    }
    uint8_t packed[4];
    PackPixel(argb, packed, format);
    for (int y = 0; y < height; ++y) {
        uint8_t* p = PixelPtr(0, y);
        for (int x = 0; x < width; ++x, p += bpp)
            std::memcpy(p, packed, bpp);
    }
}

std::shared_ptr<TPixmap> TPixmap::Create(int w, int h, int32_t format, int align)
{
    const int bpp = BytesPerPixel(format);
    if (bpp == 0 || w < 0 || h < 0)
        throw TRuntimeError("Invalid pixmap size or format");
    if (align < 1)
        align = 1;
    const int64_t pitch = (static_cast<int64_t>(w) * bpp + align - 1) / align * align;
    const int64_t bytes = pitch * h;
    if (bytes > INT32_MAX)
        throw TRuntimeError("Pixmap too large");
    auto pixmap = std::make_shared<TPixmap>();
    // Cleared, so that parts never written (texture padding, fresh frames) are transparent black.
    pixmap->_memory = std::make_unique<uint8_t[]>(static_cast<size_t>(bytes));
    pixmap->pixels = pixmap->_memory.get();
    pixmap->width = w;
    pixmap->height = h;
    pixmap->pitch = static_cast<int32_t>(pitch);
    pixmap->format = format;
    pixmap->capacity = static_cast<int32_t>(bytes);
    return pixmap;
}

std::shared_ptr<TPixmap> TPixmap::CreateStatic(uint8_t* pixels, int w, int h, int pitch, int32_t format)
{
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->pixels = pixels;
    pixmap->width = w;
    pixmap->height = h;
    pixmap->pitch = pitch;
    pixmap->format = format;
    pixmap->capacity = -1;
    return pixmap;
}

// ---- loaders ----

TPixmapLoader::TPixmapLoader()
{
    LinkAtHead(g_loaders, this);
}

TPixmapLoader::~TPixmapLoader()
{
    Unlink(g_loaders, this);
}

namespace {

std::shared_ptr<TPixmap> LoadFromStream(const std::shared_ptr<TStream>& stream)
{
    if (!stream)
        return nullptr;
    TStreamCloser closer{*stream};
    const int64_t pos = stream->Pos();
    if (pos == -1)
        return nullptr;
    StartPNGLoader();
    for (TPixmapLoader* loader = g_loaders; loader; loader = loader->_succ) {
        stream->Seek(pos);
        try {
            if (auto pixmap = loader->LoadPixmap(stream))
                return pixmap;
        } catch (const TStreamException&) {
            // A loader that ran out of data simply did not recognise the file.
        }
    }
    return nullptr;
}

} // namespace

std::shared_ptr<TPixmap> LoadPixmap(const std::string& url)
{
    return LoadFromStream(OpenReadStream(url));
}

std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream)
{
    return LoadFromStream(OpenStreamUrl(stream, 1, 0));
}

// ---- free functions ----

std::shared_ptr<TPixmap> CreatePixmap(int width, int height, int32_t format, int align)
{
    return TPixmap::Create(width, height, format, align);
}

namespace {

// Source position of destination index i when n destination samples cover size source samples,
// clamped to the first and last sample.
float SourcePosition(int i, int size, int n)
{
    const float pos = (i + 0.5f) * (static_cast<float>(size) / n) - 0.5f;
    if (pos < 0)
        return 0;
    if (pos >= size - 1)
        return static_cast<float>(size - 1);
    return pos;
}

} // namespace

std::shared_ptr<TPixmap> ResizePixmap(const std::shared_ptr<TPixmap>& pixmap, int w, int h)
{
    if (!pixmap || w <= 0 || h <= 0 || pixmap->width <= 0 || pixmap->height <= 0)
        return nullptr;
    const auto src = AsRGBA(pixmap);
    auto dst = TPixmap::Create(w, h, PF_RGBA8888);
    for (int y = 0; y < h; ++y) {
        const float sy = SourcePosition(y, src->height, h);
        const int y0 = static_cast<int>(sy);
        const int y1 = y0 < src->height - 1 ? y0 + 1 : y0;
        const float fy = sy - y0;
        uint8_t* out = dst->PixelPtr(0, y);
        for (int x = 0; x < w; ++x, out += 4) {
            const float sx = SourcePosition(x, src->width, w);
            const int x0 = static_cast<int>(sx);
            const int x1 = x0 < src->width - 1 ? x0 + 1 : x0;
            const float fx = sx - x0;
            const uint8_t* p00 = src->PixelPtr(x0, y0);
            const uint8_t* p10 = src->PixelPtr(x1, y0);
            const uint8_t* p01 = src->PixelPtr(x0, y1);
            const uint8_t* p11 = src->PixelPtr(x1, y1);
            for (int c = 0; c < 4; ++c) {
                const float top = p00[c] + (p10[c] - p00[c]) * fx;
                const float bottom = p01[c] + (p11[c] - p01[c]) * fx;
                out[c] = static_cast<uint8_t>(top + (bottom - top) * fy);
            }
        }
    }
    return pixmap->format == PF_RGBA8888 ? dst : dst->Convert(pixmap->format);
}

std::shared_ptr<TPixmap> MaskPixmap(const std::shared_ptr<TPixmap>& pixmap, int r, int g, int b)
{
    if (!pixmap)
        return nullptr;
    const auto src = AsRGBA(pixmap);
    const int w = src->width, h = src->height;
    auto dst = TPixmap::Create(w, h, PF_RGBA8888);
    const auto isMask = [&](int x, int y) {
        const uint8_t* p = src->PixelPtr(x, y);
        return p[0] == r && p[1] == g && p[2] == b;
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* out = dst->PixelPtr(x, y);
            if (!isMask(x, y)) {
                std::memcpy(out, src->PixelPtr(x, y), 3);
                out[3] = 255;
                continue;
            }
            // A masked pixel takes its unmasked neighbours' colour so filtering does not bleed
            // the mask colour into edges.
            int sum[3] = {0, 0, 0}, n = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny) {
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || isMask(nx, ny))
                        continue;
                    const uint8_t* p = src->PixelPtr(nx, ny);
                    sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
                    ++n;
                }
            }
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(n ? sum[c] / n : 0);
            out[3] = 0;
        }
    }
    return dst;
}

std::shared_ptr<TPixmap> YFlipPixmap(const std::shared_ptr<TPixmap>& pixmap)
{
    if (!pixmap)
        return nullptr;
    const int32_t format = pixmap->format;
    auto flipped = TPixmap::Create(pixmap->width, pixmap->height, format);
    for (int y = 0; y < pixmap->height; ++y)
        ConvertPixels(pixmap->PixelPtr(0, y), format, flipped->PixelPtr(0, pixmap->height - 1 - y), format,
                      pixmap->width);
    return flipped;
}

void ConvertPixels(const uint8_t* in, int32_t inFormat, uint8_t* out, int32_t outFormat, int count)
{
    const int inBpp = BytesPerPixel(inFormat), outBpp = BytesPerPixel(outFormat);
    if (count <= 0 || inBpp == 0 || outBpp == 0)
        return;
    if (inFormat == outFormat) {
        std::memmove(out, in, static_cast<size_t>(count) * inBpp);
        return;
    }
    // Every conversion passes through RGBA: the ARGB word carries the same four channels.
    for (int i = 0; i < count; ++i, in += inBpp, out += outBpp)
        PackPixel(UnpackPixel(in, inFormat), out, outFormat);
}
