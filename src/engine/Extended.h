#pragma once

#include <cstdint>
#include <limits>

namespace probex {

/// Every value of the model: the x87 80-bit format (64-bit mantissa, 15-bit exponent).
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Probex needs long double to be the x87 80-bit extended format");

/// Builds an extended number from its biased exponent (with the sign bit) and mantissa bits.
Extended ExtendedFromBits(std::uint16_t signAndExponent, std::uint64_t mantissa);

/// Truncates toward zero with fisttp, which needs no switch of the x87 rounding mode (a plain
/// conversion switches it twice, which costs more than the rest of a histogram add).
/// The value must fit in 32 bits.
inline std::int32_t TruncateToInt32(Extended x) {
    std::int32_t result;
    asm("fisttpl %0" : "=m"(result) : "t"(x) : "st");
    return result;
}

} // namespace probex
