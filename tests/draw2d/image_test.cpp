#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/imageframe.h"
#include "draw2d/nulldraw2d.h"
#include "draw2d/pixmap.h"
#include "glwindow.h"
#include "pngfile.h"

namespace {

// Puts the module settings back so tests do not leak them into each other.
class ImageTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetAutoImageFlags(ImageFlagMasked | ImageFlagFiltered);
        SetMaskColor(0, 0, 0);
        SetAutoMidHandle(0);
    }
    // Named as the game names its files, with a backslash before the file name.
    std::string Write(const std::string& name, const PNGPicture& picture)
    {
        dir_.Write(name, EncodePNG(picture));
        return dir_.path.string() + "\\" + name;
    }

    ScratchDir dir_{"brim_image"};
};

PNGPicture RgbaPicture(int w, int h, uint32_t (*colour)(int x, int y))
{
    PNGPicture p;
    p.width = w, p.height = h, p.colourType = PNG_COLOR_TYPE_RGBA;
    p.rows.resize(h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colour(x, y);
            p.rows[y].insert(p.rows[y].end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(c >> 24)});
        }
    }
    return p;
}

PNGPicture RgbPicture(int w, int h, std::vector<uint8_t> bytes)
{
    PNGPicture p;
    p.width = w, p.height = h, p.colourType = PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < h; ++y)
        p.rows.emplace_back(bytes.begin() + y * w * 3, bytes.begin() + (y + 1) * w * 3);
    return p;
}

// Cell (x / 10, y / 8) of a points strip, with the position inside the cell in the blue channel.
uint32_t PointsColour(int x, int y)
{
    const int cell = y / 8 * 10 + x / 10;
    return 0xFF000000u | uint32_t(cell * 10) << 16 | uint32_t(y % 8 * 10 + x % 10);
}

} // namespace

TEST_F(ImageTest, PointsStripCutsSeventeenCellsRowByRow)
{
    auto strip = LoadAnimStrip(Write("points.png", RgbaPicture(100, 16, PointsColour)), 10, 8, 0, 17, -1);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->width, 10);
    EXPECT_EQ(strip->height, 8);
    ASSERT_EQ(strip->pixmaps.size(), 17u);
    EXPECT_EQ(strip->frames.size(), 17u);
    EXPECT_EQ(strip->seqs, std::vector<int32_t>(17, 0));
    for (int frame = 0; frame < 17; ++frame) {
        const auto& p = strip->pixmaps[frame];
        ASSERT_TRUE(p);
        EXPECT_EQ(p->width, 10);
        EXPECT_EQ(p->height, 8);
        EXPECT_GE(p->capacity, 0) << "a copy, not a window on the strip";
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(p->ReadPixel(x, y), 0xFF000000u | uint32_t(frame * 10) << 16 | uint32_t(y * 10 + x))
                    << "frame " << frame;
    }

    auto later = LoadAnimStrip(Write("points.png", RgbaPicture(100, 16, PointsColour)), 10, 8, 12, 8, -1);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->pixmaps[0]->ReadPixel(0, 0) >> 16 & 255, 120u);
    EXPECT_EQ(later->pixmaps[7]->ReadPixel(0, 0) >> 16 & 255, 190u);
}

TEST_F(ImageTest, StripsAskingForMoreCellsThanThePictureHoldsAreRefused)
{
    const std::string narrow = Write("narrow.png", RgbaPicture(80, 16, PointsColour));
    EXPECT_EQ(LoadAnimStrip(narrow, 10, 8, 0, 17, -1), nullptr);
    EXPECT_TRUE(LoadAnimStrip(narrow, 10, 8, 0, 16, -1));
    EXPECT_EQ(LoadAnimStrip(narrow, 10, 8, 1, 16, -1), nullptr);
    EXPECT_EQ(LoadAnimStrip(narrow, 0, 8, 0, 1, -1), nullptr);
    EXPECT_EQ(LoadAnimStrip(narrow, 10, -8, 0, 1, -1), nullptr);
    EXPECT_EQ(LoadAnimStrip(narrow, 10, 8, -1, 2, -1), nullptr);
    EXPECT_EQ(LoadAnimStrip(narrow, 10, 8, 2, -1, -1), nullptr);
    EXPECT_EQ(LoadAnimStrip(narrow, 10, 8, 2147483647, 2, -1), nullptr);
    EXPECT_EQ(LoadAnimStrip(narrow, 81, 8, 0, 1, -1), nullptr);
    EXPECT_EQ(LoadAnimStrip(dir_.path.string() + "\\missing.png", 10, 8, 0, 1, -1), nullptr);
}

TEST_F(ImageTest, MaskedRgbBlackTurnsClearWithNeighbourColour)
{
    // 3 by 2: black in the middle of the top row.
    const std::string path = Write("masked.png", RgbPicture(3, 2, {30, 60, 90, 0, 0, 0, 90, 120, 150,  //
                                                             0, 0, 0, 60, 0, 30, 0, 0, 1}));
    auto image = LoadImageFile(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->flags, ImageFlagMasked | ImageFlagFiltered);
    const auto& p = image->pixmaps[0];
    EXPECT_EQ(p->format, PF_RGBA8888);
    EXPECT_EQ(p->ReadPixel(0, 0), 0xFF1E3C5Au);
    // (30+90+60+0, 60+120+0+0, 90+150+30+1) / 4 unmasked neighbours, the near-black one included.
    EXPECT_EQ(p->ReadPixel(1, 0), uint32_t(180 / 4) << 16 | uint32_t(180 / 4) << 8 | uint32_t(271 / 4));
    EXPECT_EQ(p->ReadPixel(0, 1), uint32_t(90 / 2) << 16 | uint32_t(60 / 2) << 8 | uint32_t(120 / 2));
    EXPECT_EQ(p->ReadPixel(2, 1), 0xFF000001u);

    auto plain = LoadImageFile(path, ImageFlagFiltered);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->pixmaps[0]->format, PF_RGB888);
    EXPECT_EQ(plain->pixmaps[0]->ReadPixel(1, 0), 0xFF000000u);

    SetMaskColor(60, 0, 30);
    auto other = LoadImageFile(path);
    EXPECT_EQ(other->mask_r, 60);
    EXPECT_EQ(other->pixmaps[0]->ReadPixel(1, 0), 0xFF000000u);
    EXPECT_EQ(other->pixmaps[0]->ReadPixel(1, 1) >> 24, 0u);
}

TEST_F(ImageTest, PicturesWithAlphaAreNotMasked)
{
    auto rgba = LoadImageFile(Write("alpha.png", RgbaPicture(2, 1, [](int x, int) { return x ? 0x80000000u : 0xFF000000u; })));
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->pixmaps[0]->ReadPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(rgba->pixmaps[0]->ReadPixel(1, 0), 0x80000000u);

    PNGPicture greyAlpha;
    greyAlpha.width = 2, greyAlpha.height = 1, greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {{200, 50, 0, 255}};
    auto ga = LoadImageFile(Write("greyalpha.png", greyAlpha));
    ASSERT_TRUE(ga);
    EXPECT_EQ(ga->pixmaps[0]->ReadPixel(0, 0), 0x32C8C8C8u);
    EXPECT_EQ(ga->pixmaps[0]->ReadPixel(1, 0), 0xFF000000u);

    PNGPicture grey; // intensity has no alpha: masked
    grey.width = 2, grey.height = 1, grey.colourType = PNG_COLOR_TYPE_GRAY;
    grey.rows = {{0, 40}};
    auto g = LoadImageFile(Write("grey.png", grey));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->pixmaps[0]->ReadPixel(0, 0), 0x00282828u);
}

TEST_F(ImageTest, HandlesAndSizes)
{
    auto image = TImage::Create(17, 9, 1, 0, 0, 0, 0);
    EXPECT_EQ(image->handle_x, 0);
    CentreImageHandle(image);
    EXPECT_FLOAT_EQ(image->handle_x, 8.5f);
    EXPECT_FLOAT_EQ(image->handle_y, 4.5f);
    SetImageHandle(image, 3, -2);
    EXPECT_FLOAT_EQ(image->handle_x, 3);
    EXPECT_FLOAT_EQ(image->handle_y, -2);
    EXPECT_EQ(ImageWidth(image), 17);
    EXPECT_EQ(ImageHeight(image), 9);

    std::shared_ptr<TImage> none;
    CentreImageHandle(none);
    SetImageHandle(none, 1, 1);
    EXPECT_EQ(ImageWidth(none), 0);
    EXPECT_EQ(ImageHeight(none), 0);

    const std::string path = Write("odd.png", RgbaPicture(17, 9, [](int, int) { return 0xFFFFFFFFu; }));
    EXPECT_EQ(LoadImageFile(path)->handle_x, 0);
    SetAutoMidHandle(1);
    auto centred = LoadImageFile(path);
    EXPECT_FLOAT_EQ(centred->handle_x, 8.5f);
    EXPECT_FLOAT_EQ(centred->handle_y, 4.5f);
    EXPECT_FLOAT_EQ(LoadAnimStrip(path, 4, 3, 0, 2)->handle_x, 2.0f);
}

TEST_F(ImageTest, AutomaticFlagsApplyUnlessGivenAndMinusOneKeepsThem)
{
    const std::string path = Write("flags.png", RgbaPicture(2, 2, [](int, int) { return 0xFF102030u; }));
    EXPECT_EQ(LoadImageFile(path)->flags, ImageFlagMasked | ImageFlagFiltered);
    SetAutoImageFlags(ImageFlagFiltered | ImageFlagMipmapped);
    SetAutoImageFlags(-1);
    EXPECT_EQ(LoadImageFile(path)->flags, ImageFlagFiltered | ImageFlagMipmapped);
    EXPECT_EQ(LoadAnimStrip(path, 1, 1, 0, 4)->flags, ImageFlagFiltered | ImageFlagMipmapped);
    EXPECT_EQ(LoadImageFile(path, 0)->flags, 0);
    SetAutoImageFlags(0);
    EXPECT_EQ(LoadImageFile(path)->flags, 0);
}

TEST_F(ImageTest, LoadsFromPixmapsAndRefusesMissingOrBrokenFiles)
{
    auto pixmap = CreatePixmap(3, 2, PF_RGBA8888);
    pixmap->ClearPixels(0xFF000000);
    auto image = LoadImageFile(pixmap);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixmaps[0], pixmap);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);

    EXPECT_EQ(LoadImageFile(std::shared_ptr<TPixmap>()), nullptr);
    EXPECT_EQ(LoadImageFile(dir_.path.string() + "\\missing.png"), nullptr);
    dir_.Write("broken.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
    EXPECT_EQ(LoadImageFile(dir_.path.string() + "\\broken.png"), nullptr);
}

TEST_F(ImageTest, LockAndSetPixmapKeepToValidFrames)
{
    auto image = TImage::Create(4, 3, 2, ImageFlagMasked, 0, 0, 0);
    auto locked = image->Lock(1, 1, 1);
    ASSERT_TRUE(locked);
    EXPECT_EQ(locked->format, PF_RGBA8888);
    EXPECT_EQ(locked->width, 4);
    EXPECT_EQ(locked->height, 3);
    EXPECT_EQ(locked->ReadPixel(3, 2), 0u);
    EXPECT_EQ(image->Lock(1, 1, 0), locked);
    EXPECT_EQ(image->pixmaps[0], nullptr);

    EXPECT_EQ(image->Lock(2, 1, 1), nullptr);
    EXPECT_EQ(image->Lock(-1, 1, 0), nullptr);
    auto rgb = CreatePixmap(4, 3, PF_RGB888);
    rgb->ClearPixels(0xFF000000);
    image->SetPixmap(2, rgb);
    image->SetPixmap(-1, rgb);
    EXPECT_EQ(image->pixmaps.size(), 2u);
    EXPECT_EQ(image->pixmaps[1], locked);

    image->SetPixmap(0, rgb); // masked on the way in
    EXPECT_EQ(image->pixmaps[0]->format, PF_RGBA8888);
    EXPECT_EQ(image->pixmaps[0]->ReadPixel(3, 2), 0u);
    image->SetPixmap(0, nullptr);
    EXPECT_EQ(image->pixmaps[0], nullptr);

    auto empty = TImage::Create(4, 3, -5, 0, 0, 0, 0);
    EXPECT_TRUE(empty->pixmaps.empty());
    EXPECT_EQ(empty->Lock(0, 1, 0), nullptr);
}

// ---- driver frames ----

namespace {

class TRecordingFrame : public TImageFrame {
public:
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy, float sw,
              float sh) override
    {
        draws.push_back({x0, y0, x1, y1, tx, ty, sx, sy, sw, sh});
    }
    std::vector<std::vector<float>> draws;
};

// Makes recording frames, or none while failing; draws nothing itself.
class TRecordingDriver : public TNullDraw2DDriver {
public:
    std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap,
                                                       int32_t flags) override
    {
        requests.push_back({pixmap, flags});
        if (failing)
            return nullptr;
        made.push_back(std::make_shared<TRecordingFrame>());
        return made.back();
    }

    struct Request {
        std::shared_ptr<TPixmap> pixmap;
        int32_t flags;
    };
    std::vector<Request> requests;
    std::vector<std::shared_ptr<TRecordingFrame>> made;
    bool failing = false;
};

class ImageFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetGraphicsDriver(&driver_);
        graphics_ = CreateGraphics(64, 64, 0, 60, 0);
        ASSERT_TRUE(graphics_);
        SetGraphics(graphics_);
        ASSERT_EQ(CurrentDraw2DDriver(), &driver_);
        image_ = TImage::Create(2, 2, 3, ImageFlagFiltered | ImageFlagMipmapped, 0, 0, 0);
    }
    void TearDown() override
    {
        SetGraphics(nullptr);
        SetGraphicsDriver(nullptr);
    }
    // What the graphics module does when graphics are reopened or the driver changes.
    void MoveSequenceOn()
    {
        SetGraphicsDriver(&driver_);
        SetGraphics(graphics_);
    }

    TRecordingDriver driver_;
    std::shared_ptr<TGraphics> graphics_;
    std::shared_ptr<TImage> image_;
};

} // namespace

TEST_F(ImageFrames, BuiltOnFirstUseThenCached)
{
    auto frame = image_->Frame(1);
    ASSERT_TRUE(frame);
    ASSERT_EQ(driver_.requests.size(), 1u);
    EXPECT_EQ(driver_.requests[0].pixmap, image_->pixmaps[1]);
    EXPECT_EQ(driver_.requests[0].pixmap->width, 2);
    EXPECT_EQ(driver_.requests[0].flags, ImageFlagFiltered | ImageFlagMipmapped);
    EXPECT_EQ(image_->seqs[1], GraphicsSeq());
    EXPECT_EQ(image_->Frame(1), frame);
    EXPECT_EQ(driver_.requests.size(), 1u);
    EXPECT_EQ(image_->frames[0], nullptr);
}

TEST_F(ImageFrames, RebuiltAfterTheSequenceNumberMoves)
{
    auto before = image_->Frame(0);
    const int32_t seq = GraphicsSeq();
    MoveSequenceOn();
    ASSERT_NE(GraphicsSeq(), seq);
    auto after = image_->Frame(0);
    ASSERT_TRUE(after);
    EXPECT_NE(after, before);
    EXPECT_EQ(driver_.requests.size(), 2u);
    EXPECT_EQ(image_->seqs[0], GraphicsSeq());
    EXPECT_EQ(image_->Frame(0), after);
    EXPECT_EQ(driver_.requests.size(), 2u);
}

TEST_F(ImageFrames, RetriedAfterAFailedFrame)
{
    driver_.failing = true;
    EXPECT_EQ(image_->Frame(2), nullptr);
    EXPECT_EQ(image_->seqs[2], 0);
    EXPECT_EQ(image_->Frame(2), nullptr);
    EXPECT_EQ(driver_.requests.size(), 2u);
    driver_.failing = false;
    auto frame = image_->Frame(2);
    ASSERT_TRUE(frame);
    EXPECT_EQ(image_->Frame(2), frame);
    EXPECT_EQ(driver_.requests.size(), 3u);
}

TEST_F(ImageFrames, ChangedPixelsRebuildTheFrame)
{
    auto first = image_->Frame(0);
    image_->Lock(0, 1, 0);
    EXPECT_EQ(image_->Frame(0), first);
    image_->Lock(0, 1, 1)->ClearPixels(0xFFFFFFFF);
    auto second = image_->Frame(0);
    EXPECT_NE(second, first);
    image_->SetPixmap(0, CreatePixmap(2, 2, PF_I8));
    EXPECT_NE(image_->Frame(0), second);
    EXPECT_EQ(driver_.requests.size(), 3u);
    EXPECT_EQ(driver_.requests[2].pixmap->format, PF_I8); // not masked: the image has no mask flag
}

TEST_F(ImageFrames, BadIndicesAndNoDriverGiveNoneAndDrawNothing)
{
    EXPECT_EQ(image_->Frame(-1), nullptr);
    EXPECT_EQ(image_->Frame(3), nullptr);
    EXPECT_TRUE(driver_.requests.empty());

    DrawImage(image_, 10, 20, 3);
    DrawImage(image_, 10, 20, -1);
    EXPECT_TRUE(driver_.requests.empty());
    DrawImage(image_, 10, 20, 0);
    ASSERT_EQ(driver_.made.size(), 1u);
    EXPECT_EQ(driver_.made[0]->draws.size(), 1u);

    SetGraphics(nullptr);
    ASSERT_EQ(CurrentDraw2DDriver(), nullptr);
    EXPECT_EQ(image_->Frame(1), nullptr);
    SetGraphics(graphics_);
    EXPECT_TRUE(image_->Frame(1));
}

// ---- on a real GL surface ----

namespace {

class ImageOnScreen : public GLWindowTest {
protected:
    std::string Write(const std::string& name, const PNGPicture& picture)
    {
        return dir_.Write(name, EncodePNG(picture));
    }

    ScratchDir dir_{"brim_image_gl"};
};

} // namespace

TEST_F(ImageOnScreen, MaskedBlackLeavesTheBackgroundAndStripFramesShowTheirCells)
{
    SetClsColor(0, 0, 255);
    Cls();
    SetBlend(BlendMask);
    SetScale(8, 8);

    auto masked = LoadImageFile(Write("masked.png", RgbPicture(2, 1, {0, 0, 0, 255, 0, 0})), ImageFlagMasked);
    ASSERT_TRUE(masked);
    DrawImage(masked, 0, 0);
    EXPECT_EQ(Rgb(4, 4), 0x0000FFu);
    EXPECT_EQ(Rgb(12, 4), 0xFF0000u);

    // Four 2 by 1 cells in a 4 by 2 picture; cell c is grey 60 * (c + 1).
    auto strip = LoadAnimStrip(Write("strip.png", RgbaPicture(4, 2, [](int x, int y) {
                                   const uint32_t grey = 60 * (y * 2 + x / 2 + 1);
                                   return 0xFF000000u | grey * 0x010101u;
                               })),
                               2, 1, 0, 4, 0);
    ASSERT_TRUE(strip);
    for (int frame = 0; frame < 4; ++frame)
        DrawImage(strip, 100 + 20 * frame, 100, frame);
    DrawImage(strip, 200, 100, 4); // no such frame: nothing drawn
    for (int frame = 0; frame < 4; ++frame)
        EXPECT_EQ(Rgb(100 + 20 * frame + 12, 104), 60u * (frame + 1) * 0x010101u) << "frame " << frame;
    EXPECT_EQ(Rgb(204, 104), 0x0000FFu);
}

TEST_F(ImageFrames, ReleasedFramesAreMadeAgainFromThePixmapsOnTheNextDraw)
{
    EXPECT_FALSE(image_->HoldsFrames());
    ASSERT_TRUE(image_->Frame(0));
    ASSERT_TRUE(image_->Frame(2));
    EXPECT_TRUE(image_->HoldsFrames());
    image_->ReleaseFrames();
    EXPECT_FALSE(image_->HoldsFrames());
    EXPECT_EQ(image_->seqs[0], 0);
    ASSERT_TRUE(image_->Frame(0));
    ASSERT_EQ(driver_.requests.size(), 3u);
    EXPECT_EQ(driver_.requests[2].pixmap, image_->pixmaps[0]) << "the same pixels as before";
}
