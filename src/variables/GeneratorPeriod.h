#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace probex {

struct TIis;

/// The most draws one value of the record can take, rejections aside (a normal deviate may
/// take a whole Box-Muller pair).
std::int64_t MostDraws(const TIis& iis);

/// The warning before a run with "Simple" whose draws can reach the generator's period of
/// 2^32: `steps` times the most draws of the sampled inputs. Empty when they cannot.
std::string SimplePeriodWarning(std::int64_t steps, const std::vector<const TIis*>& inputs);

} // namespace probex
