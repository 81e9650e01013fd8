#pragma once

#include "engine/Extended.h"
#include "variables/Copula.h"
#include "variables/CorrelationMatrix.h"

#include <cstdint>
#include <string>
#include <vector>

namespace probex {

struct TIis;

/// A random input as a coordinate of standard normal space.
struct TMappedInput {
    std::string name;
    std::int32_t varIndex = 0; ///< in the main equation set
    const TIis* iis = nullptr;
};

/// The map from a point u of standard normal space to the values x of the random inputs.
/// Every method reaches the inputs through toInputs alone, so that dependent inputs (a
/// Gaussian copula, x = T(L·u)) change this one function and nothing else.
class TInputMapping {
public:
    void add(TMappedInput input) { m_inputs.push_back(std::move(input)); }
    int dimension() const { return static_cast<int>(m_inputs.size()); }
    const std::vector<TMappedInput>& inputs() const { return m_inputs; }

    /// Readies the inputs' own inverses once every input is added: normal and lognormal inputs
    /// then go straight from z to their value, without the distribution function and its
    /// inverse, as the run's copula draws them.
    void prepare();

    /// Makes the inputs at `members` (indexes into inputs()) correlated through the Gaussian
    /// copula whose normal-space correlations have the Cholesky factor `lower`.
    void correlate(std::vector<int> members, TSquareMatrix lower);

    /// x_i = F_i⁻¹(Φ(z_i)) with each input's truncated distribution, where z = u for the
    /// independent inputs and z = L·u over the members of a correlated group.
    void toInputs(const Extended* u, Extended* x) const;

private:
    std::vector<TMappedInput> m_inputs;
    TCopula m_marginals; ///< the inputs uncorrelated: only its valueAt serves
    std::vector<int> m_members;
    TSquareMatrix m_lower;
};

} // namespace probex
