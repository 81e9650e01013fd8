#pragma once

#include "engine/Extended.h"
#include "variables/CorrelationMatrix.h"

#include <vector>

namespace probex {

struct TIis;
class TRandom;

/// The Gaussian copula of a group of correlated inputs: standard normal deviates from the
/// generator, correlated by the Cholesky factor of their normal-space correlation matrix, and
/// each mapped through the standard normal distribution function and its input's truncated
/// inverse distribution function. Everything the draw needs is allocated by prepare.
class TCopula {
public:
    /// Takes the members' records (each must have a distribution function) and the
    /// normal-space matrix of the group, in member order. False, and an empty copula, when
    /// the matrix is not positive definite.
    bool prepare(std::vector<const TIis*> members, const TSquareMatrix& normalCorrelations);
    void clear();

    int size() const { return static_cast<int>(m_members.size()); }
    /// The Cholesky factor of the normal-space correlations, in member order.
    const TSquareMatrix& lower() const { return m_lower; }
    bool empty() const { return m_members.empty(); }
    const TIis& member(int i) const { return *m_members[static_cast<std::size_t>(i)]; }

    /// One value for every member, in member order, valid until the next draw. Draws size()
    /// normal deviates from the generator; allocates nothing and takes no lock.
    const Extended* draw(TRandom& random);

    /// The member's value for the correlated normal deviate z: TruncatedQuantile at Phi(z), for
    /// normal and lognormal members without either special function when their bounds cut
    /// off little.
    Extended valueAt(int i, Extended z) const;

private:
    /// What the series of valueAt needs of a normal or lognormal member.
    struct Bounds {
        bool normal = false; ///< normal or lognormal: the value follows from z directly
        bool lognormal = false;
        Extended lowerAtMin = 0; ///< the mass below Min
        Extended outside = 0;    ///< the mass below Min and above Max
    };

    std::vector<const TIis*> m_members;
    std::vector<Bounds> m_bounds;
    TSquareMatrix m_lower;
    std::vector<Extended> m_deviates; ///< the step's independent deviates
    std::vector<Extended> m_values;
};

/// The standard normal distribution function in extended precision.
Extended StandardNormalCdf(Extended z);

} // namespace probex
