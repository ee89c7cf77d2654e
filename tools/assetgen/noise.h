#pragma once
#include <cstdint>

// Stateless hashing and smooth noise: every picture draws from its own fixed seed, so the
// output is the same on every run and independent of the order pictures are painted in.

uint32_t Hash(uint32_t seed, int32_t x, int32_t y);
// Uniform in [0, 1).
float HashUnit(uint32_t seed, int32_t x, int32_t y);

// Gradient noise in about [-1, 1], smooth, one feature per unit.
float Noise(uint32_t seed, double x, double y);
// Sum of octaves of Noise, each at twice the frequency and `gain` times the amplitude.
float Fbm(uint32_t seed, double x, double y, int octaves, double gain = 0.5);

// A small sequential generator for scattering things (stars, bubbles, note humanising).
class Rng {
public:
    explicit Rng(uint32_t seed) : state_(uint64_t(seed) * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next();
    // Uniform in [lo, hi).
    double Real(double lo, double hi);
    // Uniform in [lo, hi], inclusive.
    int Int(int lo, int hi);

private:
    uint64_t state_;
};
