#include "draw2d/pngloader.h"

#include <png.h>

#include <csetjmp>
#include <exception>
#include <new>
#include <vector>

#include "system/stream.h"

namespace {

// Deflate packs at most 1032 bytes into one.
constexpr int64_t kMaxDeflateRatio = 1032;

// libpng reports errors by longjmp. Only the two plain functions below call into libpng after
// setjmp, and the frames a longjmp crosses (libpng's and the callbacks') hold no objects with
// destructors; everything owning resources lives in the caller, which the jump never leaves.
struct TPNGRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    TStream* stream = nullptr;
    int64_t fileRowBytes = 0;  // bytes per row as stored, before the transforms
    std::exception_ptr error; // a non-stream error met while reading, re-thrown after the jump
};

void OnPNGError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnPNGWarning(png_structp, png_const_charp) {}

void OnPNGRead(png_structp png, png_bytep data, png_size_t length)
{
    auto* r = static_cast<TPNGRead*>(png_get_io_ptr(png));
    bool ok = false;
    try {
        r->stream->ReadBytes(data, static_cast<int64_t>(length));
        ok = true;
    } catch (const TStreamException&) {
        // Out of data: a truncated file, reported to libpng as an error.
    } catch (...) {
        r->error = std::current_exception();
    }
    if (!ok)
        png_error(png, "PNG ERROR");
}

// Reads the chunks up to the image data and sets up the transforms; 0 on a libpng error.
int ReadPNGHeader(TPNGRead* r)
{
    if (setjmp(png_jmpbuf(r->png)))
        return 0;
    png_set_sig_bytes(r->png, 8);
    png_set_read_fn(r->png, r, OnPNGRead);
    png_set_user_limits(r->png, PNGMaxSide, PNGMaxSide);
    // Only the image chunks and tRNS matter here. Skipping the rest also keeps libpng from
    // allocating the buffer a text chunk's length field asks for before that much data exists.
    png_set_keep_unknown_chunks(r->png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(r->png, r->info);
    r->fileRowBytes = static_cast<int64_t>(png_get_rowbytes(r->png, r->info));
    png_set_strip_16(r->png);
    png_set_expand(r->png);
    png_set_interlace_handling(r->png);
    png_read_update_info(r->png, r->info);
    return 1;
}

// Decodes every row into rows and reads the chunks after the image data; 0 on a libpng error.
int ReadPNGRows(TPNGRead* r, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(r->png)))
        return 0;
    png_read_image(r->png, rows);
    png_read_end(r->png, nullptr);
    return 1;
}

struct TPNGReleaser {
    TPNGRead& r;
    ~TPNGReleaser() { png_destroy_read_struct(&r.png, r.info ? &r.info : nullptr, nullptr); }
};

int32_t PixmapFormat(int bitDepth, int colourType)
{
    if (bitDepth != 8)
        return 0;
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY: return PF_I8;
    case PNG_COLOR_TYPE_RGB: return PF_RGB888;
    case PNG_COLOR_TYPE_RGB_ALPHA:
    case PNG_COLOR_TYPE_GRAY_ALPHA: return PF_RGBA8888;
    }
    return 0;
}

// Spreads a row of grey+alpha pairs, decoded at the start of an RGBA row, over the whole row.
// Walking from the end never overwrites a pair not yet spread.
void SpreadGreyAlpha(uint8_t* row, int width)
{
    for (int x = width - 1; x >= 0; --x) {
        const uint8_t grey = row[2 * x], alpha = row[2 * x + 1];
        row[4 * x] = row[4 * x + 1] = row[4 * x + 2] = grey;
        row[4 * x + 3] = alpha;
    }
}

} // namespace

std::shared_ptr<TPixmap> TPixmapLoaderPNG::LoadPixmap(const std::shared_ptr<TStream>& stream)
{
    png_byte signature[8];
    int64_t got = 0;
    for (int64_t n; got < 8 && (n = stream->Read(signature + got, 8 - got)) > 0;)
        got += n;
    if (got < 8 || png_sig_cmp(signature, 0, 8) != 0)
        return nullptr;

    TPNGRead r;
    r.stream = stream.get();
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPNGError, OnPNGWarning);
    if (!r.png)
        return nullptr;
    TPNGReleaser releaser{r};
    r.info = png_create_info_struct(r.png);
    if (!r.info)
        return nullptr;

    const int ok = ReadPNGHeader(&r);
    if (r.error)
        std::rethrow_exception(r.error);
    if (!ok)
        return nullptr;

    const int width = static_cast<int>(png_get_image_width(r.png, r.info));
    const int height = static_cast<int>(png_get_image_height(r.png, r.info));
    const int32_t format = PixmapFormat(png_get_bit_depth(r.png, r.info), png_get_color_type(r.png, r.info));
    if (!format)
        return nullptr;
    // libpng has already refused sides beyond PNGMaxSide; the total must still fit the budget.
    const int64_t rowBytes = static_cast<int64_t>(width) * BytesPerPixel(format);
    if (rowBytes * height > PNGMaxDecodedBytes || static_cast<int64_t>(png_get_rowbytes(r.png, r.info)) > rowBytes)
        return nullptr;

    // A file too short to hold the pixels its header claims is refused before they are allocated.
    const int64_t size = stream->Size(), left = size - stream->Pos();
    if (size > 0 && left < r.fileRowBytes * height / kMaxDeflateRatio)
        return nullptr;

    std::shared_ptr<TPixmap> pixmap;
    try {
        pixmap = TPixmap::Create(width, height, format);
    } catch (const std::bad_alloc&) {
        return nullptr; // a picture too large for this machine is one that can't be loaded
    }
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[y] = pixmap->PixelPtr(0, y);
    const int decoded = ReadPNGRows(&r, rows.data());
    if (r.error)
        std::rethrow_exception(r.error);
    if (!decoded)
        return nullptr;
    if (png_get_color_type(r.png, r.info) == PNG_COLOR_TYPE_GRAY_ALPHA) {
        for (int y = 0; y < height; ++y)
            SpreadGreyAlpha(rows[y], width);
    }
    return pixmap;
}

void StartPNGLoader()
{
    static TPixmapLoaderPNG loader;
}
