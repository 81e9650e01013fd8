#pragma once

// Small helpers shared by the expression engine tests.

#include "engine/BlockEvaluator.h"
#include "engine/Expression.h"
#include "engine/ReferenceEvaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace probex::test {

/// The 10 value bytes of an extended number (the padding is not part of the value).
inline bool SameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

/// Distance in units of the last place, for results the language does not fix exactly.
inline long double UlpDistance(Extended a, Extended b) {
    if (a == b) return 0;
    const Extended ulp = std::fabs(std::nextafter(b, a) - b);
    return std::fabs(a - b) / ulp;
}

/// A compiled expression with its own variable table; large, so kept on the heap.
struct CompiledText {
    tCompiledEquation compiled;
    tVars vars;
    TEquError error;
};

inline std::unique_ptr<CompiledText> Compile(std::string_view text,
                                             const tSeparators& separators = {}) {
    auto result = std::make_unique<CompiledText>();
    CompileExpression(text, result->compiled, result->vars, result->error, separators);
    return result;
}

/// Texts repeating a piece, for the limit tests.
inline std::string Repeat(std::string_view piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

/// A compile case: the error code and position the text gives (0, 0 when it compiles).
struct CompileCase {
    std::string text;
    int code;
    int pos;
};

template <typename Cases>
void CheckCompileErrors(const Cases& cases, const tSeparators& separators = {}) {
    for (const CompileCase& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        auto r = Compile(c.text, separators);
        EXPECT_EQ(r->error.Code, c.code);
        EXPECT_EQ(r->error.Pos, c.pos);
    }
}

/// An evaluation case: the text, with the variable x set to x when the text uses it.
struct EvalCase {
    std::string text;
    int code;
    Extended value = 0;
    int ulps = 0; ///< 0: the value is fixed exactly
    Extended x = 0;
};

/// Checks each case with the engine and with the reference evaluation.
template <typename Cases>
void CheckEvaluations(const Cases& cases, const tSeparators& separators = {}) {
    for (const EvalCase& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        auto r = Compile(c.text, separators);
        if (r->error.Code != 0) {
            ADD_FAILURE() << "compile error " << int(r->error.Code) << " at " << r->error.Pos;
            continue;
        }
        if (int x = FindVar("x", r->vars)) r->vars.Values[x] = c.x;
        const tEvalResult v = EvaluateExpression(r->compiled, r->vars);
        const tEvalResult ref = ReferenceEvaluate(r->compiled, r->vars);
        EXPECT_EQ(v.Code, c.code);
        EXPECT_EQ(ref.Code, c.code);
        // Several steps at a time: each step exactly as alone, and no failure missed.
        auto block = std::make_unique<tBlockValues>();
        block->load(r->vars);
        tLanes lanes{};
        const bool blockDone = EvaluateExpressionBlock(r->compiled, *block, lanes);
        EXPECT_EQ(blockDone, c.code == 0);
        if (c.code != 0 || v.Code != 0) continue;
        EXPECT_TRUE(SameBits(v.Value, ref.Value));
        for (const Extended lane : lanes)
            EXPECT_TRUE(!blockDone || SameBits(lane, v.Value));
        if (c.ulps == 0) {
            EXPECT_EQ(v.Value, c.value);
        } else {
            EXPECT_LE(UlpDistance(v.Value, c.value), c.ulps)
                << static_cast<double>(v.Value) << " vs " << static_cast<double>(c.value);
        }
    }
}

} // namespace probex::test
