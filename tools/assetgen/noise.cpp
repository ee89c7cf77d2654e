#include "tools/assetgen/noise.h"

#include <cmath>

uint32_t Hash(uint32_t seed, int32_t x, int32_t y)
{
    uint32_t h = seed * 0x27d4eb2du ^ uint32_t(x) * 0x165667b1u ^ uint32_t(y) * 0x9E3779B1u;
    h ^= h >> 15;
    h *= 0x85ebca77u;
    h ^= h >> 13;
    h *= 0xc2b2ae3du;
    h ^= h >> 16;
    return h;
}

float HashUnit(uint32_t seed, int32_t x, int32_t y) { return float(Hash(seed, x, y) >> 8) / 16777216.0f; }

namespace {

float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

// Gradient at a lattice point, one of 16 directions.
float Corner(uint32_t seed, int32_t ix, int32_t iy, float dx, float dy)
{
    static const float dirs[16][2] = {
        {1, 0}, {0.924f, 0.383f}, {0.707f, 0.707f}, {0.383f, 0.924f}, {0, 1}, {-0.383f, 0.924f},
        {-0.707f, 0.707f}, {-0.924f, 0.383f}, {-1, 0}, {-0.924f, -0.383f}, {-0.707f, -0.707f},
        {-0.383f, -0.924f}, {0, -1}, {0.383f, -0.924f}, {0.707f, -0.707f}, {0.924f, -0.383f}};
    const float* g = dirs[Hash(seed, ix, iy) & 15];
    return g[0] * dx + g[1] * dy;
}

} // namespace

float Noise(uint32_t seed, double x, double y)
{
    double fx = std::floor(x), fy = std::floor(y);
    int32_t ix = int32_t(fx), iy = int32_t(fy);
    float dx = float(x - fx), dy = float(y - fy);
    float u = Fade(dx), v = Fade(dy);
    float a = Corner(seed, ix, iy, dx, dy);
    float b = Corner(seed, ix + 1, iy, dx - 1, dy);
    float c = Corner(seed, ix, iy + 1, dx, dy - 1);
    float d = Corner(seed, ix + 1, iy + 1, dx - 1, dy - 1);
    float top = a + (b - a) * u;
    float bottom = c + (d - c) * u;
    return (top + (bottom - top) * v) * 1.4f;
}

float Fbm(uint32_t seed, double x, double y, int octaves, double gain)
{
    float sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(seed + uint32_t(i) * 7919u, x, y);
        norm += amplitude;
        amplitude *= float(gain);
        // Turn each octave a little so the lattices do not line up.
        double nx = (x * 0.8 - y * 0.6) * 2.0 + 17.3, ny = (x * 0.6 + y * 0.8) * 2.0 - 9.1;
        x = nx;
        y = ny;
    }
    return sum / norm;
}

uint32_t Rng::Next()
{
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    uint32_t xorshifted = uint32_t(((state_ >> 18u) ^ state_) >> 27u);
    uint32_t rot = uint32_t(state_ >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
}

double Rng::Real(double lo, double hi) { return lo + (hi - lo) * (Next() >> 8) / 16777216.0; }

int Rng::Int(int lo, int hi) { return lo + int(Next() % uint32_t(hi - lo + 1)); }
