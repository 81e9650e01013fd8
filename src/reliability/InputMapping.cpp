#include "reliability/InputMapping.h"

#include "reliability/StandardNormal.h"
#include "variables/DistributionFunctions.h"

#include <cmath>
#include <limits>

namespace probex {

void TInputMapping::toInputs(const Extended* u, Extended* x) const {
    // Far out (|u| > 9) Φ(u) rounds to 1; the nearest probability inside (0, 1) stands in.
    constexpr Extended Tiny = std::numeric_limits<Extended>::min();
    const Extended belowOne = std::nextafter(Extended{1}, Extended{0});
    for (std::size_t i = 0; i < m_inputs.size(); ++i) {
        Extended p = NormalCdf(u[i]);
        if (!(p > Tiny)) p = Tiny;
        if (!(p < belowOne)) p = belowOne;
        x[i] = TruncatedQuantile(*m_inputs[i].iis, p);
    }
}

} // namespace probex
