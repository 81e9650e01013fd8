#pragma once

#include "engine/Extended.h"

namespace probex::bench {

/// The beam and poly models run by hand-written loops (Steps, seed RunSeed); the probability
/// of their failure conditions.
Extended HandBeam();
Extended HandPoly();

} // namespace probex::bench
