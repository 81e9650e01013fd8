// Words: numbers, names, function words and DIV/MOD, and the two separators.

#include "engine/ExpressionTestSupport.h"

#include <gtest/gtest.h>

namespace probex::test {
namespace {

// One-operand texts: what the single operand turned into.
struct OperandCase {
    const char* text;
    const char* name; ///< the variable name, or nullptr for a numeric constant
    Extended value;   ///< the constant's value
};

TEST(CompileWords, SingleOperandClassification) {
    static const OperandCase cases[] = {
        {"1.5e-3", nullptr, 1.5e-3L},
        {"1.5E-3", nullptr, 1.5e-3L},
        {"1.5E3", nullptr, 1500.0L},
        {"2e+2", nullptr, 200.0L},
        {"12", nullptr, 12.0L},
        {"0.1", nullptr, 0.1L},
        {"1E100", nullptr, 1e100L},
        {"1E200", nullptr, 1e200L},
        {"1E4000", nullptr, 1e4000L},
        {"2x", "2x", 0},
        {"E5", "E5", 0},
        {"e", "e", 0},
        {"pi", "pi", 0},
        {"x1", "x1", 0},
        {"sinx", "sinx", 0},
        {"SIN2", "SIN2", 0},
        {"DIVX", "DIVX", 0},
        {"Width", "Width", 0},
        {"1e", "1e", 0},
    };
    for (const OperandCase& c : cases) {
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

struct ErrorCase {
    const char* text;
    int code;
    int pos;
};

TEST(CompileWords, InvalidNumbers) {
    static const ErrorCase cases[] = {
        {"1.2.3", 7, 5},    {"a+1.2.3*b", 7, 7}, {".", 7, 1},        {"1..2", 7, 4},
        {"x.y", 7, 3},      {"2.x", 7, 3},       {"1E5000", 7, 6},   {"1.5E5000", 7, 8},
        {"2+1E5000", 7, 8}, {"1E99999", 7, 7},   {"1.2e-5x", 12, 7}, {"1e-5x", 12, 5},
        {"2e+1e+1", 12, 5}, {"7DIV 2", 12, 6},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        auto r = Compile(c.text);
        EXPECT_EQ(r->error.Code, c.code);
        EXPECT_EQ(r->error.Pos, c.pos);
    }
}

TEST(CompileWords, AnExistingNameIsReusedBeforeTheNumberRules) {
    auto r = std::make_unique<CompiledText>();
    r->vars.Count = 1;
    r->vars.Names[1] = "1.2.3";
    r->vars.Roles[1] = tVars::Computed;
    CompileExpression("1.2.3*2", r->compiled, r->vars, r->error);
    EXPECT_EQ(r->error.Code, 0);
    EXPECT_EQ(r->compiled.Operands[1].VarIndex, 1u);
    EXPECT_EQ(r->vars.Count, 1);
}

TEST(CompileWords, NamesIgnoreCaseAndKeepTheFirstSpelling) {
    auto r = Compile("Width*WIDTH+width-wIdTh");
    ASSERT_EQ(r->error.Code, 0);
    ASSERT_EQ(r->vars.Count, 1);
    EXPECT_EQ(r->vars.Names[1], "Width");
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(r->compiled.Operands[i].VarIndex, 1u);
}

// Full expressions whose value shows how the words were read.
struct ValueCase {
    const char* text;
    Extended value;
};

void CheckValues(const ValueCase* cases, std::size_t count, const tSeparators& separators) {
    for (std::size_t i = 0; i < count; ++i) {
        const ValueCase& c = cases[i];
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        auto r = Compile(c.text, separators);
        ASSERT_EQ(r->error.Code, 0);
        ASSERT_EQ(r->vars.Count, 0);
        tEvalResult v = EvaluateExpression(r->compiled, r->vars);
        ASSERT_EQ(v.Code, 0);
        EXPECT_TRUE(SameBits(v.Value, c.value)) << static_cast<double>(v.Value);
    }
}

TEST(CompileWords, OperatorAndFunctionWordsIgnoreCase) {
    static const ValueCase cases[] = {
        {"7 DIV 2", 3},   {"7 div 2", 3},  {"7 Div 2", 3}, {"7 mod 2", 1},     {"7 MoD 2", 1},
        {"abs(-3)", 3},   {"Abs(-3)", 3},  {"ABS(-3)", 3}, {"Sin 0", 0},       {"sgn(-4)", -1},
        {"zero 0", 1},    {"ZeRo 1", 0},   {"int 2.5", 2}, {"frac 2.5", 0.5L}, {"pos 2", 1},
        {"NEG 2", 0},     {"1e+2+1", 101}, {"25E-2*4", 1}, {"(7)DIV(2)", 3},   {"1.5e3", 1500},
        {"  1 +  2 ", 3}, {"1.5", 1.5L},
    };
    CheckValues(cases, std::size(cases), tSeparators{});
}

TEST(CompileWords, WordsFollowingAnExponentSign) {
    // "a1e" does not start with a digit, so "+5" is an operator and an operand.
    auto r = Compile("a1e+5");
    ASSERT_EQ(r->error.Code, 0);
    ASSERT_EQ(r->vars.Count, 1);
    EXPECT_EQ(r->vars.Names[1], "a1e");
    r->vars.Values[1] = 1;
    tEvalResult v = EvaluateExpression(r->compiled, r->vars);
    EXPECT_EQ(v.Code, 0);
    EXPECT_EQ(v.Value, 6.0L);
}

TEST(CompileWords, CommaDecimalWithSemicolonList) {
    const tSeparators separators{',', ';'};
    static const ValueCase cases[] = {
        {"1,5*2", 3}, {"1,5e1", 15}, {"0,25+0,5", 0.75L}, {"2,5 DIV 1", 2}, {"3,5 DIV 1", 4},
    };
    CheckValues(cases, std::size(cases), separators);

    static const ErrorCase errors[] = {
        {"1.5", 8, 2}, {"1,2,3", 7, 5}, {"1;", 1, 3}, {";1", 11, 1}, {"1;2", 0, 0},
    };
    for (const ErrorCase& c : errors) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        auto r = Compile(c.text, separators);
        EXPECT_EQ(r->error.Code, c.code);
        EXPECT_EQ(r->error.Pos, c.pos);
    }
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
            tEvalResult v = EvaluateExpression(r->compiled, r->vars);
            EXPECT_EQ(v.Code, 1); // two values remain
        }
    }
}

} // namespace
} // namespace probex::test
