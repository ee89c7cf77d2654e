#pragma once
#include <cstdint>

// The one global generator: multiplicative congruential, modulus 2^31 - 1, multiplier 48271.
// The game relies on the exact sequence of draws, so these follow the algorithm to the bit.
void SeedRandom(int32_t seed);
int32_t RandomSeedValue();
float NextRandomFloat();
double NextRandomDouble();
// Uniform between a and b, whichever is larger.
double RandomReal(double a, double b);
// Uniform integer between the two bounds, inclusive, in either order.
int32_t RandomInt(int32_t min, int32_t max);
