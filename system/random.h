#pragma once
#include <cstdint>

// A multiplicative congruential generator, modulus 2^31 - 1, multiplier 48271. The game relies
// on the exact sequence of draws, so these follow the algorithm to the bit.
class TRandom {
public:
    explicit TRandom(int32_t seed = 0x1234) { Seed(seed); }
    void Seed(int32_t seed);
    int32_t State() const { return state_; }
    float NextFloat();
    double NextDouble();
    // Uniform between a and b, whichever is larger.
    double Real(double a, double b);
    // Uniform integer between the two bounds, inclusive, in either order.
    int32_t Int(int32_t min, int32_t max);

private:
    int32_t Step();
    int32_t state_ = 0x1234;
};

// The one global generator every play, effect and background draws from.
TRandom& GlobalRandom();
void SeedRandom(int32_t seed);
int32_t RandomSeedValue();
float NextRandomFloat();
double NextRandomDouble();
double RandomReal(double a, double b);
int32_t RandomInt(int32_t min, int32_t max);
