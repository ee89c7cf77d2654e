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
