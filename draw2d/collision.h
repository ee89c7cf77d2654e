#pragma once
#include <memory>

class TImage;

// Pixel collisions of images placed as DrawImage would draw them now: at (x, y) plus the origin, with
// the image's handle on that point, turned and scaled by the current rotation and scale. A pixel
// counts when its alpha is not 0, so the mask colour of masked images never collides. Pixels collide
// when their squares overlap in an area; squares that only share an edge or a corner do not. None
// images, bad frame indices, no current graphics and a scale of 0 collide with nothing.

// 1 when a pixel of the first image's frame covers a pixel of the second's, else 0.
int ImagesCollide(const std::shared_ptr<TImage>& image1, float x1, float y1, int frame1,
                  const std::shared_ptr<TImage>& image2, float x2, float y2, int frame2);

// 1 when a pixel of the frame covers part of the rectangle, else 0. The rectangle is a region of the
// screen in drawing positions (before the origin, like x and y): it is not turned, scaled or moved
// by the handle. Negative sizes extend it left or up; an empty one touches nothing.
int ImageRectCollide(const std::shared_ptr<TImage>& image, float x, float y, int frame, float rx, float ry,
                     float rw, float rh);
