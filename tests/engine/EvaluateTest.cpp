// Evaluation: precedence and binding, brackets, the range checks and the fixed constants.

#include "engine/Arithmetic.h"
#include "engine/ExpressionTestSupport.h"

#include <gtest/gtest.h>

namespace probex::test {
namespace {

const Extended L = ExtendedFromBits(0x414B, 0x924D692CA61BE758);

TEST(Evaluate, RangeLimitAndHalfPiHaveTheirExactBits) {
    EXPECT_TRUE(SameBits(RangeLimit, L));
    EXPECT_TRUE(SameBits(1e100L, L)); // the nearest extended number to 10^100
    EXPECT_TRUE(SameBits(PiHalf, ExtendedFromBits(0x3FFF, 0xC90FDAA22168C235)));
    EXPECT_EQ(PiHalf, 1.57079632679489661926L);
    EXPECT_TRUE(SameBits(Pi, ExtendedFromBits(0x4000, 0xC90FDAA22168C235)));
}

TEST(Evaluate, PrecedenceAndBinding) {
    static const EvalCase cases[] = {
        {"2^3^2", 0, 64, 8},
        {"-2^2", 0, 4, 4},
        {"-(2^2)", 0, -4, 4},
        {"2*3^2", 0, 18, 8},
        {"1+2*3", 0, 7},
        {"2*3+1", 0, 7},
        {"8/4/2", 0, 1},
        {"2-3-4", 0, -5},
        {"8 DIV 3 DIV 2", 0, 1},
        {"2*3 MOD 4", 0, 2},
        {"2+3 MOD 2", 0, 3},
        {"12/2*3", 0, 18},
        {"-3+5", 0, 2},
        {"-2*3", 0, -6},
        {"-x^2", 0, 9, 4, 3},
        {"-ABS x", 0, -3, 0, -3},
        {"SGN x*5", 0, -5, 0, -2},
        {"INT 2.5*2", 0, 4},
        {"NEG ABS x", 0, 0, 0, -1},
        {"ABS INT x", 0, 2, 0, -2.7L},
        {"ZERO(x-x)", 0, 1, 0, 5},
        {"(2+3)*4", 0, 20},
        {"2*(3+4)", 0, 14},
        {"((2))", 0, 2},
        {"(2)+(3)", 0, 5},
        {"2^(1+1)", 0, 4, 4},
        {"-(1)-(2)", 0, -3},
        {"SGN(1)-1", 0, 0},
        {"1/3", 0, 1.0L / 3},
        {"x/3*3-x", 0, (7.0L / 3 * 3) - 7, 0, 7},
    };
    CheckEvaluations(cases, std::size(cases));
}

TEST(Evaluate, BracketsAndLeftoverValues) {
    static const EvalCase cases[] = {
        {"(1+2", 1},   {"1+2)", 5},  {"1,2", 1},      {"((1)", 1},        {"(1))", 5},
        {"1)+(2", 5},  {"(1,2)", 1}, {"SIN(1,2)", 1}, {"1/0)", 15},       {"(1/0", 15},
        {"2,1/0", 15}, {"1/0,2", 1}, {"1,1E200", 1},  {"1E60*1E60,1", 1},
    };
    CheckEvaluations(cases, std::size(cases));
}

TEST(Evaluate, RangeChecks) {
    static const EvalCase cases[] = {
        {"1E60*1E60", 16}, // binary result
        {"1E200", 16},     // the final check only
        {"-1E200", 16},    // the negation's result
        {"1E200*0", 0, 0}, // operands themselves are not checked
        {"ZERO 1E200", 0, 0},
        {"1E200-1E200", 0, 0},
        {"1E100", 0, L}, // final check: -L <= r <= L
        {"(1E100)", 0, L},
        {"0-1E100", 0, -L}, // binary check: -L <= r < L
        {"0-1E100-1", 0, -L},
        {"1E100+0", 16},
        {"1E100*1", 16},
        {"1E100-1", 16},
        {"-1E100", 16}, // function check: -L < r < L
        {"ABS 1E100", 16},
        {"INT 1E200", 16},
        {"1E99+1E99", 0, 2e99L},
        {"1E4000*1E4000", 16},
        {"1E4000/1E-4000", 16},
        {"x*x", 16, 0, 0, 1e60L},
        {"x", 16, 0, 0, -1e200L},
        {"x+0", 0, -L, 0, -L},
        {"x", 0, L, 0, L},
        {"-x", 16, 0, 0, L},
    };
    CheckEvaluations(cases, std::size(cases));
}

TEST(Evaluate, NotANumberFailsEveryRangeCheck) {
    static const EvalCase cases[] = {
        {"x", 16, 0, 0, std::numeric_limits<Extended>::quiet_NaN()},
        {"x+1", 16, 0, 0, std::numeric_limits<Extended>::quiet_NaN()},
        {"ABS x", 16, 0, 0, std::numeric_limits<Extended>::quiet_NaN()},
        {"x-x", 16, 0, 0, std::numeric_limits<Extended>::infinity()},
        {"ZERO x", 0, 0, 0, std::numeric_limits<Extended>::quiet_NaN()},
    };
    CheckEvaluations(cases, std::size(cases));
}

TEST(Evaluate, VariablesAreReadAtEachEvaluation) {
    auto r = Compile("a*b+c");
    ASSERT_EQ(r->error.Code, 0);
    const int a = FindVar("a", r->vars), b = FindVar("b", r->vars), c = FindVar("c", r->vars);
    struct Values {
        Extended a, b, c, result;
    };
    static const Values table[] = {{2, 3, 4, 10}, {-1, 5, 0, -5}, {0.5L, 0.5L, 0, 0.25L}};
    for (const Values& v : table) {
        r->vars.Values[a] = v.a;
        r->vars.Values[b] = v.b;
        r->vars.Values[c] = v.c;
        const tEvalResult result = EvaluateExpression(r->compiled, r->vars);
        EXPECT_EQ(result.Code, 0);
        EXPECT_EQ(result.Value, v.result);
    }
}

TEST(Evaluate, CommaDecimalWithSemicolonList) {
    static const EvalCase cases[] = {
        {"1,5*2", 0, 3}, {"7,5 DIV 2", 0, 4}, {"1;2", 1}, {"(1;2)*0+3", 1}, {"0,5^2", 0, 0.25L, 4},
    };
    CheckEvaluations(cases, std::size(cases), tSeparators{',', ';'});
}

} // namespace
} // namespace probex::test
