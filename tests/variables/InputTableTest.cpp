#include "variables/InputTable.h"

#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace probex {
namespace {

using Col = InputColumn;

struct TableFixture {
    TSettings settings;
    test::ScriptedPrompter prompter;
    int invalidations = 0;
    TInputTable table{settings, prompter, [this] { ++invalidations; }};
};

std::string Label(char prefix, int number) {
    std::string text(1, prefix);
    text += std::to_string(number);
    return text;
}

TEST(InputTableTest, ParametersTextPerKind) {
    struct Case {
        DistKind kind;
        Extended min, max, loc;
        const char* caption;
        char sep;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {DistKind::dkUndefined, 1, 2, 5, "", '.', "before"},
        {DistKind::dkConstant, 0, 0, 1.5L, "", ',', "Value=1,5"},
        {DistKind::dkConstant, 0, 0, 3.14L, "Pi (3.141592...)", '.', "Value=Pi (3.141592...)"},
        {DistKind::dkDiscrete, 1, 3, 9, "", '.', "Min=1.00000000 Max=3.00000000"},
        {DistKind::dkContinuous, -0.5L, 12345.678L, 9, "", ',',
         "Min=-0,50000000 Max=12345,67800000"},
        {DistKind::dkStepNumber, 1, 2, 5, "", '.', "No parameter"},
        {DistKind::dkNormal, 1.5L, 3, 0, "", '.',
         "Min=1.50000000 Max=3.00000000 Mean=0.25000000 StDev=1.00000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        TableFixture f;
        f.settings.DecimalSep = c.sep;
        f.table.setCellText(7, Col::Parameters, "before");
        TIis& iis = f.table.record(7);
        iis.Kind = c.kind;
        iis.Min = c.min;
        iis.Max = c.max;
        iis.Loc = c.loc;
        iis.Mean = 0.25L;
        iis.StDev = 1;
        iis.ConstCaption = c.caption;
        f.table.FillParametersCell(7);
        EXPECT_EQ(f.table.cell(7, Col::Parameters), c.expected);
    }
}

TEST(InputTableTest, FindAndAddRowsUpToAFullTable) {
    TableFixture f;
    EXPECT_TRUE(f.table.AddInputVariable("x"));
    f.table.setCellText(2, Col::Comment, "only a comment");
    EXPECT_TRUE(f.table.AddInputVariable("Yb"));
    const std::vector<std::pair<const char*, int>> cases = {
        {"X", 1}, {"yB", 3}, {"", 2}, {"y", 0}, {"x ", 0}};
    for (const auto& [name, row] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(f.table.FindVarRow(name), row);
    }
    for (int r = 4; r <= TInputTable::RowCount; ++r) {
        ASSERT_EQ(f.table.FirstEmptyRow(), r);
        ASSERT_TRUE(f.table.AddInputVariable(Label('v', r)));
    }
    const int before = f.invalidations;
    EXPECT_EQ(f.table.FirstEmptyRow(), 0);
    EXPECT_FALSE(f.table.AddInputVariable("extra"));
    EXPECT_EQ(f.table.FindVarRow("extra"), 0);
    EXPECT_EQ(f.invalidations, before);
}

TEST(InputTableTest, CompactAndMoveKeepCellsAndRecordsTogether) {
    struct Case {
        std::vector<int> namedRows;
        int nameless;           ///< a row with a type but no name, dropped; 0 for none
        std::vector<int> order; ///< the former rows of rows 1, 2, ... afterwards
        int moveFrom, moveTo;   ///< 0: compact instead
        bool changes;
    };
    const std::vector<Case> cases = {
        {{1, 4}, 0, {1, 4}, 0, 0, true},
        {{1, 2, 3}, 0, {1, 2, 3}, 0, 0, false},
        {{2, 100, 255}, 50, {2, 100, 255}, 0, 0, true},
        {{1, 2}, 3, {1, 2}, 0, 0, true},
        {{1, 2, 3, 4}, 0, {2, 3, 1, 4}, 1, 3, true},
        {{1, 2, 3, 4}, 0, {1, 4, 2, 3}, 4, 2, true},
        {{1, 2}, 0, {1, 2}, 2, 256, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.namedRows.back() * 1000 + c.moveFrom);
        TableFixture f;
        for (int r : c.namedRows) {
            f.table.setCellText(r, Col::Variable, Label('v', r));
            f.table.setCellText(r, Col::Comment, Label('c', r));
            f.table.record(r).Kind = DistKind::dkDiscrete;
            f.table.record(r).Urn.assign(static_cast<std::size_t>(r), r);
        }
        if (c.nameless != 0) f.table.record(c.nameless).Kind = DistKind::dkNormal;
        if (c.moveFrom != 0)
            f.table.moveRow(c.moveFrom, c.moveTo);
        else
            f.table.compact();
        EXPECT_EQ(f.invalidations, c.changes ? 1 : 0);
        for (std::size_t i = 0; i < c.order.size(); ++i) {
            const int to = static_cast<int>(i) + 1;
            EXPECT_EQ(f.table.cell(to, Col::Variable), Label('v', c.order[i]));
            EXPECT_EQ(f.table.cell(to, Col::Comment), Label('c', c.order[i]));
            EXPECT_EQ(f.table.record(to).Urn.size(), static_cast<std::size_t>(c.order[i]));
        }
        if (c.moveFrom != 0) continue;
        EXPECT_EQ(f.table.FirstEmptyRow(), static_cast<int>(c.order.size()) + 1);
        for (int r = static_cast<int>(c.order.size()) + 1; r <= TInputTable::RowCount; ++r) {
            EXPECT_EQ(f.table.kind(r), DistKind::dkUndefined);
            EXPECT_TRUE(f.table.record(r).Urn.empty());
        }
    }
}

TEST(InputTableTest, CompilerRowStates) {
    TableFixture f;
    f.table.AddInputVariable("q");
    for (Col c : {Col::Type, Col::Parameters, Col::Comment})
        f.table.setCellText(1, c, "text");
    f.table.record(1).Kind = DistKind::dkDiscrete;
    f.table.record(1).Urn = {0, 1, 1, 2};

    f.table.setRowUndefined(1);
    EXPECT_EQ(f.table.cell(1, Col::Variable), "q");
    for (Col c : {Col::Type, Col::Parameters, Col::Comment})
        EXPECT_EQ(f.table.cell(1, c), "");
    EXPECT_EQ(f.table.kind(1), DistKind::dkUndefined);
    EXPECT_TRUE(f.table.record(1).Urn.empty());

    f.table.record(1).Loc = 7;
    f.table.setConstantZero(1);
    EXPECT_EQ(f.table.kind(1), DistKind::dkConstant);
    EXPECT_EQ(f.table.record(1).Loc, 0);
    EXPECT_EQ(f.table.cell(1, Col::Type), "Constant");
    EXPECT_EQ(f.table.cell(1, Col::Parameters), "Value=0");
    EXPECT_TRUE(f.prompter.shown.empty());
}

} // namespace
} // namespace probex
