#include "tools/assetgen/image.h"

#include "tools/assetgen/noise.h"

#include <algorithm>
#include <cmath>

Colour Rgb8(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

Colour Mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Scaled(Colour c, float k) { return {c.r * k, c.g * k, c.b * k}; }

Rgba Paint(Colour c, float alpha) { return {c.r * alpha, c.g * alpha, c.b * alpha, alpha}; }

Rgba Faded(Rgba p, float k) { return {p.r * k, p.g * k, p.b * k, p.a * k}; }

Image::Image(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(size_t(width) * height, fill)
{
}

Image::Image(int width, int height, int density) : Image(width * density, height * density)
{
    density_ = density;
}

void Image::Blend(int x, int y, Rgba s)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    Rgba& d = At(x, y);
    float k = 1.0f - s.a;
    d = {s.r + d.r * k, s.g + d.g * k, s.b + d.b * k, s.a + d.a * k};
}

void Composite(Image& dst, const Image& src, int x, int y)
{
    for (int j = 0; j < src.Height(); ++j)
        for (int i = 0; i < src.Width(); ++i)
            dst.Blend(x + i, y + j, src.At(i, j));
}

Image Downsample(const Image& src, int factor)
{
    Image out(src.Width() / factor, src.Height() / factor);
    float k = 1.0f / float(factor * factor);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            Rgba sum;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) {
                    const Rgba& p = src.At(x * factor + i, y * factor + j);
                    sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b, sum.a + p.a};
                }
            out.At(x, y) = Faded(sum, k);
        }
    return out;
}

Rgba Sample(const Image& image, double x, double y)
{
    x -= 0.5, y -= 0.5;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float fx = float(x - x0), fy = float(y - y0);
    Rgba sum;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            int sx = x0 + i, sy = y0 + j;
            if (sx < 0 || sy < 0 || sx >= image.Width() || sy >= image.Height())
                continue;
            float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            const Rgba& p = image.At(sx, sy);
            sum = {sum.r + p.r * w, sum.g + p.g * w, sum.b + p.b * w, sum.a + p.a * w};
        }
    return sum;
}

namespace {

std::vector<float> GaussianKernel(double sigma)
{
    int radius = std::max(1, int(std::ceil(sigma * 3)));
    std::vector<float> kernel(2 * radius + 1);
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        double w = std::exp(-0.5 * i * i / (sigma * sigma));
        kernel[i + radius] = float(w);
        sum += w;
    }
    for (float& w : kernel)
        w = float(w / sum);
    return kernel;
}

// One blur pass along x (dx = 1) or y (dx = 0), reading src and writing dst.
void BlurPass(const Image& src, Image& dst, const std::vector<float>& kernel, bool along_x)
{
    int radius = int(kernel.size() / 2);
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x) {
            Rgba sum;
            for (int i = -radius; i <= radius; ++i) {
                int sx = along_x ? std::clamp(x + i, 0, src.Width() - 1) : x;
                int sy = along_x ? y : std::clamp(y + i, 0, src.Height() - 1);
                const Rgba& p = src.At(sx, sy);
                float w = kernel[i + radius];
                sum = {sum.r + p.r * w, sum.g + p.g * w, sum.b + p.b * w, sum.a + p.a * w};
            }
            dst.At(x, y) = sum;
        }
}

uint8_t ToByte(float v) { return uint8_t(std::clamp(int(std::lround(v * 255.0f)), 0, 255)); }

} // namespace

Image Blur(const Image& src, double sigma)
{
    std::vector<float> kernel = GaussianKernel(sigma);
    Image tmp(src.Width(), src.Height());
    Image out(src.Width(), src.Height());
    BlurPass(src, tmp, kernel, true);
    BlurPass(tmp, out, kernel, false);
    return out;
}

std::vector<uint8_t> ToRgba8(const Image& image)
{
    int w = image.Width(), h = image.Height();
    std::vector<uint8_t> out(size_t(w) * h * 4);
    std::vector<char> known(size_t(w) * h, 0);
    Colour average;
    double inked = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba& p = image.At(x, y);
            uint8_t* o = &out[(size_t(y) * w + x) * 4];
            o[3] = ToByte(p.a);
            if (o[3] == 0)
                continue;
            Colour c{p.r / p.a, p.g / p.a, p.b / p.a};
            o[0] = ToByte(c.r);
            o[1] = ToByte(c.g);
            o[2] = ToByte(c.b);
            known[size_t(y) * w + x] = 1;
            average = {average.r + c.r * p.a, average.g + c.g * p.a, average.b + c.b * p.a};
            inked += p.a;
        }
    // Grow the ink's colour outwards a few pixels, then give the rest the average ink colour.
    for (int pass = 0; pass < 6; ++pass) {
        std::vector<char> next = known;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (known[size_t(y) * w + x])
                    continue;
                int sum[3] = {0, 0, 0}, n = 0;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i) {
                        int sx = x + i, sy = y + j;
                        if (sx < 0 || sy < 0 || sx >= w || sy >= h || !known[size_t(sy) * w + sx])
                            continue;
                        const uint8_t* s = &out[(size_t(sy) * w + sx) * 4];
                        sum[0] += s[0], sum[1] += s[1], sum[2] += s[2], ++n;
                    }
                if (n == 0)
                    continue;
                uint8_t* o = &out[(size_t(y) * w + x) * 4];
                for (int c = 0; c < 3; ++c)
                    o[c] = uint8_t(sum[c] / n);
                next[size_t(y) * w + x] = 1;
            }
        known.swap(next);
    }
    if (inked > 0)
        average = Scaled(average, float(1.0 / inked));
    for (size_t i = 0; i < known.size(); ++i)
        if (!known[i]) {
            out[i * 4] = ToByte(average.r);
            out[i * 4 + 1] = ToByte(average.g);
            out[i * 4 + 2] = ToByte(average.b);
        }
    return out;
}

std::vector<uint8_t> ToRgb8(const Image& image, uint32_t seed)
{
    int w = image.Width(), h = image.Height();
    std::vector<uint8_t> out(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba& p = image.At(x, y);
            // Triangular dither of one step, the same for the three channels to keep it grey.
            float d = (HashUnit(seed, x, y) + HashUnit(seed + 1, x, y) - 1.0f) / 255.0f;
            uint8_t* o = &out[(size_t(y) * w + x) * 3];
            o[0] = ToByte(p.r + d);
            o[1] = ToByte(p.g + d);
            o[2] = ToByte(p.b + d);
        }
    return out;
}
