#include "draw2d/nulldraw2d.h"

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

} // namespace

std::shared_ptr<TGraphics> TNullDraw2DDriver::CreateGraphics(int32_t width, int32_t height, int32_t, int32_t hertz,
                                                             int32_t flags)
{
    return TDraw2DGraphics::Create(std::make_shared<TNullSurface>(this, width, height, hertz, flags), this);
}

void TNullDraw2DDriver::SetGraphics(const std::shared_ptr<TGraphics>& graphics)
{
    if (auto g = std::dynamic_pointer_cast<TDraw2DGraphics>(graphics))
        g->MakeCurrent();
    else
        TDraw2DGraphics::ClearCurrent();
}

TDraw2DDriver* NullDraw2DDriverInstance()
{
    static TNullDraw2DDriver driver;
    return &driver;
}
