#include "engine/Schedule.h"

#include <array>

namespace probex {

namespace {

constexpr int OperatorStackSize = 512; // the bottom marker included
constexpr int OperandStackSize = 256;  // the dummy value included

/// Runs the two-stack evaluation on the tokens without values: the operator stack is real,
/// the operand stack is only its depth. Every application is recorded as it would happen.
class Planner {
public:
    explicit Planner(tCompiledEquation& compiled) : m_c(compiled) { m_ops[0] = {tkBottom, 255, 0}; }

    void run();

private:
    const tToken& top() const { return m_ops[m_opCount - 1]; }
    bool pushOperator(const tToken& t) {
        if (m_opCount >= OperatorStackSize) return fail(ecOperatorOverflow);
        m_ops[m_opCount++] = t;
        return true;
    }
    bool fail(std::uint8_t code) {
        emit(soFail, code, 0);
        return false;
    }
    void emit(std::uint8_t op, std::uint8_t code, std::uint32_t arg) {
        m_c.Schedule.push_back({op, code, arg});
    }
    bool applyBinaries(int threshold);
    bool applyFunction();
    bool applyFunctions();
    bool pushOperand();

    tCompiledEquation& m_c;
    std::array<tToken, OperatorStackSize> m_ops{};
    int m_opCount = 1;
    int m_depth = 1;   // operand stack entries, the dummy included
    int m_operand = 0; // operands taken so far
};

bool Planner::applyBinaries(int threshold) {
    do {
        if (m_opCount <= 1) return fail(ecOperatorUnderflow);
        const tToken op = m_ops[--m_opCount];
        if (m_depth <= 2) return fail(ecOperandUnderflow); // right and left both needed
        m_depth -= 1;                                      // two popped, one pushed
        emit(static_cast<std::uint8_t>(soBinary + op.Code), op.Code, 0);
    } while (top().Priority >= threshold);
    return true;
}

bool Planner::applyFunction() {
    if (m_opCount <= 1) return fail(ecOperatorUnderflow);
    const tToken fn = m_ops[--m_opCount];
    if (m_depth <= 1) return fail(ecOperandUnderflow);
    emit(soFunction, fn.Code, 0);
    return true;
}

bool Planner::applyFunctions() {
    do {
        if (!applyFunction()) return false;
    } while (top().Kind == tkFunction);
    return true;
}

bool Planner::pushOperand() {
    if (++m_operand > m_c.OperandCount) return fail(ecError);
    if (m_depth >= OperandStackSize) return fail(ecOperandOverflow);
    ++m_depth;
    const tOperand& operand = m_c.Operands[m_operand];
    if (operand.VarIndex == 0)
        emit(soPushConst, 0, static_cast<std::uint32_t>(m_operand));
    else
        emit(soPushVar, 0, operand.VarIndex);
    if (top().Kind == tkFunction) return applyFunctions();
    return true;
}

void Planner::run() {
    for (int k = 1; k <= m_c.TokenCount; ++k) {
        const tToken& t = m_c.Tokens[k];
        switch (t.Kind) {
        case tkEnd:
            if (top().Kind == tkBinary && !applyBinaries(1)) return;
            if (top().Kind != tkBottom) {
                fail(ecError); // an unclosed "("
                return;
            }
            if (m_depth <= 1) {
                fail(ecOperandUnderflow);
                return;
            }
            if (m_depth > 2) {
                fail(ecError); // more than one value left, e.g. "1,2"
                return;
            }
            emit(soFinish, 0, 0);
            return;
        case tkOpen:
            if (!pushOperator(t)) return;
            break;
        case tkClose:
            if (top().Kind == tkBinary && !applyBinaries(1)) return;
            if (top().Kind == tkFunction && !applyFunction()) return;
            if (top().Kind != tkOpen) {
                fail(ecMissingOpen);
                return;
            }
            --m_opCount;
            if (top().Kind == tkFunction && !applyFunctions()) return;
            break;
        case tkFunction:
            if (!pushOperator(t)) return;
            break;
        case tkBinary:
            if (top().Priority >= t.Priority && !applyBinaries(t.Priority)) return;
            if (!pushOperator(t)) return;
            break;
        case tkOperand:
            if (!pushOperand()) return;
            break;
        default: // list separators take no part
            break;
        }
    }
    fail(ecError); // no end token: cannot happen for a compiled expression
}

/// Folds "push operand; binary" into one operation that takes its right operand directly.
void FuseOperands(std::vector<tScheduleOp>& ops) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const tScheduleOp& op = ops[i];
        if (i + 1 < ops.size() && ops[i + 1].Op > soBinary && ops[i + 1].Op < soBinaryConst &&
            (op.Op == soPushConst || op.Op == soPushVar)) {
            const std::uint8_t base = op.Op == soPushConst ? soBinaryConst : soBinaryVar;
            ops[out++] = {static_cast<std::uint8_t>(base + ops[i + 1].Code), ops[i + 1].Code,
                          op.Arg};
            ++i;
        } else {
            ops[out++] = op;
        }
    }
    ops.resize(out);
}

} // namespace

void BuildSchedule(tCompiledEquation& compiled) {
    compiled.Schedule.clear();
    compiled.Schedule.reserve(static_cast<std::size_t>(compiled.TokenCount) + 2);
    Planner(compiled).run();
    FuseOperands(compiled.Schedule);
}

} // namespace probex
