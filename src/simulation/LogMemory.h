#pragma once

#include "components/MachineMemory.h"

#include <cstdint>
#include <string>

namespace probex {

/// Logs are reserved lazily by the system, so a run whose logs cannot fit would start and
/// die much later. This is the refusal for logs of `logCount` variables over `steps` steps
/// when they need more than nine tenths of `memoryBytes`; empty when they fit or the memory
/// is unknown (0). The message says how many steps would fit.
std::string LogMemoryProblem(std::int64_t logCount, std::int64_t steps, std::uint64_t memoryBytes);

} // namespace probex
