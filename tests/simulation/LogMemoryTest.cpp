#include "simulation/LogMemory.h"

#include <gtest/gtest.h>

#include <string>

namespace probex {
namespace {

TEST(LogMemory, RefusesLogsBeyondNineTenthsOfTheMemoryAndSaysWhatFits) {
    constexpr std::uint64_t GB = 1000000000;
    struct Case {
        std::int64_t logs;
        std::int64_t steps;
        std::uint64_t memory;
        std::string message;
    };
    const Case cases[] = {
        {3, 999999999, 24 * GB,
         "No memory! The logs of 3 variables need 48.0 GB for 999999999 steps; this machine "
         "has 24.0 GB: at most 450000000 steps fit."},
        {1, 1000, 16000,
         "No memory! The logs of 1 variable need 0.0 GB for 1000 steps; this "
         "machine has 0.0 GB: at most 900 steps fit."},
        {1, 900, 16000, ""},
        {0, 999999999, 1, ""}, // nothing logged
        {3, 0, 1, ""},         // no step
        {3, 999999999, 0, ""}, // the memory is unknown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(LogMemoryProblem(c.logs, c.steps, c.memory), c.message);
    }
    EXPECT_GT(PhysicalMemoryBytes(), 0u);
}

} // namespace
} // namespace probex
