#pragma once

#include "engine/Extended.h"
#include "engine/LazyArray.h"

namespace probex {

constexpr int PQLineSlots = 256; ///< lines of a probability or quantile window

/// The lines of a probability or quantile window, 0 until written.
using PQSlots = LazyArray<Extended, PQLineSlots>;

} // namespace probex
