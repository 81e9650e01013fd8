#pragma once

#include "engine/Expression.h"

namespace probex {

/// Operations of an evaluation schedule. The two-stack evaluation applies operators in an
/// order, and fails for a structural reason at a point, that depend on the tokens alone; the
/// schedule records that order once, so evaluating is a run over a value stack.
// Operation codes of a schedule step.
constexpr std::uint8_t soPushConst = 0; ///< push Operands[Arg].Value
constexpr std::uint8_t soPushVar = 1;   ///< push vars.Values[Arg]
constexpr std::uint8_t soFunction = 2;  ///< replace the top x by function Code of x
constexpr std::uint8_t soFail = 3;      ///< stop with error Code
constexpr std::uint8_t soFinish = 4;    ///< the top is the result
// Binary operations carry their operator in the op itself (base + operator code), so the
// evaluator dispatches once per operation.
constexpr std::uint8_t soBinary = 8;       ///< pop y, pop x, push x op y
constexpr std::uint8_t soBinaryConst = 16; ///< replace the top x by x op Operands[Arg].Value
constexpr std::uint8_t soBinaryVar = 24;   ///< replace the top x by x op vars.Values[Arg]

/// Works out the evaluation schedule of a compiled token list (fills compiled.Schedule).
void BuildSchedule(tCompiledEquation& compiled);

} // namespace probex
