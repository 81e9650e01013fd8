#pragma once

// Extended-precision elementary functions of the expression language. The C library's long
// double functions are slow (a sine costs over 100 ns); the x87 instructions are several times
// cheaper and accurate to the last bit or two on small arguments. So the arguments are reduced
// here with extra-precise constants and the instructions do the rest; beyond the ranges where
// that reduction is exact, and for infinities and NaNs, the library takes over.

#include "engine/Extended.h"

#include <cmath>
#include <cstdint>

namespace probex {

namespace x87 {

// pi/2 in three parts of 36, 36 and 64 bits: k * part is exact for |k| < 2^28.
inline constexpr Extended PiHalf1 = 0x1.921fb5444p+0L;
inline constexpr Extended PiHalf2 = 0x1.68c234c4cp-39L;
inline constexpr Extended PiHalf3 = 0x1.98a2e03707344a4p-77L;
inline constexpr Extended TwoOverPi = 0x1.45f306dc9c882a54p-1L;
inline constexpr Extended TrigReductionLimit = 2.0e8L; // |x| * 2/pi stays below 2^28

// ln 2 in a 48-bit part and a 64-bit part: k * part is exact for |k| < 2^16.
inline constexpr Extended Ln2High = 0x1.62e42fefa39ep-1L;
inline constexpr Extended Ln2Low = 0x1.e6af278ece600fccp-50L;
inline constexpr Extended Log2E = 0x1.71547652b82fe178p+0L;
inline constexpr Extended ExpLimit = 11355.0L; // below the overflow and underflow of the format
// fyl2xp1 takes |x - 1| below 1 - sqrt(2)/2 only, and x - 1 is exact there. The bound is the
// double nearest 0.29, where the C library switches too, so both give the same bits.
inline constexpr Extended Ln1pRange = 0.29;
inline constexpr Extended LnLimit = 0x1.fffffffffffffffep+16383L; // the largest finite value

inline Extended RoundToIntegral(Extended x) {
    Extended r;
    asm("frndint" : "=t"(r) : "0"(x)); // to nearest: the rounding mode is never changed
    return r;
}

inline std::int64_t ToInt64(Extended integral) {
    std::int64_t k;
    asm("fistpll %0" : "=m"(k) : "t"(integral) : "st");
    return k;
}

inline Extended Sin(Extended r) {
    asm("fsin" : "+t"(r));
    return r;
}

inline Extended Cos(Extended r) {
    asm("fcos" : "+t"(r));
    return r;
}

inline void SinCos(Extended r, Extended& s, Extended& c) {
    asm("fsincos" : "=t"(c), "=u"(s) : "0"(r));
}

/// x = k*pi/2 + r with |r| <= pi/4 (a little more at the rounding edge); returns k mod 4.
inline int ReduceQuarterPi(Extended x, Extended& r) {
    const Extended k = RoundToIntegral(x * TwoOverPi);
    r = ((x - k * PiHalf1) - k * PiHalf2) - k * PiHalf3;
    return static_cast<int>(ToInt64(k) & 3);
}

} // namespace x87

inline void SinCosX(Extended x, Extended& s, Extended& c) {
    if (!(std::fabs(x) < x87::TrigReductionLimit)) {
        sincosl(x, &s, &c);
        return;
    }
    Extended r, sr, cr;
    const int quadrant = x87::ReduceQuarterPi(x, r);
    x87::SinCos(r, sr, cr);
    switch (quadrant) {
    case 0:
        s = sr, c = cr;
        break;
    case 1:
        s = cr, c = -sr;
        break;
    case 2:
        s = -sr, c = -cr;
        break;
    default:
        s = -cr, c = sr;
        break;
    }
}

inline Extended SinX(Extended x) {
    if (!(std::fabs(x) < x87::TrigReductionLimit)) return sinl(x);
    Extended r;
    const int quadrant = x87::ReduceQuarterPi(x, r);
    const Extended v = (quadrant & 1) ? x87::Cos(r) : x87::Sin(r);
    return (quadrant & 2) ? -v : v;
}

inline Extended CosX(Extended x) {
    if (!(std::fabs(x) < x87::TrigReductionLimit)) return cosl(x);
    Extended r;
    const int quadrant = x87::ReduceQuarterPi(x, r);
    const Extended v = (quadrant & 1) ? x87::Sin(r) : x87::Cos(r);
    return ((quadrant + 1) & 2) ? -v : v;
}

inline Extended AtanX(Extended x) {
    Extended r;
    asm("fpatan" : "=t"(r) : "0"(1.0L), "u"(x) : "st(1)"); // atan(x / 1)
    return r;
}

/// ln x for x > 0 through fyl2x, and near 1 through fyl2xp1 on the exact x - 1, which keeps
/// the full relative precision of results close to 0. Inlined, it saves the library call and
/// its wrapper, which checks and classifies the argument first.
inline Extended LnX(Extended x) {
    if (!(x > 0 && x <= x87::LnLimit)) return logl(x); // 0, negatives, infinity and NaN
    Extended r;
    if (std::fabs(x - 1) <= x87::Ln1pRange) {
        asm("fldln2\n\tfxch\n\tfyl2xp1" : "=t"(r) : "0"(x - 1) : "st(1)");
    } else {
        asm("fldln2\n\tfxch\n\tfyl2x" : "=t"(r) : "0"(x) : "st(1)");
    }
    return r;
}

inline Extended ExpX(Extended x) {
    if (!(std::fabs(x) < x87::ExpLimit)) return expl(x);
    // x = k ln 2 + r with |r| <= ln 2 / 2, then e^x = 2^k (1 + (2^(r log2 e) - 1)).
    const Extended k = x87::RoundToIntegral(x * x87::Log2E);
    const Extended r = (x - k * x87::Ln2High) - k * x87::Ln2Low;
    Extended m;
    asm("f2xm1" : "=t"(m) : "0"(r * x87::Log2E));
    m += 1;
    Extended result;
    asm("fscale" : "=t"(result) : "0"(m), "u"(k));
    return result;
}

/// ln 10 in extended precision.
inline const Extended Ln10Value = logl(10.0L);
inline Extended Ln10() {
    return Ln10Value;
}

} // namespace probex
