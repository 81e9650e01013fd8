#pragma once

#include "engine/Extended.h"
#include "variables/Tiis.h"

namespace probex {

/// Distribution function of the record's distribution as it is drawn, i.e. truncated to
/// Min..Max: 0 at or below Min, 1 at or above Max. Defined for every sampled kind. A discrete
/// histogram is the one exception to "0 at Min": its function steps at each bin value, so at
/// Min it is already the first bin's probability.
Extended TruncatedCdf(const TIis& iis, Extended x);

/// Inverse of TruncatedCdf for 0 < p < 1: F⁻¹(F(Min) + p (F(Max) − F(Min))) in extended
/// precision, taken from the nearer tail (survival function) so that a tiny mass between
/// Min and Max keeps its digits. Allocates nothing, throws nothing.
Extended TruncatedQuantile(const TIis& iis, Extended p);

/// Derives `Bounds` from the record's parameters (CheckParameters does it for every
/// parametric kind), so that TruncatedCdf and TruncatedQuantile evaluate no tail at a bound
/// per value; a record without them has them computed at each call.
void StoreBoundTails(TIis& iis);

/// True for the kinds that TruncatedCdf / TruncatedQuantile serve (every kind drawn from a
/// distribution: not undefined, constant or step number).
bool HasDistributionFunction(DistKind kind);

} // namespace probex
