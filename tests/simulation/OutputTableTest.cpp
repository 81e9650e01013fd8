#include "simulation/OutputTable.h"

#include "OutputTableFixture.h"

namespace probex::test {
namespace {

using Fixture = OutputTableFixture;

std::vector<std::string> Activities(const TOutputTable& table, int rows) {
    std::vector<std::string> out;
    for (int row = 1; row <= rows; ++row)
        out.push_back(table.cell(row, colActivity));
    return out;
}

// The last equation is compiled first, so "z" gets row 1 and "y" row 2.
TEST(OutputTable, VanishedVariablesKeepTheirCellsAndComeBackWithTheirActivity) {
    Fixture f;
    f.sync({"y = x + 1", "z = x * 2"});
    ASSERT_EQ(f.table.FindOutputRow("Z"), 1);
    ASSERT_EQ(f.table.FindOutputRow("y"), 2);
    f.table.setCell(1, colActivity, "Histogram");
    f.table.setCell(1, colDiscrete, "Yes");
    f.table.setCell(1, colComment, "zed");
    f.table.setCell(2, colActivity, "Log");

    ASSERT_TRUE(f.table.SyncOutputVariables(*Compiled({"y = x + 1"})));
    EXPECT_EQ(Activities(f.table, 2), (std::vector<std::string>{"", "Log"}));
    EXPECT_EQ(f.table.cell(1, colVariable), "z");
    EXPECT_EQ(f.table.cell(1, colDiscrete), "Yes");
    EXPECT_EQ(f.table.cell(1, colComment), "zed");
    EXPECT_FALSE(f.table.record(1).present);

    // Twice vanished must not lose the saved activity.
    ASSERT_TRUE(f.table.SyncOutputVariables(*Compiled({"y = x + 1"})));
    ASSERT_TRUE(f.table.SyncOutputVariables(*Compiled({"Z = x", "y = x + 1"})));
    EXPECT_EQ(Activities(f.table, 3), (std::vector<std::string>{"Histogram", "Log", ""}));
    EXPECT_TRUE(f.table.record(1).present);
    EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(OutputTable, SyncStripsNamesAndKeepsAnActivityReadWithoutCompilation) {
    Fixture f;
    f.table.setCell(3, colVariable, "  y ");
    ASSERT_EQ(f.table.AddOutputVariable("w"), 1);
    f.table.setCell(1, colActivity, "Log"); // as a project file sets it
    ASSERT_TRUE(f.table.SyncOutputVariables(*Compiled({"W = y + 1", "y = 2"})));
    EXPECT_EQ(f.table.cell(3, colVariable), "y");
    EXPECT_EQ(f.table.FindOutputRow("w"), 1);
    EXPECT_EQ(f.table.cell(1, colActivity), "Log");
    EXPECT_EQ(f.table.cell(2, colVariable), "");
}

TEST(OutputTable, SyncNormalisesRecalculate) {
    struct Case {
        const char* activity;
        const char* before;
        const char* after;
    };
    const Case cases[] = {{"Log", "", "No"}, {"Log", "maybe", "Yes"}, {"Histogram", "Yes", "No"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.activity) + "/" + c.before);
        Fixture f;
        const auto set = f.sync({"y = 1"}, {c.activity});
        f.table.setCell(1, colRecalculate, c.before);
        ASSERT_TRUE(f.table.SyncOutputVariables(*set));
        EXPECT_EQ(f.table.cell(1, colRecalculate), c.after);
        EXPECT_EQ(f.table.cell(1, colActivity), c.activity);
    }
}

TEST(OutputTable, FullTableRefusesTheNextVariable) {
    Fixture f;
    std::vector<std::string> first;
    for (int i = 1; i <= 200; ++i)
        first.push_back("v" + std::to_string(i) + " = 1");
    ASSERT_TRUE(f.table.SyncOutputVariables(*Compiled(first)));
    std::vector<std::string> second;
    for (int i = 1; i <= 56; ++i)
        second.push_back("w" + std::to_string(i) + " = 1");
    EXPECT_FALSE(f.table.SyncOutputVariables(*Compiled(second)));
    EXPECT_TRUE(f.prompter.shown.empty()); // the compile shows "Error assigning variable!"
    int assigned = 0;
    for (int i = 1; i <= 56; ++i)
        assigned += f.table.FindOutputRow("w" + std::to_string(i)) != 0;
    EXPECT_EQ(assigned, 55);
    EXPECT_EQ(f.table.AddOutputVariable("extra"), 0);
    // The vanished rows were not overwritten.
    EXPECT_EQ(f.table.FindOutputRow("v200"), 1);
    EXPECT_EQ(f.table.FindOutputRow("v1"), 200);
}

TEST(OutputTable, DefaultActivityRaisesButNeverLowers) {
    struct Case {
        int defOutVars;
        const char* before;
        const char* after;
    };
    const Case cases[] = {{0, "Inactive", "Inactive"},
                          {1, "Inactive", "Statistics"},
                          {2, "Statistics", "Histogram"},
                          {2, "Log", "Log"},
                          {3, "Histogram", "Log"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.defOutVars);
        Fixture f;
        const auto set = f.sync({"y = 1"}, {c.before});
        f.table.setCell(2, colVariable, "gone"); // a vanished variable: stays without activity
        f.settings.DefOutVars = c.defOutVars;
        ASSERT_TRUE(f.table.SyncOutputVariables(*set));
        EXPECT_EQ(f.table.cell(1, colActivity), c.after);
        EXPECT_EQ(f.table.cell(2, colActivity), "");
    }
}

TEST(OutputTable, AllCommandsSetEveryNamedRow) {
    struct Case {
        void (TOutputTable::*command)();
        std::vector<std::string> after;
    };
    const std::vector<std::string> before{"Inactive", "Histogram", "Log"};
    const Case cases[] = {
        {&TOutputTable::AllStatistics, {"Statistics", "Histogram", "Log", ""}},
        {&TOutputTable::AllHis, {"Histogram", "Histogram", "Log", ""}},
        {&TOutputTable::AllLogs, {"Log", "Log", "Log", ""}},
        {&TOutputTable::AllInactive, {"Inactive", "Inactive", "Inactive", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after[0]);
        Fixture f;
        f.sync({"a = 1", "b = 1", "c = 1"}, before);
        f.table.setCell(3, colRecalculate, "Yes");
        (f.table.*c.command)();
        EXPECT_EQ(Activities(f.table, 4), c.after);
        EXPECT_EQ(f.invalidated, 1);
        (f.table.*c.command)(); // nothing left to change
        EXPECT_EQ(f.invalidated, 1);
        EXPECT_EQ(f.table.cell(3, colRecalculate), c.after[2] == "Log" ? "Yes" : "No");
    }
}

TEST(OutputTable, CompactMovesRecordsWithTheirRows) {
    Fixture f;
    f.table.setCell(1, colVariable, "a");
    f.table.setCell(4, colVariable, "b");
    f.table.setCell(4, colComment, "bee");
    f.table.record(4).markValues[2] = 42;
    f.table.record(4).windowIds[ow1D] = "b-1D";
    f.table.setCell(OutputRows, colVariable, "last");
    f.table.record(OutputRows).quantProbs[255] = 0.5L;
    f.table.Compact();
    EXPECT_EQ(f.table.cell(1, colVariable), "a");
    EXPECT_EQ(f.table.cell(2, colVariable), "b");
    EXPECT_EQ(f.table.cell(2, colComment), "bee");
    EXPECT_EQ(f.table.record(2).markValues[2], 42);
    EXPECT_EQ(f.table.record(2).windowIds[ow1D], "b-1D");
    EXPECT_EQ(f.table.cell(3, colVariable), "last");
    EXPECT_EQ(f.table.record(3).quantProbs[255], 0.5L);
    for (int row : {4, OutputRows}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(f.table.cell(row, colVariable), "");
        EXPECT_EQ(f.table.cell(row, colComment), "");
        EXPECT_EQ(f.table.record(row).markValues[2], f.settings.PQValues[2]);
        EXPECT_EQ(f.table.record(row).windowIds[ow1D], "");
    }
}

TEST(OutputTable, NameEditFillsTheRowAndDiscardsResults) {
    for (bool discrete1D : {false, true}) {
        SCOPED_TRACE(discrete1D);
        Fixture f;
        f.settings.Discrete1D = discrete1D;
        f.table.editCell(5, colVariable, "  q  ");
        EXPECT_EQ(f.table.cell(5, colVariable), "q");
        EXPECT_EQ(f.table.cell(5, colActivity), "Inactive");
        EXPECT_EQ(f.table.cell(5, colDiscrete), discrete1D ? "Yes" : "No");
        EXPECT_TRUE(f.table.record(5).present);
        EXPECT_EQ(f.invalidated, 1);
        EXPECT_EQ(f.table.FindOutputRow("Q"), 5);
    }
}

TEST(OutputTable, RecalculateAndActivityEdits) {
    struct Case {
        const char* activity;
        int column;
        const char* text;
        const char* recalcAfter;
        int invalidated;
        int refreshed;
    };
    const Case cases[] = {
        {"Log", colRecalculate, "Yes", "Yes", 0, 1},
        {"Histogram", colRecalculate, "Yes", "No", 0, 1},
        {"Log", colActivity, "Histogram", "No", 1, 0},
        {"Histogram", colActivity, "Log", "Yes", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.activity) + " " + c.text);
        Fixture f;
        int refreshed = 0;
        f.table.setHooks({[&](int row, TOutputTable::RefreshReason reason) {
                              EXPECT_EQ(row, 1);
                              EXPECT_EQ(reason, TOutputTable::RefreshReason::Recalculate);
                              ++refreshed;
                          },
                          {}});
        ASSERT_EQ(f.table.AddOutputVariable("y", true), 1);
        f.table.setCell(1, colActivity, c.activity);
        f.table.setCell(1, colRecalculate, "Yes");
        f.table.editCell(1, c.column, c.text);
        EXPECT_EQ(f.table.cell(1, colRecalculate), c.recalcAfter);
        EXPECT_EQ(f.invalidated, c.invalidated);
        EXPECT_EQ(refreshed, c.refreshed);
    }
}

TEST(OutputTable, AddOutputVariableTakesTheDefaultMarks) {
    Fixture f;
    f.settings.PQKinds = {PQKind::P, PQKind::Q, PQKind::P, PQKind::Q};
    f.settings.PQValues = {0.1L, 2, 0.3L, 4};
    f.table.setCell(1, colVariable, "taken");
    const int row = f.table.AddOutputVariable("fresh");
    ASSERT_EQ(row, 2);
    EXPECT_EQ(f.table.cell(2, colActivity), "Inactive");
    EXPECT_EQ(f.table.record(2).savedActivity, "Inactive");
    EXPECT_FALSE(f.table.record(2).present);
    EXPECT_EQ(f.table.record(2).markKinds, (std::array<bool, 4>{false, true, false, true}));
    EXPECT_EQ(f.table.record(2).markValues, (std::array<Extended, 4>{0.1L, 2, 0.3L, 4}));
}

TEST(OutputTable, DeletingRowsClearsCellsAndDiscardsResults) {
    Fixture f;
    f.sync({"a = 1", "b = 1"});
    f.table.record(1).windowIds[owStatistics] = "old";
    f.table.DelVar(1);
    for (int column = 0; column < OutputColumns; ++column)
        EXPECT_EQ(f.table.cell(1, column), "");
    EXPECT_EQ(f.table.record(1).windowIds[owStatistics], "");
    EXPECT_EQ(f.table.FindOutputRow("a"), 2);
    f.table.DelVars();
    EXPECT_EQ(f.table.FindOutputRow("a"), 0);
    EXPECT_EQ(f.invalidated, 2);
    EXPECT_EQ(f.table.cell(0, colRecalculate), "Recalculate");
}

} // namespace
} // namespace probex::test
