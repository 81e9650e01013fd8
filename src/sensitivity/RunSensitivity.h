#pragma once

#include "sensitivity/RankSensitivity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

class TOutEquations;
class TOutputTable;

/// The name a sensitivity of the out equations' event goes by.
inline constexpr const char* EventOutputName = "Failure event";

/// The outputs of the run whose sensitivity can be had: every output with a log, in run-table
/// order. Empty when the run kept no input values.
std::vector<std::string> SensitivityOutputs(const TOutputTable& outputs);

/// The sensitivity of a logged output over the first `steps` steps; nullopt when the output
/// has no log or the run kept no input values.
std::optional<TSensitivity> OutputSensitivity(const TOutputTable& outputs, std::string_view name,
                                              std::int32_t steps);

/// The sensitivity of the event that the out equations' condition holds (Probability mode),
/// over the first `steps` steps; nullopt without compiled out equations in that mode, without
/// input values, or after an evaluation error (which the out equations have shown).
std::optional<TSensitivity> EventSensitivity(const TOutputTable& outputs, TOutEquations& out,
                                             std::int32_t steps);

} // namespace probex
