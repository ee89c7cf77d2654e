#include "draw2d/nulldraw2d.h"

#include "draw2d/draw2d.h"

namespace {

class TNullSurface : public TGraphics {
public:
    TNullSurface(TGraphicsDriver* driver, int32_t width, int32_t height, int32_t hertz, int32_t flags)
        : driver_(driver), width_(width), height_(height), hertz_(hertz), flags_(flags)
    {
    }
    TGraphicsDriver* Driver() override { return driver_; }
    void GetSettings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz, int32_t& flags) override
    {
        width = width_;
        height = height_;
        depth = 0;
        hertz = hertz_;
        flags = flags_;
    }
    void Close() override { driver_ = nullptr; }

private:
    TGraphicsDriver* driver_;
    int32_t width_, height_, hertz_, flags_;
};

class TNullDraw2DDriver : public TDraw2DDriver {
public:
    std::vector<TGraphicsMode> GraphicsModes() override { return {}; }
    std::shared_ptr<TGraphics> AttachGraphics(void*, int32_t) override { return nullptr; }
    std::shared_ptr<TGraphics> CreateGraphics(int32_t width, int32_t height, int32_t, int32_t hertz,
                                              int32_t flags) override
    {
        return TDraw2DGraphics::Create(std::make_shared<TNullSurface>(this, width, height, hertz, flags), this);
    }
    void SetGraphics(const std::shared_ptr<TGraphics>& graphics) override
    {
        if (auto g = std::dynamic_pointer_cast<TDraw2DGraphics>(graphics))
            g->MakeCurrent();
        else
            TDraw2DGraphics::ClearCurrent();
    }
    void Flip(int32_t) override {}
    std::string ToString() const override { return "none"; }

    std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const std::shared_ptr<TPixmap>&, int32_t) override
    {
        return nullptr;
    }
    void SetBlend(int32_t) override {}
    void SetAlpha(float) override {}
    void SetColor(int32_t, int32_t, int32_t) override {}
    void SetClsColor(int32_t, int32_t, int32_t) override {}
    void SetViewport(int32_t, int32_t, int32_t, int32_t) override {}
    void SetTransform(float, float, float, float) override {}
    void SetLineWidth(float) override {}
    void Cls() override {}
    void Plot(float, float) override {}
    void DrawLine(float, float, float, float, float, float) override {}
    void DrawRect(float, float, float, float, float, float) override {}
    void DrawOval(float, float, float, float, float, float) override {}
    void DrawPoly(const std::vector<float>&, float, float, float, float) override {}
    void DrawPixmap(const std::shared_ptr<TPixmap>&, int32_t, int32_t) override {}
    std::shared_ptr<TPixmap> GrabPixmap(int32_t, int32_t, int32_t, int32_t) override { return nullptr; }
    void SetResolution(float, float) override {}
};

} // namespace

TDraw2DDriver* NullDraw2DDriverInstance()
{
    static TNullDraw2DDriver driver;
    return &driver;
}
