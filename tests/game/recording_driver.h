#pragma once
// A 2D driver that draws nothing and records every state change and draw call, in order, with its
// arguments. It is made current through the graphics module like any other driver, so the code
// under test runs through the real drawing state.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/image.h"
#include "draw2d/imageframe.h"
#include "draw2d/pixmap.h"

// One driver call. For "Image" the picture's name and frame and the drawing state in force are
// filled in as well, so that tests can check a draw without replaying the state changes.
struct TRecordedCall {
    std::string op;
    std::vector<float> args;
    std::string image;
    int frame = -1;
    float x = 0, y = 0;
    int32_t r = 0, g = 0, b = 0;
    float alpha = 0, scaleX = 0, scaleY = 0, rotation = 0;
};

class TRecordingDriver : public TDraw2DDriver {
public:
    std::vector<TRecordedCall> calls;

    // Names the pictures whose draws are recorded as "Image" calls; other pictures draw as "?".
    void Name(const std::string& name, const std::shared_ptr<TImage>& image) { names_[name] = image; }

    // A picture of frames × (width by height) pixels, named.
    std::shared_ptr<TImage> MakeImage(const std::string& name, int width, int height, int frames = 1)
    {
        auto image = TImage::Create(width, height, frames, 0, 0, 0, 0);
        Name(name, image);
        return image;
    }

    std::vector<TRecordedCall> Images() const
    {
        std::vector<TRecordedCall> out;
        for (const auto& c : calls)
            if (c.op == "Image")
                out.push_back(c);
        return out;
    }

    std::vector<TRecordedCall> Images(const std::string& name) const
    {
        std::vector<TRecordedCall> out;
        for (const auto& c : calls)
            if (c.op == "Image" && c.image == name)
                out.push_back(c);
        return out;
    }

    void Record(const std::string& op, std::vector<float> args)
    {
        TRecordedCall c;
        c.op = op;
        c.args = std::move(args);
        calls.push_back(std::move(c));
    }

    void RecordImage(const TPixmap* pixmap, float x, float y)
    {
        TRecordedCall c;
        c.op = "Image";
        c.image = "?";
        for (const auto& [name, image] : names_) {
            for (size_t i = 0; i < image->pixmaps.size(); ++i) {
                if (image->pixmaps[i].get() == pixmap) {
                    c.image = name;
                    c.frame = static_cast<int>(i);
                }
            }
        }
        c.x = x;
        c.y = y;
        const TDraw2DGraphics* g = TDraw2DGraphics::Current();
        c.r = g->color_red;
        c.g = g->color_green;
        c.b = g->color_blue;
        c.alpha = g->color_alpha;
        c.scaleX = g->tform_scale_x;
        c.scaleY = g->tform_scale_y;
        c.rotation = g->tform_rot;
        calls.push_back(std::move(c));
    }

    std::vector<TGraphicsMode> GraphicsModes() override { return {{512, 512, 32, 60}}; }
    std::shared_ptr<TGraphics> AttachGraphics(void*, int32_t flags) override
    {
        return CreateGraphics(512, 512, 0, 60, flags);
    }
    std::shared_ptr<TGraphics> CreateGraphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                              int32_t flags) override
    {
        auto surface = std::make_shared<Surface>(width, height, depth, hertz, flags);
        return TDraw2DGraphics::Create(surface, this);
    }
    void SetGraphics(const std::shared_ptr<TGraphics>& graphics) override
    {
        if (auto g = std::dynamic_pointer_cast<TDraw2DGraphics>(graphics))
            g->MakeCurrent();
        else
            TDraw2DGraphics::ClearCurrent();
    }
    void Flip(int32_t sync) override { Record("Flip", {float(sync)}); }

    std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap,
                                                       int32_t) override
    {
        return std::make_shared<Frame>(this, pixmap.get());
    }
    void SetBlend(int32_t mode) override { Record("SetBlend", {float(mode)}); }
    void SetAlpha(float alpha) override { Record("SetAlpha", {alpha}); }
    void SetColor(int32_t r, int32_t g, int32_t b) override { Record("SetColor", {float(r), float(g), float(b)}); }
    void SetClsColor(int32_t r, int32_t g, int32_t b) override
    {
        Record("SetClsColor", {float(r), float(g), float(b)});
    }
    void SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) override
    {
        Record("SetViewport", {float(x), float(y), float(w), float(h)});
    }
    void SetTransform(float ix, float iy, float jx, float jy) override { Record("SetTransform", {ix, iy, jx, jy}); }
    void SetLineWidth(float width) override { Record("SetLineWidth", {width}); }
    void Cls() override { Record("Cls", {}); }
    void Plot(float x, float y) override { Record("Plot", {x, y}); }
    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override
    {
        Record("DrawLine", {x0, y0, x1, y1, tx, ty});
    }
    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override
    {
        Record("DrawRect", {x0, y0, x1, y1, tx, ty});
    }
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override
    {
        Record("DrawOval", {x0, y0, x1, y1, tx, ty});
    }
    void DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx, float ty) override
    {
        std::vector<float> args = xy;
        args.insert(args.end(), {hx, hy, tx, ty});
        Record("DrawPoly", std::move(args));
    }
    void DrawPixmap(const std::shared_ptr<TPixmap>&, int32_t x, int32_t y) override
    {
        Record("DrawPixmap", {float(x), float(y)});
    }
    std::shared_ptr<TPixmap> GrabPixmap(int32_t, int32_t, int32_t, int32_t) override { return nullptr; }
    void SetResolution(float width, float height) override { Record("SetResolution", {width, height}); }

private:
    class Surface : public TGraphics {
    public:
        Surface(int32_t w, int32_t h, int32_t d, int32_t hz, int32_t f) : w_(w), h_(h), d_(d), hz_(hz), f_(f) {}
        TGraphicsDriver* Driver() override { return nullptr; }
        void GetSettings(int32_t& w, int32_t& h, int32_t& d, int32_t& hz, int32_t& f) override
        {
            w = w_, h = h_, d = d_, hz = hz_, f = f_;
        }
        void Close() override {}

    private:
        int32_t w_, h_, d_, hz_, f_;
    };

    class Frame : public TImageFrame {
    public:
        Frame(TRecordingDriver* driver, const TPixmap* pixmap) : driver_(driver), pixmap_(pixmap) {}
        void Draw(float, float, float, float, float tx, float ty, float, float, float, float) override
        {
            driver_->RecordImage(pixmap_, tx, ty);
        }

    private:
        TRecordingDriver* driver_;
        const TPixmap* pixmap_;
    };

    std::map<std::string, std::shared_ptr<TImage>> names_;
};

// Makes a recording driver current for the length of a test, on a 512 by 512 surface, and
// forgets the calls made while it was set up.
class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetGraphicsDriver(&driver);
        graphics = CreateGraphics(512, 512, 0, 60, 0);
        ASSERT_TRUE(graphics);
        SetGraphics(graphics);
        ASSERT_EQ(CurrentDraw2DDriver(), &driver);
        driver.calls.clear();
    }
    void TearDown() override
    {
        CloseGraphics(graphics);
        SetGraphicsDriver(nullptr);
    }

    TRecordingDriver driver;
    std::shared_ptr<TGraphics> graphics;
};
