#include "engine/Extended.h"

#include <cstring>

namespace probex {

Extended ExtendedFromBits(std::uint16_t signAndExponent, std::uint64_t mantissa) {
    // x86 little-endian layout: 8 bytes of mantissa, then 2 bytes of sign and exponent.
    unsigned char bytes[sizeof(Extended)] = {};
    std::memcpy(bytes, &mantissa, 8);
    std::memcpy(bytes + 8, &signAndExponent, 2);
    Extended value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

} // namespace probex
