#include "engine/Expression.h"

#include "engine/Arithmetic.h"
#include "engine/Schedule.h"

namespace probex {

tEvalResult EvaluateExpression(const tCompiledEquation& compiled, const tVars& vars) {
    if (compiled.Schedule.empty()) return {ecError, 0};
    // The schedule was checked against the stack sizes when it was built, so the value stack
    // never holds more than MaxOperands - 1 pending values.
    Extended stack[MaxOperands];
    Extended* top = stack; // stack[0] is the dummy entry
    const tOperand* operands = compiled.Operands.data();
    const Extended* values = vars.Values.data();
    std::uint8_t code;
    for (const tScheduleOp* op = compiled.Schedule.data();; ++op) {
        switch (op->Op) {
        case soPushConst:
            *++top = operands[op->Arg].Value;
            break;
        case soPushVar:
            *++top = values[op->Arg];
            break;
        case soBinary: {
            Extended r;
            if ((code = BinaryResult(op->Code, top[-1], top[0], r))) return {code, 0};
            if (!BinaryInRange(r)) return {ecOverflow, 0};
            *--top = r;
            break;
        }
        case soBinaryConst:
        case soBinaryVar: {
            const Extended y = op->Op == soBinaryConst ? operands[op->Arg].Value : values[op->Arg];
            Extended r;
            if ((code = BinaryResult(op->Code, *top, y, r))) return {code, 0};
            if (!BinaryInRange(r)) return {ecOverflow, 0};
            *top = r;
            break;
        }
        case soFunction: {
            Extended r;
            if ((code = FunctionResult(op->Code, *top, r))) return {code, 0};
            if (!FunctionInRange(r)) return {ecOverflow, 0};
            *top = r;
            break;
        }
        case soFail:
            return {op->Code, 0};
        case soFinish:
            if (!FinalInRange(*top)) return {ecOverflow, 0};
            return {ecNone, *top};
        default:
            return {ecError, 0};
        }
    }
}

} // namespace probex
