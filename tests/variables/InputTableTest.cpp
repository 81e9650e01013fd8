#include "variables/InputTable.h"

#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace probex {
namespace {

using Col = InputColumn;

std::string Label(char prefix, int number) {
    std::string text(1, prefix);
    text += std::to_string(number);
    return text;
}

struct TableFixture {
    TSettings settings;
    test::ScriptedPrompter prompter;
    int invalidations = 0;
    TInputTable table{settings, prompter, [this] { ++invalidations; }};
};

TEST(InputTableTest, ParametersTextPerKind) {
    struct Case {
        DistKind kind;
        Extended min, max, mean, stDev, loc;
        const char* caption;
        char sep;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {DistKind::dkUndefined, 1, 2, 3, 4, 5, "", '.', "before"},
        {DistKind::dkConstant, 0, 0, 0, 0, 1.5L, "", '.', "Value=1.5"},
        {DistKind::dkConstant, 0, 0, 0, 0, 1.5L, "", ',', "Value=1,5"},
        {DistKind::dkConstant, 0, 0, 0, 0, 0, "", '.', "Value=0"},
        {DistKind::dkConstant, 0, 0, 0, 0, 3.14L, "Pi (3.141592...)", '.',
         "Value=Pi (3.141592...)"},
        {DistKind::dkDiscrete, 1, 3, 9, 9, 9, "", '.', "Min=1.00000000 Max=3.00000000"},
        {DistKind::dkContinuous, -0.5L, 12345.678L, 9, 9, 9, "", ',',
         "Min=-0,50000000 Max=12345,67800000"},
        {DistKind::dkStepNumber, 1, 2, 3, 4, 5, "", '.', "No parameter"},
        {DistKind::dkUniform, 0, 1, 0.5L, 0.28867513459481288L, 0, "", '.',
         "Min=0.00000000 Max=1.00000000 Mean=0.50000000 StDev=0.28867513"},
        {DistKind::dkNormal, -3, 3, 0, 1, 0, "", ',',
         "Min=-3,00000000 Max=3,00000000 Mean=0,00000000 StDev=1,00000000"},
        {DistKind::dkExponential, 0, 20, 1.5L, 1, 0, "", '.',
         "Min=0.00000000 Max=20.00000000 Mean=1.50000000 StDev=1.00000000"},
        {DistKind::dkLognormal, 0, 1000, 2, 0.125L, 0, "", '.',
         "Min=0.00000000 Max=1000.00000000 Mean=2.00000000 StDev=0.12500000"},
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
        iis.Mean = c.mean;
        iis.StDev = c.stDev;
        iis.Loc = c.loc;
        iis.ConstCaption = c.caption;
        f.table.FillParametersCell(7);
        EXPECT_EQ(f.table.cell(7, Col::Parameters), c.expected);
    }
}

TEST(InputTableTest, FindAndAddRows) {
    TableFixture f;
    EXPECT_TRUE(f.table.AddInputVariable("x"));
    f.table.setCellText(2, Col::Comment, "only a comment");
    EXPECT_TRUE(f.table.AddInputVariable("Yb"));
    EXPECT_EQ(f.table.cell(3, Col::Variable), "Yb");
    EXPECT_EQ(f.table.kind(3), DistKind::dkUndefined);
    struct Case {
        const char* name;
        int row;
    };
    const std::vector<Case> cases = {{"X", 1}, {"yB", 3}, {"", 2}, {"y", 0}, {"x ", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(f.table.FindVarRow(c.name), c.row);
    }
    EXPECT_EQ(f.table.FirstEmptyRow(), 4);
}

TEST(InputTableTest, AddToFullTableChangesNothing) {
    TableFixture f;
    for (int r = 1; r <= TInputTable::RowCount; ++r)
        ASSERT_TRUE(f.table.AddInputVariable(Label('v', r)));
    const int before = f.invalidations;
    EXPECT_EQ(f.table.FirstEmptyRow(), 0);
    EXPECT_FALSE(f.table.AddInputVariable("extra"));
    EXPECT_EQ(f.table.FindVarRow("extra"), 0);
    EXPECT_EQ(f.invalidations, before);
}

TEST(InputTableTest, CompactMovesCellsAndRecordsTogether) {
    struct Case {
        std::vector<int> namedRows;
        int nameless; ///< a row with a type but no name, which compacting drops; 0 for none
        bool changes;
    };
    const std::vector<Case> cases = {
        {{1, 4}, 0, true},         {{1, 2, 3}, 0, false}, {{255}, 0, true},
        {{2, 100, 255}, 50, true}, {{1, 2}, 3, true},     {{}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.namedRows.size() * 1000 + c.nameless);
        TableFixture f;
        for (int r : c.namedRows) {
            f.table.setCellText(r, Col::Variable, Label('v', r));
            f.table.setCellText(r, Col::Comment, Label('c', r));
            f.table.record(r).Kind = DistKind::dkDiscrete;
            f.table.record(r).Min = r;
            f.table.record(r).Urn.assign(static_cast<std::size_t>(r), r);
        }
        if (c.nameless != 0) {
            f.table.setCellText(c.nameless, Col::Type, "Normal");
            f.table.record(c.nameless).Kind = DistKind::dkNormal;
        }
        f.table.compact();
        EXPECT_EQ(f.invalidations, c.changes ? 1 : 0);
        for (std::size_t i = 0; i < c.namedRows.size(); ++i) {
            const int to = static_cast<int>(i) + 1;
            const int from = c.namedRows[i];
            EXPECT_EQ(f.table.cell(to, Col::Variable), Label('v', from));
            EXPECT_EQ(f.table.cell(to, Col::Comment), Label('c', from));
            EXPECT_EQ(f.table.record(to).Min, from);
            EXPECT_EQ(f.table.record(to).Urn.size(), static_cast<std::size_t>(from));
        }
        EXPECT_EQ(f.table.FirstEmptyRow(), static_cast<int>(c.namedRows.size()) + 1);
        for (int r = static_cast<int>(c.namedRows.size()) + 1; r <= TInputTable::RowCount; ++r) {
            EXPECT_EQ(f.table.cell(r, Col::Type), "");
            EXPECT_EQ(f.table.kind(r), DistKind::dkUndefined);
            EXPECT_TRUE(f.table.record(r).Urn.empty());
        }
    }
}

TEST(InputTableTest, MoveRowCarriesItsRecord) {
    struct Case {
        int from, to;
        std::vector<const char*> order; ///< rows 1..4 afterwards
    };
    const std::vector<Case> cases = {
        {1, 3, {"b", "c", "a", "d"}}, {4, 2, {"a", "d", "b", "c"}},   {2, 2, {"a", "b", "c", "d"}},
        {0, 2, {"a", "b", "c", "d"}}, {2, 256, {"a", "b", "c", "d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from * 1000 + c.to);
        TableFixture f;
        for (const char* name : {"a", "b", "c", "d"}) {
            ASSERT_TRUE(f.table.AddInputVariable(name));
            f.table.record(f.table.FindVarRow(name)).Comment = name;
        }
        f.table.moveRow(c.from, c.to);
        for (int r = 1; r <= 4; ++r) {
            EXPECT_EQ(f.table.cell(r, Col::Variable), c.order[r - 1]);
            EXPECT_EQ(f.table.record(r).Comment, c.order[r - 1]);
        }
    }
}

TEST(InputTableTest, CompilerRowStates) {
    TableFixture f;
    f.table.AddInputVariable("q");
    f.table.setCellText(1, Col::Type, "beam.dis");
    f.table.setCellText(1, Col::Parameters, "Min=1.00000000 Max=3.00000000");
    f.table.setCellText(1, Col::Comment, "loads");
    f.table.record(1).Kind = DistKind::dkDiscrete;
    f.table.record(1).Urn = {0, 1, 1, 2};
    f.table.record(1).UrnSize = 4;

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
    EXPECT_EQ(f.table.record(1).Scale, 1);
    EXPECT_EQ(f.table.cell(1, Col::Type), "Constant");
    EXPECT_EQ(f.table.cell(1, Col::Parameters), "Value=0");
    EXPECT_TRUE(f.prompter.shown.empty());

    f.table.ClearRow(1);
    EXPECT_EQ(f.table.FirstEmptyRow(), 1);
    EXPECT_EQ(f.table.kind(1), DistKind::dkUndefined);
}

TEST(InputTableTest, CommentCellRewriteRule) {
    struct Case {
        const char* before;
        bool rewrite;
        Prompter::Answer answer;
        const char* text;
        const char* after;
        bool asked;
    };
    const std::vector<Case> cases = {
        {"", false, Prompter::Answer::Cancel, "new", "new", false},
        {"old", true, Prompter::Answer::Cancel, "new", "new", false},
        {"old", false, Prompter::Answer::Ok, "new", "new", true},
        {"old", false, Prompter::Answer::Cancel, "new", "old", true},
        {"old", false, Prompter::Answer::Ok, "", "old", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + "/" + c.text);
        TableFixture f;
        f.settings.RewriteIDs = c.rewrite;
        f.table.AddInputVariable("w\xE4rme");
        f.table.setCellText(1, Col::Comment, c.before);
        if (c.asked) f.prompter.answers.push_back(c.answer);
        f.table.SetCommentCell(1, c.text);
        EXPECT_EQ(f.table.cell(1, Col::Comment), c.after);
        ASSERT_EQ(f.prompter.shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(f.prompter.shown[0].text, "Rewrite comment field for variable w\xE4rme ?");
            EXPECT_EQ(f.prompter.shown[0].kind, Prompter::Kind::Confirmation);
            EXPECT_EQ(f.prompter.shown[0].buttons, Prompter::Buttons::OkCancel);
        }
    }
}

} // namespace
} // namespace probex
