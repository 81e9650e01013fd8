// The fixed sizes: 256 operands, 512 tokens, 255 variables, and the evaluation stacks.

#include "engine/ExpressionTestSupport.h"
#include "engine/ReferenceEvaluator.h"

#include <gtest/gtest.h>

namespace probex::test {
namespace {

std::string Sum(int operands, std::string_view op = "+") {
    std::string text = "1";
    for (int i = 1; i < operands; ++i)
        text += std::string(op) + "1";
    return text;
}

std::string Names(int count, int first = 1) {
    std::string text;
    for (int i = first; i < first + count; ++i)
        text += (text.empty() ? "v" : "+v") + std::to_string(i);
    return text;
}

struct LimitCase {
    std::string label;
    std::string text;
    int code;
    int pos;
};

TEST(CompileLimits, OperandsTokensAndVariables) {
    const std::string deep255 = Repeat("(", 255) + "1" + Repeat(")", 255);
    const std::string sines = Repeat("SIN ", 510) + "x";
    const std::vector<LimitCase> cases = {
        {"256 operands", Sum(256), 0, 0},
        {"257 operands", Sum(257), 13, 513},
        {"256 operands, the last one the 513th token", "((" + Sum(256), 13, 513},
        {"511 tokens and the end", deep255, 0, 0},
        {"one pair more: a \")\" does not fit", "(" + deep255 + ")", 14, 513},
        {"512 tokens, the end does not fit", "(" + deep255, 14, 513},
        {"511 \"(\" and an operand", Repeat("(", 511) + "1", 14, 513},
        {"512 \"(\" and an operand", Repeat("(", 512) + "1", 13, 513},
        {"513 \"(\"", Repeat("(", 513), 14, 513},
        {"510 functions", sines, 0, 0},
        {"511 functions", "SIN " + sines, 14, 2046},
        {"255 names", Names(255), 0, 0},
        {"256 names", Names(256), 30, static_cast<int>(Names(256).size())},
        {"255 names, 256 operands, 511 tokens", Names(255) + "+1", 0, 0},
        {"256 operands by separators", Sum(256, ","), 0, 0},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.label);
        auto r = Compile(c.text);
        EXPECT_EQ(r->error.Code, c.code);
        EXPECT_EQ(r->error.Pos, c.pos);
    }
}

TEST(CompileLimits, AtTheLimitTheCountsAreFull) {
    auto r = Compile(Sum(256));
    ASSERT_EQ(r->error.Code, 0);
    EXPECT_EQ(r->compiled.OperandCount, 256);
    EXPECT_EQ(r->compiled.TokenCount, 512);
    EXPECT_EQ(r->compiled.Tokens[512].Kind, tkEnd);

    auto names = Compile(Names(255));
    ASSERT_EQ(names->error.Code, 0);
    EXPECT_EQ(names->vars.Count, 255);
    EXPECT_EQ(names->vars.Names[255], "v255");
}

TEST(CompileLimits, TheVariableLimitCountsNamesAlreadyInTheTable) {
    auto r = Compile(Names(254));
    ASSERT_EQ(r->vars.Count, 254);
    CompileExpression("a+b", r->compiled, r->vars, r->error);
    EXPECT_EQ(r->error.Code, 30);
    EXPECT_EQ(r->error.Pos, 3);
    EXPECT_EQ(r->vars.Count, 255); // "a" stays in the table
    EXPECT_EQ(FindVar("A", r->vars), 255);

    CompileExpression("V7*b+A", r->compiled, r->vars, r->error);
    EXPECT_EQ(r->error.Code, 30);
    EXPECT_EQ(r->error.Pos, 4);
    CompileExpression("V7*v254+A", r->compiled, r->vars, r->error);
    EXPECT_EQ(r->error.Code, 0); // known names need no new entry
    EXPECT_EQ(r->vars.Count, 255);
}

// Values at the limits; the reference evaluation must agree on every one.
struct LimitValueCase {
    std::string label;
    std::string text;
    int code;
    Extended value;
};

TEST(CompileLimits, EvaluationAtTheLimits) {
    std::string nested = "x";
    for (int i = 0; i < 127; ++i)
        nested = "-(" + nested + ")";
    const std::vector<LimitValueCase> cases = {
        {"sum of 256", Sum(256), 0, 256},
        {"difference chain", Sum(256, "-"), 0, -254},
        {"product chain", Sum(256, "*"), 0, 1},
        {"255 brackets", Repeat("(", 255) + "1" + Repeat(")", 255), 0, 1},
        {"127 negations of brackets", nested, 0, -3},
        {"510 pending functions", Repeat("ABS ", 510) + "x", 0, 3},
        {"255 pending values", Sum(255, ","), 1, 0},
        {"256 pending values overflow the operand stack", Sum(256, ","), 18, 0},
        {"the pending division comes after the overflow", "1/0," + Sum(254, ","), 18, 0},
        {"the division is applied by the \"+\" first", "1/0+" + Sum(254, ","), 15, 0},
        {"unclosed bracket", Repeat("(", 200) + "1" + Repeat(")", 199), 1, 0},
        {"surplus bracket", Repeat("(", 199) + "1" + Repeat(")", 200), 5, 0},
    };
    for (const LimitValueCase& c : cases) {
        SCOPED_TRACE(c.label);
        auto r = Compile(c.text);
        ASSERT_EQ(r->error.Code, 0);
        const int x = FindVar("x", r->vars);
        if (x != 0) r->vars.Values[x] = 3;
        tEvalResult v = EvaluateExpression(r->compiled, r->vars);
        tEvalResult ref = ReferenceEvaluate(r->compiled, r->vars);
        EXPECT_EQ(v.Code, c.code);
        EXPECT_EQ(ref.Code, c.code);
        if (c.code == 0) {
            EXPECT_EQ(v.Value, c.value);
            EXPECT_EQ(ref.Value, c.value);
        }
    }
}

} // namespace
} // namespace probex::test
