#pragma once

#include "engine/Extended.h"
#include "variables/PhiloxStream.h"

namespace probex {

/// A standard normal deviate of the "Parallel" generator by the ziggurat method of Marsaglia
/// and Tsang: 256 layers of equal area under exp(-x^2/2). A deviate takes one 64-bit draw of the
/// stream (its low 8 bits pick the layer, bit 8 the sign, the upper 55 bits the position), and
/// about one in a hundred takes more: an exponential for the wedge of its layer, or the tail
/// beyond the base layer. The tables are computed once, in extended precision, from the two
/// constants of the 256-layer ziggurat; they and the draw's bits fix every value.
Extended ZigguratNormal(TPhiloxStream& stream);

} // namespace probex
