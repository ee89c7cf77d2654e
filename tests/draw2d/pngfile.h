#pragma once
// Writes real PNG files with libpng for the loader and image tests, and edits their chunks.
#include <png.h>

#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

struct PNGPicture {
    int width = 0, height = 0;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;   // tRNS for a palette picture
    bool hasTransparentColour = false;   // tRNS for grey or RGB
    png_color_16 transparentColour{};
    std::vector<std::vector<uint8_t>> rows; // packed as the file stores them
};

namespace pngfile_detail {

inline void Append(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

inline void Flush(png_structp) {}

// Plain function: the longjmp of a libpng error crosses no destructors.
inline int Write(png_structp png, png_infop info, const PNGPicture* p, std::vector<uint8_t>* out,
                 png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return 0;
    png_set_write_fn(png, out, Append, Flush);
    png_set_IHDR(png, info, p->width, p->height, p->bitDepth, p->colourType,
                 p->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!p->palette.empty())
        png_set_PLTE(png, info, const_cast<png_colorp>(p->palette.data()), static_cast<int>(p->palette.size()));
    if (!p->paletteAlpha.empty())
        png_set_tRNS(png, info, const_cast<png_bytep>(p->paletteAlpha.data()),
                     static_cast<int>(p->paletteAlpha.size()), nullptr);
    if (p->hasTransparentColour)
        png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16p>(&p->transparentColour));
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return 1;
}

inline uint32_t Crc(const uint8_t* data, size_t n)
{
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

inline uint32_t Be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

inline void PutBe32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24), p[1] = uint8_t(v >> 16), p[2] = uint8_t(v >> 8), p[3] = uint8_t(v);
}

} // namespace pngfile_detail

inline std::vector<uint8_t> EncodePNG(const PNGPicture& picture)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    for (const auto& row : picture.rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    const int ok = pngfile_detail::Write(png, info, &picture, &out, rows.data());
    png_destroy_write_struct(&png, &info);
    if (!ok)
        out.clear();
    return out;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// A folder of its own for the files one test writes, removed with it.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The path of the file written.
    std::string Write(const std::string& file, const std::vector<uint8_t>& bytes) const
    {
        const std::string full = (path / file).string();
        WriteBytes(full, bytes);
        return full;
    }

    const std::filesystem::path path;
};

// Offset of the first chunk of the given type (its length field), or 0 if there is none.
inline size_t FindChunk(const std::vector<uint8_t>& png, const char* type)
{
    for (size_t at = 8; at + 12 <= png.size(); at += 12 + pngfile_detail::Be32(&png[at])) {
        if (std::memcmp(&png[at + 4], type, 4) == 0)
            return at;
    }
    return 0;
}

// Recomputes the CRC of the chunk at offset after its data was edited.
inline void FixChunkCrc(std::vector<uint8_t>& png, size_t at)
{
    const uint32_t length = pngfile_detail::Be32(&png[at]);
    pngfile_detail::PutBe32(&png[at + 8 + length], pngfile_detail::Crc(&png[at + 4], length + 4));
}

// Inserts a chunk at offset (the start of another chunk). The length field says claimedLength
// when given, so a chunk can claim more data than follows it.
inline void InsertChunk(std::vector<uint8_t>& png, size_t at, const char* type, const std::vector<uint8_t>& data,
                        int64_t claimedLength = -1)
{
    std::vector<uint8_t> chunk(12 + data.size());
    pngfile_detail::PutBe32(&chunk[0], static_cast<uint32_t>(claimedLength < 0 ? data.size() : claimedLength));
    std::memcpy(&chunk[4], type, 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    pngfile_detail::PutBe32(&chunk[8 + data.size()], pngfile_detail::Crc(&chunk[4], data.size() + 4));
    png.insert(png.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
}
