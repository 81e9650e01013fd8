#include "engine/ErrorCulprit.h"

#include "engine/EquationSet.h"

#include <gtest/gtest.h>

namespace probex {
namespace {

/// Compiles the text as the equations window does and describes its error.
std::string StatusOf(const std::vector<std::string>& lines) {
    tEquRecs recs;
    TEquError error;
    std::uint8_t relation = 0;
    ParseEquationLines(lines, false, recs, error, relation);
    if (error.Code == 0) {
        tDecodedEquations set;
        ClearDecoded(set);
        CompileEquations(recs, set, error);
    }
    return ErrorWithCulprit(error, lines);
}

TEST(ErrorCulprit, NamesTheCulpritAndTheLineCountedFromOne) {
    const std::string bottomUp = " (used in or below this line; equations are read from the "
                                 "bottom up)";
    const struct {
        std::vector<std::string> lines;
        std::string status;
    } cases[] = {
        {{"y = x + 1", "z = y*2"}, "Duplicite name: y, line 1" + bottomUp},
        {{"x = x + 1"}, "Duplicite name: x, line 1" + bottomUp},
        {{"a = 1", "", "  Total = 2", "Total = 3"},
         "Duplicite name: Total, line 3 (computed twice)"},
        {{"z = y*2", "y = x+1"}, "No error"},
        {{"; note", "2x = 1"}, "Illegal name: line 2 at \"2x\""},
        {{"sin = 1"}, "Reserved word: sin, line 1"},
        {{"a = 1", "x = 2 = 3"}, "Illegal character: line 2 at \"= 3\""},
        {{"y = 2*"}, "Error in expression: line 1 after \"y = 2*\""},
        {{"y = 1.5.2 + a"}, "Invalid numeric constant: line 1 at \"1.5.2\""},
        {{"x_1 = 1"}, "Illegal name: line 1 at \"x_1\""},
        {{"y = a # b + a_very_long_name_indeed + c"},
         "Illegal character: line 1 at \"# b + a_very_long_na...\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.front());
        EXPECT_EQ(StatusOf(c.lines), c.status);
    }
}

TEST(ErrorCulprit, RunTimeErrorsNameTheirEquation) {
    const std::vector<std::string> lines = {"a = 1", "y =  1/x"};
    // A run-time error stands just before the expression of its line.
    EXPECT_EQ(ErrorCulprit({ecDivisionByZero, 3, 1}, lines), "y, line 2");
    EXPECT_EQ(ErrorCulprit({ecDivisionByZero, 3, 7}, lines), ""); // no such line
}

} // namespace
} // namespace probex
