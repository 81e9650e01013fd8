#pragma once

#include "engine/Extended.h"
#include "variables/Tiis.h"

#include <atomic>
#include <cstdint>
#include <limits>
#include <string>

namespace probex {

class TRandom;

/// Sets the defaults of the record's kind; for parametric kinds the derived values too, so
/// the record can be drawn from without a further check.
void SetDefaultParameters(TIis& iis);

/// Validates the entered parameters and derives the sampler's values and the statistics.
/// Returns the first failed check's message, empty on success; a failure leaves the derived
/// fields untouched. Pure on the record: discarding results is the caller's business.
std::string CheckParameters(TIis& iis);

/// Soft checks after a successful CheckParameters: the kind's last matching warning, followed
/// on a new line by SlowDrawingWarning when that applies (or, for a kind drawn by inversion,
/// by the note that almost no probability lies between Min and Max); empty when nothing
/// applies.
std::string CheckWarnings(const TIis& iis);

/// The warning that drawing a value may take practically forever, because less than 1e-6 of
/// the distribution lies between Min and Max; empty otherwise.
std::string SlowDrawingWarning(const TIis& iis);

/// Probability that the untruncated distribution puts strictly between Min and Max (1 for
/// the kinds that are not truncated).
Extended ProbabilityInsideBounds(const TIis& iis);

/// Probability that the untruncated distribution of a parametric record puts between a and b
/// (a uniform record spans [Min, Max]); tails are taken from the far side, so a small mass
/// keeps its digits.
Extended ProbabilityBetween(const TIis& iis, Extended a, Extended b);

/// What SampleValue returns for a draw that a stop request cut short: a quiet NaN, which no
/// finished draw gives. The step it belongs to must be abandoned.
inline constexpr Extended AbandonedDraw = std::numeric_limits<Extended>::quiet_NaN();

/// One value of the record's distribution for the given step of the run. Allocates nothing
/// and takes no lock. The Gumbel, Weibull, gamma, beta, triangular and PERT kinds take one
/// real draw and invert their truncated distribution function. A rejection loop checks `stop` (may
/// be null) once every million rejected draws; when it is set the loop is abandoned and
/// AbandonedDraw is returned.
Extended SampleValue(const TIis& iis, TRandom& random, std::int64_t step,
                     const std::atomic<bool>* stop = nullptr);

/// The value drawn in the first step of a run with initial extreme sampling.
Extended LowerExtreme(const TIis& iis);

/// The value drawn in the second step of a run with initial extreme sampling.
Extended UpperExtreme(const TIis& iis, std::int64_t lastStep);

} // namespace probex
