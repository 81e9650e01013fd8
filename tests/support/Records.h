#pragma once

#include "variables/Distributions.h"
#include "variables/Tiis.h"

#include <gtest/gtest.h>

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

} // namespace probex::test
