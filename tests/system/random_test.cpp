#include <gtest/gtest.h>

#include <cstdint>

#include "system/random.h"

namespace {

// The generator's step computed independently, in 64-bit arithmetic without Schrage's trick.
int64_t Lehmer(int64_t s)
{
    return s * 48271 % 2147483647;
}

} // namespace

TEST(Random, FirstStepsFromDefaultSeed)
{
    SeedRandom(0x1234);
    EXPECT_EQ(RandomSeedValue(), 0x1234);
    int64_t expected = 0x1234;
    NextRandomFloat();
    expected = Lehmer(expected);
    EXPECT_EQ(RandomSeedValue(), 224942860);
    EXPECT_EQ(RandomSeedValue(), expected);
    for (int i = 0; i < 1000; ++i) {
        NextRandomFloat();
        expected = Lehmer(expected);
        ASSERT_EQ(RandomSeedValue(), expected) << "step " << i;
    }
}

TEST(Random, SeedingRules)
{
    for (int32_t seed : {0, 0x7FFFFFFF, -1}) {
        SeedRandom(seed);
        EXPECT_EQ(RandomSeedValue(), 0x1234) << seed;
    }
    SeedRandom(-5); // 0xFFFFFFFB masked to 0x7FFFFFFB
    EXPECT_EQ(RandomSeedValue(), 0x7FFFFFFB);
    SeedRandom(77);
    EXPECT_EQ(RandomSeedValue(), 77);
}

TEST(Random, FloatAndDoubleFromStates)
{
    SeedRandom(0x1234);
    const float f = NextRandomFloat();
    EXPECT_FLOAT_EQ(f, static_cast<float>(224942860 & 0x0FFFFFF0) / 268435456.0f);

    SeedRandom(0x1234);
    const int64_t s1 = Lehmer(0x1234), s2 = Lehmer(s1);
    const double expected = ((s1 & 0x1FFFFFFC) + (s2 & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
    EXPECT_DOUBLE_EQ(NextRandomDouble(), expected);
}

TEST(Random, IntBoundsInEitherOrder)
{
    SeedRandom(99);
    for (int i = 0; i < 20000; ++i) {
        const int32_t a = RandomInt(5, 1);
        ASSERT_GE(a, 1);
        ASSERT_LE(a, 5);
        const int32_t b = RandomInt(0, 359);
        ASSERT_GE(b, 0);
        ASSERT_LE(b, 359);
        const int32_t c = RandomInt(-3, 3);
        ASSERT_GE(c, -3);
        ASSERT_LE(c, 3);
    }
    const int32_t before = RandomSeedValue();
    EXPECT_EQ(RandomInt(3, 3), 3);
    EXPECT_EQ(RandomSeedValue(), Lehmer(Lehmer(before))) << "equal bounds still take two steps";
}

TEST(Random, IntMatchesTheFormula)
{
    SeedRandom(4242);
    const int64_t s1 = Lehmer(4242), s2 = Lehmer(s1);
    const double u = ((s1 & 0x1FFFFFFC) + (s2 & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
    EXPECT_EQ(RandomInt(10, 20), 10 + static_cast<int>(u * 11));
}

TEST(Random, IntBoundsFarApartWrapIn32Bits)
{
    // The span max - min wraps: from INT32_MIN to INT32_MAX it is -1, so the result is max plus 0 or
    // 1, and max + 1 wraps to INT32_MIN. Bounds 4e9 apart span the short way round, through the wrap.
    SeedRandom(31);
    bool sawMax = false, sawMin = false;
    for (int i = 0; i < 1000; ++i) {
        const int32_t r = RandomInt(INT32_MIN, INT32_MAX);
        ASSERT_TRUE(r == INT32_MAX || r == INT32_MIN) << r;
        sawMax |= r == INT32_MAX;
        sawMin |= r == INT32_MIN;
        const int32_t far = RandomInt(-2000000000, 2000000000);
        ASSERT_TRUE(far >= 2000000000 || far <= -2000000000) << far;
        const int32_t reversed = RandomInt(INT32_MAX, INT32_MIN);
        ASSERT_TRUE(reversed == INT32_MIN || reversed == INT32_MAX) << reversed;
    }
    EXPECT_TRUE(sawMax && sawMin);
}

TEST(Random, RealBoundsInEitherOrder)
{
    SeedRandom(7);
    bool sawBelow = false;
    for (int i = 0; i < 20000; ++i) {
        const double r = RandomReal(2.0, 1.0);
        ASSERT_GE(r, 1.0);
        ASSERT_LT(r, 2.0);
        const double s = RandomReal(-1.0, 1.0);
        ASSERT_GE(s, -1.0);
        ASSERT_LT(s, 1.0);
        sawBelow |= s < 0;
    }
    EXPECT_TRUE(sawBelow);
}

TEST(Random, FloatNeverReachesOne)
{
    SeedRandom(1);
    for (int i = 0; i < 100000; ++i)
        ASSERT_LT(NextRandomFloat(), 1.0f);
}
