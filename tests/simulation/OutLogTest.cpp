#include "simulation/OutLog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

namespace probex {
namespace {

Extended StepValue(std::int32_t slot) {
    return slot * 0.5L + 1e-3L;
}

TEST(OutLog, GrowKeepsEveryValue) {
    // Sizes below and above the 2 MiB threshold of the huge-page path, grown across it.
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {0, 10}, {1, 2}, {1000, 1001}, {100000, 300000}, {300000, 1000000}};
    for (const auto& [size, newSize] : cases) {
        SCOPED_TRACE(testing::Message() << size << " -> " << newSize);
        TOutLog log;
        ASSERT_TRUE(log.allocate(size));
        ASSERT_EQ(log.size(), size);
        for (std::int32_t s = 0; s < size; ++s)
            log.store(s, StepValue(s));
        log.store(size, 99); // beyond the log: dropped
        ASSERT_TRUE(log.grow(newSize));
        ASSERT_EQ(log.size(), newSize);
        for (std::int32_t s = 0; s < size; ++s)
            ASSERT_EQ(log[s], StepValue(s)) << s;
        for (std::int32_t s = size; s < newSize; ++s)
            ASSERT_EQ(log[s], 0) << s;
        log.store(newSize - 1, 7);
        EXPECT_EQ(log[newSize - 1], 7);
        ASSERT_TRUE(log.grow(size)); // smaller: nothing changes
        EXPECT_EQ(log.size(), newSize);
    }
}

TEST(OutLog, SlotsKeepEveryBitOfTheirValue) {
    // Neighbouring slots share no byte: each value comes back whole after all are stored.
    const Extended values[] = {-0.0L,
                               std::numeric_limits<Extended>::denorm_min(),
                               std::numeric_limits<Extended>::max(),
                               -std::numeric_limits<Extended>::min(),
                               1 + std::numeric_limits<Extended>::epsilon(),
                               -1e100L,
                               0x1.fffffffffffffffep-1L};
    constexpr std::int32_t count = sizeof values / sizeof values[0];
    TOutLog log;
    ASSERT_TRUE(log.allocate(count));
    for (std::int32_t s = 0; s < count; ++s)
        log.store(s, values[s]);
    for (std::int32_t s = 0; s < count; ++s) {
        const Extended back = log[s];
        EXPECT_EQ(std::memcmp(&back, &values[s], 10), 0) << s;
    }
}

TEST(OutLog, FailureLeavesTheLogUsable) {
    TOutLog log;
    EXPECT_FALSE(log.allocate(-1));
    EXPECT_EQ(log.size(), 0);
    log.store(0, 1); // nothing to store into, and no crash
    ASSERT_TRUE(log.allocate(3));
    for (std::int32_t s = 0; s < 3; ++s)
        log.store(s, StepValue(s));
    // 32 GiB of address space may or may not be granted; either way nothing is lost.
    if (log.grow(std::numeric_limits<std::int32_t>::max())) {
        EXPECT_EQ(log.size(), std::numeric_limits<std::int32_t>::max());
    } else {
        EXPECT_EQ(log.size(), 3);
    }
    for (std::int32_t s = 0; s < 3; ++s)
        EXPECT_EQ(log[s], StepValue(s));
    TOutLog moved = std::move(log);
    EXPECT_EQ(log.size(), 0);
    EXPECT_EQ(moved[2], StepValue(2));
}

} // namespace
} // namespace probex
