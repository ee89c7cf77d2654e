#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "draw2d/pixmap.h"
#include "draw2d/pngloader.h"
#include "system/stream.h"

namespace {

const int32_t kFormats[] = {PF_I8, PF_A8, PF_BGR888, PF_RGB888, PF_BGRA8888, PF_RGBA8888};

// What reading back a pixel gives after argb was stored in a layout, written out per layout.
uint32_t Stored(int32_t format, uint32_t argb)
{
    const uint32_t a = argb >> 24, r = argb >> 16 & 255, g = argb >> 8 & 255, b = argb & 255;
    switch (format) {
    case PF_I8: {
        const uint32_t v = (r + g + b) / 3;
        return 0xFF000000u | v << 16 | v << 8 | v;
    }
    case PF_A8: return a << 24 | 0xFFFFFFu;
    case PF_BGR888:
    case PF_RGB888: return 0xFF000000u | (argb & 0xFFFFFFu);
    default: return argb;
    }
}

std::shared_ptr<TPixmap> Filled(int w, int h, int32_t format, uint32_t seed)
{
    auto p = CreatePixmap(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y, seed + 0x01030507u * (y * w + x));
    return p;
}

// The red channel of every pixel, row by row.
std::vector<int> Reds(const std::shared_ptr<TPixmap>& p)
{
    std::vector<int> reds;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x)
            reds.push_back(p->ReadPixel(x, y) >> 16 & 255);
    return reds;
}

} // namespace

TEST(Pixmap, CreateAlignsRowsAndOwnsItsMemory)
{
    auto p = CreatePixmap(5, 3, PF_RGB888);
    EXPECT_EQ(p->pitch, 16);
    EXPECT_EQ(p->capacity, 48);
    EXPECT_EQ(TPixmap::Create(5, 3, PF_RGB888, 1)->pitch, 15);
    EXPECT_EQ(TPixmap::Create(5, 3, PF_RGB888, 8)->pitch, 16);
    EXPECT_EQ(TPixmap::Create(3, 2, PF_I8)->pitch, 4);
    EXPECT_EQ(TPixmap::Create(0, 0, PF_RGBA8888)->capacity, 0);
    EXPECT_EQ(p->PixelPtr(2, 1), p->pixels + 16 + 6);
    EXPECT_EQ(std::vector<uint8_t>(p->pixels, p->pixels + p->capacity), std::vector<uint8_t>(48, 0));

    uint8_t memory[8] = {};
    auto view = TPixmap::CreateStatic(memory, 2, 1, 8, PF_RGBA8888);
    EXPECT_EQ(view->capacity, -1);
    view->WritePixel(1, 0, 0x11223344);
    EXPECT_EQ(memory[4], 0x22);
    EXPECT_EQ(memory[7], 0x11);
}

TEST(Pixmap, CreateRefusesImpossibleSizes)
{
    EXPECT_THROW(CreatePixmap(-1, 4, PF_I8), TRuntimeError);
    EXPECT_THROW(CreatePixmap(4, 4, 7), TRuntimeError);
    EXPECT_THROW(CreatePixmap(40000, 40000, PF_RGBA8888), TRuntimeError);
}

TEST(Pixmap, EachLayoutStoresItsBytesAndReadsBackArgb)
{
    const uint32_t argb = 0x80306090; // a 0x80, r 0x30, g 0x60, b 0x90
    struct Case {
        int32_t format;
        std::vector<uint8_t> bytes;
        uint32_t read;
    } cases[] = {
        {PF_I8, {0x60}, 0xFF606060},
        {PF_A8, {0x80}, 0x80FFFFFF},
        {PF_BGR888, {0x90, 0x60, 0x30}, 0xFF306090},
        {PF_RGB888, {0x30, 0x60, 0x90}, 0xFF306090},
        {PF_BGRA8888, {0x90, 0x60, 0x30, 0x80}, 0x80306090},
        {PF_RGBA8888, {0x30, 0x60, 0x90, 0x80}, 0x80306090},
    };
    for (const auto& c : cases) {
        auto p = CreatePixmap(2, 2, c.format);
        p->WritePixel(1, 1, argb);
        EXPECT_EQ(std::vector<uint8_t>(p->PixelPtr(1, 1), p->PixelPtr(1, 1) + c.bytes.size()), c.bytes)
            << "format " << c.format;
        EXPECT_EQ(p->ReadPixel(1, 1), c.read) << "format " << c.format;
    }
    // Intensity is the truncated mean of the three colours.
    auto grey = CreatePixmap(1, 1, PF_I8);
    grey->WritePixel(0, 0, 0xFF010102);
    EXPECT_EQ(grey->ReadPixel(0, 0), 0xFF010101u);
}

TEST(Pixmap, ConvertsBetweenAllLayouts)
{
    for (int32_t from : kFormats) {
        auto source = Filled(7, 3, from, 0x80C04020);
        for (int32_t to : kFormats) {
            auto converted = source->Convert(to);
            ASSERT_EQ(converted->format, to);
            ASSERT_EQ(converted->width, 7);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 7; ++x)
                    ASSERT_EQ(converted->ReadPixel(x, y), Stored(to, source->ReadPixel(x, y)))
                        << from << " -> " << to << " at " << x << "," << y;
            // Back again: layouts that keep every channel of the source lose nothing.
            auto back = converted->Convert(from);
            if (BytesPerPixel(to) >= BytesPerPixel(from) && from != PF_A8 && to != PF_A8 && to != PF_I8) {
                for (int x = 0; x < 7; ++x)
                    ASSERT_EQ(back->ReadPixel(x, 2), source->ReadPixel(x, 2)) << from << " <-> " << to;
            }
        }
    }
}

TEST(Pixmap, WindowWritesThroughToItsParentAndKeepsItAlive)
{
    auto parent = Filled(8, 6, PF_RGB888, 0xFF000000);
    auto window = parent->Window(2, 1, 4, 3);
    EXPECT_EQ(window->capacity, -1);
    EXPECT_EQ(window->pitch, parent->pitch);
    EXPECT_EQ(window->ReadPixel(0, 0), parent->ReadPixel(2, 1));
    window->WritePixel(3, 2, 0xFF123456);
    EXPECT_EQ(parent->ReadPixel(5, 3), 0xFF123456u);
    window->ClearPixels(0xFFABCDEF);
    EXPECT_EQ(parent->ReadPixel(2, 1), 0xFFABCDEFu);
    EXPECT_EQ(parent->ReadPixel(5, 3), 0xFFABCDEFu);
    EXPECT_NE(parent->ReadPixel(1, 1), 0xFFABCDEFu);
    EXPECT_NE(parent->ReadPixel(6, 1), 0xFFABCDEFu);
    EXPECT_NE(parent->ReadPixel(2, 4), 0xFFABCDEFu);

    auto inner = window->Window(1, 1, 2, 2);
    inner->WritePixel(0, 0, 0xFF010203);
    EXPECT_EQ(parent->ReadPixel(3, 2), 0xFF010203u);

    std::weak_ptr<TPixmap> weak = parent;
    parent.reset();
    window.reset();
    ASSERT_FALSE(weak.expired());
    EXPECT_EQ(inner->ReadPixel(0, 0), 0xFF010203u);
    inner.reset();
    EXPECT_TRUE(weak.expired());
}

TEST(Pixmap, CopyIsIndependentAndPasteConverts)
{
    auto source = Filled(4, 3, PF_BGRA8888, 0x11223344);
    auto copy = source->Copy();
    EXPECT_EQ(copy->format, PF_BGRA8888);
    EXPECT_GE(copy->capacity, 0);
    copy->WritePixel(0, 0, 0);
    EXPECT_EQ(source->ReadPixel(0, 0), 0x11223344u);
    EXPECT_EQ(copy->ReadPixel(3, 2), source->ReadPixel(3, 2));

    auto target = CreatePixmap(6, 5, PF_RGB888);
    target->ClearPixels(0xFF000000);
    target->Paste(source, 1, 2);
    EXPECT_EQ(target->ReadPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(target->ReadPixel(1, 2), 0xFF000000u | (source->ReadPixel(0, 0) & 0xFFFFFF));
    EXPECT_EQ(target->ReadPixel(4, 4), 0xFF000000u | (source->ReadPixel(3, 2) & 0xFFFFFF));
    EXPECT_EQ(target->ReadPixel(5, 4), 0xFF000000u);
}

TEST(Pixmap, ClearPixelsFillsRowsAndLeavesPadding)
{
    auto padded = CreatePixmap(5, 2, PF_RGB888); // 15 bytes of pixels in a 16-byte row
    std::memset(padded->pixels, 0x5A, padded->capacity);
    padded->ClearPixels(0);
    EXPECT_EQ(padded->ReadPixel(4, 1), 0xFF000000u);
    EXPECT_EQ(padded->pixels[15], 0x5A);
    padded->ClearPixels(0x80102030);
    EXPECT_EQ(padded->ReadPixel(0, 0), 0xFF102030u);
    EXPECT_EQ(padded->ReadPixel(4, 1), 0xFF102030u);
    EXPECT_EQ(padded->pixels[31], 0x5A);

    auto dense = CreatePixmap(3, 3, PF_RGBA8888);
    std::memset(dense->pixels, 0x5A, dense->capacity);
    dense->ClearPixels(0);
    EXPECT_EQ(std::vector<uint8_t>(dense->pixels, dense->pixels + dense->capacity),
              std::vector<uint8_t>(dense->capacity, 0));
}

TEST(Pixmap, ResizeInterpolatesBilinearlyWithClampedEdges)
{
    // Red channel 0 100 / 200 40, doubled: source positions -0.25 (clamped), 0.25, 0.75, 1.25 (clamped).
    auto p = CreatePixmap(2, 2, PF_RGBA8888);
    p->WritePixel(0, 0, 0xFF000000);
    p->WritePixel(1, 0, 0xFF640000);
    p->WritePixel(0, 1, 0xFFC80000);
    p->WritePixel(1, 1, 0xFF280000);
    auto big = ResizePixmap(p, 4, 4);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->format, PF_RGBA8888);
    EXPECT_EQ(Reds(big), (std::vector<int>{0, 25, 75, 100,      //
                                           50, 58, 76, 85,      // 58.75, 76.25 truncated
                                           150, 126, 78, 55,    // 126.25, 78.75 truncated
                                           200, 160, 80, 40}));
    EXPECT_EQ(big->ReadPixel(2, 2) >> 24, 255u);

    // Halving: positions 0.5 and 2.5 blend neighbours evenly; 35.5 truncates.
    auto row = CreatePixmap(4, 1, PF_RGB888);
    const int reds[] = {10, 20, 30, 41};
    for (int x = 0; x < 4; ++x)
        row->WritePixel(x, 0, 0xFF000000u | reds[x] << 16);
    auto half = ResizePixmap(row, 2, 1);
    EXPECT_EQ(half->format, PF_RGB888);
    EXPECT_EQ(Reds(half), (std::vector<int>{15, 35}));

    EXPECT_EQ(ResizePixmap(p, 0, 3), nullptr);
    EXPECT_EQ(ResizePixmap(CreatePixmap(0, 2, PF_I8), 3, 3), nullptr);
    EXPECT_EQ(ResizePixmap(nullptr, 3, 3), nullptr);
}

TEST(Pixmap, MaskMakesMaskColourTransparentWithNeighbourColour)
{
    const uint32_t colours[3][3] = {
        {0xFF0A141E, 0xFF000000, 0xFF323C46},
        {0xFF000000, 0xFF000000, 0xFF5A646E},
        {0xFFFFFFFF, 0xFF000000, 0xFF010203},
    };
    auto p = CreatePixmap(3, 3, PF_RGB888);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            p->WritePixel(x, y, colours[y][x]);
    auto m = MaskPixmap(p, 0, 0, 0);
    ASSERT_EQ(m->format, PF_RGBA8888);
    EXPECT_EQ(m->ReadPixel(0, 0), 0xFF0A141Eu);
    EXPECT_EQ(m->ReadPixel(2, 2), 0xFF010203u);
    // Centre: five unmasked neighbours, (406, 437, 468) / 5.
    EXPECT_EQ(m->ReadPixel(1, 1), 0x0051575Du);
    // Top edge: three unmasked pixels inside the pixmap, (150, 180, 210) / 3.
    EXPECT_EQ(m->ReadPixel(1, 0), 0x00323C46u);
    // Left edge: (265, 275, 285) / 2.
    EXPECT_EQ(m->ReadPixel(0, 1), 0x0084898Eu);
    // Bottom edge: (346, 357, 368) / 3.
    EXPECT_EQ(m->ReadPixel(1, 2), 0x0073777Au);

    auto black = CreatePixmap(2, 2, PF_I8);
    black->ClearPixels(0xFF000000);
    EXPECT_EQ(MaskPixmap(black, 0, 0, 0)->ReadPixel(1, 1), 0u);

    auto magenta = CreatePixmap(2, 1, PF_BGR888);
    magenta->WritePixel(0, 0, 0xFFFF00FF);
    magenta->WritePixel(1, 0, 0xFF000000);
    auto masked = MaskPixmap(magenta, 255, 0, 255);
    EXPECT_EQ(masked->ReadPixel(0, 0), 0u);
    EXPECT_EQ(masked->ReadPixel(1, 0), 0xFF000000u);
}

TEST(Pixmap, YFlipReversesRows)
{
    auto p = Filled(3, 4, PF_I8, 0xFF000000);
    auto flipped = YFlipPixmap(p);
    EXPECT_EQ(flipped->format, PF_I8);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(flipped->ReadPixel(x, y), p->ReadPixel(x, 3 - y));
}

// ---- loader chain ----

namespace {

// Recognises "PIX" followed by one grey byte: a 1 by 1 I8 pixmap.
class TTinyLoader : public TPixmapLoader {
public:
    std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) override
    {
        ++calls;
        uint8_t b[4];
        if (stream->Read(b, 4) != 4 || std::memcmp(b, "PIX", 3) != 0)
            return nullptr;
        auto p = CreatePixmap(1, 1, PF_I8);
        p->pixels[0] = b[3];
        return p;
    }
    int calls = 0;
};

// Tried before the older loaders: consumes data, then fails in the way given.
class TGreedyLoader : public TPixmapLoader {
public:
    enum Outcome { kNone, kOutOfData, kFatal };
    explicit TGreedyLoader(Outcome outcome) : outcome_(outcome) {}
    std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) override
    {
        ++calls;
        stream->ReadByte();
        stream->ReadByte();
        if (outcome_ == kOutOfData)
            stream->SkipBytes(1000);
        if (outcome_ == kFatal)
            throw TRuntimeError("loader broke");
        return nullptr;
    }
    int calls = 0;

private:
    Outcome outcome_;
};

// Counts Close calls so a test can see that a load closed what it opened.
class TCountingStream : public TRamStream {
public:
    using TRamStream::TRamStream;
    int Close() override
    {
        ++closes;
        return 0;
    }
    int closes = 0;
};

std::shared_ptr<TCountingStream> Bytes(const char* text)
{
    return std::make_shared<TCountingStream>(std::vector<uint8_t>(text, text + std::strlen(text)), 1, 0);
}

} // namespace

TEST(PixmapLoaders, NewestFirstEachFromTheStartPosition)
{
    StartPNGLoader();
    TTinyLoader tiny;
    TGreedyLoader greedy(TGreedyLoader::kNone);
    auto stream = Bytes("PIX\x42");
    auto p = LoadPixmap(stream);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->ReadPixel(0, 0), 0xFF424242u);
    EXPECT_EQ(greedy.calls, 1);
    EXPECT_EQ(tiny.calls, 1);
    EXPECT_EQ(stream->closes, 1);

    auto unknown = Bytes("nothing that anyone reads");
    EXPECT_EQ(LoadPixmap(unknown), nullptr);
    EXPECT_EQ(unknown->closes, 1);
}

TEST(PixmapLoaders, StreamErrorsCountAsNoResultOtherErrorsPassThrough)
{
    TTinyLoader tiny;
    {
        TGreedyLoader outOfData(TGreedyLoader::kOutOfData);
        auto stream = Bytes("PIX\x07");
        auto p = LoadPixmap(stream);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->pixels[0], 7);
        EXPECT_EQ(outOfData.calls, 1);
    }
    TGreedyLoader fatal(TGreedyLoader::kFatal);
    auto stream = Bytes("PIX\x07");
    EXPECT_THROW(LoadPixmap(stream), TRuntimeError);
    EXPECT_EQ(stream->closes, 1);
    EXPECT_EQ(tiny.calls, 1);
}

TEST(PixmapLoaders, MissingFileGivesNone)
{
    EXPECT_EQ(LoadPixmap(std::string("no/such/picture.png")), nullptr);
    EXPECT_EQ(LoadPixmap(std::string(".")), nullptr);
    EXPECT_EQ(LoadPixmap(std::shared_ptr<TStream>()), nullptr);
}
