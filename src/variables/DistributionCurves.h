#pragma once

#include "engine/Extended.h"
#include "variables/Tiis.h"

#include <array>

namespace probex {

/// The density and the distribution function of a parametric record truncated to [Min, Max]
/// (what its draws follow), at the 256 cells x_i = Min + i·(Max − Min)/255 of a profile.
/// Density[i] is the probability of the cell of width h = (Max − Min)/255 centred on x_i,
/// divided by h: a peak narrower than a cell still shows its probability, and the cells
/// together hold all of it.
struct TDistributionCurves {
    std::array<Extended, ProfileCells> X{};
    std::array<Extended, ProfileCells> Density{};
    std::array<Extended, ProfileCells> Distribution{};
};

/// Density of the truncated distribution at x: the untruncated density over the mass inside
/// [Min, Max]; 0 outside.
Extended TruncatedDensity(const TIis& iis, Extended x);

/// Distribution function of the truncated distribution: 0 at Min, 1 at Max.
Extended TruncatedDistribution(const TIis& iis, Extended x);

/// The curves of a parametric record (every kind with a formula: not a histogram) whose
/// parameters have been checked. False for other kinds and when no mass lies between Min
/// and Max.
bool TruncatedCurves(const TIis& iis, TDistributionCurves& curves);

} // namespace probex
