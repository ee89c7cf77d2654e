#pragma once
#include <cstdint>

// One frame of an image as the 2D driver holds it (a texture for the OpenGL driver).
class TImageFrame {
public:
    virtual ~TImageFrame() = default;
    // Draws the source rectangle (sx, sy, sw, sh) of the frame's pixels onto the quad with corners
    // (x0, y0)-(x1, y1), relative to the drawing point (tx, ty).
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty,
                      float sx, float sy, float sw, float sh) = 0;
    // The frame's pixels are density times its image's size; source rectangles stay in the image's.
    virtual void SetDensity(int32_t density) {}
};
