#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "draw2d/canvas_fit.h"

class TPixmap;

// The window of scalable graphics (opened with the GraphicsScalable flag): the player may resize
// or maximise it and switch it to desktop fullscreen (no display-mode change); the program keeps
// drawing at the size it opened with, shown as large as fits (canvas_fit.h), and reads the
// cursor in that size. Exclusive fullscreen (a colour depth given to OpenGraphics) is not this.

struct TWindowSize {
    int32_t width = 0, height = 0;
    bool operator==(const TWindowSize&) const = default;
};

// How the next scalable window opens. A zero size opens it at the drawing's own size. When OpenGL
// turns out to draw in software, the window opens at softwareSize instead, unless that is zero.
struct TWindowPlan {
    TWindowSize size;
    bool fullscreen = false;
    TWindowSize softwareSize{};
};
void PlanWindow(const TWindowPlan& plan);

// Whole-number scales only while the drawing fits at least once; from the next frame on.
void SetWholeScaleOnly(bool on);
bool WholeScaleOnly();

// The desktop without its panels, on the display of the current window (the first display before
// one opens); zero when the video system can't tell or shows nothing (offscreen, dummy).
TWindowSize UsableDesktopSize();

// The current graphics' OpenGL draws on the processor (llvmpipe, softpipe and the like).
bool RendersInSoftware();

// Why the last window could not be opened, in a few words; empty once one opened.
std::string WindowOpenFailure();

// The current graphics' window. Without one, or for graphics that are not scalable, the queries
// give zero sizes and false, and the changes do nothing.
bool IsDesktopFullscreen();
// The window is minimised or hidden: nobody sees what is drawn.
bool IsWindowHidden();
// Leaving fullscreen brings back the size the window had before it.
void SetDesktopFullscreen(bool on);
TWindowSize WindowClientSize();
// The size outside fullscreen: the current size, or the one fullscreen will go back to.
TWindowSize WindowedSize();
// Sets that size: the window's at once, or the one fullscreen goes back to.
void SetWindowedSize(TWindowSize size);

// Where the drawing lands in the current window, in the pixels GL draws; for graphics that are
// not scalable the drawing fills the window.
TCanvasFit CurrentCanvasFit();

// The cursor mapping scalable windows install in the input layer: window position to drawing
// position, through the current window's fit.
void MapWindowPointToCanvas(int32_t& x, int32_t& y);

// The whole window at its pixel size as the next flip will show it (read before the flip), bars
// included; none without current graphics.
std::shared_ptr<TPixmap> GrabWindowPixmap();
