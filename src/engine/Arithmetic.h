#pragma once

// The arithmetic of the expression language: results and domain errors of the binary
// operators and the functions. Range checks are the caller's, since their bounds differ
// (binary results, function results and the final value each have their own).

#include "engine/Expression.h"
#include "engine/ExtendedMath.h"

#include <cmath>
#include <cstdint>

namespace probex {

/// The range limit: the extended number nearest to 1E100.
inline constexpr Extended RangeLimit = 1e100L;
inline constexpr Extended PiHalf = 1.57079632679489661923132169163975144L;
inline constexpr Extended Pi = 2 * PiHalf;

/// Priority of a binary operator code.
inline constexpr std::uint8_t BinaryPriority[8] = {0, 1, 1, 2, 2, 3, 2, 2};

namespace detail {

/// Rounds halves to the even neighbour; false when the result is no 32-bit integer.
inline bool RoundToInt32(Extended v, std::int64_t& out) {
    Extended r = std::nearbyint(v); // the default rounding mode is to nearest, ties to even
    if (!(r >= -2147483648.0L && r <= 2147483647.0L)) return false;
    out = static_cast<std::int64_t>(r);
    return true;
}

inline std::uint8_t IntegerDivision(bool remainder, Extended x, Extended y, Extended& r) {
    std::int64_t a, b;
    if (!RoundToInt32(x, a) || !RoundToInt32(y, b) || b == 0) return ecInvalidArgument;
    // 64-bit arithmetic, so that -2147483648 DIV -1 gives 2147483648 instead of overflowing.
    r = static_cast<Extended>(remainder ? a % b : a / b);
    return ecNone;
}

inline std::uint8_t Power(Extended x, Extended y, Extended& r) {
    if (x == 0) {
        r = 0; // 0^0 and 0^-1 are 0 too
        return ecNone;
    }
    if (y - std::trunc(y) == 0) {
        r = ExpX(y * LnX(std::fabs(x)));
        Extended half = y / 2;
        if (x < 0 && half - std::trunc(half) != 0) r = -r;
    } else {
        if (x < 0) return ecInvalidArgument;
        r = ExpX(y * LnX(x));
    }
    return std::isinf(r) ? ecOverflow : ecNone;
}

} // namespace detail

/// x op y for a binary operator code; 0 or the error code (15, 16, 17).
inline std::uint8_t BinaryResult(std::uint8_t code, Extended x, Extended y, Extended& r) {
    switch (code) {
    case opAdd:
        r = x + y;
        return ecNone;
    case opSub:
        r = x - y;
        return ecNone;
    case opMul:
        r = x * y;
        return ecNone;
    case opDiv:
        if (y == 0) return ecDivisionByZero;
        r = x / y;
        return ecNone;
    case opPow:
        return detail::Power(x, y, r);
    case opIntDiv:
        return detail::IntegerDivision(false, x, y, r);
    case opMod:
        return detail::IntegerDivision(true, x, y, r);
    default:
        return ecError;
    }
}

/// f(x) for a function code (1 is negation); 0 or 17.
inline std::uint8_t FunctionResult(std::uint8_t code, Extended x, Extended& r) {
    switch (code) {
    case fnNegate:
        r = -x;
        return ecNone;
    case fnSin:
        r = SinX(x);
        return ecNone;
    case fnCos:
        r = CosX(x);
        return ecNone;
    case fnTan: {
        Extended s, c;
        SinCosX(x, s, c);
        if (c == 0) return ecInvalidArgument;
        r = s / c;
        return ecNone;
    }
    case fnCot: {
        Extended s, c;
        SinCosX(x, s, c);
        if (s == 0) return ecInvalidArgument;
        r = c / s;
        return ecNone;
    }
    case fnAsin: {
        Extended d = 1 - x * x;
        if (d < 0) return ecInvalidArgument;
        Extended t = std::sqrt(d);
        r = t == 0 ? (x > 0 ? PiHalf : -PiHalf) : AtanX(x / t);
        return ecNone;
    }
    case fnAcos: {
        if (x == 0) {
            r = PiHalf;
            return ecNone;
        }
        Extended d = 1 - x * x;
        if (d < 0) return ecInvalidArgument;
        r = AtanX(std::sqrt(d) / x);
        if (x < 0) r += Pi; // keeps the inverse cosine between 0 and pi
        return ecNone;
    }
    case fnAtan:
        r = AtanX(x);
        return ecNone;
    case fnAcot:
        if (x == 0) return ecInvalidArgument;
        r = AtanX(1 / x);
        return ecNone;
    case fnLn:
        if (x <= 0) return ecInvalidArgument;
        r = LnX(x);
        return ecNone;
    case fnLog:
        if (x <= 0) return ecInvalidArgument;
        r = LnX(x) / Ln10();
        return ecNone;
    case fnAbs:
        r = std::fabs(x);
        return ecNone;
    case fnInt:
        r = std::trunc(x);
        return ecNone;
    case fnFrac:
        r = x - std::trunc(x);
        return ecNone;
    case fnSgn:
        r = x > 0 ? 1 : (x < 0 ? -1 : 0);
        return ecNone;
    case fnPos:
        r = x > 0 ? 1 : 0;
        return ecNone;
    case fnNeg:
        r = x < 0 ? 1 : 0;
        return ecNone;
    case fnZero:
        r = x == 0 ? 1 : 0;
        return ecNone;
    default:
        return ecError;
    }
}

/// The range checks: binary results -L <= r < L, function results -L < r < L, the final
/// value -L <= r <= L. Written so that a NaN fails each of them.
inline bool BinaryInRange(Extended r) {
    return r >= -RangeLimit && r < RangeLimit;
}
inline bool FunctionInRange(Extended r) {
    return r > -RangeLimit && r < RangeLimit;
}
inline bool FinalInRange(Extended r) {
    return r >= -RangeLimit && r <= RangeLimit;
}

/// BinaryInRange with one comparison on the common path.
inline bool BinaryFits(Extended r) {
    return std::fabs(r) < RangeLimit || r == -RangeLimit;
}

} // namespace probex
