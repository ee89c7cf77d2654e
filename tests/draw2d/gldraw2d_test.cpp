#include <GL/gl.h>

#include <cmath>
#include <limits>
#include <vector>

#include "glwindow.h"
#include "system/error.h"

namespace {

// Counts the GL state calls the driver makes, passing each on to GL.
struct CallCounts {
    int enable = 0, disable = 0, blendFunc = 0, alphaFunc = 0, bindTexture = 0;
    std::vector<GLenum> enabled, disabled;
};
CallCounts counts;

class GLDraw2D : public GLWindowTest {
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        saved = GLStateCalls();
        counts = {};
        GLStateCalls().Enable = [](GLenum cap) {
            ++counts.enable;
            counts.enabled.push_back(cap);
            glEnable(cap);
        };
        GLStateCalls().Disable = [](GLenum cap) {
            ++counts.disable;
            counts.disabled.push_back(cap);
            glDisable(cap);
        };
        GLStateCalls().BlendFunc = [](GLenum s, GLenum d) {
            ++counts.blendFunc;
            glBlendFunc(s, d);
        };
        GLStateCalls().AlphaFunc = [](GLenum f, GLclampf r) {
            ++counts.alphaFunc;
            glAlphaFunc(f, r);
        };
        GLStateCalls().BindTexture = [](GLenum t, GLuint n) {
            ++counts.bindTexture;
            glBindTexture(t, n);
        };
    }
    void TearDown() override
    {
        GLStateCalls() = saved;
        GLWindowTest::TearDown();
    }

    static std::shared_ptr<TGLImageFrame> MakeFrame(const std::shared_ptr<TPixmap>& pixmap, int32_t flags = 0)
    {
        return TGLImageFrame::CreateFromPixmap(pixmap, flags);
    }

    // Level 0 of a texture as RGBA bytes.
    static std::vector<uint8_t> TextureTexels(const TGLImageFrame& frame, int32_t& width, int32_t& height)
    {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(frame.name));
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<uint8_t> texels(static_cast<size_t>(width * height * 4));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }

    TGLStateCalls saved;
};

TEST_F(GLDraw2D, DriverIsOneInstanceCalledOpenGL)
{
    EXPECT_EQ(GLDraw2DDriverInstance()->ToString(), "OpenGL");
    EXPECT_EQ(GLDraw2DDriverInstance(), GLDraw2DDriverInstance());
    EXPECT_EQ(GetGraphicsDriver(), GLDraw2DDriverInstance());
}

TEST_F(GLDraw2D, NarrowFrameGetsAPowerOfTwoTextureWithItsLastColumnRepeated)
{
    auto pixmap = CreatePixmap(10, 8, PF_RGB888);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            pixmap->WritePixel(x, y, 0xFF000000u | static_cast<uint32_t>(x * 20) << 16 | static_cast<uint32_t>(y * 30));
    auto frame = MakeFrame(pixmap);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->u0, 0.0f);
    EXPECT_EQ(frame->u1, 0.625f);
    EXPECT_EQ(frame->v1, 1.0f);
    EXPECT_EQ(frame->uscale, 1.0f / 16);
    EXPECT_EQ(frame->vscale, 1.0f / 8);
    EXPECT_EQ(frame->seq, GraphicsSeq());
    int32_t w, h;
    auto texels = TextureTexels(*frame, w, h);
    ASSERT_EQ(w, 16);
    ASSERT_EQ(h, 8);
    for (int y = 0; y < 8; ++y) {
        const uint8_t* row = &texels[static_cast<size_t>(y * 16 * 4)];
        EXPECT_EQ(row[9 * 4], 180) << y;      // red of column 9
        EXPECT_EQ(row[10 * 4], 180) << y;     // column 10 repeats it
        EXPECT_EQ(row[10 * 4 + 2], y * 30) << y;
        EXPECT_EQ(row[10 * 4 + 3], 255) << y;
    }
}

TEST_F(GLDraw2D, ShortFrameRepeatsItsLastRowAndCorner)
{
    auto pixmap = CreatePixmap(3, 3, PF_RGBA8888);
    pixmap->ClearPixels(0xFF0000FF);
    pixmap->WritePixel(2, 2, 0xFFFF0000);
    auto frame = MakeFrame(pixmap);
    int32_t w, h;
    auto texels = TextureTexels(*frame, w, h);
    ASSERT_EQ(w, 4);
    ASSERT_EQ(h, 4);
    auto red = [&](int x, int y) { return texels[static_cast<size_t>((y * 4 + x) * 4)]; };
    EXPECT_EQ(red(2, 2), 255);
    EXPECT_EQ(red(3, 2), 255); // column 3 repeats column 2
    EXPECT_EQ(red(2, 3), 255); // row 3 repeats row 2
    EXPECT_EQ(red(3, 3), 255); // and the corner
    EXPECT_EQ(red(1, 3), 0);
}

TEST_F(GLDraw2D, PowerOfTwoFrameHasNoBorder)
{
    auto pixmap = CreatePixmap(512, 512, PF_RGBA8888);
    pixmap->ClearPixels(0xFF336699);
    auto frame = MakeFrame(pixmap);
    EXPECT_EQ(frame->u1, 1.0f);
    EXPECT_EQ(frame->v1, 1.0f);
    int32_t w, h;
    TextureTexels(*frame, w, h);
    EXPECT_EQ(w, 512);
    EXPECT_EQ(h, 512);
}

TEST_F(GLDraw2D, FrameTooWideForGLIsScaledDown)
{
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    auto pixmap = CreatePixmap(max + 1, 1, PF_RGBA8888);
    pixmap->ClearPixels(0xFFFFFFFF);
    auto frame = MakeFrame(pixmap);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->u1, 1.0f);
    EXPECT_EQ(frame->uscale, 1.0f / static_cast<float>(max));
}

TEST_F(GLDraw2D, FlagsChooseFilteringAndMipmaps)
{
    auto pixmap = CreatePixmap(16, 8, PF_RGBA8888);
    pixmap->ClearPixels(0xFFFFFFFF);
    struct Case {
        int32_t flags;
        GLint mag, min;
        bool mipmaps;
    };
    for (const Case& c : {Case{0, GL_NEAREST, GL_NEAREST, false}, Case{2, GL_LINEAR, GL_LINEAR, false},
                          Case{4, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, true},
                          Case{6, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, true}}) {
        auto frame = MakeFrame(pixmap, c.flags);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(frame->name));
        GLint mag = 0, min = 0, wrap = 0, lastWidth = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 4, GL_TEXTURE_WIDTH, &lastWidth); // 16x8 down to 1x1
        EXPECT_EQ(mag, c.mag) << c.flags;
        EXPECT_EQ(min, c.min) << c.flags;
        EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE) << c.flags;
        EXPECT_EQ(lastWidth, c.mipmaps ? 1 : 0) << c.flags;
    }
}

TEST_F(GLDraw2D, FrameDeletesItsTextureOnlyWhileItsGraphicsLive)
{
    auto pixmap = CreatePixmap(4, 4, PF_RGBA8888);
    pixmap->ClearPixels(0xFFFFFFFF);
    auto frame = MakeFrame(pixmap);
    const auto name = static_cast<GLuint>(frame->name);
    ASSERT_TRUE(glIsTexture(name));
    frame.reset();
    EXPECT_FALSE(glIsTexture(name));

    // A frame of older graphics leaves GL alone: its texture went with its context.
    auto stale = MakeFrame(pixmap);
    const auto staleName = static_cast<GLuint>(stale->name);
    stale->seq = NextGraphicsSeq(GraphicsSeq());
    stale.reset();
    EXPECT_TRUE(glIsTexture(staleName));
    glDeleteTextures(1, &staleName);
}

TEST_F(GLDraw2D, TextureNamedLikeADeletedOneIsBoundAfresh)
{
    auto pixmap = CreatePixmap(4, 4, PF_RGBA8888);
    pixmap->ClearPixels(0xFFFF0000);
    auto red = MakeFrame(pixmap);
    const auto name = static_cast<GLuint>(red->name);
    Cls();
    red->Draw(0, 0, 4, 4, 0, 0, 0, 0, 4, 4);
    red.reset(); // GL now has nothing bound

    // GL may hand the deleted name out again; here the test reuses it by hand, as a blue texture.
    const uint8_t blue[4 * 4 * 4] = {0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255,
                                     0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255,
                                     0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255,
                                     0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255};
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, blue);
    glBindTexture(GL_TEXTURE_2D, 0);
    TGLImageFrame reused;
    reused.name = static_cast<int32_t>(name);
    reused.uscale = reused.vscale = 0.25f;
    reused.seq = GraphicsSeq();
    reused.Draw(0, 0, 4, 4, 10, 0, 0, 0, 4, 4);
    EXPECT_EQ(Rgb(11, 1), 0x0000FFu); // not taken as still bound
}

TEST_F(GLDraw2D, ImagesAreRemadeAfterTheGraphicsAreReopened)
{
    auto image = SolidImage(4, 4, 0xFF00FF00);
    DrawImage(image, 0, 0);
    auto before = image->frames[0];
    ASSERT_TRUE(OpenGraphics(512, 512, 0, 0, 0));
    Cls();
    DrawImage(image, 0, 0);
    EXPECT_NE(image->frames[0], before);
    EXPECT_EQ(Rgb(1, 1), 0x00FF00u);
}

TEST_F(GLDraw2D, BlendModesSetTheirGLState)
{
    struct Case {
        int32_t mode;
        bool blend, alphaTest;
        GLint src, dst;
    };
    for (const Case& c : {Case{BlendMask, false, true, 0, 0}, Case{BlendSolid, false, false, 0, 0},
                          Case{BlendAlpha, true, false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
                          Case{BlendLight, true, false, GL_SRC_ALPHA, GL_ONE},
                          Case{BlendShade, true, false, GL_DST_COLOR, GL_ZERO}, Case{99, false, false, 0, 0}}) {
        SetBlend(c.mode);
        EXPECT_EQ(glIsEnabled(GL_BLEND) == GL_TRUE, c.blend) << c.mode;
        EXPECT_EQ(glIsEnabled(GL_ALPHA_TEST) == GL_TRUE, c.alphaTest) << c.mode;
        if (c.blend) {
            GLint src = 0, dst = 0;
            glGetIntegerv(GL_BLEND_SRC, &src);
            glGetIntegerv(GL_BLEND_DST, &dst);
            EXPECT_EQ(src, c.src) << c.mode;
            EXPECT_EQ(dst, c.dst) << c.mode;
        }
        if (c.alphaTest) {
            GLint func = 0;
            GLfloat ref = 0;
            glGetIntegerv(GL_ALPHA_TEST_FUNC, &func);
            glGetFloatv(GL_ALPHA_TEST_REF, &ref);
            EXPECT_EQ(func, GL_GEQUAL);
            EXPECT_EQ(ref, 0.5f);
        }
    }
}

TEST_F(GLDraw2D, BlendModesMixColoursAsNamed)
{
    auto draw = [](int32_t mode, int32_t r, int32_t g, int32_t b, float alpha, int x) {
        SetBlend(BlendSolid);
        SetAlpha(1);
        SetColor(100, 100, 100);
        DrawRect(static_cast<float>(x), 0, 10, 10);
        SetBlend(mode);
        SetColor(r, g, b);
        SetAlpha(alpha);
        DrawRect(static_cast<float>(x), 0, 10, 10);
    };
    Cls();
    draw(BlendSolid, 200, 0, 0, 0.0f, 0);    // alpha ignored
    draw(BlendAlpha, 200, 0, 0, 0.5f, 20);   // half and half
    draw(BlendLight, 200, 0, 0, 0.5f, 40);   // added
    draw(BlendShade, 128, 255, 0, 1.0f, 60); // multiplied
    EXPECT_EQ(Rgb(5, 5), 0xC80000u);
    auto near = [](uint32_t rgb, int r, int g, int b) {
        return std::abs(static_cast<int>(rgb >> 16) - r) <= 1 &&
               std::abs(static_cast<int>((rgb >> 8) & 0xFF) - g) <= 1 && std::abs(static_cast<int>(rgb & 0xFF) - b) <= 1;
    };
    EXPECT_TRUE(near(Rgb(25, 5), 150, 50, 50)) << std::hex << Rgb(25, 5);
    EXPECT_TRUE(near(Rgb(45, 5), 200, 100, 100)) << std::hex << Rgb(45, 5);
    EXPECT_TRUE(near(Rgb(65, 5), 50, 100, 0)) << std::hex << Rgb(65, 5);
}

// The shortcuts for large pictures: nothing drawn at alpha 0, opaque pictures at full alpha drawn
// without blending. Neither may change a pixel, nor leave blending off for what follows.
TEST_F(GLDraw2D, FadedOutDrawsAndOpaquePicturesLookAsBlendingMakesThem)
{
    SetBlend(BlendSolid);
    SetColor(100, 100, 100);
    DrawRect(0, 0, 100, 10);
    SetBlend(BlendAlpha);
    SetColor(255, 255, 255);
    SetAlpha(0);
    DrawRect(0, 0, 10, 10);
    DrawOval(10, 0, 10, 10);
    DrawImage(SolidImage(10, 10, 0xFFFF0000u), 20, 0);
    SetBlend(BlendLight);
    DrawRect(30, 0, 10, 10);
    for (int x : {5, 15, 25, 35})
        EXPECT_EQ(Rgb(x, 5), 0x646464u) << x;

    SetBlend(BlendAlpha);
    SetAlpha(1);
    SetColor(255, 128, 255);
    DrawImage(SolidImage(10, 10, 0xFF00FF00u | 0x40u), 40, 0);
    EXPECT_EQ(Rgb(45, 5), 0x008040u) << "the picture modulated by the colour, nothing of what was under it";
    SetColor(255, 255, 255);
    SetAlpha(0.5f);
    DrawImage(SolidImage(10, 10, 0xFFC80000u), 50, 0);
    SetAlpha(1);
    DrawImage(SolidImage(10, 10, 0x80C80000u), 60, 0);
    SetColor(200, 0, 0);
    SetAlpha(0.5f);
    DrawRect(70, 0, 10, 10);
    for (int x : {55, 65, 75}) {
        const uint32_t rgb = Rgb(x, 5);
        EXPECT_NEAR(static_cast<int>(rgb >> 16), 150, 1) << x << " is blended";
        EXPECT_NEAR(static_cast<int>(rgb & 0xFF), 50, 1) << x << " is blended";
    }
    SetAlpha(1);
}

TEST_F(GLDraw2D, MaskDiscardsTexelsBelowHalfAlpha)
{
    auto pixmap = CreatePixmap(2, 1, PF_RGBA8888);
    pixmap->WritePixel(0, 0, 0x7FFFFFFF); // alpha 127: discarded
    pixmap->WritePixel(1, 0, 0x80FFFFFF); // alpha 128: kept, opaque
    auto image = TImage::Load(pixmap, 0, 0, 0, 0);
    SetBlend(BlendMask);
    Cls();
    SetScale(10, 10);
    DrawImage(image, 0, 0);
    EXPECT_EQ(Rgb(5, 5), 0x000000u);
    EXPECT_EQ(Rgb(15, 5), 0xFFFFFFu); // kept texels are drawn opaque
}

TEST_F(GLDraw2D, RepeatedSettingsReachGLOnce)
{
    SetBlend(BlendAlpha);
    const int enables = counts.enable, disables = counts.disable, funcs = counts.blendFunc;
    EXPECT_EQ(funcs, 1);
    SetBlend(BlendAlpha);
    EXPECT_EQ(counts.enable, enables);
    EXPECT_EQ(counts.disable, disables);
    EXPECT_EQ(counts.blendFunc, funcs);

    // After the context is set up again the first setting reaches GL once more.
    SetGraphics(CurrentGraphics());
    SetBlend(BlendAlpha);
    EXPECT_EQ(counts.blendFunc, 2);
}

TEST_F(GLDraw2D, TextureBindingAndTexturingAreCached)
{
    auto image = SolidImage(4, 4, 0xFFFFFFFF);
    DrawImage(image, 0, 0);
    DrawImage(image, 10, 0);
    DrawImage(image, 20, 0);
    const int binds = counts.bindTexture;
    EXPECT_EQ(std::count(counts.enabled.begin(), counts.enabled.end(), GL_TEXTURE_2D), 1);
    DrawRect(0, 0, 1, 1);
    DrawRect(0, 0, 1, 1);
    EXPECT_EQ(std::count(counts.disabled.begin(), counts.disabled.end(), GL_TEXTURE_2D), 1);
    DrawImage(image, 30, 0);
    EXPECT_EQ(std::count(counts.enabled.begin(), counts.enabled.end(), GL_TEXTURE_2D), 2);
    EXPECT_EQ(counts.bindTexture, binds); // still bound
}

TEST_F(GLDraw2D, ScissorOnlyForAViewportSmallerThanTheSurface)
{
    SetViewport(10, 20, 30, 40);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    GLint box[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], 512 - 20 - 40);
    EXPECT_EQ(box[2], 30);
    EXPECT_EQ(box[3], 40);
    SetViewport(0, 0, 512, 512);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(GLDraw2D, ColourAndAlphaAreClampedIntoTheCurrentGLColour)
{
    GLfloat colour[4];
    SetColor(300, -5, 128);
    SetAlpha(2);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1);
    EXPECT_FLOAT_EQ(colour[1], 0);
    EXPECT_FLOAT_EQ(colour[2], 128 / 255.0f);
    EXPECT_FLOAT_EQ(colour[3], 1);
    SetAlpha(std::numeric_limits<float>::quiet_NaN());
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0);
    SetAlpha(0.999f); // truncated: 254
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 254 / 255.0f);
}

TEST_F(GLDraw2D, OvalSegmentsFollowTheRadii)
{
    EXPECT_EQ(OvalSegments(2, 2), 12);   // 4 by 4
    EXPECT_EQ(OvalSegments(50, 50), 100); // 100 by 100
    EXPECT_EQ(OvalSegments(-7, 2.9f), 12);
    EXPECT_EQ(OvalSegments(25.5f, 25.9f), 48); // 51 rounded down to a multiple of 4
    EXPECT_EQ(OvalSegments(std::numeric_limits<float>::quiet_NaN(), 1), 12);
    EXPECT_EQ(OvalSegments(std::numeric_limits<float>::infinity(), 1) % 4, 0);
}

TEST_F(GLDraw2D, PolygonsNeedThreeWholePoints)
{
    Cls();
    GLDraw2DDriverInstance()->DrawPoly({0, 0, 50, 0}, 0, 0, 0, 0);
    GLDraw2DDriverInstance()->DrawPoly({0, 0, 50, 0, 0, 50, 7}, 0, 0, 0, 0);
    EXPECT_EQ(Rgb(5, 5), 0x000000u);
    GLDraw2DDriverInstance()->DrawPoly({0, 0, 50, 0, 0, 50}, 10, 10, 0, 0);
    EXPECT_EQ(Rgb(15, 15), 0xFFFFFFu);
    EXPECT_EQ(Rgb(5, 5), 0x000000u);
}

TEST_F(GLDraw2D, EmptyPixmapsMakeNoFrame)
{
    EXPECT_EQ(MakeFrame(nullptr), nullptr);
    EXPECT_EQ(GLDraw2DDriverInstance()->CreateFrameFromPixmap(CreatePixmap(0, 4, PF_RGBA8888), 0), nullptr);
    EXPECT_EQ(GrabPixmap(0, 0, 0, 5), nullptr);
}

} // namespace
