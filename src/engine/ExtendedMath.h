#pragma once

// Extended-precision elementary functions used by the expression language.

#include "engine/Extended.h"

#include <cmath>

namespace probex {

inline Extended SinX(Extended x) {
    return sinl(x);
}
inline Extended CosX(Extended x) {
    return cosl(x);
}
inline void SinCosX(Extended x, Extended& s, Extended& c) {
    sincosl(x, &s, &c);
}
inline Extended AtanX(Extended x) {
    return atanl(x);
}
inline Extended LnX(Extended x) {
    return logl(x);
}
inline Extended ExpX(Extended x) {
    return expl(x);
}

/// ln 10 in extended precision, computed once.
inline Extended Ln10() {
    static const Extended value = logl(10.0L);
    return value;
}

} // namespace probex
