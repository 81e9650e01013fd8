#pragma once

// Several steps of a run evaluated together: each operation of the compiled schedule is
// applied to every step of the block before the next operation, so the dispatch is paid once
// per block and the processor can overlap the independent steps' arithmetic. Each step sees
// exactly the operations, in the order and with the range checks, of EvaluateEquations, so
// its values have the same bits.

#include "engine/EquationSet.h"

#include <array>

namespace probex {

/// Steps evaluated together.
inline constexpr int BlockSteps = 8;

/// One value per step of a block.
using tLanes = std::array<Extended, BlockSteps>;

/// The variable values of every step of a block and the value stack of the evaluation.
/// Large: keep it on the heap, one per run.
struct tBlockValues {
    std::array<tLanes, MaxVariables + 1> Values; ///< Values[variable][step of the block]
    std::array<tLanes, MaxOperands> Stack;       ///< [0] stands for the empty stack

    /// Every step takes the variable values of vars (constants and inputs not drawn keep
    /// them for the whole run).
    void load(const tVars& vars);
    /// Copies one step's values of every variable into vars.
    void storeStep(int step, tVars& vars) const;
};

/// Evaluates one compiled expression for every step of the block into result. False when
/// any step fails, or might fail: the single-step evaluation then tells.
bool EvaluateExpressionBlock(const tCompiledEquation& compiled, tBlockValues& block,
                             tLanes& result);

/// Evaluates every equation of the set, last first, for every step of the block, each step
/// with its own variable values, storing each result in its step's variable. False when any
/// step fails; the values are then partly computed, and the caller evaluates the steps one
/// by one to find the failure (EvaluateEquations reports it).
bool EvaluateEquationsBlock(const tDecodedEquations& set, tBlockValues& block);

} // namespace probex
