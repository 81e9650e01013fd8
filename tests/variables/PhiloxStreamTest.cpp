#include "variables/PhiloxStream.h"
#include "variables/Random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace probex {
namespace {

TEST(PhiloxStreamTest, MatchesPublishedKnownAnswers) {
    // Philox4x32-10 known-answer vectors: counter, key, expected words.
    struct Case {
        r123::Philox4x32::ctr_type counter;
        r123::Philox4x32::key_type key;
        std::array<std::uint32_t, 4> expected;
    };
    const std::vector<Case> cases = {
        {{{0, 0, 0, 0}}, {{0, 0}}, {0x6627e8d5, 0xe169c58d, 0xbc57ac4c, 0x9b00dbd8}},
        {{{~0u, ~0u, ~0u, ~0u}}, {{~0u, ~0u}}, {0x408f276d, 0x41c83b0e, 0xa20bc7c6, 0x6d5451fd}},
        {{{0x243f6a88, 0x85a308d3, 0x13198a2e, 0x03707344}},
         {{0xa4093822, 0x299f31d0}},
         {0xd16cfe09, 0x94fdcceb, 0x5001e420, 0x24126ea1}},
    };
    for (const Case& c : cases) {
        const auto words = r123::Philox4x32()(c.counter, c.key);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(words[i], c.expected[i]) << i;
    }
}

TEST(PhiloxStreamTest, StepDrawsFollowTheCounterLayout) {
    // Step 1 of seeds 0, 0 has counter {0, 0, 0, 0}: the first known answer.
    TPhiloxStream stream;
    stream.setKey(0, 0);
    stream.seekStep(1);
    EXPECT_EQ(stream.next(), 0x6627e8d5e169c58dull);
    EXPECT_EQ(stream.next(), 0xbc57ac4c9b00dbd8ull);
    // The third draw of the step is the second call of its counter.
    const auto second = r123::Philox4x32()({{1, 0, 0, 0}}, {{0, 0}});
    EXPECT_EQ(stream.next(), std::uint64_t{second[0]} << 32 | second[1]);

    // Step 2 + 5 blocks: step 1 within block 5.
    const std::int64_t step = 5 * TPhiloxStream::PhiloxBlockSteps + 2;
    const auto words = r123::Philox4x32()({{0, 1, 5, 0}}, {{7, 9}});
    stream.setKey(7, 9);
    stream.seekStep(step);
    EXPECT_EQ(stream.next(), std::uint64_t{words[0]} << 32 | words[1]);
    stream.seekBlock(5);
    stream.next();
    stream.seekStep(step);
    EXPECT_EQ(stream.next(), std::uint64_t{words[0]} << 32 | words[1]) << "seeking repeats";
    // A block index past 32 bits uses the counter's fourth word.
    const std::int64_t far = (std::int64_t{1} << 32) * TPhiloxStream::PhiloxBlockSteps + 1;
    const auto farWords = r123::Philox4x32()({{0, 0, 0, 1}}, {{7, 9}});
    stream.seekStep(far);
    EXPECT_EQ(stream.next(), std::uint64_t{farWords[0]} << 32 | farWords[1]);
}

TEST(PhiloxStreamTest, RealDrawsStayInsideTheOpenInterval) {
    TPhiloxStream stream;
    stream.setKey(1, 2);
    stream.seekStep(1);
    // Draws with the top bit set and clear alike.
    for (int step = 1; step <= 16; ++step) {
        stream.seekStep(step);
        const std::uint64_t bits = stream.next();
        stream.seekStep(step);
        ASSERT_EQ(stream.real(), static_cast<Extended>(bits | 1u) * 0x1p-64L) << step;
        stream.seekStep(step);
        ASSERT_EQ(stream.centred(), static_cast<Extended>(bits | 1u) * 0x1p-63L - 1) << step;
    }
    // The extremes of the 64 bits map inside (0, 1), exactly.
    EXPECT_GT(static_cast<Extended>(std::uint64_t{0} | 1u) * 0x1p-64L, 0.0L);
    EXPECT_LT(static_cast<Extended>(~std::uint64_t{0} | 1u) * 0x1p-64L, 1.0L);
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t k = stream.integer(10);
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 10);
    }
    EXPECT_EQ(stream.integer(0), 0);
}

TEST(PhiloxStreamTest, ParallelApplySeedKeysAndChoosesTheGenerator) {
    TRandom random(777);
    random.ApplySeed(false, GeneratorParallel, -1, (1LL << 32) + 3);
    EXPECT_TRUE(random.parallel());
    EXPECT_EQ(random.RandSeed, 777u) << "the Simple state is left alone";
    EXPECT_EQ(random.stream().key(0), 0xFFFFFFFFu);
    EXPECT_EQ(random.stream().key(1), 3u);
    TPhiloxStream expected;
    expected.setKey(0xFFFFFFFFu, 3);
    expected.seekStep(4);
    random.beginStep(4);
    EXPECT_EQ(random.Random(), expected.real());

    // Auto seeding keys from two fresh draws of the Simple state.
    TRandom simple(777);
    random.ApplySeed(true, GeneratorParallel, 0, 0);
    simple.Random();
    EXPECT_EQ(random.stream().key(0), simple.RandSeed);
    simple.Random();
    EXPECT_EQ(random.stream().key(1), simple.RandSeed);

    // Back to Simple with auto seeding: the Simple sequence goes on.
    random.ApplySeed(true, GeneratorSimple, 5);
    EXPECT_FALSE(random.parallel());
    EXPECT_EQ(random.Random(), simple.Random());
}

TEST(PhiloxStreamTest, StepValuesDoNotDependOnEarlierSteps) {
    TRandom a, b;
    a.ApplySeed(false, GeneratorParallel, 12, 34);
    b.ApplySeed(false, GeneratorParallel, 12, 34);
    // a walks steps 1..9 with uneven numbers of draws; b goes to 10.
    for (int step = 1; step < 10; ++step) {
        a.beginStep(step);
        for (int k = 0; k < step; ++k)
            a.NormalDeviate();
    }
    a.beginStep(10);
    b.beginStep(10);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(a.NormalDeviate(), b.NormalDeviate());
        EXPECT_EQ(a.Random(7), b.Random(7));
        EXPECT_EQ(a.Random(), b.Random());
    }
}

TEST(PhiloxStreamTest, SimpleIgnoresTheStepBoundaries) {
    TRandom a(42), b(42);
    a.NormalDeviate();
    b.NormalDeviate();
    a.beginStep(3);
    EXPECT_TRUE(a.hasCachedDeviate());
    EXPECT_EQ(a.NormalDeviate(), b.NormalDeviate());
    EXPECT_EQ(a.RandSeed, b.RandSeed);
}

} // namespace
} // namespace probex
