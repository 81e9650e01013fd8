// Evaluation: precedence, brackets, range checks, integer division, powers and functions.

#include "engine/Arithmetic.h"
#include "engine/ExpressionTestSupport.h"

#include <gtest/gtest.h>

#include <array>

namespace probex::test {
namespace {

const Extended L = ExtendedFromBits(0x414B, 0x924D692CA61BE758);
const Extended NaN = std::numeric_limits<Extended>::quiet_NaN();
const Extended Inf = std::numeric_limits<Extended>::infinity();
constexpr Extended Pi3 = 1.04719755119659774615421446109316762806572L;
constexpr Extended Pi4 = 0.785398163397448309615660845819875721049292L;
constexpr Extended Pi6 = 0.523598775598298873077107230546583814032861L;

TEST(Evaluate, RangeLimitAndHalfPiHaveTheirExactBits) {
    EXPECT_TRUE(SameBits(RangeLimit, L));
    EXPECT_TRUE(SameBits(1e100L, L)); // the nearest extended number to 10^100
    EXPECT_TRUE(SameBits(PiHalf, ExtendedFromBits(0x3FFF, 0xC90FDAA22168C235)));
    EXPECT_TRUE(SameBits(Pi, ExtendedFromBits(0x4000, 0xC90FDAA22168C235)));
}

TEST(Evaluate, PrecedenceBracketsAndLeftoverValues) {
    static const EvalCase cases[] = {
        {"1+2*3", 0, 7},         {"2*3+1", 0, 7},     {"8/4/2", 0, 1},      {"2-3-4", 0, -5},
        {"8 DIV 3 DIV 2", 0, 1}, {"2*3 MOD 4", 0, 2}, {"2+3 MOD 2", 0, 3},  {"12/2*3", 0, 18},
        {"-3+5", 0, 2},          {"-2*3", 0, -6},     {"INT 2.5*2", 0, 4},  {"(2+3)*4", 0, 20},
        {"2*(3+4)", 0, 14},      {"-(1)-(2)", 0, -3}, {"1/3", 0, 1.0L / 3},
    };
    CheckEvaluations(cases);
    static const EvalCase withX[] = {
        {"2^3^2", 0, 64, 8},        {"-2^2", 0, 4, 4},
        {"2*3^2", 0, 18, 8},        {"-x^2", 0, 9, 4, 3},
        {"-ABS x", 0, -3, 0, -3},   {"SGN x*5", 0, -5, 0, -2},
        {"NEG ABS x", 0, 0, 0, -1}, {"ABS INT x", 0, 2, 0, -2.7L},
        {"ZERO(x-x)", 0, 1, 0, 5},  {"x/3*3-x", 0, (7.0L / 3 * 3) - 7, 0, 7},
    };
    CheckEvaluations(withX);
    // Brackets out of balance and values left over.
    static const EvalCase leftovers[] = {
        {"(1+2", 1},   {"1+2)", 5},  {"1,2", 1},      {"((1)", 1},        {"(1))", 5},
        {"1)+(2", 5},  {"(1,2)", 1}, {"SIN(1,2)", 1}, {"1/0)", 15},       {"(1/0", 15},
        {"2,1/0", 15}, {"1/0,2", 1}, {"1,1E200", 1},  {"1E60*1E60,1", 1},
    };
    CheckEvaluations(leftovers);
}

TEST(Evaluate, RangeChecks) {
    // Binary results: -L <= r < L; function results: -L < r < L; the final one: -L <= r <= L.
    // Operands themselves are not checked, and NaN fails every check.
    static const EvalCase cases[] = {
        {"1E60*1E60", 16},        {"1E200", 16},
        {"-1E200", 16},           {"1E200*0", 0, 0},
        {"ZERO 1E200", 0, 0},     {"1E200-1E200", 0, 0},
        {"1E100", 0, L},          {"(1E100)", 0, L},
        {"0-1E100", 0, -L},       {"0-1E100-1", 0, -L},
        {"1E100+0", 16},          {"1E100*1", 16},
        {"1E100-1", 16},          {"-1E100", 16},
        {"ABS 1E100", 16},        {"INT 1E200", 16},
        {"1E99+1E99", 0, 2e99L},  {"1E4000*1E4000", 16},
        {"1E4000/1E-4000", 16},   {"x*x", 16, 0, 0, 1e60L},
        {"x", 16, 0, 0, -1e200L}, {"x+0", 0, -L, 0, -L},
        {"x", 0, L, 0, L},        {"-x", 16, 0, 0, L},
        {"x", 16, 0, 0, NaN},     {"x+1", 16, 0, 0, NaN},
        {"ABS x", 16, 0, 0, NaN}, {"x-x", 16, 0, 0, Inf},
        {"ZERO x", 0, 0, 0, NaN},
    };
    CheckEvaluations(cases);
}

TEST(Evaluate, VariablesAreReadAtEachEvaluation) {
    auto r = Compile("a*b+c");
    ASSERT_EQ(r->error.Code, 0);
    for (const auto& [a, b, c, result] : {std::array<Extended, 4>{2, 3, 4, 10}, {-1, 5, 0, -5}}) {
        r->vars.Values[FindVar("a", r->vars)] = a;
        r->vars.Values[FindVar("b", r->vars)] = b;
        r->vars.Values[FindVar("c", r->vars)] = c;
        const tEvalResult v = EvaluateExpression(r->compiled, r->vars);
        EXPECT_EQ(v.Code, 0);
        EXPECT_EQ(v.Value, result);
    }
}

TEST(EvaluateArithmetic, IntegerDivision) {
    // Both sides round half to even into the signed 32-bit range; a divisor rounding to 0 or
    // a side outside the range is an invalid argument.
    static const EvalCase exact[] = {
        {"7 DIV 2", 0, 3},
        {"-7 DIV 2", 0, -3},
        {"-7 MOD 2", 0, -1},
        {"7 MOD (-2)", 0, 1},
        {"-7 MOD (-2)", 0, -1},
        {"8 MOD 3", 0, 2},
        {"6.5 DIV 2", 0, 3},
        {"0.5 DIV 1", 0, 0},
        {"1.5 DIV 1", 0, 2},
        {"2.5 DIV 1", 0, 2},
        {"-2.5 DIV 1", 0, -2},
        {"-3.5 MOD 10", 0, -4},
        {"7 DIV 1.5", 0, 3},
        {"7 DIV 2.5", 0, 3},
        {"7 MOD 0.6", 0, 0},
        {"2.4999 DIV 1", 0, 2},
        {"2.5001 DIV 1", 0, 3},
        {"(-2147483648) MOD (-1)", 0, 0},
        {"-2147483648 MOD 3", 0, -2},
        {"2147483647 DIV 1", 0, 2147483647},
        {"2147483647 MOD 2", 0, 1},
        {"2147483647.4 DIV 1", 0, 2147483647},
    };
    CheckEvaluations(exact);
    static const EvalCase failing[] = {
        {"1 DIV 0", 17},           {"7 DIV 0.5", 17},           {"7 MOD 0.4", 17},
        {"7 MOD (-0.5)", 17},      {"2147483648 DIV 1", 17},    {"2147483647.5 DIV 1", 17},
        {"-2147483649 DIV 1", 17}, {"-2147483648.6 MOD 7", 17}, {"1 DIV 2147483648", 17},
        {"1 MOD 1E10", 17},        {"1E300 DIV 1", 17},
    };
    CheckEvaluations(failing);
    static const EvalCase close[] = {
        {"-2147483648 DIV (-1)", 0, 2147483648.0L},
        {"-2147483648.5 DIV 1", 0, -2147483648.0L},
        {"x DIV 1", 17, 0, 0, NaN},
        {"x MOD 1", 17, 0, 0, Inf},
    };
    CheckEvaluations(close);
}

TEST(EvaluateArithmetic, Powers) {
    constexpr Extended Sqrt2 = 1.41421356237309504880168872420969807856967L;
    static const EvalCase exact[] = {
        {"0^0", 0, 0},        {"0^(-1)", 0, 0},     {"0^0.5", 0, 0},      {"(-0)^3", 0, 0},
        {"0^1E300", 0, 0},    {"(-1)^3", 0, -1},    {"(-1)^(-3)", 0, -1}, {"(-1)^1E30", 0, 1},
        {"0.5^100000", 0, 0}, {"10^(-5000)", 0, 0},
    };
    CheckEvaluations(exact);
    static const EvalCase failing[] = {
        {"(-8)^(1/3)", 17}, {"(-2)^2.5", 17},    {"(-2)^(-0.5)", 17}, {"2^333", 16},
        {"2^100000", 16},   {"(-2)^100001", 16}, {"1E4000^2", 16},
    };
    CheckEvaluations(failing);
    static const EvalCase close[] = {
        {"(-2)^3", 0, -8, 4},           {"(-2)^2", 0, 4, 4},     {"(-2)^1", 0, -2, 4},
        {"(-3)^(-1)", 0, -1.0L / 3, 8}, {"2^3", 0, 8, 4},        {"2^0.5", 0, Sqrt2, 4},
        {"4^(-1)", 0, 0.25L, 4},        {"x^2", 0, 2, 8, Sqrt2}, {"x^0.5", 17, 0, 0, -1e-300L},
        {"2^332", 0, 0x1p332L, 1024}, // the logarithm's rounding grows with the exponent
    };
    CheckEvaluations(close);
}

TEST(EvaluateArithmetic, Functions) {
    static const EvalCase exact[] = {
        {"TAN 0", 0, 0},
        {"SIN 0", 0, 0},
        {"COS 0", 0, 1},
        {"ASIN 0", 0, 0},
        {"ASIN 1", 0, PiHalf},
        {"ASIN(-1)", 0, -PiHalf},
        {"ACOS 0", 0, PiHalf},
        {"ACOS 1", 0, 0},
        {"ACOS(-1)", 0, Pi},
        {"LN 1", 0, 0},
        {"LOG 10", 0, 1},
        {"ABS(-2.5)", 0, 2.5L},
        {"INT(2.9999)", 0, 2},
        {"INT(-2.7)", 0, -2},
        {"INT 1E99", 0, 1e99L},
        {"FRAC(3)", 0, 0},
        {"FRAC(-2.7)", 0, -2.7L + 2},
        {"FRAC 1E99", 0, 0},
        {"SGN(-0)", 0, 0},
        {"SGN 5", 0, 1},
        {"SGN(-5)", 0, -1},
        {"SGN 1E-4000", 0, 1},
        {"POS 0", 0, 0},
        {"POS 1E-4000", 0, 1},
        {"POS(-1)", 0, 0},
        {"NEG(-1E-4000)", 0, 1},
        {"NEG 0", 0, 0},
        {"ZERO 0", 0, 1},
        {"ZERO(-0)", 0, 1},
        {"ZERO 1E-4000", 0, 0},
    };
    CheckEvaluations(exact);
    static const EvalCase failing[] = {
        {"COT 0", 17},          {"ACOT 0", 17},     {"ASIN 1.5", 17}, {"ASIN(-1.0000001)", 17},
        {"ACOS 1.0000001", 17}, {"ACOS(-1.5)", 17}, {"LN 0", 17},     {"LN(-1)", 17},
        {"LOG(-1)", 17},        {"LOG 0", 17},
    };
    CheckEvaluations(failing);
    static const EvalCase close[] = {
        {"SIN 1", 0, 0.841470984807896506652502321630298999622563L, 2},
        {"COS 1", 0, 0.540302305868139717400936607442976603732310L, 2},
        {"TAN 1", 0, 1.55740772465490223050697480745836017308725L, 4},
        {"COT 1", 0, 0.642092615934330703006419974862022L, 4},
        {"LN 2", 0, 0.693147180559945309417232121458176568075500L, 2},
        {"ATAN 1", 0, Pi4, 2},
        {"ACOT 1", 0, Pi4, 2},
        {"ACOT(-1)", 0, -Pi4, 2},
        {"ASIN 0.5", 0, Pi6, 4},
        {"ACOS 0.5", 0, Pi3, 4},
        {"ACOS(-0.5)", 0, 2 * Pi3, 4},
        {"LOG 1000", 0, 3, 4},
        {"LOG 0.01", 0, -2, 4},
    };
    CheckEvaluations(close);
}

TEST(EvaluateArithmetic, NegationKeepsTheSignOfZeroAndSgnGivesAPlainZero) {
    auto negated = Compile("-0");
    auto sign = Compile("SGN(-0)");
    EXPECT_TRUE(std::signbit(EvaluateExpression(negated->compiled, negated->vars).Value));
    EXPECT_FALSE(std::signbit(EvaluateExpression(sign->compiled, sign->vars).Value));
}

TEST(EvaluateArithmetic, InverseFunctionsStayInTheirRanges) {
    static const Extended xs[] = {-1e50L,   -1,     -0.9999L, -0.5L,   -1e-10L, -1e-4000L, 0,
                                  1e-4000L, 1e-10L, 0.5L,     0.9999L, 1,       1e50L};
    struct Range {
        const char* text;
        Extended low, high;
        bool unitDomain;  ///< only |x| <= 1 is valid
        bool zeroInvalid; ///< x = 0 is invalid
        bool keepsSign;   ///< the result has the argument's sign
    };
    static const Range ranges[] = {
        {"ASIN x", -PiHalf, PiHalf, true, false, true},
        {"ACOS x", 0, Pi, true, false, false},
        {"ATAN x", -PiHalf, PiHalf, false, false, true},
        {"ACOT x", -PiHalf, PiHalf, false, true, true},
    };
    for (const Range& range : ranges) {
        auto r = Compile(range.text);
        ASSERT_EQ(r->error.Code, 0);
        for (Extended x : xs) {
            SCOPED_TRACE(std::string(range.text) + " at " + std::to_string(static_cast<double>(x)));
            r->vars.Values[1] = x;
            const tEvalResult v = EvaluateExpression(r->compiled, r->vars);
            if ((range.unitDomain && std::fabs(x) > 1) || (range.zeroInvalid && x == 0)) {
                EXPECT_EQ(v.Code, 17);
                continue;
            }
            ASSERT_EQ(v.Code, 0);
            EXPECT_GE(v.Value, range.low);
            EXPECT_LE(v.Value, range.high);
            if (range.keepsSign && x != 0) {
                EXPECT_EQ(v.Value < 0, x < 0);
            }
        }
    }
}

} // namespace
} // namespace probex::test
