#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A colour without alpha, components 0 to 1.
struct Colour {
    float r = 0, g = 0, b = 0;
};

// A premultiplied colour with alpha, components 0 to 1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

Colour Rgb8(int r, int g, int b);
Colour Mix(Colour a, Colour b, float t);
Colour Scaled(Colour c, float k);
Rgba Paint(Colour c, float alpha = 1.0f);
Rgba Faded(Rgba p, float k);

// A picture being painted: premultiplied float pixels, row by row from the top.
class Image {
public:
    Image() = default;
    Image(int width, int height, Rgba fill = {});
    // A picture of width by height units painted at density pixels a unit: the shape fills
    // (shapes.h) take their points in units, so a painter that only fills paints at any density.
    Image(int width, int height, int density);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Density() const { return density_; }
    Rgba& At(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
    const Rgba& At(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
    // Composites src over the pixel (ignored outside the picture).
    void Blend(int x, int y, Rgba src);

private:
    int width_ = 0, height_ = 0;
    int density_ = 1;
    std::vector<Rgba> pixels_;
};

// src over dst with src's top-left corner at (x, y).
void Composite(Image& dst, const Image& src, int x, int y);
// Average of factor × factor blocks.
Image Downsample(const Image& src, int factor);
// Bilinear, transparent outside.
Rgba Sample(const Image& image, double x, double y);
// Separable Gaussian blur; edges are clamped.
Image Blur(const Image& src, double sigma);

// Straight-alpha RGBA bytes. Fully transparent pixels take the colour of the nearest ink,
// so filtering and mip-mapping never pull a dark fringe into the edges.
std::vector<uint8_t> ToRgba8(const Image& image);
// RGB bytes of an opaque picture, lightly dithered against banding in smooth gradients.
std::vector<uint8_t> ToRgb8(const Image& image, uint32_t seed);
