#pragma once
#include "draw2d/draw2d.h"

// A 2D driver that draws nothing, for running frame code where nothing is shown (a replay
// checked without a window). Its surfaces keep the size they were made with, so everything that
// places by the surface size places as it would in a window; it makes no image frames, so
// images loaded for it draw nothing. Tests derive from it to watch single calls.
class TNullDraw2DDriver : public TDraw2DDriver {
public:
    std::vector<TGraphicsMode> GraphicsModes() override { return {}; }
    std::shared_ptr<TGraphics> AttachGraphics(void*, int32_t) override { return nullptr; }
    std::shared_ptr<TGraphics> CreateGraphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                              int32_t flags) override;
    void SetGraphics(const std::shared_ptr<TGraphics>& graphics) override;
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

// The one instance the game uses.
TDraw2DDriver* NullDraw2DDriverInstance();
