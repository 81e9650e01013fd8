#include "simulation/OutputTable.h"

#include "OutputTableFixture.h"

namespace probex::test {
namespace {

using Fixture = OutputTableFixture;

TEST(OutputTableRun, PrepareAllocatesWhatEachActivityGathers) {
    struct Case {
        const char* activity;
        bool his;
        bool log;
    };
    const Case cases[] = {
        {"Statistics", false, false}, {"Histogram", true, false}, {"Log", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.activity);
        Fixture f;
        f.settings.HistogramSize = 16;
        const auto set = f.sync({"y = x + 1"}, {c.activity});
        f.table.setCell(1, colDiscrete, "Yes");
        f.table.record(1).markValues = {1, 2, 3, 4};
        ASSERT_TRUE(f.table.PrepareOutputs(*set, 50));
        const TOutVarSet& run = f.table.runTable();
        ASSERT_EQ(run.count(), 1);
        EXPECT_EQ(run.item(1).Row, 1);
        EXPECT_EQ(run.item(1).VarIndex, FindVar("y", set->Vars));
        EXPECT_TRUE(run.item(1).Stat != nullptr);
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
    f.sync({"a = 1", "b = 2"}, {"Log", "Inactive"}); // row 1 is b
    const auto onlyA = f.sync({"a = 1"});
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
        const auto set = f.sync({"a = 1", "b = 2"}, {c.first, c.second});
        EXPECT_FALSE(f.table.PrepareOutputs(*set, 10));
        EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(f.prompter.shown[0].kind, c.kind);
        EXPECT_EQ(f.table.runTable().count(), 0);
        EXPECT_EQ(shown, c.kind == Prompter::Kind::Warning ? 1 : 0);
    }
}

TEST(OutputTableRun, GrowingTheLogsKeepsEveryValue) {
    Fixture f;
    const auto set = f.sync({"a = 1", "b = 2"}, {"Log", "Statistics"});
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
    f.table.setCell(3, colVariable, "b");
    const auto set = f.sync({"b = 1"});
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
    const auto set = f.sync({"y = 1"}, {"Log"});
    ASSERT_TRUE(f.table.PrepareOutputs(*set, 4));
    TOutVar& entry = f.table.runTable().item(1);
    for (int s = 0; s < 4; ++s) { // 0, 1, 2, 3 over [0, 3]: one per bin
        entry.Log->store(s, s);
        StatAdd(*entry.Stat, s);
        HisAdd(*entry.His, s);
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
} // namespace probex::test
