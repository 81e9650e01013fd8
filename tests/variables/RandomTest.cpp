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

// The state whose advance gives `state`.
std::uint32_t PreviousState(std::uint32_t state) {
    std::uint32_t inverse = 134775813u; // of the multiplier modulo 2^32, by Newton's steps
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 134775813u * inverse;
    return (state - 1u) * inverse;
}

TEST(RandomTest, NormalPairEqualsGeneralFormulaAtEdges) {
    // States of the first uniform at the switch between the two logarithm instructions, and of
    // the second at the ties and edges of its quarter turns.
    const std::vector<std::uint32_t> firstStates = {0xB5C28F5Bu, 0xB5C28F5Cu, 0xB5C28F5Du,
                                                    1u,          0xFFFFFFFFu, 0x80000000u};
    std::vector<std::uint32_t> secondStates = {1u, 0xFFFFFFFFu};
    for (std::uint32_t k = 1; k < 8; ++k)
        for (std::uint32_t d : {-2u, -1u, 0u, 1u, 2u})
            secondStates.push_back((k << 29) + d);
    std::vector<std::uint32_t> seeds;
    for (std::uint32_t state : firstStates)
        seeds.push_back(PreviousState(state));
    for (std::uint32_t state : secondStates)
        seeds.push_back(PreviousState(PreviousState(state)));
    for (std::uint32_t i = 0; i < 2000; ++i)
        seeds.push_back(i * 2654435761u);
    for (std::uint32_t seed : seeds) {
        SCOPED_TRACE(seed);
        TRandom random(seed);
        TRandom raw(seed);
        Extended u1, u2;
        do
            u1 = raw.Random();
        while (u1 <= 0);
        do
            u2 = raw.Random();
        while (u2 <= 0);
        const Extended r = std::sqrt(-2 * LnX(u1));
        Extended sinTheta, cosTheta;
        SinCosX(2 * std::numbers::pi_v<Extended> * u2, sinTheta, cosTheta);
        ASSERT_EQ(random.NormalDeviate(), r * cosTheta);
        ASSERT_EQ(random.NormalDeviate(), r * sinTheta);
    }
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
