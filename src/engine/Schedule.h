#pragma once

#include "engine/Expression.h"

namespace probex {

/// Operations of an evaluation schedule. The two-stack evaluation applies operators in an
/// order, and fails for a structural reason at a point, that depend on the tokens alone; the
/// schedule records that order once, so evaluating is a run over a value stack.
enum ScheduleOpCode : std::uint8_t {
    soPushConst,   ///< push Operands[Arg].Value
    soPushVar,     ///< push vars.Values[Arg]
    soBinary,      ///< pop y, pop x, push x Code y
    soBinaryConst, ///< replace the top x by x Code Operands[Arg].Value
    soBinaryVar,   ///< replace the top x by x Code vars.Values[Arg]
    soFunction,    ///< replace the top x by function Code of x
    soFail,        ///< stop with error Code
    soFinish,      ///< the top is the result
};

/// Works out the evaluation schedule of a compiled token list (fills compiled.Schedule).
void BuildSchedule(tCompiledEquation& compiled);

} // namespace probex
