#pragma once

#include "variables/CorrelationMatrix.h"

#include <string>
#include <vector>

namespace probex {

class TCorrelations;
class TInputTable;
struct tDecodedEquations;

/// The inputs of a run that are drawn together through the copula: every random input of the
/// compiled equations named in a pair, in the order of the random list.
struct TCorrelatedGroup {
    std::vector<int> positions; ///< 1-based positions in the compiled set's random list
    std::vector<std::string> names;
    TSquareMatrix normal; ///< the normal-space correlations, in member order

    bool empty() const { return positions.empty(); }
};

/// Collects the group. A pair that names a variable the equations do not read is left out,
/// as the input rows of such names are. Returns the message for an input that cannot be drawn
/// through its inverse distribution function (a constant, the step number), empty on success.
std::string GroupCorrelatedInputs(const TCorrelations& correlations, const tDecodedEquations& set,
                                  const TInputTable& inputs, TCorrelatedGroup& group);

/// The question shown when the group's matrix is not positive definite: it says so and lists
/// the rank correlations the nearest valid matrix would use instead of the entered ones.
std::string NearestMatrixQuestion(const TCorrelatedGroup& group, const TSquareMatrix& nearest,
                                  char decimalSeparator);

} // namespace probex
