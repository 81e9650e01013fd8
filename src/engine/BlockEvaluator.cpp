#include "engine/BlockEvaluator.h"

#include "engine/Arithmetic.h"
#include "engine/Schedule.h"

#include <algorithm>
#include <cstring>
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

/// The biased exponent of a value as it lies in memory. Below SafeExponent a value passes
/// every range check, since its magnitude is below 2^332 and the limit is 1.14 * 2^332;
/// infinities and NaNs have the largest exponent, 7FFF.
constexpr unsigned SafeExponent = 0x414B;
inline unsigned ExponentOf(const Extended& v) {
    std::uint16_t signAndExponent;
    std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&v) + 8,
                sizeof signAndExponent);
    return signAndExponent & 0x7FFFu;
}

/// True when every step's value passes the range check. An integer test of the exponents
/// settles nearly every block; the exact comparisons are left for values of the limit's own
/// binary order, which x87 comparisons against a constant in memory would cost every time.
template <bool (*InRange)(Extended)> inline bool LanesInRange(const tLanes& lanes) {
    unsigned largest = 0;
    for (const Extended& v : lanes)
        largest = std::max(largest, ExponentOf(v));
    if (largest < SafeExponent) return true;
    return std::all_of(lanes.begin(), lanes.end(), InRange);
}

/// out = left op right for every step, with the checks of the single-step evaluation.
/// False when any step fails.
template <std::uint8_t Code, typename Right>
inline bool BinaryLanes(const tLanes& left, const Right& right, tLanes& out) {
    bool bad = false;
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
        out[l] = r;
    }
    return !bad && LanesInRange<BinaryInRange>(out);
}

template <std::uint8_t Code> bool FunctionLanes(tLanes& top) {
    bool bad = false;
    for (int l = 0; l < BlockSteps; ++l) {
        Extended r = 0;
        bad |= FunctionResult(Code, top[l], r) != ecNone;
        top[l] = r;
    }
    return !bad && LanesInRange<FunctionInRange>(top);
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
            if (!LanesInRange<FinalInRange>(*top)) return false;
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
