#include "simulation/LogMemory.h"

#include "simulation/OutLog.h"

namespace probex {

std::string LogMemoryProblem(std::int64_t logCount, std::int64_t steps, std::uint64_t memoryBytes) {
    if (logCount <= 0 || steps <= 0 || memoryBytes == 0) return {};
    // The rest of the program, the system and the other accumulators need room too.
    const long double budget = memoryBytes * 0.9L;
    const long double perStep = static_cast<long double>(logCount) * sizeof(TOutLog::Slot);
    const long double needed = perStep * steps;
    if (needed <= budget) return {};
    const auto fitting = static_cast<std::int64_t>(budget / perStep);
    return "No memory! The logs of " + std::to_string(logCount) +
           (logCount == 1 ? " variable need " : " variables need ") + GigabytesText(needed) +
           " for " + std::to_string(steps) + " steps; this machine has " +
           GigabytesText(memoryBytes) + ": at most " + std::to_string(fitting) + " steps fit.";
}

} // namespace probex
