// Compilation: the syntax table, words and separators, the token list and the fixed sizes.

#include "engine/ExpressionTestSupport.h"

#include <gtest/gtest.h>

namespace probex::test {
namespace {

TEST(CompileSyntax, ErrorCodesAndPositions) {
    // Rows follow the table: the token before (start, "(", ")", unary minus, operator,
    // function, operand, separator) against the token read.
    const CompileCase cases[] = {
        {"(a)(b)", 12, 4}, {"a(", 12, 2},       {")", 5, 1},        {"()", 11, 2},
        {"-)", 11, 2},     {"a+)", 11, 3},      {"SIN)", 11, 4},    {"a,)", 11, 3},
        {"--x", 1, 2},     {"2*-3", 1, 3},      {"SIN -x", 1, 5},   {"a DIV -b", 1, 7},
        {"+x", 11, 1},     {"(*a", 11, 2},      {"DIV 3", 11, 3},   {"-*a", 1, 2},
        {"a+*b", 1, 3},    {"a^mod b", 1, 5},   {"SIN*a", 1, 4},    {"COS MOD a", 1, 7},
        {"a,+b", 11, 3},   {"(a)SIN a", 12, 6}, {"a SIN b", 12, 5}, {"(a)b", 12, 4},
        {"a 12.5", 12, 6}, {",a", 11, 1},       {"(,a", 11, 2},     {"-,a", 11, 2},
        {"a+,b", 11, 3},   {"SIN,a", 11, 4},    {"a,,b", 11, 3},
    };
    CheckCompileErrors(cases);
    const CompileCase longer[] = {
        {"-2147483648 DIV -1", 1, 17}, {"width height", 12, 12}, {std::string("a+\0b", 4), 8, 3}};
    CheckCompileErrors(longer);
    // The end of the text; bracket balance is left to the evaluation.
    const CompileCase ends[] = {
        {"", 2, 0},     {"   ", 3, 4},     {" ", 3, 2},         {"(", 1, 2},       {"((a)", 0, 0},
        {"a))", 0, 0},  {"-", 1, 2},       {"a+", 1, 3},        {"a+  ", 1, 5},    {"SIN", 1, 4},
        {"SIN ", 1, 5}, {"a,", 1, 3},      {" a ", 0, 0},       {"a,b", 0, 0},     {"-a", 0, 0},
        {"-(a)", 0, 0}, {"-SIN a", 0, 0},  {"SIN COS x", 0, 0}, {"SIN(-x)", 0, 0}, {"2*(-3)", 0, 0},
        {"a,-b", 0, 0}, {"(a)-(b)", 0, 0},
    };
    CheckCompileErrors(ends);
    // Illegal characters; "," is the list separator here.
    const CompileCase characters[] = {
        {"x_1", 8, 2},    {"\t", 8, 1},      {"a\tb", 8, 2},    {"a+b=c", 8, 4},
        {"a\nb", 8, 2},   {"a;b", 8, 2},     {"\xe4", 8, 1},    {"a\xff", 8, 2},
        {"x+\x80", 8, 3}, {"a b\tc", 12, 3}, {"SIN(x)!", 8, 7}, {"1,5", 0, 0},
    };
    CheckCompileErrors(characters);
    // Numbers; the position is the word's last character.
    const CompileCase numbers[] = {
        {"a+1.2.3*b", 7, 7}, {".", 7, 1},        {"1..2", 7, 4},     {"x.y", 7, 3},
        {"2.x", 7, 3},       {"1.5E5000", 7, 8}, {"2+1E5000", 7, 8}, {"1E99999", 7, 7},
        {"1.2e-5x", 12, 7},  {"2e+1e+1", 12, 5}, {"7DIV 2", 12, 6},
    };
    CheckCompileErrors(numbers);
}

TEST(CompileSyntax, TokenListKeepsSourceOrderAndPriorities) {
    auto r = Compile("-a*(b-SIN 2)^c DIV d MOD e+f,g");
    ASSERT_EQ(r->error.Code, 0);
    struct Expected {
        int kind, code, priority;
    };
    static const Expected tokens[] = {
        {3, 1, 0},   {5, 255, 0}, {4, 3, 2},   {1, 0, 0},   {5, 255, 0}, {4, 2, 1},   {3, 2, 0},
        {5, 255, 0}, {2, 0, 0},   {4, 5, 3},   {5, 255, 0}, {4, 6, 2},   {5, 255, 0}, {4, 7, 2},
        {5, 255, 0}, {4, 1, 1},   {5, 255, 0}, {6, 0, 0},   {5, 255, 0}, {0, 0, 0},
    };
    ASSERT_EQ(r->compiled.TokenCount, static_cast<int>(std::size(tokens)));
    for (std::size_t i = 0; i < std::size(tokens); ++i) {
        SCOPED_TRACE("token " + std::to_string(i + 1));
        const tToken& t = r->compiled.Tokens[i + 1];
        EXPECT_EQ(t.Kind, tokens[i].kind);
        EXPECT_EQ(t.Code, tokens[i].code);
        EXPECT_EQ(t.Priority, tokens[i].priority);
    }
    static const char* names[] = {"a", "b", nullptr, "c", "d", "e", "f", "g"};
    ASSERT_EQ(r->compiled.OperandCount, 8);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE("operand " + std::to_string(i + 1));
        const tOperand& o = r->compiled.Operands[i + 1];
        if (names[i] == nullptr) {
            EXPECT_EQ(o.VarIndex, 0u);
            EXPECT_EQ(o.Value, 2.0L);
        } else {
            EXPECT_EQ(o.VarIndex, static_cast<unsigned>(FindVar(names[i], r->vars)));
        }
    }
}

TEST(CompileSyntax, RecompilingResetsTheCountsButNamesAddedBeforeAnErrorStay) {
    auto r = Compile("alpha+beta gamma");
    EXPECT_EQ(r->error.Code, 12);
    EXPECT_EQ(r->error.Pos, 16);
    EXPECT_EQ(FindVar("alpha", r->vars), 1);
    EXPECT_EQ(FindVar("beta", r->vars), 2);
    EXPECT_EQ(r->vars.Roles[1], tVars::Input);

    CompileExpression("x", r->compiled, r->vars, r->error);
    EXPECT_EQ(r->error.Code, 0);
    EXPECT_EQ(r->error.Pos, 0);
    EXPECT_EQ(r->compiled.OperandCount, 1);
    EXPECT_EQ(r->compiled.TokenCount, 2);
    r->vars.Values[FindVar("x", r->vars)] = 7;
    tEvalResult v = EvaluateExpression(r->compiled, r->vars);
    EXPECT_EQ(v.Code, 0);
    EXPECT_EQ(v.Value, 7.0L);
}

TEST(CompileWords, SingleOperandClassification) {
    static const struct {
        const char* text;
        const char* name; ///< the variable name, or nullptr for a numeric constant
        Extended value;
    } cases[] = {
        {"1.5e-3", nullptr, 1.5e-3L},
        {"1.5E3", nullptr, 1500.0L},
        {"2e+2", nullptr, 200.0L},
        {"12", nullptr, 12.0L},
        {"0.1", nullptr, 0.1L},
        {"1E100", nullptr, 1e100L},
        {"1E4000", nullptr, 1e4000L},
        {"2x", "2x", 0},
        {"E5", "E5", 0},
        {"e", "e", 0},
        {"pi", "pi", 0},
        {"sinx", "sinx", 0},
        {"SIN2", "SIN2", 0},
        {"DIVX", "DIVX", 0},
        {"1e", "1e", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        auto r = Compile(c.text);
        ASSERT_EQ(r->error.Code, 0);
        ASSERT_EQ(r->compiled.OperandCount, 1);
        ASSERT_EQ(r->compiled.TokenCount, 2);
        EXPECT_EQ(r->compiled.Tokens[1].Kind, tkOperand);
        const tOperand& o = r->compiled.Operands[1];
        if (c.name == nullptr) {
            EXPECT_EQ(o.VarIndex, 0u);
            EXPECT_TRUE(SameBits(o.Value, c.value)) << static_cast<double>(o.Value);
            EXPECT_EQ(r->vars.Count, 0);
        } else {
            ASSERT_EQ(r->vars.Count, 1);
            EXPECT_EQ(o.VarIndex, 1u);
            EXPECT_EQ(r->vars.Names[1], c.name);
            EXPECT_EQ(r->vars.Roles[1], tVars::Input);
        }
    }
}

TEST(CompileWords, NamesIgnoreCaseKeepTheFirstSpellingAndComeBeforeTheNumberRules) {
    auto r = Compile("Width*WIDTH+width-wIdTh");
    ASSERT_EQ(r->error.Code, 0);
    ASSERT_EQ(r->vars.Count, 1);
    EXPECT_EQ(r->vars.Names[1], "Width");
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(r->compiled.Operands[i].VarIndex, 1u);

    r->vars.Names[1] = "1.2.3";
    CompileExpression("1.2.3*2", r->compiled, r->vars, r->error);
    EXPECT_EQ(r->error.Code, 0);
    EXPECT_EQ(r->compiled.Operands[1].VarIndex, 1u);
    EXPECT_EQ(r->vars.Count, 1);

    // "a1e" does not start with a digit, so "+5" is an operator and an operand.
    r = Compile("a1e+5");
    ASSERT_EQ(r->vars.Count, 1);
    EXPECT_EQ(r->vars.Names[1], "a1e");
    r->vars.Values[1] = 1;
    EXPECT_EQ(EvaluateExpression(r->compiled, r->vars).Value, 6.0L);
}

TEST(CompileWords, OperatorAndFunctionWordsIgnoreCase) {
    static const EvalCase cases[] = {
        {"7 div 2", 0, 3},   {"7 Div 2", 0, 3},  {"7 mod 2", 0, 1},     {"7 MoD 2", 0, 1},
        {"abs(-3)", 0, 3},   {"Sin 0", 0, 0},    {"sgn(-4)", 0, -1},    {"zero 0", 0, 1},
        {"ZeRo 1", 0, 0},    {"int 2.5", 0, 2},  {"frac 2.5", 0, 0.5L}, {"pos 2", 0, 1},
        {"NEG 2", 0, 0},     {"1e+2+1", 0, 101}, {"25E-2*4", 0, 1},     {"(7)DIV(2)", 0, 3},
        {"  1 +  2 ", 0, 3},
    };
    CheckEvaluations(cases);
}

TEST(CompileWords, CommaDecimalWithSemicolonList) {
    const tSeparators separators{',', ';'};
    static const EvalCase values[] = {
        {"1,5*2", 0, 3},     {"1,5e1", 0, 15}, {"0,25+0,5", 0, 0.75L}, {"2,5 DIV 1", 0, 2},
        {"3,5 DIV 1", 0, 4}, {"1;2", 1},       {"(1;2)*0+3", 1},       {"0,5^2", 0, 0.25L, 4},
    };
    CheckEvaluations(values, separators);
    const CompileCase errors[] = {
        {"1.5", 8, 2}, {"1,2,3", 7, 5}, {"1;", 1, 3}, {";1", 11, 1}, {"1;2", 0, 0},
    };
    CheckCompileErrors(errors, separators);
}

TEST(CompileWords, TheListSeparatorIsTestedFirst) {
    struct Case {
        tSeparators separators;
        const char* text;
        int code;
        int pos;
        int tokens; ///< on success, the end token included
    };
    static const Case cases[] = {
        {{',', '.'}, "1.2", 0, 0, 4},   // "." separates, "," is the decimal separator
        {{'.', ' '}, "a b", 0, 0, 4},   // a blank separator is no longer skipped
        {{'.', ' '}, "a  b", 11, 3, 0}, // two separators in a row
        {{'.', '-'}, "a-b", 0, 0, 4},   // "-" lost its operator role
        {{'.', '-'}, "-a", 11, 1, 0},   {{'.', '+'}, "a+b", 0, 0, 4},
        {{'.', '('}, "(a", 11, 1, 0},   {{'.', 'x'}, "x2", 11, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\", list '" + c.separators.List + "'");
        auto r = Compile(c.text, c.separators);
        EXPECT_EQ(r->error.Code, c.code);
        EXPECT_EQ(r->error.Pos, c.pos);
        if (c.code == 0) {
            EXPECT_EQ(r->compiled.TokenCount, c.tokens);
            EXPECT_EQ(r->compiled.Tokens[2].Kind, tkListSep);
            EXPECT_EQ(EvaluateExpression(r->compiled, r->vars).Code, 1); // two values remain
        }
    }
}

std::string Sum(int operands, std::string_view op = "+") {
    return "1" + Repeat(std::string(op) + "1", operands - 1);
}

std::string Names(int count) {
    std::string text = "v1";
    for (int i = 2; i <= count; ++i)
        text += "+v" + std::to_string(i);
    return text;
}

TEST(CompileLimits, OperandsTokensAndVariables) {
    const std::string deep255 = Repeat("(", 255) + "1" + Repeat(")", 255);
    const std::string sines = Repeat("SIN ", 510) + "x";
    const struct {
        std::string label;
        CompileCase c;
    } cases[] = {
        {"256 operands", {Sum(256), 0, 0}},
        {"257 operands", {Sum(257), 13, 513}},
        {"256 operands, the last one the 513th token", {"((" + Sum(256), 13, 513}},
        {"511 tokens and the end", {deep255, 0, 0}},
        {"one pair more: a \")\" does not fit", {"(" + deep255 + ")", 14, 513}},
        {"512 tokens, the end does not fit", {"(" + deep255, 14, 513}},
        {"511 \"(\" and an operand", {Repeat("(", 511) + "1", 14, 513}},
        {"512 \"(\" and an operand", {Repeat("(", 512) + "1", 13, 513}},
        {"513 \"(\"", {Repeat("(", 513), 14, 513}},
        {"510 functions", {sines, 0, 0}},
        {"511 functions", {"SIN " + sines, 14, 2046}},
        {"255 names", {Names(255), 0, 0}},
        {"256 names", {Names(256), 30, static_cast<int>(Names(256).size())}},
        {"255 names, 256 operands, 511 tokens", {Names(255) + "+1", 0, 0}},
        {"256 operands by separators", {Sum(256, ","), 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto r = Compile(c.c.text);
        EXPECT_EQ(r->error.Code, c.c.code);
        EXPECT_EQ(r->error.Pos, c.c.pos);
    }
    auto r = Compile(Sum(256));
    EXPECT_EQ(r->compiled.OperandCount, 256);
    EXPECT_EQ(r->compiled.TokenCount, 512);
    EXPECT_EQ(r->compiled.Tokens[512].Kind, tkEnd);
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

TEST(CompileLimits, EvaluationAtTheLimits) {
    std::string nested = "x";
    for (int i = 0; i < 127; ++i)
        nested = "-(" + nested + ")";
    const EvalCase cases[] = {
        {Sum(256), 0, 256},
        {Sum(256, "-"), 0, -254},
        {Sum(256, "*"), 0, 1},
        {Repeat("(", 255) + "1" + Repeat(")", 255), 0, 1},
        {nested, 0, -3, 0, 3},
        {Repeat("ABS ", 510) + "x", 0, 3, 0, 3},
        {Sum(255, ","), 1},
        {Sum(256, ","), 18},          // 256 pending values overflow the operand stack
        {"1/0," + Sum(254, ","), 18}, // the pending division comes after the overflow
        {"1/0+" + Sum(254, ","), 15}, // the "+" applies the division first
        {Repeat("(", 200) + "1" + Repeat(")", 199), 1},
        {Repeat("(", 199) + "1" + Repeat(")", 200), 5},
    };
    CheckEvaluations(cases);
}

} // namespace
} // namespace probex::test
