#pragma once

#include "engine/Extended.h"
#include "variables/Tiis.h"

#include <array>

namespace probex {

/// The fixed display shape of a parametric distribution: 256 whole-number cells.
using TDistributionShape = std::array<Extended, ProfileCells>;

/// Falling exponential: cell i is 969.5·e^(−6.85·(i+1)/255) rounded, cells 2 and 10 one higher.
const TDistributionShape& ExponentialShape();
/// Bell over ±3.5 standard deviations: cell i is 457.2·e^(−x²/2) rounded at
/// x = −3.5 + 7i/255, cells 74 and 181 one lower.
const TDistributionShape& NormalShape();
/// Flat: 255 in every cell.
const TDistributionShape& UniformShape();

/// The shape drawn for a parametric kind ("NOR" also serves the lognormal), or nullptr.
const TDistributionShape* ShapeForKind(DistKind kind);

} // namespace probex
