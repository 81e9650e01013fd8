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

} // namespace probex
