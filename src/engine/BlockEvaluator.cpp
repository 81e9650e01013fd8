#include "engine/BlockEvaluator.h"

#include "engine/Arithmetic.h"
#include "engine/Schedule.h"

#include <algorithm>
#include <type_traits>
#include <utility>

namespace probex {

namespace {

/// The right operand of every step: one constant, or one value per step.
inline Extended RightAt(Extended constant, int) {
    return constant;
}
inline Extended RightAt(const tLanes& lanes, int step) {
    return lanes[step];
}

/// Inside every range check with room to spare: |v| < 2^332, while the limit is 1.14 * 2^332.
/// A NaN is not inside. One comparison with a constant that loads as a double, in the loop
/// that makes the value, is the cheapest test the x87 allows.
inline bool Inside(Extended v) {
    return std::fabs(v) < 0x1p332;
}

/// True when every step's value passes the range check; the exact comparison is needed
/// only when some value is of the limit's own binary order.
template <bool (*InRange)(Extended)> inline bool LanesInRange(bool inside, const tLanes& lanes) {
    return inside || std::all_of(lanes.begin(), lanes.end(), InRange);
}

/// out = left op right for every step, with the checks of the single-step evaluation.
/// False when any step fails.
template <std::uint8_t Code, typename Right>
inline bool BinaryLanes(const tLanes& left, const Right& rightOperand, tLanes& out) {
    // A constant is read once: the stores to out could change it, as far as the compiler can
    // tell, so it would otherwise be loaded again for every step.
    const std::conditional_t<std::is_same_v<Right, Extended>, Extended, const Right&> right =
        rightOperand;
    bool bad = false, inside = true;
    for (int l = 0; l < BlockSteps; ++l) {
        const Extended x = left[l];
        const Extended y = RightAt(right, l);
        Extended r = 0;
        if constexpr (Code == opAdd) {
            r = x + y;
        } else if constexpr (Code == opSub) {
            r = x - y;
        } else if constexpr (Code == opMul) {
            r = x * y;
        } else if constexpr (Code == opDiv) {
            r = x / y; // by zero: an infinity or a NaN, which the range check refuses
        } else {
            bad |= BinaryResult(Code, x, y, r) != ecNone;
        }
        inside &= Inside(r);
        out[l] = r;
    }
    return !bad && LanesInRange<BinaryInRange>(inside, out);
}

template <std::uint8_t Code> bool FunctionLanes(tLanes& top) {
    bool bad = false, inside = true;
    for (int l = 0; l < BlockSteps; ++l) {
        Extended r = 0;
        bad |= FunctionResult(Code, top[l], r) != ecNone;
        inside &= Inside(r);
        top[l] = r;
    }
    return !bad && LanesInRange<FunctionInRange>(inside, top);
}

using FunctionOp = bool (*)(tLanes&);

template <std::size_t... Codes>
constexpr std::array<FunctionOp, sizeof...(Codes)> FunctionTable(std::index_sequence<Codes...>) {
    return {&FunctionLanes<static_cast<std::uint8_t>(Codes)>...};
}

// Indexed by function code; code 0 is no function and fails like the single-step evaluation.
constexpr auto Functions = FunctionTable(std::make_index_sequence<fnZero + 1>());

} // namespace

bool EvaluateExpressionBlock(const tCompiledEquation& compiled, tBlockValues& block,
                             tLanes& result) {
    if (compiled.Schedule.empty()) return false;
    // The stack lives in the block, the top included, so that a push copies one value and
    // every operation works in place. Slot 0 stands for the empty stack.
    tLanes* top = block.Stack.data();
    const tOperand* operands = compiled.Operands.data();
    const tLanes* values = block.Values.data();

    for (const tScheduleOp* op = compiled.Schedule.data();; ++op) {
        switch (op->Op) {
        case soPushConst:
            (++top)->fill(operands[op->Arg].Value);
            continue;
        case soPushVar:
            *++top = values[op->Arg];
            continue;
        case soFunction:
            if (op->Code >= Functions.size() || !Functions[op->Code](*top)) return false;
            continue;
        case soFinish:
            if (!LanesInRange<FinalInRange>(std::all_of(top->begin(), top->end(), Inside), *top))
                return false;
            result = *top;
            return true;

#define PROBEX_BLOCK_CASE(base, code, pop, right)                                                  \
    case base + code:                                                                              \
        top -= pop;                                                                                \
        if (!BinaryLanes<code>(*top, right, *top)) return false;                                   \
        continue;
#define PROBEX_BLOCK_CASES(base, pop, right)                                                       \
    PROBEX_BLOCK_CASE(base, opAdd, pop, right)                                                     \
    PROBEX_BLOCK_CASE(base, opSub, pop, right)                                                     \
    PROBEX_BLOCK_CASE(base, opMul, pop, right)                                                     \
    PROBEX_BLOCK_CASE(base, opDiv, pop, right)                                                     \
    PROBEX_BLOCK_CASE(base, opPow, pop, right)                                                     \
    PROBEX_BLOCK_CASE(base, opIntDiv, pop, right)                                                  \
    PROBEX_BLOCK_CASE(base, opMod, pop, right)

            // The left operand is the top, or for two stack operands the value below it; the
            // result takes the left one's place.
            PROBEX_BLOCK_CASES(soBinary, 1, top[1])
            PROBEX_BLOCK_CASES(soBinaryConst, 0, operands[op->Arg].Value)
            PROBEX_BLOCK_CASES(soBinaryVar, 0, values[op->Arg])
#undef PROBEX_BLOCK_CASES
#undef PROBEX_BLOCK_CASE
        default: // soFail and anything unknown
            return false;
        }
    }
}

void tBlockValues::load(const tVars& vars) {
    for (std::size_t v = 0; v < Values.size(); ++v)
        Values[v].fill(vars.Values[v]);
}

void tBlockValues::storeStep(int step, tVars& vars) const {
    for (std::int32_t v = 1; v <= vars.Count; ++v)
        vars.Values[static_cast<std::size_t>(v)] = Values[static_cast<std::size_t>(v)][step];
}

bool EvaluateEquationsBlock(const tDecodedEquations& set, tBlockValues& block) {
    for (int k = set.Count; k >= 1; --k) {
        const auto var = static_cast<std::size_t>(set.ResultVar[static_cast<std::size_t>(k)]);
        if (!EvaluateExpressionBlock(set.Equations[static_cast<std::size_t>(k)], block,
                                     block.Values[var]))
            return false;
    }
    return true;
}

} // namespace probex
