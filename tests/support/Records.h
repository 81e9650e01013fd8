#pragma once

#include "variables/Distributions.h"
#include "variables/Tiis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace probex::test {

/// An input record of `kind` with its entered parameters, not yet checked.
inline TIis MakeRecord(DistKind kind, Extended min, Extended max, Extended mean, Extended stDev,
                       Extended mode = 0) {
    TIis iis;
    iis.Kind = kind;
    iis.Min = min;
    iis.Max = max;
    iis.Mean = mean;
    iis.StDev = stDev;
    iis.Mode = mode;
    return iis;
}

/// The same record after CheckParameters, which must accept it.
inline TIis CheckedRecord(DistKind kind, Extended min, Extended max, Extended mean,
                          Extended stDev) {
    TIis iis = MakeRecord(kind, min, max, mean, stDev);
    EXPECT_EQ(CheckParameters(iis), "");
    return iis;
}

/// The inputs a, b, n, g, s and f of the run tests' model, in that order: two uniforms, a
/// normal on [normalMin, 3], a lognormal, the step number and a constant that equals the step
/// number in step failAt (never when failAt is 0), where the model divides by s - f.
inline std::vector<TIis> RunModelRecords(Extended normalMin, std::int32_t failAt) {
    std::vector<TIis> records = {CheckedRecord(DistKind::dkUniform, 1, 2, 0, 0),
                                 CheckedRecord(DistKind::dkUniform, 0, 1, 0, 0),
                                 CheckedRecord(DistKind::dkNormal, normalMin, 3, 0, 1),
                                 CheckedRecord(DistKind::dkLognormal, 0, 50, 2, 1),
                                 CheckedRecord(DistKind::dkStepNumber, 0, 0, 0, 0),
                                 CheckedRecord(DistKind::dkConstant, 0, 0, 0, 0)};
    records[5].Loc = failAt > 0 ? failAt : -1;
    return records;
}

} // namespace probex::test
