#pragma once

#include "variables/Tiis.h"

#include <string>

namespace probex {

/// True for the kinds drawn by inverting their distribution function truncated to Min..Max
/// (Gumbel, smallest-value Gumbel, Weibull, gamma, beta, triangular, PERT).
bool IsInversionKind(DistKind kind);

/// True for the kinds entered with a mode (triangular, PERT) instead of a mean and deviation.
bool EntersMode(DistKind kind);

/// The entered defaults of an inversion kind and the statistics it shows.
void SetInversionDefaults(TIis& iis);

/// Derives the sampler's values (Loc, Scale, Shape, Shape2) and the statistics of an
/// inversion kind from its finite entered values, Min < Max; returns the failed check's
/// message, empty on success.
std::string DeriveInversionKind(TIis& iis);

/// The kind's soft check after a successful derivation: its last matching warning, then on
/// a new line the one for an input with almost no probability between Min and Max.
std::string InversionKindWarning(const TIis& iis);

} // namespace probex
