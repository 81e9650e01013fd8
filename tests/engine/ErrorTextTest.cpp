// Error messages, name tests and the named constants.

#include "engine/ExpressionTestSupport.h"

#include <gtest/gtest.h>

namespace probex::test {
namespace {

TEST(ErrorText, EveryCodeHasItsMessage) {
    static const char* const messages[] = {
        "No error",
        "Error in expression",
        "Empty string",
        "No expression",
        "Brackets don't match",
        "Missing \"(\" character",
        "Missing \")\" character",
        "Invalid numeric constant",
        "Illegal character",
        "Missing \"0\" character",
        "Missing parameter name",
        "Missing operand",
        "Missing operator",
        "Too many operands",
        "Too many operators",
        "Division by zero",
        "Overflow",
        "Invalid argument",
        "Operand stack overflow",
        "Operand stack underflow",
        "Operator stack overflow",
        "Operator stack underflow",
        "Missing '=' character",
        "Missing '=','<' or '>' character",
        "Too many '=','<' or '>' characters",
        "Illegal space chracter",
        "Reserved word",
        "Illegal name",
        "Duplicite name",
        "Input variable on left side",
        "Expression error",
        "Expression error",
        "Internal",
    };
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE("code " + std::to_string(code));
        const int low = code & 0x7F;
        const std::string expected = low < 33 ? messages[low] : "Expression error";
        EXPECT_EQ(std::string(ErrorText(static_cast<std::uint8_t>(code))), expected);
    }
}

TEST(Names, IsIdentifier) {
    struct Case {
        const char* name;
        bool expected;
    };
    static const Case cases[] = {
        {"a", true},   {"Width", true}, {"DIV", true},   {"Z9z9", true},   {"E5", true},
        {"", false},   {"1a", false},   {"x_1", false},  {"a b", false},   {" a", false},
        {"a ", false}, {"a.b", false},  {"\xe4", false}, {"a\xe4", false}, {"_a", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("name \"") + c.name + "\"");
        EXPECT_EQ(IsIdentifier(c.name), c.expected);
    }
    EXPECT_FALSE(IsIdentifier(std::string("a\0b", 3)));
}

TEST(Names, IsReservedWord) {
    struct Case {
        const char* name;
        bool expected;
    };
    static const Case cases[] = {
        {"SIN", true},  {"sin", true},   {"Cos", true},   {"TAN", true},  {"COT", true},
        {"ASIN", true}, {"ACOS", true},  {"ATAN", true},  {"ACOT", true}, {"LN", true},
        {"LOG", true},  {"ABS", true},   {"INT", true},   {"FRAC", true}, {"SGN", true},
        {"POS", true},  {"NEG", true},   {"zero", true},  {"-", true},    {"+", true},
        {"*", true},    {"/", true},     {"^", true},     {"DIV", false}, {"div", false},
        {"MOD", false}, {"", false},     {"SINX", false}, {"SI", false},  {"(", false},
        {",", false},   {" SIN", false}, {"SIN ", false}, {"--", false},  {"x", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("name \"") + c.name + "\"");
        EXPECT_EQ(IsReservedWord(c.name), c.expected);
    }
}

TEST(Names, FindVarIgnoresAsciiCaseOnly) {
    tVars vars;
    vars.Count = 3;
    vars.Names[1] = "Width";
    vars.Names[2] = "x1";
    vars.Names[3] = "\344b";
    struct Case {
        const char* name;
        int index;
    };
    static const Case cases[] = {
        {"Width", 1}, {"WIDTH", 1}, {"width", 1},  {"X1", 2}, {"x1", 2}, {"\344B", 3},
        {"\304b", 0}, {"Widt", 0},  {"Widths", 0}, {"", 0},   {"x", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("name \"") + c.name + "\"");
        EXPECT_EQ(FindVar(c.name, vars), c.index);
    }
}

TEST(NamedConstants, NamesCaptionsAndExactValues) {
    const auto& constants = NamedConstants();
    ASSERT_EQ(constants.size(), 3u);
    EXPECT_STREQ(constants[0].Name, "pi");
    EXPECT_STREQ(constants[0].Caption, "Pi (3.141592...)");
    EXPECT_TRUE(SameBits(constants[0].Value, ExtendedFromBits(0x4000, 0xC90FDAA22168C235)));
    EXPECT_STREQ(constants[1].Name, "c");
    EXPECT_STREQ(constants[1].Caption, "c (2.99776e8)");
    EXPECT_EQ(constants[1].Value, 299776000.0L);
    EXPECT_STREQ(constants[2].Name, "e");
    EXPECT_STREQ(constants[2].Caption, "e (2.718281...)");
    EXPECT_TRUE(SameBits(constants[2].Value, ExtendedFromBits(0x4000, 0xADF85458A2BB4A9B)));
}

TEST(NamedConstants, FindByTheFirstBlankSeparatedWord) {
    const auto& constants = NamedConstants();
    struct Case {
        const char* text;
        const TConstantRec* expected;
    };
    const Case cases[] = {
        {"pi", &constants[0]},
        {"PI", &constants[0]},
        {"Pi (3.141592...)", &constants[0]},
        {"c", &constants[1]},
        {"C (2.99776e8)", &constants[1]},
        {"e", &constants[2]},
        {"E", &constants[2]},
        {"e (2.718281...)", &constants[2]},
        {"", nullptr},
        {"   ", nullptr},
        {"pie", nullptr},
        {"p", nullptr},
        {"3.14", nullptr},
        {"x pi", nullptr},
        {"pi(3", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(FindNamedConstant(c.text), c.expected);
    }
}

} // namespace
} // namespace probex::test
