#pragma once
#include <cstdint>
#include <memory>

class TImage;

// Image drawing beyond DrawImage. Positions are virtual units before the origin is added, like every
// drawing position. The current rotation and scale turn and scale the picture about the drawing point
// (x, y), and the image's handle (not the graphics handle of SetHandle) lands on that point. None
// images and bad frame indices draw nothing.

// The frame stretched to width by height. The handle stretches with the picture: a handle at the
// picture's centre stays at its centre. Negative sizes mirror the picture.
void DrawImageRect(const std::shared_ptr<TImage>& image, float x, float y, float width, float height,
                   int frame = 0);

// The source rectangle (sx, sy, sw, sh) of the frame, in picture pixels, stretched onto a destination
// rectangle of width by height whose top left corner lies at (x, y) less the image's handle scaled by
// width / sw and height / sh. So with handle (0, 0) the destination spans x..x + width, y..y + height.
// The source should lie inside the frame; pixels outside it are undefined. An empty source draws nothing.
void DrawSubImageRect(const std::shared_ptr<TImage>& image, float x, float y, float width, float height,
                      float sx, float sy, float sw, float sh, int frame = 0);

// The frame repeated over the whole viewport in a grid with one copy drawn as DrawImage(image, x, y)
// would draw it; rotation and scale turn and scale the whole grid about (x, y). Drawn under the
// current colour, alpha and blend. Draws nothing when the tiles would be so small that more than
// MaxTiles of them were needed.
void TileImage(const std::shared_ptr<TImage>& image, float x = 0, float y = 0, int frame = 0);
inline constexpr int64_t MaxTiles = int64_t{1} << 20;
