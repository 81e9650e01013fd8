#include "engine/EquationSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace probex {
namespace {

struct LineCase {
    const char* text;
    bool condition;
    std::uint8_t code;
    std::int32_t pos;
    const char* name;       // on success
    const char* expression; // on success
    std::uint8_t relation;  // on success of a condition line
};

TEST(EquationLine, ParsesAndRejectsAsDocumented) {
    const LineCase cases[] = {
        {"x = 1 ; comment", false, ecNone, 0, "x", " 1 ", 0},
        {"  Width=a*b", false, ecNone, 0, "Width", "a*b", 0},
        {"x = 2 = 3", false, ecNone, 0, "x", " 2 = 3", 0},
        {"x 1", false, ecMissingEquals, 3, "", "", 0},
        {"= 5", false, ecEmpty, 0, "", "", 0},
        {"   = 5", false, ecEmpty, 4, "", "", 0},
        {"2x = 1", false, ecIllegalName, 2, "", "", 0},
        {"x_1 = 1", false, ecIllegalName, 3, "", "", 0},
        {"sin = 1", false, ecReservedWord, 3, "", "", 0},
        {"Log = 1", false, ecReservedWord, 3, "", "", 0},
        {"div = 1", false, ecNone, 0, "div", " 1", 0},
        {"", false, ecEmpty, 0, "", "", 0},
        {"0 >= a - b", true, ecNone, 0, "0", " a - b", relGreaterEqual},
        {"0 => a", true, ecNone, 0, "0", " a", relGreaterEqual},
        {"0 =< a", true, ecNone, 0, "0", " a", relLessEqual},
        {"0 <> a", true, ecNone, 0, "0", " a", relNotEqual},
        {"0 >< a", true, ecNone, 0, "0", " a", relNotEqual},
        {"0 = a", true, ecNone, 0, "0", " a", relEqual},
        {"0 < a < b", true, ecNone, 0, "0", " a < b", relLess},
        {"0 > a", true, ecNone, 0, "0", " a", relGreater},
        {"0 < > a", true, ecTooManyRelations, 5, "", "", 0},
        {"0 <= a > b", true, ecTooManyRelations, 10, "", "", 0},
        {"0 a", true, ecMissingRelation, 3, "", "", 0},
        {"1 < a", true, ecIllegalName, 1, "", "", 0},
        {" 00 < a", true, ecIllegalName, 3, "", "", 0},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.text);
        tEquRec rec;
        TEquError error;
        std::uint8_t relation = 99;
        ParseEquationLine(c.text, rec, c.condition, error, relation);
        EXPECT_EQ(error.Code, c.code);
        EXPECT_EQ(error.Pos, c.pos);
        if (c.code == ecNone) {
            EXPECT_EQ(rec.Name, c.name);
            EXPECT_EQ(rec.Expression, c.expression);
            if (c.condition) {
                EXPECT_EQ(relation, c.relation);
            }
        }
    }
}

struct SetCase {
    std::vector<std::string> lines;
    std::uint8_t code;
    std::int32_t line;
    std::int32_t pos;
};

std::unique_ptr<tDecodedEquations> Compile(const std::vector<std::string>& lines, TEquError& error,
                                           bool condition = false) {
    auto set = std::make_unique<tDecodedEquations>();
    tEquRecs recs;
    std::uint8_t relation = 0;
    ParseEquationLines(lines, condition, recs, error, relation);
    if (error.Code != ecNone) return set;
    CompileEquations(recs, *set, error);
    return set;
}

TEST(EquationSet, ReportsErrorsWithLineAndColumn) {
    const SetCase cases[] = {
        {{"", "   ", "; only a comment", "\t"}, ecNoExpression, 1, 1},
        {{"z = y*2", "y = x+1"}, ecNone, 0, 0},
        {{"y = x+1", "z = y*2"}, ecDuplicateName, 0, 1},
        {{"x = x + 1"}, ecDuplicateName, 0, 1},
        {{"a = 1", "", "a = 1"}, ecDuplicateName, 0, 1},
        {{"", "x = 2 = 3"}, ecIllegalChar, 1, 7},
        {{"y = 1", "  z = (a"}, ecNone, 0, 0}, // bracket balance is found when evaluating
        {{"y = a +", "z = 1"}, ecError, 0, 8},
        {{"; header", "y = a b"}, ecMissingOperator, 1, 7},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.lines.back());
        TEquError error;
        Compile(c.lines, error);
        EXPECT_EQ(error.Code, c.code);
        if (c.code != ecNone) {
            EXPECT_EQ(error.Line, c.line);
            EXPECT_EQ(error.Pos, c.pos);
        }
    }
}

TEST(EquationSet, The256thEquationLineIsRejectedAtThatLine) {
    std::vector<std::string> lines;
    for (int i = 0; i < 256; ++i)
        lines.push_back("v" + std::to_string(i) + " = 1");
    TEquError error;
    Compile(lines, error);
    EXPECT_EQ(error.Code, ecTooManyEquations);
    EXPECT_EQ(error.Line, 255);
    EXPECT_EQ(error.Pos, 1);
}

TEST(EquationSet, OrdersVariablesFromTheLastLineUpAndEvaluatesUpwards) {
    TEquError error;
    auto set = Compile({"z = y*2", "y = x+1"}, error);
    ASSERT_EQ(error.Code, ecNone);
    ASSERT_EQ(set->Vars.Count, 3);
    EXPECT_EQ(set->Vars.Names[1], "x");
    EXPECT_EQ(set->Vars.Roles[1], tVars::Input);
    EXPECT_EQ(set->Vars.Names[2], "y");
    EXPECT_EQ(set->Vars.Roles[2], tVars::Computed);
    EXPECT_EQ(set->Vars.Names[3], "z");
    set->Vars.Values[1] = 4;
    EXPECT_EQ(EvaluateEquations(*set, error), ecNone);
    EXPECT_EQ(set->Vars.Values[3], 10);
}

TEST(EquationSet, ConditionZeroIsTheLastVariable) {
    TEquError error;
    auto set = Compile({"0 < y - a", "y = b*2"}, error, true);
    ASSERT_EQ(error.Code, ecNone);
    EXPECT_EQ(set->Vars.Names[set->Vars.Count], "0");
}

TEST(EquationSet, EvaluationFailureNamesTheEquation) {
    TEquError error;
    auto set = Compile({"z = 1/y", "y = x - 1", "w = 2"}, error);
    ASSERT_EQ(error.Code, ecNone);
    set->Vars.Values[FindVar("x", set->Vars)] = 1;
    EXPECT_EQ(EvaluateEquations(*set, error), ecDivisionByZero);
    EXPECT_EQ(error.Pos, 1);
}

TEST(EquationSet, ClearDecodedEmptiesEverything) {
    TEquError error;
    auto set = Compile({"z = y*2", "y = x+1"}, error);
    set->ConstList.add(1, 3);
    ClearDecoded(*set);
    EXPECT_EQ(set->Count, 0);
    EXPECT_EQ(set->Vars.Count, 0);
    EXPECT_TRUE(set->Vars.Names[1].empty());
    EXPECT_EQ(set->ConstList.Count, 0);
    EXPECT_TRUE(set->Equations[1].Schedule.empty());
}

} // namespace
} // namespace probex
