#include "variables/Random.h"

#include "engine/ExtendedMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace probex {
namespace {

TEST(RandomTest, StateSequenceIsFixed) {
    const std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>> cases = {
        {0u, {1u, 134775814u}},
        {12345u, {1655067934u, 1242767767u, 342459380u, 2377737157u, 2721613530u, 1467157059u}},
        {0xFFFFFFFFu, {0xF7F77BFCu}},
    };
    for (const auto& [seed, states] : cases) {
        SCOPED_TRACE(seed);
        TRandom random(seed);
        for (std::uint32_t expected : states) {
            EXPECT_EQ(random.Random(), static_cast<Extended>(expected) * 0x1p-32L);
            EXPECT_EQ(random.RandSeed, expected);
        }
    }
}

TEST(RandomTest, IntegerDrawIsUpperHalfOfProduct) {
    struct Case {
        std::int32_t n;
        std::vector<std::int32_t> draws;
    };
    const std::vector<Case> cases = {
        {4, {1, 1, 0, 2, 2, 1}}, {10, {3, 2, 0, 5, 6, 3}}, {1, {0, 0, 0, 0, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        TRandom random(12345);
        for (std::int32_t expected : c.draws)
            EXPECT_EQ(random.Random(c.n), expected);
    }
    TRandom random(0xFFFFFFFFu - 134775813u);
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t k = random.Random(0x7FFFFFFF);
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 0x7FFFFFFF);
    }
}

TEST(RandomTest, ApplySeed) {
    struct Case {
        bool autoSeed;
        std::int32_t generator;
        std::int64_t seed1;
        std::uint32_t seedAfter;
        bool cacheAfter;
    };
    const std::vector<Case> cases = {
        {true, 0, 12345, 777u, true},           {false, 0, 12345, 12345u, false},
        {false, 1, 12345, 777u, false},         {false, 0, -1, 0xFFFFFFFFu, false},
        {false, 0, (1LL << 32) + 5, 5u, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed1);
        TRandom random(5);
        random.NormalDeviate();
        random.RandSeed = 777;
        random.ApplySeed(c.autoSeed, c.generator, c.seed1);
        EXPECT_EQ(random.RandSeed, c.seedAfter);
        EXPECT_EQ(random.hasCachedDeviate(), c.cacheAfter);
    }
}

TEST(RandomTest, NormalPairSkipsZeroAndCachesSine) {
    // 649090867 advances to 0, which cannot be the first uniform of a pair.
    TRandom random(649090867u);
    TRandom raw(649090867u);
    EXPECT_EQ(raw.Random(), 0.0L);
    const Extended u1 = raw.Random();
    const Extended u2 = raw.Random();
    const Extended r = std::sqrt(-2 * LnX(u1));
    const Extended theta = 2 * std::numbers::pi_v<Extended> * u2;
    Extended sinTheta, cosTheta;
    SinCosX(theta, sinTheta, cosTheta);
    EXPECT_EQ(random.NormalDeviate(), r * cosTheta);
    EXPECT_EQ(random.RandSeed, raw.RandSeed);
    EXPECT_EQ(random.NormalDeviate(), r * sinTheta);
    EXPECT_EQ(random.RandSeed, raw.RandSeed) << "the cached deviate draws nothing";
}

TEST(RandomTest, RandomizeUsesTimeOfDay) {
    TRandom random(0xFFFFFFFFu);
    random.NormalDeviate();
    random.Randomize();
    EXPECT_LT(random.RandSeed, 86400000u);
    EXPECT_FALSE(random.hasCachedDeviate());
}

} // namespace
} // namespace probex
