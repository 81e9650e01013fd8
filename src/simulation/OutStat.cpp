#include "simulation/OutStat.h"

#include <cmath>

namespace probex {

void StatReset(TOutStat& stat) {
    stat = TOutStat{};
}

void StatCompute(TOutStat& stat, int level) {
    stat.level = static_cast<std::uint8_t>(level);
    if (level < 1) return;
    const bool spread = stat.started && stat.min != stat.max;
    if (!stat.started) {
        stat.mean = 0;
        stat.stdev = 0;
        stat.variance = 0;
        stat.covar = 0;
        stat.covarValid = false;
    } else if (!spread) {
        stat.mean = stat.min;
        stat.stdev = 0;
        stat.variance = 0;
        stat.covar = 0;
        stat.covarValid = false;
    } else {
        const Extended n = stat.count;
        stat.mean = stat.s1 / n;
        stat.variance = stat.s2 / n - stat.mean * stat.mean;
        // The sums lose digits when the spread is tiny against the mean; a variance that
        // rounds below 0 is really 0.
        if (stat.variance < 0) stat.variance = 0;
        stat.stdev = std::sqrt(stat.variance);
        stat.covarValid = stat.mean != 0;
        if (stat.covarValid) stat.covar = stat.stdev / stat.mean;
    }
    if (level < 2) return;
    // With a stdev of 0 (one value, or a spread lost to rounding) skew and kurtosis are
    // those of a single point rather than a division by zero.
    if (!spread || stat.stdev == 0) {
        stat.skew = 0;
        stat.kurt = -3;
        return;
    }
    const Extended n = stat.count;
    const Extended m = stat.mean;
    const Extended s = stat.stdev;
    stat.skew = (stat.s3 / n - 3 * m * stat.s2 / n + 2 * m * m * m) / (s * s * s);
    stat.kurt = (stat.s4 / n - 4 * m * stat.s3 / n + 6 * m * m * stat.s2 / n - 3 * m * m * m * m) /
                    (s * s * s * s) -
                3;
}

} // namespace probex
