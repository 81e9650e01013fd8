#include "engine/Expression.h"

#include "engine/Arithmetic.h"
#include "engine/Schedule.h"

namespace probex {

// The top of the value stack lives in a local (an x87 register) and the rest in a small
// array; every operation is dispatched once, with its operator part of the op code.
tEvalResult EvaluateExpression(const tCompiledEquation& compiled, const tVars& vars) {
    if (compiled.Schedule.empty()) return {ecError, 0};
    // The schedule was checked against the stack sizes when it was built, so the value stack
    // never holds more than MaxOperands - 1 pending values.
    Extended stack[MaxOperands];
    Extended* below = stack; // stack[0] holds the dummy entry's place
    Extended top = 0;
    const tOperand* operands = compiled.Operands.data();
    const Extended* values = vars.Values.data();
    Extended y, r;
    std::uint8_t code;

    for (const tScheduleOp* op = compiled.Schedule.data();; ++op) {
        switch (op->Op) {
        case soPushConst:
            *++below = top;
            top = operands[op->Arg].Value;
            continue;
        case soPushVar:
            *++below = top;
            top = values[op->Arg];
            continue;
        case soFunction:
            if ((code = FunctionResult(op->Code, top, r))) return {code, 0};
            if (!FunctionInRange(r)) return {ecOverflow, 0};
            top = r;
            continue;
        case soFail:
            return {op->Code, 0};
        case soFinish:
            if (!FinalInRange(top)) return {ecOverflow, 0};
            return {ecNone, top};

#define PROBEX_RIGHT_CONST operands[op->Arg].Value
#define PROBEX_RIGHT_VAR values[op->Arg]
#define PROBEX_BINARY_CASES(base, right)                                                           \
    case base + opAdd:                                                                             \
        r = top + (right);                                                                         \
        if (!BinaryFits(r)) return {ecOverflow, 0};                                                \
        top = r;                                                                                   \
        continue;                                                                                  \
    case base + opSub:                                                                             \
        r = top - (right);                                                                         \
        if (!BinaryFits(r)) return {ecOverflow, 0};                                                \
        top = r;                                                                                   \
        continue;                                                                                  \
    case base + opMul:                                                                             \
        r = top * (right);                                                                         \
        if (!BinaryFits(r)) return {ecOverflow, 0};                                                \
        top = r;                                                                                   \
        continue;                                                                                  \
    case base + opDiv:                                                                             \
        y = (right);                                                                               \
        if (y == 0) return {ecDivisionByZero, 0};                                                  \
        r = top / y;                                                                               \
        if (!BinaryFits(r)) return {ecOverflow, 0};                                                \
        top = r;                                                                                   \
        continue;                                                                                  \
    case base + opPow:                                                                             \
    case base + opIntDiv:                                                                          \
    case base + opMod:                                                                             \
        y = (right);                                                                               \
        if ((code = BinaryResult(op->Code, top, y, r))) return {code, 0};                          \
        if (!BinaryFits(r)) return {ecOverflow, 0};                                                \
        top = r;                                                                                   \
        continue;

            // Stack operands: the right one is the top, the left one comes from below.
        case soBinary + opAdd:
            y = top, top = *below--;
            r = top + y;
            if (!BinaryFits(r)) return {ecOverflow, 0};
            top = r;
            continue;
        case soBinary + opSub:
            y = top, top = *below--;
            r = top - y;
            if (!BinaryFits(r)) return {ecOverflow, 0};
            top = r;
            continue;
        case soBinary + opMul:
            y = top, top = *below--;
            r = top * y;
            if (!BinaryFits(r)) return {ecOverflow, 0};
            top = r;
            continue;
        case soBinary + opDiv:
        case soBinary + opPow:
        case soBinary + opIntDiv:
        case soBinary + opMod:
            y = top, top = *below--;
            if ((code = BinaryResult(op->Code, top, y, r))) return {code, 0};
            if (!BinaryFits(r)) return {ecOverflow, 0};
            top = r;
            continue;
            PROBEX_BINARY_CASES(soBinaryConst, PROBEX_RIGHT_CONST)
            PROBEX_BINARY_CASES(soBinaryVar, PROBEX_RIGHT_VAR)
#undef PROBEX_BINARY_CASES
#undef PROBEX_RIGHT_CONST
#undef PROBEX_RIGHT_VAR
        default:
            return {ecError, 0};
        }
    }
}

} // namespace probex
