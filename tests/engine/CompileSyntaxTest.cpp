// Compile errors from the syntax table and the end of the text: code and position.

#include "engine/ExpressionTestSupport.h"

#include <gtest/gtest.h>

namespace probex::test {
namespace {

struct SyntaxCase {
    const char* text;
    int code;
    int pos;
};

void CheckCompileErrors(const SyntaxCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const SyntaxCase& c = cases[i];
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        auto r = Compile(c.text);
        EXPECT_EQ(r->error.Code, c.code);
        EXPECT_EQ(r->error.Pos, c.pos);
    }
}

TEST(CompileSyntax, ErrorEntriesOfTheTable) {
    static const SyntaxCase cases[] = {
        // "(" after ")" or an operand: missing operator
        {"(a)(b)", 12, 4},
        {"a(", 12, 2},
        // ")" at the start, after "(", unary minus, binary operator, function, separator
        {")", 5, 1},
        {"()", 11, 2},
        {"-)", 11, 2},
        {"a+)", 11, 3},
        {"SIN)", 11, 4},
        {"a,)", 11, 3},
        // "-" after unary minus, binary operator, function
        {"--x", 1, 2},
        {"2*-3", 1, 3},
        {"SIN -x", 1, 5},
        {"a DIV -b", 1, 7},
        {"-2147483648 DIV -1", 1, 17},
        // binary operator at the start, after "(", unary minus, binary operator, function,
        // separator
        {"+x", 11, 1},
        {"(*a", 11, 2},
        {"DIV 3", 11, 3},
        {"-*a", 1, 2},
        {"a+*b", 1, 3},
        {"a^mod b", 1, 5},
        {"SIN*a", 1, 4},
        {"COS MOD a", 1, 7},
        {"a,+b", 11, 3},
        // function after ")" or an operand
        {"(a)SIN a", 12, 6},
        {"a SIN b", 12, 5},
        // operand after ")" or an operand; the position is the word's last character
        {"(a)b", 12, 4},
        {"a b", 12, 3},
        {"a 12.5", 12, 6},
        {"width height", 12, 12},
        // separator at the start, after "(", unary minus, binary operator, function, separator
        {",a", 11, 1},
        {"(,a", 11, 2},
        {"-,a", 11, 2},
        {"a+,b", 11, 3},
        {"SIN,a", 11, 4},
        {"a,,b", 11, 3},
    };
    CheckCompileErrors(cases, std::size(cases));
}

TEST(CompileSyntax, EndOfText) {
    static const SyntaxCase cases[] = {
        {"", 2, 0},       {"   ", 3, 4},    {" ", 3, 2},         {"(", 1, 2},
        {"((a)", 0, 0}, // bracket balance is left to the evaluation
        {"a))", 0, 0},    {"-", 1, 2},      {"a+", 1, 3},        {"a+  ", 1, 5},
        {"SIN", 1, 4},    {"SIN ", 1, 5},   {"a,", 1, 3},        {"(a)", 0, 0},
        {"a", 0, 0},      {" a ", 0, 0},    {"a,b", 0, 0},       {"-a", 0, 0},
        {"-(a)", 0, 0},   {"-SIN a", 0, 0}, {"SIN COS x", 0, 0}, {"SIN(-x)", 0, 0},
        {"2*(-3)", 0, 0}, {"a,-b", 0, 0},   {"(a)-(b)", 0, 0},   {"a-b", 0, 0},
    };
    CheckCompileErrors(cases, std::size(cases));
}

TEST(CompileSyntax, IllegalCharacters) {
    static const SyntaxCase cases[] = {
        {"x_1", 8, 2},     {"\t", 8, 1},   {"a\tb", 8, 2},    {"a+b=c", 8, 4}, {"a%b", 8, 2},
        {"\"a\"", 8, 1},   {"a\nb", 8, 2}, {"a;b", 8, 2},     {"\xe4", 8, 1},  {"a\xff", 8, 2},
        {"x+\x80", 8, 3},  {"[a]", 8, 1},  {"a b\tc", 12, 3}, {"1.5#", 8, 4},  {"a & b", 8, 3},
        {"SIN(x)!", 8, 7}, {"1,5", 0, 0}, // "," is the list separator here
    };
    CheckCompileErrors(cases, std::size(cases));
}

TEST(CompileSyntax, NulIsAnIllegalCharacter) {
    const std::string text("a+\0b", 4);
    auto r = Compile(text);
    EXPECT_EQ(r->error.Code, 8);
    EXPECT_EQ(r->error.Pos, 3);
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
    // operands in order: a b 2 c d e f g; the constant has VarIndex 0
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

TEST(CompileSyntax, RecompilingResetsTheCounts) {
    auto r = Compile("a+b*c-d");
    ASSERT_EQ(r->error.Code, 0);
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

TEST(CompileSyntax, NamesAddedBeforeAnErrorStay) {
    auto r = Compile("alpha+beta gamma");
    EXPECT_EQ(r->error.Code, 12);
    EXPECT_EQ(r->error.Pos, 16);
    EXPECT_EQ(FindVar("alpha", r->vars), 1);
    EXPECT_EQ(FindVar("beta", r->vars), 2);
    EXPECT_EQ(r->vars.Roles[1], tVars::Input);
}

} // namespace
} // namespace probex::test
