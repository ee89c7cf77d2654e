#pragma once
#include <cstdint>
#include <memory>
#include <string>

class TStream;

// Pixel layouts.
enum : int32_t {
    PF_I8 = 1,       // intensity
    PF_A8 = 2,       // alpha
    PF_BGR888 = 3,
    PF_RGB888 = 4,
    PF_BGRA8888 = 5,
    PF_RGBA8888 = 6,
};

// Bytes per pixel of a layout; 0 for a code that names none.
int BytesPerPixel(int32_t format);

// A rectangle of pixels in one of the six layouts. Pixel values exchanged with callers are
// 32-bit ARGB words. No operation clips: coordinates must lie inside.
class TPixmap : public std::enable_shared_from_this<TPixmap> {
public:
    virtual ~TPixmap();

    virtual uint8_t* PixelPtr(int x, int y);
    // A pixmap viewing (x, y, w, h) of this one; writing to it writes this one.
    virtual std::shared_ptr<TPixmap> Window(int x, int y, int width, int height);
    virtual std::shared_ptr<TPixmap> Copy();
    virtual void Paste(const std::shared_ptr<TPixmap>& source, int x, int y);
    virtual std::shared_ptr<TPixmap> Convert(int32_t format);
    virtual uint32_t ReadPixel(int x, int y);
    virtual void WritePixel(int x, int y, uint32_t argb);
    virtual void ClearPixels(uint32_t argb);

    // Owned memory of pitch × height bytes, pitch rounded up to a multiple of align, all zero.
    // A negative size, an unknown format or more than 2^31 - 1 bytes is a TRuntimeError.
    static std::shared_ptr<TPixmap> Create(int width, int height, int32_t format, int align = 4);
    static std::shared_ptr<TPixmap> CreateStatic(uint8_t* pixels, int width, int height, int pitch,
                                                 int32_t format);

    uint8_t* pixels = nullptr;
    int32_t width = 0, height = 0;
    int32_t pitch = 0;
    int32_t format = 0;
    int32_t capacity = 0;            // bytes owned; -1 for a view of memory owned elsewhere
    std::shared_ptr<TPixmap> _source; // keeps the viewed parent alive

private:
    std::unique_ptr<uint8_t[]> _memory; // the owned bytes, when capacity >= 0
};

class TPixmapLoader {
public:
    TPixmapLoader();   // links the loader at the head of the chain
    virtual ~TPixmapLoader();
    // Decodes from the stream's current position; none when the data is not for this loader.
    // The stream belongs to the caller, which closes it.
    virtual std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) = 0;
    TPixmapLoader* _succ = nullptr;
};

std::shared_ptr<TPixmap> CreatePixmap(int width, int height, int32_t format, int align = 4);
std::shared_ptr<TPixmap> LoadPixmap(const std::string& url);
std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream);
// Bilinear; none when a size is not positive or the source is empty.
std::shared_ptr<TPixmap> ResizePixmap(const std::shared_ptr<TPixmap>& pixmap, int width, int height);
std::shared_ptr<TPixmap> MaskPixmap(const std::shared_ptr<TPixmap>& pixmap, int r, int g, int b);
std::shared_ptr<TPixmap> YFlipPixmap(const std::shared_ptr<TPixmap>& pixmap);
void ConvertPixels(const uint8_t* in, int32_t inFormat, uint8_t* out, int32_t outFormat, int count);
