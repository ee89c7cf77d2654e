#include "system/random.h"

namespace {

TRandom g_random;

} // namespace

void TRandom::Seed(int32_t seed)
{
    state_ = seed & 0x7FFFFFFF;
    if (state_ == 0 || state_ == 0x7FFFFFFF)
        state_ = 0x1234;
}

// Schrage's decomposition keeps 48271 * state inside 32 bits.
int32_t TRandom::Step()
{
    int32_t s = 48271 * (state_ % 44488) - 3399 * (state_ / 44488);
    if (s < 0)
        s += 0x7FFFFFFF;
    state_ = s;
    return s;
}

float TRandom::NextFloat()
{
    return static_cast<float>(Step() & 0x0FFFFFF0) / 268435456.0f;
}

double TRandom::NextDouble()
{
    const long double high = Step() & 0x1FFFFFFC;
    const long double low = Step() & 0x1FFFFFF8;
    return static_cast<double>((high + low / 134217728.0L) / 536870912.0L);
}

double TRandom::Real(double a, double b)
{
    const double u = NextDouble();
    if (b > a)
        return a + u * (b - a);
    return b + u * (a - b);
}

int32_t TRandom::Int(int32_t min, int32_t max)
{
    // The span and the final sum wrap in 32 bits, done unsigned: bounds more than 2^31 apart would
    // overflow signed arithmetic.
    const auto range = static_cast<int32_t>(static_cast<uint32_t>(max) - static_cast<uint32_t>(min));
    const double u = NextDouble();
    const int32_t base = range > 0 ? min : max;
    const double span = range > 0 ? static_cast<double>(range) + 1.0 : 1.0 - static_cast<double>(range);
    const auto offset = static_cast<int64_t>(u * span);
    return static_cast<int32_t>(static_cast<uint32_t>(base) + static_cast<uint32_t>(offset));
}

TRandom& GlobalRandom()
{
    return g_random;
}

void SeedRandom(int32_t seed)
{
    g_random.Seed(seed);
}

int32_t RandomSeedValue()
{
    return g_random.State();
}

float NextRandomFloat()
{
    return g_random.NextFloat();
}

double NextRandomDouble()
{
    return g_random.NextDouble();
}

double RandomReal(double a, double b)
{
    return g_random.Real(a, b);
}

int32_t RandomInt(int32_t min, int32_t max)
{
    return g_random.Int(min, max);
}
