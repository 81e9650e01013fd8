#pragma once

#include "components/MachineMemory.h"
#include "variables/Tiis.h"

#include <cstdint>
#include <string>

namespace probex {

class Prompter;
struct TLis;

/// Makes `iis` a histogram variable from a read distribution file: range, sampler values,
/// generation table (`Urn`), display profile and the statistics of what the urn draws.
/// Out-of-memory faults, and a table that would take more than a tenth of `memoryBytes`, are
/// shown as error boxes and return false; a histogram without any positive frequency throws
/// ELoadError("Wrong Cor values"). On every failure the variable is left undefined.
bool BuildHistogram(const TLis& lis, TIis& iis, Prompter& prompter,
                    std::uint64_t memoryBytes = PhysicalMemoryBytes());

/// The refusal of a generation table of `entries` bin indexes for the file `fileName` when it
/// would take more than a tenth of `memoryBytes` (the logs of a run may take the other nine);
/// empty when it fits or the memory is unknown (0). The message says what would fit.
std::string UrnMemoryProblem(std::int64_t entries, const std::string& fileName,
                             std::uint64_t memoryBytes);

/// Releases the generation table and makes the variable undefined.
void FreeHistogram(TIis& iis);

} // namespace probex
