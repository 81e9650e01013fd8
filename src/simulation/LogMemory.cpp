#include "simulation/LogMemory.h"

#include "engine/Extended.h"

#include <cstdio>
#include <unistd.h>

namespace probex {

namespace {

std::string Gigabytes(long double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1Lf GB", bytes / 1e9L);
    return text;
}

} // namespace

std::uint64_t PhysicalMemoryBytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

std::string LogMemoryProblem(std::int64_t logCount, std::int64_t steps, std::uint64_t memoryBytes) {
    if (logCount <= 0 || steps <= 0 || memoryBytes == 0) return {};
    // The rest of the program, the system and the other accumulators need room too.
    const long double budget = memoryBytes * 0.9L;
    const long double perStep = static_cast<long double>(logCount) * sizeof(Extended);
    const long double needed = perStep * steps;
    if (needed <= budget) return {};
    const auto fitting = static_cast<std::int64_t>(budget / perStep);
    return "No memory! The logs of " + std::to_string(logCount) +
           (logCount == 1 ? " variable need " : " variables need ") + Gigabytes(needed) + " for " +
           std::to_string(steps) + " steps; this machine has " + Gigabytes(memoryBytes) +
           ": at most " + std::to_string(fitting) + " steps fit.";
}

} // namespace probex
