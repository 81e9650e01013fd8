#pragma once

// The literal two-stack evaluation of a compiled expression, working on its token list and
// operand table only. Slow on purpose: it re-decides precedence at every token, so that the
// engine's precomputed schedule can be checked against it (and timed against it).

#include "engine/Arithmetic.h"
#include "engine/Expression.h"

#include <array>
#include <cstdint>

namespace probex::test {

class ReferenceEvaluator {
public:
    static constexpr int OperatorCapacity = 512;
    static constexpr int OperandCapacity = 256;

    /// Evaluates as the engine must: same code, and on code 0 the same bits.
    tEvalResult run(const tCompiledEquation& compiled, const tVars& vars) {
        for (int i = 1; i <= compiled.OperandCount; ++i) {
            const tOperand& operand = compiled.Operands[i];
            m_values[i] = operand.VarIndex != 0 ? vars.Values[operand.VarIndex] : operand.Value;
        }
        m_operators[0] = tToken{tkBottom, 255, 0};
        m_operatorTop = 0;
        m_operands[0] = 0;
        m_operandTop = 0;
        int operandCounter = 0;

        tEvalResult result;
        for (int t = 1; t <= compiled.TokenCount; ++t) {
            const tToken token = compiled.Tokens[t];
            std::uint8_t code = ecNone;
            switch (token.Kind) {
            case tkEnd:
                if (top().Kind == tkBinary) code = applyBinaries(1);
                if (code == ecNone && top().Kind != tkBottom) code = ecError;
                break;
            case tkOpen:
                code = pushOperator(token);
                break;
            case tkClose:
                if (top().Kind == tkBinary) code = applyBinaries(1);
                if (code == ecNone && top().Kind == tkFunction) code = applyFunctions();
                if (code != ecNone) break;
                if (top().Kind != tkOpen) {
                    code = ecMissingOpen;
                    break;
                }
                if (m_operatorTop == 0) {
                    code = ecOperatorUnderflow;
                    break;
                }
                --m_operatorTop;
                if (top().Kind == tkFunction) code = applyFunctions();
                break;
            case tkFunction:
                code = pushOperator(token);
                break;
            case tkBinary:
                if (top().Priority >= token.Priority) code = applyBinaries(token.Priority);
                if (code == ecNone) code = pushOperator(token);
                break;
            case tkOperand:
                ++operandCounter;
                if (operandCounter > compiled.OperandCount) {
                    code = ecError;
                    break;
                }
                code = pushOperand(m_values[operandCounter]);
                if (code == ecNone && top().Kind == tkFunction) code = applyFunctions();
                break;
            case tkListSep:
                break;
            default:
                code = ecError;
                break;
            }
            if (code != ecNone) {
                result.Code = code;
                return result;
            }
        }

        if (m_operandTop == 0) {
            result.Code = ecOperandUnderflow;
            return result;
        }
        const Extended value = m_operands[m_operandTop--];
        if (m_operandTop != 0) {
            result.Code = ecError;
            return result;
        }
        if (!FinalInRange(value)) {
            result.Code = ecOverflow;
            return result;
        }
        result.Value = value;
        return result;
    }

private:
    const tToken& top() const { return m_operators[m_operatorTop]; }

    std::uint8_t pushOperator(tToken token) {
        if (m_operatorTop + 1 >= OperatorCapacity) return ecOperatorOverflow;
        m_operators[++m_operatorTop] = token;
        return ecNone;
    }

    std::uint8_t pushOperand(Extended value) {
        if (m_operandTop + 1 >= OperandCapacity) return ecOperandOverflow;
        m_operands[++m_operandTop] = value;
        return ecNone;
    }

    bool popOperand(Extended& value) {
        if (m_operandTop == 0) return false;
        value = m_operands[m_operandTop--];
        return true;
    }

    std::uint8_t applyBinaries(std::uint8_t threshold) {
        do {
            if (m_operatorTop == 0) return ecOperatorUnderflow;
            const tToken op = m_operators[m_operatorTop--];
            Extended x = 0, y = 0, r = 0;
            if (!popOperand(y) || !popOperand(x)) return ecOperandUnderflow;
            if (std::uint8_t code = BinaryResult(op.Code, x, y, r)) return code;
            if (!BinaryInRange(r)) return ecOverflow;
            if (std::uint8_t code = pushOperand(r)) return code;
        } while (top().Priority >= threshold);
        return ecNone;
    }

    std::uint8_t applyFunctions() {
        do {
            if (m_operatorTop == 0) return ecOperatorUnderflow;
            const tToken fn = m_operators[m_operatorTop--];
            Extended x = 0, r = 0;
            if (!popOperand(x)) return ecOperandUnderflow;
            if (std::uint8_t code = FunctionResult(fn.Code, x, r)) return code;
            if (!FunctionInRange(r)) return ecOverflow;
            if (std::uint8_t code = pushOperand(r)) return code;
        } while (top().Kind == tkFunction);
        return ecNone;
    }

    std::array<Extended, MaxOperands + 1> m_values{};
    std::array<tToken, OperatorCapacity> m_operators{};
    std::array<Extended, OperandCapacity> m_operands{};
    int m_operatorTop = 0;
    int m_operandTop = 0;
};

/// One-shot form of the reference evaluation.
inline tEvalResult ReferenceEvaluate(const tCompiledEquation& compiled, const tVars& vars) {
    ReferenceEvaluator evaluator;
    return evaluator.run(compiled, vars);
}

} // namespace probex::test
