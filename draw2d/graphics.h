#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw2d/frame_pacer.h"

// Surface flags passed to OpenGraphics and stored per graphics; they select the pixel format.
enum : int32_t {
    GraphicsBackBuffer = 2,
    GraphicsAlphaBuffer = 4,
    GraphicsDepthBuffer = 8,
    GraphicsStencilBuffer = 16,
    GraphicsAccumBuffer = 32,
    // A window the player may resize; the drawing keeps the size it was opened with (window.h).
    GraphicsScalable = 64,
};

class TGraphicsDriver;
class TPixmap;

// One display mode.
struct TGraphicsMode {
    int32_t width = 0, height = 0, depth = 0, hertz = 0;
    std::string ToString() const; // "640,480,32 60Hz"
};

// One open drawing surface.
class TGraphics {
public:
    virtual ~TGraphics() = default;
    virtual TGraphicsDriver* Driver() = 0;
    virtual void GetSettings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                             int32_t& flags) = 0;
    virtual void Close() = 0;
};

// Makes and presents graphics. Drivers are process-wide singletons.
class TGraphicsDriver {
public:
    virtual ~TGraphicsDriver() = default;
    virtual std::vector<TGraphicsMode> GraphicsModes() = 0;
    // widget: the platform window to draw into (an SDL_Window* here).
    virtual std::shared_ptr<TGraphics> AttachGraphics(void* widget, int32_t flags) = 0;
    virtual std::shared_ptr<TGraphics> CreateGraphics(int32_t width, int32_t height, int32_t depth,
                                                      int32_t hertz, int32_t flags) = 0;
    // Makes graphics the target of drawing; none leaves no target.
    virtual void SetGraphics(const std::shared_ptr<TGraphics>& graphics) = 0;
    // 0 swaps at once, 1 waits for the vertical retrace.
    virtual void Flip(int32_t sync) = 0;
    // The refresh rate of the display showing the current graphics; 0 when unknown.
    virtual int32_t DisplayHertz() { return 0; }
    virtual std::string ToString() const { return {}; }
};

void SetGraphicsDriver(TGraphicsDriver* driver, int32_t defaultFlags = 0);
TGraphicsDriver* GetGraphicsDriver();
int32_t DefaultGraphicsFlags();

// The current driver's modes, fetched once and kept until the driver changes.
const std::vector<TGraphicsMode>& GraphicsModes();
int32_t CountGraphicsModes();
void GetGraphicsMode(int32_t index, int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz);
// A 0 argument matches anything. Returns 1 or 0.
int32_t GraphicsModeExists(int32_t width, int32_t height, int32_t depth = 0, int32_t hertz = 0);

// Both give none when the driver fails; errors raised by the driver are swallowed.
std::shared_ptr<TGraphics> CreateGraphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                          int32_t flags);
std::shared_ptr<TGraphics> AttachGraphics(void* widget, int32_t flags);

void SetGraphics(const std::shared_ptr<TGraphics>& graphics);
void CloseGraphics(const std::shared_ptr<TGraphics>& graphics);
std::shared_ptr<TGraphics> CurrentGraphics();

// Settings of the current graphics; all 0 when there is none.
int32_t GraphicsWidth();
int32_t GraphicsHeight();
int32_t GraphicsDepth();
int32_t GraphicsHertz();
int32_t GraphicsFlags();

// depth 0 opens a window, any other depth goes fullscreen at that colour depth. hertz sets the
// pace of Flip(-1). Closes the graphics of the previous call first. None on failure.
std::shared_ptr<TGraphics> OpenGraphics(int32_t width, int32_t height, int32_t depth = 0,
                                        int32_t hertz = 60, int32_t flags = 0);
// Also runs at program exit.
void CloseOpenedGraphics();

// -1 paces the frames to the hertz given to OpenGraphics (a window at 60 Hz on a 60 Hz display swaps
// on the retrace, the timer guarding against a swap that does not wait); 0 swaps at once; 1 waits
// for retrace.
void Flip(int32_t sync = -1);

// Changes whenever graphics are opened, closed or the driver changes; never 0.
int32_t GraphicsSeq();
// The number that follows seq: it wraps around and skips 0.
int32_t NextGraphicsSeq(int32_t seq);

// Hook chain run at the start of every Flip, while the frame can still be read back.
int32_t FlipHookId();
// Hook chain run once a Flip has swapped: the frame is on its way to the screen.
int32_t ShownHookId();

// The caption of windows made from now on.
void SetAppTitle(const std::string& title);
const std::string& AppTitle();
// The icon of windows made from now on (none: the system's default).
void SetAppIcon(std::shared_ptr<TPixmap> icon);
const std::shared_ptr<TPixmap>& AppIcon();

// The clock and sleep behind Flip(-1); tests put their own in. None restores ElapsedMillis / SleepMillis.
void SetPacingTimer(TPacingClock clock, TPacingSleep sleep);
