#include "variables/GeneratorPeriod.h"

#include "variables/Tiis.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

TIis Kind(DistKind kind) {
    TIis iis;
    iis.Kind = kind;
    return iis;
}

TEST(GeneratorPeriodTest, WarnsOnlyPastTwoToThe32Draws) {
    const TIis normal = Kind(DistKind::dkNormal), uniform = Kind(DistKind::dkUniform),
               constant = Kind(DistKind::dkConstant), continuous = Kind(DistKind::dkContinuous);
    const struct {
        std::int64_t steps;
        std::vector<const TIis*> inputs;
        bool warns;
    } cases[] = {
        {std::int64_t{1} << 31, {&normal}, false},      // exactly 2^32 draws
        {(std::int64_t{1} << 31) + 1, {&normal}, true}, // two more
        {std::int64_t{1} << 31, {&uniform, &constant}, false},
        {1431655766, {&uniform, &continuous}, true}, // 3 draws a step
        {1431655765, {&uniform, &continuous}, false},
        {std::int64_t{1} << 40, {&constant}, false}, // nothing drawn
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        const std::string warning = SimplePeriodWarning(c.steps, c.inputs);
        EXPECT_EQ(!warning.empty(), c.warns);
        EXPECT_EQ(warning.find("\"Parallel\"") != std::string::npos, c.warns);
    }
}

} // namespace
} // namespace probex
