#include "simulation/OutputTable.h"

#include "engine/EquationSet.h"
#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace probex {
namespace {

std::unique_ptr<tDecodedEquations> Compiled(const std::vector<std::string>& lines) {
    auto recs = std::make_unique<tEquRecs>();
    auto set = std::make_unique<tDecodedEquations>();
    TEquError error;
    std::uint8_t relation = 0;
    ParseEquationLines(lines, false, *recs, error, relation);
    EXPECT_EQ(error.Code, 0);
    ClearDecoded(*set);
    CompileEquations(*recs, *set, error);
    EXPECT_EQ(error.Code, 0);
    return set;
}

struct Fixture {
    TSettings settings;
    test::ScriptedPrompter prompter;
    int invalidated = 0;
    TOutputTable table{settings, prompter, [this] { ++invalidated; }};
};

TEST(OutputTableRun, PrepareAllocatesWhatEachActivityGathers) {
    struct Case {
        const char* activity;
        bool stat;
        bool his;
        bool log;
    };
    const Case cases[] = {{"Statistics", true, false, false},
                          {"Histogram", true, true, false},
                          {"Log", true, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.activity);
        Fixture f;
        f.settings.HistogramSize = 16;
        const auto set = Compiled({"y = x + 1"});
        ASSERT_TRUE(f.table.SyncOutputVariables(*set));
        f.table.setCell(1, colActivity, c.activity);
        f.table.setCell(1, colDiscrete, "Yes");
        f.table.record(1).markValues = {1, 2, 3, 4};
        ASSERT_TRUE(f.table.PrepareOutputs(*set, 50));
        const TOutVarSet& run = f.table.runTable();
        ASSERT_EQ(run.count(), 1);
        EXPECT_EQ(run.item(1).Row, 1);
        EXPECT_EQ(run.item(1).VarIndex, FindVar("y", set->Vars));
        EXPECT_EQ(run.item(1).Stat != nullptr, c.stat);
        EXPECT_EQ(run.item(1).His != nullptr, c.his);
        EXPECT_EQ(run.item(1).Log != nullptr, c.log);
        if (c.his) {
            EXPECT_EQ(run.item(1).His->binCount, 16);
            EXPECT_TRUE(run.item(1).His->discrete);
            EXPECT_EQ(run.item(1).His->markValues[3], 4);
        }
        if (c.log) {
            EXPECT_EQ(run.item(1).Log->size(), 50);
        }
        EXPECT_EQ(f.table.FindActiveIndex(1), 1);
        EXPECT_TRUE(f.prompter.shown.empty());
    }
}

TEST(OutputTableRun, RowsOfVanishedVariablesAreListedWithoutAccumulators) {
    Fixture f;
    ASSERT_TRUE(f.table.SyncOutputVariables(*Compiled({"a = 1", "b = 2"})));
    f.table.setCell(1, colActivity, "Log"); // b
    f.table.setCell(2, colActivity, "Inactive");
    const auto onlyA = Compiled({"a = 1"});
    ASSERT_TRUE(f.table.SyncOutputVariables(*onlyA));
    f.table.setCell(2, colActivity, "Statistics");
    ASSERT_TRUE(f.table.PrepareOutputs(*onlyA, 10));
    const TOutVarSet& run = f.table.runTable();
    ASSERT_EQ(run.count(), 2);
    EXPECT_EQ(run.item(1).Row, 1);
    EXPECT_FALSE(run.item(1).Stat || run.item(1).His || run.item(1).Log);
    EXPECT_EQ(f.table.FindActiveIndex(2), 2);
    EXPECT_TRUE(run.item(2).Stat);
}

TEST(OutputTableRun, RunDoesNotStartWithoutAnythingToGather) {
    struct Case {
        const char* first;
        const char* second;
        int histogramSize;
        const char* message;
        Prompter::Kind kind;
    };
    const Case cases[] = {
        {"Inactive", "Inactive", 1024, "Select output variables!", Prompter::Kind::Warning},
        // A histogram of one bin cannot be had.
        {"Statistics", "Histogram", 1, "No memory!", Prompter::Kind::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Fixture f;
        int shown = 0;
        f.table.setHooks({{}, [&] { ++shown; }});
        f.settings.HistogramSize = c.histogramSize;
        const auto set = Compiled({"a = 1", "b = 2"});
        ASSERT_TRUE(f.table.SyncOutputVariables(*set));
        f.table.setCell(1, colActivity, c.first);
        f.table.setCell(2, colActivity, c.second);
        EXPECT_FALSE(f.table.PrepareOutputs(*set, 10));
        EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(f.prompter.shown[0].kind, c.kind);
        EXPECT_EQ(f.table.runTable().count(), 0);
        EXPECT_EQ(shown, c.kind == Prompter::Kind::Warning ? 1 : 0);
    }
}

TEST(OutputTableRun, GrowingTheLogsKeepsEveryValue) {
    Fixture f;
    const auto set = Compiled({"a = 1", "b = 2"});
    ASSERT_TRUE(f.table.SyncOutputVariables(*set));
    f.table.setCell(1, colActivity, "Log");
    f.table.setCell(2, colActivity, "Statistics");
    ASSERT_TRUE(f.table.PrepareOutputs(*set, 10));
    TOutVarSet& run = f.table.runTable();
    for (int s = 0; s < 10; ++s) {
        run.item(1).Log->store(s, s * 1.5L);
        StatAdd(*run.item(2).Stat, s);
    }
    ASSERT_TRUE(f.table.GrowOutputLogs(25));
    ASSERT_EQ(run.item(1).Log->size(), 25);
    for (int s = 0; s < 10; ++s)
        EXPECT_EQ((*run.item(1).Log)[s], s * 1.5L) << s;
    EXPECT_EQ((*run.item(1).Log)[24], 0);
    EXPECT_EQ(run.item(2).Stat->count, 10);
    ASSERT_TRUE(f.table.GrowOutputLogs(5)); // smaller: nothing is lost
    EXPECT_EQ(run.item(1).Log->size(), 25);
    f.table.FreeOutputs();
    EXPECT_EQ(f.table.runTable().count(), 0);
    EXPECT_EQ(f.table.FindActiveIndex(1), 0);
}

TEST(OutputTableRun, CompactAndDiscreteEditFollowTheRunTable) {
    Fixture f;
    f.settings.HistogramSize = 8;
    const auto set = Compiled({"b = 1"});
    f.table.setCell(3, colVariable, "b");
    ASSERT_TRUE(f.table.SyncOutputVariables(*set));
    f.table.setCell(3, colActivity, "Histogram");
    ASSERT_TRUE(f.table.PrepareOutputs(*set, 10));
    f.table.Compact();
    EXPECT_EQ(f.table.FindActiveIndex(1), 1);
    EXPECT_EQ(f.table.FindActiveIndex(3), 0);
    f.table.editCell(1, colDiscrete, "Yes");
    EXPECT_TRUE(f.table.runTable().item(1).His->discrete);
    f.table.editCell(1, colDiscrete, "No");
    EXPECT_FALSE(f.table.runTable().item(1).His->discrete);
    EXPECT_EQ(f.invalidated, 0);
}

TEST(OutputTableRun, RecalculateUsesTheRowsMarksAndTheLog) {
    Fixture f;
    f.settings.HistogramSize = 4;
    const auto set = Compiled({"y = 1"});
    ASSERT_TRUE(f.table.SyncOutputVariables(*set));
    f.table.setCell(1, colActivity, "Log");
    ASSERT_TRUE(f.table.PrepareOutputs(*set, 4));
    TOutVar& entry = f.table.runTable().item(1);
    for (int s = 0; s < 4; ++s) {
        const Extended x = s; // 0, 1, 2, 3 over [0, 3]: one per bin
        entry.Log->store(s, x);
        StatAdd(*entry.Stat, x);
        HisAdd(*entry.His, x);
    }
    f.table.record(1).markValues = {0.5L, 0.5L, 0.5L, 0.5L};
    f.table.record(1).markKinds = {false, false, false, false};
    f.table.HisRecalculate(1, 4);
    EXPECT_TRUE(entry.His->recalculated);
    EXPECT_EQ(entry.His->rangeMin, 0);
    EXPECT_EQ(entry.His->rangeMax, 3);
    EXPECT_EQ(entry.His->counts, (std::vector<std::int32_t>{1, 1, 1, 1}));
    EXPECT_NEAR(static_cast<double>(entry.His->markResults[0]), 1.5, 1e-12);
}

} // namespace
} // namespace probex
