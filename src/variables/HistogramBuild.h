#pragma once

#include "variables/Tiis.h"

namespace probex {

class Prompter;
struct TLis;

/// Makes `iis` a histogram variable from a read distribution file: range, sampler values,
/// generation table (`Urn`), display profile and the statistics of what the urn draws.
/// Out-of-memory faults are shown as error boxes and return false; a histogram without any
/// positive frequency throws ELoadError("Wrong Cor values"). On every failure the variable is
/// left undefined.
bool BuildHistogram(const TLis& lis, TIis& iis, Prompter& prompter);

/// Releases the generation table and makes the variable undefined.
void FreeHistogram(TIis& iis);

} // namespace probex
