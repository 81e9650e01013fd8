// Evaluation: integer division, powers, the functions and their domain errors.

#include "engine/Arithmetic.h"
#include "engine/ExpressionTestSupport.h"

#include <gtest/gtest.h>

namespace probex::test {
namespace {

constexpr Extended Pi3 = 1.04719755119659774615421446109316762806572L;
constexpr Extended Pi4 = 0.785398163397448309615660845819875721049292L;
constexpr Extended Pi6 = 0.523598775598298873077107230546583814032861L;

TEST(EvaluateArithmetic, IntegerDivision) {
    static const EvalCase cases[] = {
        {"7 DIV 2", 0, 3},
        {"-7 DIV 2", 0, -3},
        {"-7 MOD 2", 0, -1},
        {"7 MOD (-2)", 0, 1},
        {"-7 MOD (-2)", 0, -1},
        {"-8 DIV 3", 0, -2},
        {"8 MOD 3", 0, 2},
        {"0 MOD 5", 0, 0},
        // halves round to the even neighbour
        {"7.5 DIV 2", 0, 4},
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
        // a divisor rounding to 0
        {"1 DIV 0", 17},
        {"1 DIV 0.4", 17},
        {"7 DIV 0.5", 17},
        {"7 MOD 0", 17},
        {"7 MOD 0.4", 17},
        {"7 MOD (-0.5)", 17},
        // the signed 32-bit range
        {"-2147483648 DIV (-1)", 0, 2147483648.0L},
        {"(-2147483648) MOD (-1)", 0, 0},
        {"-2147483648 MOD 3", 0, -2},
        {"2147483647 DIV 1", 0, 2147483647},
        {"2147483647 MOD 2", 0, 1},
        {"2147483647.4 DIV 1", 0, 2147483647},
        {"-2147483648.5 DIV 1", 0, -2147483648.0L},
        {"2147483648 DIV 1", 17},
        {"2147483647.5 DIV 1", 17},
        {"-2147483649 DIV 1", 17},
        {"-2147483648.6 MOD 7", 17},
        {"1 DIV 2147483648", 17},
        {"1 MOD 1E10", 17},
        {"1E300 DIV 1", 17},
        {"x DIV 1", 17, 0, 0, std::numeric_limits<Extended>::quiet_NaN()},
        {"x MOD 1", 17, 0, 0, std::numeric_limits<Extended>::infinity()},
    };
    CheckEvaluations(cases, std::size(cases));
}

TEST(EvaluateArithmetic, Powers) {
    static const EvalCase cases[] = {
        {"0^0", 0, 0},
        {"0^(-1)", 0, 0},
        {"0^0.5", 0, 0},
        {"(-0)^3", 0, 0},
        {"0^1E300", 0, 0},
        {"(-2)^3", 0, -8, 4},
        {"(-2)^2", 0, 4, 4},
        {"(-2)^1", 0, -2, 4},
        {"(-1)^3", 0, -1},
        {"(-1)^(-3)", 0, -1},
        {"(-1)^1E30", 0, 1},
        {"(-3)^(-1)", 0, -1.0L / 3, 8},
        {"2^3", 0, 8, 4},
        {"2^0.5", 0, 1.41421356237309504880168872420969807856967L, 4},
        {"4^(-1)", 0, 0.25L, 4},
        {"x^2", 0, 2, 8, 1.41421356237309504880168872420969807856967L},
        {"(-8)^(1/3)", 17},
        {"(-2)^2.5", 17},
        {"(-2)^(-0.5)", 17},
        {"x^0.5", 17, 0, 0, -1e-300L},
        {"2^332", 0, 0x1p332L, 1024}, // the logarithm's rounding grows with the exponent
        {"2^333", 16},
        {"2^100000", 16},
        {"(-2)^100001", 16},
        {"0.5^100000", 0, 0},
        {"10^(-5000)", 0, 0},
        {"1E4000^2", 16},
    };
    CheckEvaluations(cases, std::size(cases));
}

TEST(EvaluateArithmetic, Functions) {
    static const EvalCase cases[] = {
        {"SIN 0", 0, 0},
        {"COS 0", 0, 1},
        {"SIN 1", 0, 0.841470984807896506652502321630298999622563L, 2},
        {"COS 1", 0, 0.540302305868139717400936607442976603732310L, 2},
        {"TAN 0", 0, 0},
        {"TAN 1", 0, 1.55740772465490223050697480745836017308725L, 4},
        {"COT 1", 0, 0.642092615934330703006419974862022L, 4},
        {"COT 0", 17},
        {"ATAN 1", 0, Pi4, 2},
        {"ACOT 1", 0, Pi4, 2},
        {"ACOT(-1)", 0, -Pi4, 2},
        {"ACOT 0", 17},
        {"ASIN 0", 0, 0},
        {"ASIN 0.5", 0, Pi6, 4},
        {"ASIN(-0.5)", 0, -Pi6, 4},
        {"ASIN 1", 0, PiHalf},
        {"ASIN(-1)", 0, -PiHalf},
        {"ASIN 1.5", 17},
        {"ASIN(-1.0000001)", 17},
        {"ACOS 0", 0, PiHalf},
        {"ACOS 1", 0, 0},
        {"ACOS(-1)", 0, Pi},
        {"ACOS 0.5", 0, Pi3, 4},
        {"ACOS(-0.5)", 0, 2 * Pi3, 4},
        {"ACOS 1.0000001", 17},
        {"ACOS(-1.5)", 17},
        {"LN 1", 0, 0},
        {"LN 2", 0, 0.693147180559945309417232121458176568075500L, 2},
        {"LN 0", 17},
        {"LN(-1)", 17},
        {"LOG 10", 0, 1},
        {"LOG 1000", 0, 3, 4},
        {"LOG 0.01", 0, -2, 4},
        {"LOG(-1)", 17},
        {"LOG 0", 17},
        {"ABS(-2.5)", 0, 2.5L},
        {"INT(2.9999)", 0, 2},
        {"INT(-2.7)", 0, -2},
        {"INT 1E99", 0, 1e99L},
        {"FRAC(3)", 0, 0},
        {"FRAC(-2.7)", 0, -2.7L + 2},
        {"FRAC 2.5", 0, 0.5L},
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
    CheckEvaluations(cases, std::size(cases));
}

TEST(EvaluateArithmetic, SignOfZeroResults) {
    // Negation keeps the sign of zero; SGN gives a plain zero.
    auto negated = Compile("-0");
    auto sign = Compile("SGN(-0)");
    const tEvalResult a = EvaluateExpression(negated->compiled, negated->vars);
    const tEvalResult b = EvaluateExpression(sign->compiled, sign->vars);
    EXPECT_TRUE(std::signbit(a.Value));
    EXPECT_FALSE(std::signbit(b.Value));
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
