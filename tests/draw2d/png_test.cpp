#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "draw2d/pixmap.h"
#include "draw2d/pngloader.h"
#include "pngfile.h"

namespace {

namespace fs = std::filesystem;

class PNGLoading : public ::testing::Test {
protected:
    std::string Write(const std::vector<uint8_t>& bytes)
    {
        return dir_.Write("picture" + std::to_string(files_++) + ".png", bytes);
    }
    std::shared_ptr<TPixmap> Load(const PNGPicture& picture)
    {
        const auto bytes = EncodePNG(picture);
        EXPECT_FALSE(bytes.empty());
        return LoadPixmap(Write(bytes));
    }
    std::shared_ptr<TPixmap> LoadBytes(const std::vector<uint8_t>& bytes) { return LoadPixmap(Write(bytes)); }

    ScratchDir dir_{"brim_png"};
    int files_ = 0;
};

PNGPicture Picture(int w, int h, int depth, int type, std::vector<std::vector<uint8_t>> rows)
{
    PNGPicture p;
    p.width = w, p.height = h, p.bitDepth = depth, p.colourType = type;
    p.rows = std::move(rows);
    return p;
}

std::vector<uint32_t> Pixels(const std::shared_ptr<TPixmap>& p)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x)
            out.push_back(p->ReadPixel(x, y));
    return out;
}

// An 8-bit RGB picture whose pixels all differ.
PNGPicture Rgb(int w, int h)
{
    std::vector<std::vector<uint8_t>> rows(h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x)
            rows[y].push_back(static_cast<uint8_t>(y * 37 + x * 11 + 1));
    return Picture(w, h, 8, PNG_COLOR_TYPE_RGB, rows);
}

int OpenFiles()
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

} // namespace

TEST_F(PNGLoading, GreyBecomesIntensity)
{
    auto p = Load(Picture(3, 2, 8, PNG_COLOR_TYPE_GRAY, {{0, 17, 128}, {200, 254, 255}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_I8);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0xFF000000, 0xFF111111, 0xFF808080,  //
                                                0xFFC8C8C8, 0xFFFEFEFE, 0xFFFFFFFF}));
}

TEST_F(PNGLoading, GreyWithAlphaSpreadsIntoRgba)
{
    auto p = Load(Picture(3, 2, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {{200, 50, 0, 255, 9, 0}, {1, 2, 3, 4, 5, 6}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_RGBA8888);
    EXPECT_EQ(std::vector<uint8_t>(p->PixelPtr(0, 0), p->PixelPtr(0, 0) + 4),
              (std::vector<uint8_t>{200, 200, 200, 50}));
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0x32C8C8C8, 0xFF000000, 0x00090909,  //
                                                0x02010101, 0x04030303, 0x06050505}));
}

TEST_F(PNGLoading, RgbAndRgbaKeepTheirBytes)
{
    auto rgb = Load(Picture(2, 2, 8, PNG_COLOR_TYPE_RGB, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 250, 251, 252}}));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->format, PF_RGB888);
    EXPECT_EQ(Pixels(rgb), (std::vector<uint32_t>{0xFF010203, 0xFF040506, 0xFF070809, 0xFFFAFBFC}));

    auto rgba = Load(Picture(2, 1, 8, PNG_COLOR_TYPE_RGBA, {{1, 2, 3, 4, 250, 251, 252, 253}}));
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->format, PF_RGBA8888);
    EXPECT_EQ(Pixels(rgba), (std::vector<uint32_t>{0x04010203, 0xFDFAFBFC}));
}

TEST_F(PNGLoading, PalettesExpandWithAndWithoutTransparency)
{
    PNGPicture pal = Picture(3, 2, 8, PNG_COLOR_TYPE_PALETTE, {{0, 1, 2}, {2, 1, 0}});
    pal.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    auto opaque = Load(pal);
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->format, PF_RGB888);
    EXPECT_EQ(Pixels(opaque), (std::vector<uint32_t>{0xFF0A141E, 0xFF28323C, 0xFF46505A,  //
                                                     0xFF46505A, 0xFF28323C, 0xFF0A141E}));

    pal.paletteAlpha = {0, 128}; // the third entry has no alpha given: opaque
    auto clear = Load(pal);
    ASSERT_TRUE(clear);
    EXPECT_EQ(clear->format, PF_RGBA8888);
    EXPECT_EQ(Pixels(clear), (std::vector<uint32_t>{0x000A141E, 0x8028323C, 0xFF46505A,  //
                                                    0xFF46505A, 0x8028323C, 0x000A141E}));

    PNGPicture small = Picture(4, 1, 2, PNG_COLOR_TYPE_PALETTE, {{0b00011011}});
    small.palette = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}};
    auto packed = Load(small);
    ASSERT_TRUE(packed);
    EXPECT_EQ(Pixels(packed), (std::vector<uint32_t>{0xFF010101, 0xFF020202, 0xFF030303, 0xFF040404}));
}

TEST_F(PNGLoading, SixteenBitSamplesKeepTheirHighByte)
{
    auto rgb = Load(Picture(1, 1, 16, PNG_COLOR_TYPE_RGB, {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x01}}));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->format, PF_RGB888);
    EXPECT_EQ(rgb->ReadPixel(0, 0), 0xFF12ABFFu);

    auto ga = Load(Picture(2, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, {{0xC8, 0x99, 0x32, 0x01, 0x00, 0xFF, 0xFF, 0xFF}}));
    ASSERT_TRUE(ga);
    EXPECT_EQ(ga->format, PF_RGBA8888);
    EXPECT_EQ(Pixels(ga), (std::vector<uint32_t>{0x32C8C8C8, 0xFF000000}));
}

TEST_F(PNGLoading, LowBitDepthGreyScalesToEightBits)
{
    auto one = Load(Picture(10, 1, 1, PNG_COLOR_TYPE_GRAY, {{0b10110000, 0b01000000}}));
    ASSERT_TRUE(one);
    EXPECT_EQ(one->format, PF_I8);
    std::vector<int> ones;
    for (int x = 0; x < 10; ++x)
        ones.push_back(one->pixels[x]);
    EXPECT_EQ(ones, (std::vector<int>{255, 0, 255, 255, 0, 0, 0, 0, 0, 255}));

    auto two = Load(Picture(4, 1, 2, PNG_COLOR_TYPE_GRAY, {{0b00011011}}));
    ASSERT_TRUE(two);
    EXPECT_EQ(std::vector<uint8_t>(two->pixels, two->pixels + 4), (std::vector<uint8_t>{0, 85, 170, 255}));

    auto four = Load(Picture(3, 1, 4, PNG_COLOR_TYPE_GRAY, {{0x0F, 0x70}}));
    ASSERT_TRUE(four);
    EXPECT_EQ(std::vector<uint8_t>(four->pixels, four->pixels + 3), (std::vector<uint8_t>{0, 255, 119}));
}

TEST_F(PNGLoading, TransparentColourBecomesAlpha)
{
    PNGPicture grey = Picture(3, 1, 8, PNG_COLOR_TYPE_GRAY, {{7, 8, 7}});
    grey.hasTransparentColour = true;
    grey.transparentColour.gray = 7;
    auto g = Load(grey);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->format, PF_RGBA8888);
    EXPECT_EQ(Pixels(g), (std::vector<uint32_t>{0x00070707, 0xFF080808, 0x00070707}));

    PNGPicture rgb = Picture(2, 1, 8, PNG_COLOR_TYPE_RGB, {{1, 2, 3, 1, 2, 4}});
    rgb.hasTransparentColour = true;
    rgb.transparentColour.red = 1, rgb.transparentColour.green = 2, rgb.transparentColour.blue = 3;
    auto c = Load(rgb);
    ASSERT_TRUE(c);
    EXPECT_EQ(Pixels(c), (std::vector<uint32_t>{0x00010203, 0xFF010204}));
}

TEST_F(PNGLoading, InterlacedMatchesProgressive)
{
    PNGPicture picture = Rgb(11, 9);
    auto plain = Load(picture);
    picture.interlaced = true;
    auto interlaced = Load(picture);
    ASSERT_TRUE(plain);
    ASSERT_TRUE(interlaced);
    EXPECT_EQ(Pixels(interlaced), Pixels(plain));
    const auto sample = [](int x, int y) { return uint32_t((y * 37 + x * 11 + 1) & 255); };
    EXPECT_EQ(plain->ReadPixel(10, 8), 0xFF000000u | sample(30, 8) << 16 | sample(31, 8) << 8 | sample(32, 8));
}

TEST_F(PNGLoading, SidesUpToTheLimitLoadLargerHeadersAreRefused)
{
    auto wide = Load(Picture(PNGMaxSide, 1, 8, PNG_COLOR_TYPE_GRAY, {std::vector<uint8_t>(PNGMaxSide, 9)}));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->width, PNGMaxSide);
    EXPECT_EQ(wide->pixels[PNGMaxSide - 1], 9);

    // Complete, valid pictures one pixel beyond the limit are refused too.
    EXPECT_EQ(Load(Picture(PNGMaxSide + 1, 1, 8, PNG_COLOR_TYPE_GRAY, {std::vector<uint8_t>(PNGMaxSide + 1)})),
              nullptr);
    EXPECT_EQ(Load(Picture(1, PNGMaxSide + 1, 1, PNG_COLOR_TYPE_GRAY,
                           std::vector<std::vector<uint8_t>>(PNGMaxSide + 1, std::vector<uint8_t>(1)))),
              nullptr);

    const auto small = EncodePNG(Rgb(4, 4));
    const size_t ihdr = FindChunk(small, "IHDR");
    ASSERT_NE(ihdr, 0u);
    const uint32_t sizes[][2] = {{PNGMaxSide + 1, 4}, {4, PNGMaxSide + 1}, {0x7FFFFFFF, 0x7FFFFFFF},
                                 {100000, 100000}, {0, 4}, {PNGMaxSide, PNGMaxSide}};
    for (const auto& size : sizes) {
        auto bytes = small;
        pngfile_detail::PutBe32(&bytes[ihdr + 8], size[0]);
        pngfile_detail::PutBe32(&bytes[ihdr + 12], size[1]);
        FixChunkCrc(bytes, ihdr);
        EXPECT_EQ(LoadBytes(bytes), nullptr) << size[0] << " x " << size[1];
    }
}

TEST_F(PNGLoading, PicturesBeyondTheDecodedBudgetAreRefused)
{
    // Complete, valid grey pictures of one shade: deflate packs them small (a bomb in miniature),
    // 8192 by 8192 decodes to exactly the budget and one row more is refused.
    const int side = 8192;
    ASSERT_EQ(int64_t{side} * side, PNGMaxDecodedBytes);
    std::vector<std::vector<uint8_t>> rows(side + 1, std::vector<uint8_t>(side, 0x55));
    const auto over = EncodePNG(Picture(side, side + 1, 8, PNG_COLOR_TYPE_GRAY, rows));
    EXPECT_LT(over.size(), size_t{1} << 20);
    EXPECT_EQ(LoadBytes(over), nullptr);
    rows.pop_back();
    auto fits = LoadBytes(EncodePNG(Picture(side, side, 8, PNG_COLOR_TYPE_GRAY, rows)));
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(fits->pixels[int64_t{side} * side - 1], 0x55);
}

TEST_F(PNGLoading, PicturesCompressedAsFarAsDeflateGoesStillLoad)
{
    // Files shorter than their pixels can be packed are refused unread; this one is about as
    // short as deflate makes them and must not be.
    const int side = 2048;
    const auto bytes = EncodePNG(Picture(side, side, 8, PNG_COLOR_TYPE_GRAY,
                                         std::vector<std::vector<uint8_t>>(side, std::vector<uint8_t>(side))));
    EXPECT_LT(bytes.size(), size_t(side) * side / 900);
    auto p = LoadBytes(bytes);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->ReadPixel(side - 1, side - 1), 0xFF000000u);
}

TEST_F(PNGLoading, AncillaryChunksAreSkippedWhateverLengthTheyClaim)
{
    const auto good = EncodePNG(Rgb(4, 4));
    const auto expected = Pixels(LoadBytes(good));
    auto annotated = good;
    const std::string text = std::string("Title") + '\0' + "Brimstrand";
    InsertChunk(annotated, FindChunk(good, "IDAT"), "tEXt", std::vector<uint8_t>(text.begin(), text.end()));
    InsertChunk(annotated, FindChunk(annotated, "IDAT"), "gAMA", {0, 0, 0xB1, 0x8F});
    InsertChunk(annotated, FindChunk(annotated, "IDAT"), "prVt", {1, 2, 3});
    auto p = LoadBytes(annotated);
    ASSERT_TRUE(p);
    EXPECT_EQ(Pixels(p), expected);

    // A text chunk claiming almost 2 GB, followed by a few bytes.
    auto boastful = good;
    InsertChunk(boastful, FindChunk(good, "IDAT"), "iTXt", {'x', 0, 0, 0}, 0x74494D45);
    EXPECT_EQ(LoadBytes(boastful), nullptr);
}

TEST_F(PNGLoading, BrokenFilesGiveNoneAndCloseEverything)
{
    const auto good = EncodePNG(Rgb(16, 16));
    ASSERT_TRUE(LoadBytes(good));
    const int filesBefore = OpenFiles();

    std::vector<std::pair<std::string, std::vector<uint8_t>>> broken;
    broken.push_back({"empty", {}});
    broken.push_back({"text", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', '\n'}});
    broken.push_back({"short signature", {good.begin(), good.begin() + 7}});
    for (size_t cut : {size_t(8), size_t(20), size_t(33), good.size() / 2, good.size() - 12, good.size() - 1})
        broken.push_back({"cut at " + std::to_string(cut), {good.begin(), good.begin() + cut}});

    auto badIhdrCrc = good;
    badIhdrCrc[FindChunk(good, "IHDR") + 8 + 13] ^= 0x55;
    broken.push_back({"IHDR CRC", badIhdrCrc});

    const size_t idat = FindChunk(good, "IDAT");
    ASSERT_NE(idat, 0u);
    const uint32_t idatLength = pngfile_detail::Be32(&good[idat]);
    auto badIdatCrc = good;
    badIdatCrc[idat + 8 + idatLength] ^= 0x01;
    broken.push_back({"IDAT CRC", badIdatCrc});

    auto garbage = good;
    for (uint32_t i = 0; i < idatLength; ++i)
        garbage[idat + 8 + i] = static_cast<uint8_t>(0xA5 ^ i * 7);
    FixChunkCrc(garbage, idat);
    broken.push_back({"garbage IDAT", garbage});

    auto shortData = good; // a valid zlib stream that ends far too early
    const uint8_t tinyStream[] = {0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01};
    std::copy(std::begin(tinyStream), std::end(tinyStream), shortData.begin() + idat + 8);
    shortData.erase(shortData.begin() + idat + 8 + sizeof tinyStream, shortData.begin() + idat + 8 + idatLength);
    pngfile_detail::PutBe32(&shortData[idat], sizeof tinyStream);
    FixChunkCrc(shortData, idat);
    broken.push_back({"short IDAT", shortData});

    for (const auto& [name, bytes] : broken)
        EXPECT_EQ(LoadBytes(bytes), nullptr) << name;
    EXPECT_EQ(OpenFiles(), filesBefore);
}
