#include "reliability/StandardNormal.h"

#include <cmath>

namespace probex {

namespace {

constexpr Extended InvSqrt2 = 0.707106781186547524400844362104849039L;
constexpr Extended InvSqrt2Pi = 0.398942280401432677939946059934381868L;

} // namespace

Extended NormalCdf(Extended u) {
    return 0.5L * std::erfc(-u * InvSqrt2);
}

Extended NormalDensity(Extended u) {
    return InvSqrt2Pi * std::exp(-0.5L * u * u);
}

Extended TNormalStream::uniform() {
    // 53 random bits with half a step added: exact, never 0, never 1.
    return (static_cast<Extended>(m_engine() >> 11) + 0.5L) * 0x1p-53L;
}

Extended TNormalStream::next() {
    if (m_hasKept) {
        m_hasKept = false;
        return m_kept;
    }
    Extended a, b, s;
    do {
        a = 2 * uniform() - 1;
        b = 2 * uniform() - 1;
        s = a * a + b * b;
    } while (s >= 1 || s == 0);
    const Extended f = std::sqrt(-2 * std::log(s) / s);
    m_kept = b * f;
    m_hasKept = true;
    return a * f;
}

} // namespace probex
