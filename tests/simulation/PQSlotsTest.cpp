#include "simulation/PQSlots.h"

#include <gtest/gtest.h>

#include <span>
#include <utility>
#include <vector>

namespace probex {
namespace {

std::vector<Extended> Values(const PQSlots& slots) {
    return {slots.begin(), slots.end()};
}

TEST(PQSlots, UnwrittenSlotsReadAsZerosWithoutMemoryOfTheirOwn) {
    const PQSlots a;
    const PQSlots b;
    EXPECT_EQ(Values(a), std::vector<Extended>(PQLineSlots, 0));
    EXPECT_EQ(a.data(), b.data()); // both read the one shared block of zeros
    PQSlots c;
    c[3] = 1;
    EXPECT_NE(std::as_const(c).data(), a.data());
}

TEST(PQSlots, BehavesAsAnArrayOfValues) {
    PQSlots slots;
    slots[PQLineSlots - 1] = 9;
    slots = {2, 3, 4}; // the rest becomes 0, the old last value too
    std::vector<Extended> expected(PQLineSlots, 0);
    expected[0] = 2, expected[1] = 3, expected[2] = 4;
    EXPECT_EQ(Values(slots), expected);

    PQSlots copy = slots; // a copy owns its values
    copy[0] = 7;
    EXPECT_EQ(slots[0], 2);
    slots = copy;
    EXPECT_EQ(slots[0], 7);
    copy[0] = 8;
    EXPECT_EQ(slots[0], 7);

    const std::span<const Extended> first = std::span(slots).first(2);
    EXPECT_EQ(std::vector<Extended>(first.begin(), first.end()), (std::vector<Extended>{7, 3}));
}

} // namespace
} // namespace probex
