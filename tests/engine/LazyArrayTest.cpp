#include "engine/LazyArray.h"

#include "engine/Extended.h"

#include <gtest/gtest.h>

#include <span>
#include <utility>
#include <vector>

namespace probex {
namespace {

constexpr std::size_t Size = 256;
using Slots = LazyArray<Extended, Size>;

std::vector<Extended> Values(const Slots& slots) {
    return {slots.begin(), slots.end()};
}

TEST(LazyArray, UnwrittenSlotsReadAsZerosWithoutMemoryOfTheirOwn) {
    const Slots a;
    const Slots b;
    EXPECT_EQ(Values(a), std::vector<Extended>(Size, 0));
    EXPECT_EQ(a.data(), b.data()); // both read the one shared block of zeros
    Slots c;
    c[3] = 1;
    EXPECT_NE(std::as_const(c).data(), a.data());
}

TEST(LazyArray, BehavesAsAnArrayOfValues) {
    Slots slots;
    slots[Size - 1] = 9;
    slots = {2, 3, 4}; // the rest becomes 0, the old last value too
    std::vector<Extended> expected(Size, 0);
    expected[0] = 2, expected[1] = 3, expected[2] = 4;
    EXPECT_EQ(Values(slots), expected);

    Slots copy = slots; // a copy owns its values
    copy[0] = 7;
    EXPECT_EQ(slots[0], 2);
    slots = copy;
    EXPECT_EQ(slots[0], 7);
    copy[0] = 8;
    EXPECT_EQ(slots[0], 7);

    const std::array<Extended, Size>& whole = slots;
    EXPECT_EQ(whole[1], 3);
    const std::span<const Extended> first = std::span(slots).first(2);
    EXPECT_EQ(std::vector<Extended>(first.begin(), first.end()), (std::vector<Extended>{7, 3}));
}

} // namespace
} // namespace probex
