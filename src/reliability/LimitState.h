#pragma once

#include "engine/Extended.h"
#include "reliability/InputMapping.h"
#include "reliability/ReliabilitySettings.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace probex {

class TInputTable;
struct tDecodedEquations;

/// The model as a function of a point of standard normal space: the inputs are set through
/// the mapping, the equations and then the out equations are evaluated, and the condition's
/// value v becomes the limit state g, negative on the side where the condition holds.
class TLimitState {
public:
    TLimitState(tDecodedEquations& mainSet, tDecodedEquations& outSet);

    /// Checks that the model can be evaluated at chosen points by `method` and binds the out
    /// equations to it: the condition needs a side (no "=" or "<>"), no input may be a step
    /// number, every name the out equations read must be computed by the equations (or be
    /// the parameter, given only in Parameter mode). Reads the random inputs from the main
    /// set's RandomList, whose Ref are rows of `inputs`. Returns the message, empty when fine;
    /// `warning` gets what the person should know about the result (may stay empty).
    std::string bind(const TInputTable& inputs, std::uint8_t relation, ReliabilityMethod method,
                     const std::string& parameterName, std::string& warning);

    /// Draws the inputs at the 1-based random-list `positions` through the Gaussian copula with
    /// the Cholesky factor `lower` (after a successful bind).
    void correlate(const std::vector<int>& positions, const TSquareMatrix& lower);

    int dimension() const { return m_mapping.dimension(); }
    const TInputMapping& mapping() const { return m_mapping; }

    void setParameter(Extended value);
    /// Read once per evaluation: a set flag makes every further evaluation fail at once.
    void setStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }
    bool stopRequested() const {
        return m_stop != nullptr && m_stop->load(std::memory_order_relaxed);
    }

    struct Value {
        Extended g = 0;     ///< the limit state: below 0 where the condition holds
        bool fails = false; ///< the condition holds (also on g = 0 for "<=" and ">=")
    };
    /// Evaluates the model at u; returns 0 or the error code of the failing equation.
    std::uint8_t evaluate(const Extended* u, Value& value);

    std::int64_t evaluations() const { return m_evaluations; }
    void resetEvaluations() { m_evaluations = 0; }

    /// The input values at u.
    std::vector<Extended> inputsAt(const std::vector<Extended>& u) const;

    /// The error code of an evaluation cut short by a stop request.
    static constexpr std::uint8_t Stopped = 255;

private:
    struct Link {
        std::int32_t outVar = 0;
        std::int32_t mainVar = 0;
    };

    tDecodedEquations& m_main;
    tDecodedEquations& m_out;
    TInputMapping m_mapping;
    std::vector<Link> m_links;
    std::vector<std::int32_t> m_parameterVars;
    std::vector<Extended> m_x;
    std::uint8_t m_relation = 0;
    Extended m_sign = 1;
    const std::atomic<bool>* m_stop = nullptr;
    std::int64_t m_evaluations = 0;
};

} // namespace probex
