#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "draw2d/graphics.h"

// A graphics driver with no surface: it records what the graphics module asks of it.
class TFakeGraphicsDriver : public TGraphicsDriver {
public:
    class Graphics : public TGraphics {
    public:
        Graphics(TFakeGraphicsDriver* driver, int32_t w, int32_t h, int32_t d, int32_t hz, int32_t f)
            : driver(driver), width(w), height(h), depth(d), hertz(hz), flags(f) {}
        TGraphicsDriver* Driver() override { return driver; }
        void GetSettings(int32_t& w, int32_t& h, int32_t& d, int32_t& hz, int32_t& f) override
        {
            w = width, h = height, d = depth, hz = hertz, f = flags;
        }
        void Close() override { closed = true; }
        TFakeGraphicsDriver* driver;
        int32_t width, height, depth, hertz, flags;
        bool closed = false;
    };

    std::vector<TGraphicsMode> GraphicsModes() override
    {
        ++modeRequests;
        return modes;
    }
    std::shared_ptr<TGraphics> AttachGraphics(void*, int32_t flags) override
    {
        return std::make_shared<Graphics>(this, 1, 1, 0, 0, flags);
    }
    std::shared_ptr<TGraphics> CreateGraphics(int32_t w, int32_t h, int32_t d, int32_t hz, int32_t f) override
    {
        if (failCreate)
            throw std::runtime_error("no surface");
        return std::make_shared<Graphics>(this, w, h, d, hz, f);
    }
    void SetGraphics(const std::shared_ptr<TGraphics>& graphics) override { selected = graphics; }
    void Flip(int32_t sync) override { flips.push_back(sync); }

    std::vector<TGraphicsMode> modes;
    int modeRequests = 0;
    bool failCreate = false;
    std::shared_ptr<TGraphics> selected;
    std::vector<int32_t> flips;
};
